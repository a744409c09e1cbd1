// The browse dialog of registered controls, answered as a person would:
// the rows, a row chosen with the keys that shows the class's server, icon and help, Create,
// a double click, Cancel, and registering another module with "Browse...".
#include <commctrl.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <internal/userscript.h>
#include <winreg.h>

#include <string>
#include <vector>

#include "KyActiveXBrowseDlg.h"
#include "axhostfixture.h"
#include "axres.h"

namespace input = win32::input;

namespace {

class Browse : public AxHostFixture {
 protected:
  // Runs the dialog; each time it waits for the person the next step acts.
  BOOL browse(std::vector<std::function<void(HWND)>> steps) {
    size_t next = 0;
    host_.m_onDialogIdle = [&](HWND dialog) {
      if (next < steps.size()) steps[next++](dialog);
    };
    const BOOL answer = KyActiveXInfo::BrowseForActiveXControl(&host_, display_, progId_);
    host_.m_onDialogIdle = nullptr;
    EXPECT_EQ(next, steps.size()) << "steps left undone";
    return answer;
  }
  static HWND list(HWND dialog) { return ::GetDlgItem(dialog, IDC_AX_BROWSE_LIST); }
  static int rowOf(HWND dialog, const char* display) {
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = display;
    return ListView_FindItem(list(dialog), -1, &find);
  }
  static POINT middleOf(HWND dialog, int row) {
    RECT r{};
    ListView_GetItemRect(list(dialog), row, &r, LVIR_LABEL);
    return POINT{r.left + 10, (r.top + r.bottom) / 2};
  }
  // The row chosen with the keys (the list has the focus when the dialog opens).
  static void chooseRow(HWND dialog, const char* display) {
    const int row = rowOf(dialog, display);
    ASSERT_GE(row, 0) << display;
    EXPECT_EQ(::GetFocus(), list(dialog));
    input::keyPress(VK_HOME);
    for (int i = 0; i < row; ++i) input::keyPress(VK_DOWN);
  }
  static void press(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    ASSERT_TRUE(::IsWindowEnabled(button)) << id;
    input::click(button, 5, 5);
  }
  static std::string text(HWND dialog, int id) {
    char buffer[MAX_PATH] = "";
    ::GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
  }
  static bool enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)); }

  CString display_ = "unchanged";
  CString progId_ = "unchanged";
};

}  // namespace

TEST_F(Browse, AClickedRowShowsItsServerAndCreateAnswersIt) {
  const BOOL chosen = browse({
      [](HWND dialog) {
        char caption[64] = "";
        ::GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ(caption, "Registered ActiveX Controls");
        EXPECT_EQ(ListView_GetItemCount(list(dialog)), 2);
        EXPECT_GE(rowOf(dialog, "KyPicture Control"), 0);
        // Nothing chosen yet: nothing to create, no help, no location.
        EXPECT_FALSE(enabled(dialog, IDOK));
        EXPECT_FALSE(enabled(dialog, IDC_AX_VENDOR_HELP));
        EXPECT_EQ(text(dialog, IDC_AX_BROWSE_LOCATION), "");
        chooseRow(dialog, "KyGauge Control");
      },
      [](HWND dialog) {
        EXPECT_EQ(text(dialog, IDC_AX_BROWSE_LOCATION), serverPath(KYGAUGE_LIBRARY));
        // Our servers carry no icon: the library's own stands for them.
        EXPECT_NE(::SendDlgItemMessageA(dialog, IDC_AX_BROWSE_ICON, STM_GETICON, 0, 0), 0);
        EXPECT_TRUE(enabled(dialog, IDC_AX_VENDOR_HELP));
        EXPECT_TRUE(enabled(dialog, IDOK));
        ASSERT_TRUE(win32::snapshot::saveWindowPng(dialog, (std::string(KY_BIN_DIR) + "/../ax_browse.png").c_str()));
        press(dialog, IDOK);
      },
  });
  EXPECT_TRUE(chosen);
  EXPECT_STREQ(display_, "KyGauge Control");
  EXPECT_STREQ(progId_, KYGAUGE_PROGID);
}

TEST_F(Browse, ADoubleClickChoosesAndCancelChoosesNothing) {
  EXPECT_TRUE(browse({[](HWND dialog) {
    const POINT at = middleOf(dialog, rowOf(dialog, "KyPicture Control"));
    input::doubleClick(list(dialog), at.x, at.y);
  }}));
  EXPECT_STREQ(progId_, KYPICT_PROGID);
  display_ = progId_ = "unchanged";
  EXPECT_FALSE(browse({[](HWND dialog) { chooseRow(dialog, "KyGauge Control"); },
                       [](HWND dialog) { press(dialog, IDCANCEL); }}));
  EXPECT_STREQ(display_, "unchanged");
  EXPECT_STREQ(progId_, "unchanged");
}

TEST_F(Browse, ARegisteredModuleIsListedAndSelected) {
  // The picture box is taken out of the registry, then registered again
  // through "Browse..." and its file dialog.
  ASSERT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, KYPICT_PROGID "\\CLSID"), ERROR_SUCCESS);
  win32::script::pushFileDialogAnswer(serverPath(KYPICT_LIBRARY));
  EXPECT_TRUE(browse({
      [](HWND dialog) {
        EXPECT_LT(rowOf(dialog, "KyPicture Control"), 0);
        press(dialog, IDC_AX_BROWSE_REGISTER);
      },
      [](HWND dialog) {
        const int row = rowOf(dialog, "KyPicture Control");
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView_GetNextItem(list(dialog), -1, LVNI_SELECTED), row);
        EXPECT_EQ(text(dialog, IDC_AX_BROWSE_LOCATION), serverPath(KYPICT_LIBRARY));
        press(dialog, IDOK);
      },
  }));
  EXPECT_STREQ(progId_, KYPICT_PROGID);
}
