// Hosting the second control of ours, the picture box: pictures set from
// files (and the messages of files that are none), property-change
// notifications counted by the wrapper, state kept in a property bag.
#include <internal/testinput.h>
#include <internal/userscript.h>

#include <fstream>
#include <functional>
#include <string>

#include "KyActiveXControl.h"
#include "axhostfixture.h"
#include "imagefixture.h"

namespace {

class PictureBox : public AxHostFixture {
 protected:
  void SetUp() override {
    AxHostFixture::SetUp();
    SetDllDirectoryA(KY_BIN_DIR);  // where the image library lies
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    SetDllDirectoryA(nullptr);
    AxHostFixture::TearDown();
  }
  BOOL create(KyActiveXControl& control, const char* props = "", const char* events = "",
              const char* persisted = nullptr) {
    return control.Create(KYPICT_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 90), &host_, 201, props, events,
                          persisted, &host_);
  }
  std::string read(KyActiveXControl& control, const char* name) {
    CString text;
    return control.GetProperty(name, text) ? std::string(text) : "<refused>";
  }
  std::string image(const char* format) {
    const std::string path = dir_ / (std::string("picture.") + format);
    EXPECT_TRUE(WriteFixtureImage(path, format, 16, 12)) << format;
    return path;
  }
};

}  // namespace

TEST_F(PictureBox, PicturesAreSetFromFilesOfEachFormat) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control));
  EXPECT_EQ(read(control, "PictureType"), "0");
  for (const char* format : {"BMP3", "PNG", "GIF"}) {
    ASSERT_TRUE(control.SetProperty("Picture", image(format).c_str())) << format;
    EXPECT_EQ(read(control, "PictureType"), "1") << format;  // a bitmap
    EXPECT_EQ(read(control, "Picture"), "") << format;       // pictures read as no text
  }
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
  KyActiveXControl fromString;
  const std::string props = "Picture=\"" + image("PNG") + "\" Title=Shown";
  ASSERT_TRUE(fromString.Create(KYPICT_PROGID, "", WS_CHILD, CRect(0, 0, 50, 50), &host_, 202, props.c_str(), "",
                                nullptr, &host_));
  EXPECT_EQ(read(fromString, "PictureType"), "1");
  EXPECT_EQ(read(fromString, "Title"), "Shown");
}

TEST_F(PictureBox, FilesThatGiveNoPictureAreToldAndChangeNothing) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control));
  ASSERT_TRUE(control.SetProperty("Picture", image("PNG").c_str()));
  const std::string missing = dir_ / "missing.bmp", text = dir_ / "notes.txt", empty = dir_ / "empty.bmp";
  std::ofstream(text) << "not a picture at all";
  std::ofstream(empty).flush();
  struct Case {
    std::string file;
    std::string message;
  } cases[] = {{missing, "The picture file " + missing + " could not be opened."},
               {text, "The file " + text + " does not hold a picture."},
               {empty, "The file " + empty + " does not hold a picture."}};
  for (const Case& c : cases) {
    win32::script::clearMessageBoxLog();
    EXPECT_FALSE(control.SetProperty("Picture", c.file.c_str())) << c.file;
    const auto boxes = win32::script::messageBoxLog();
    ASSERT_EQ(boxes.size(), 1u) << c.file;
    EXPECT_EQ(boxes[0].text, c.message);
    EXPECT_EQ(read(control, "PictureType"), "1") << c.file;  // the picture it had stays
  }
}

TEST_F(PictureBox, PropertyChangesTheControlTellsAreCounted) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, "", "PictureChanged=Picture_Changed"));
  const int first = control.GetPropertyChangeCount();
  struct Case {
    const char* name;
    std::string value;
    BOOL accepted;
    int told;  // notifications the set makes
  } cases[] = {{"Title", "Holiday", TRUE, 1},         {"BorderColor", "0x000000FF", TRUE, 1},
               {"Stretch", "1", TRUE, 1},             {"Stretch", "yes", TRUE, 1},
               {"Picture", image("BMP3"), TRUE, 1},   {"PictureType", "3", FALSE, 0},
               {"Picture", dir_ / "none.bmp", FALSE, 0}};
  int expected = first;
  for (const Case& c : cases) {
    EXPECT_EQ(control.SetProperty(c.name, c.value.c_str()), c.accepted) << c.name << "=" << c.value;
    expected += c.told;
    EXPECT_EQ(control.GetPropertyChangeCount(), expected) << c.name << "=" << c.value;
  }
  // Notifications are not events: only the picture's own event ran.
  ASSERT_EQ(host_.m_heard.size(), 1u);
  EXPECT_EQ(host_.m_heard[0].logical, "Picture_Changed");
  // The gauge tells its changes the same way.
  KyActiveXControl gauge;
  ASSERT_TRUE(gauge.Create(KYGAUGE_PROGID, "", WS_CHILD, CRect(0, 0, 40, 40), &host_, 203, "Value=3 Caption=x", "",
                           nullptr, &host_));
  EXPECT_EQ(gauge.GetPropertyChangeCount(), 2);
}

TEST_F(PictureBox, StateIsKeptInAPropertyBag) {
  const std::string file = dir_ / "picture.state";
  {
    KyActiveXControl control;
    ASSERT_TRUE(create(control, "Title=\"Kept title\" BorderColor=0x0000FF00 Stretch=1"));
    ASSERT_TRUE(control.Save(file.c_str()));
  }
  KyActiveXControl restored;
  ASSERT_TRUE(create(restored, "", "", file.c_str()));
  struct Case {
    const char* name;
    const char* text;
  } cases[] = {{"Title", "Kept title"}, {"BorderColor", "0x0000FF00"}, {"Stretch", "1"}};
  for (const Case& c : cases) EXPECT_EQ(read(restored, c.name), c.text) << c.name;
  ASSERT_TRUE(restored.SetProperty("Title", "Changed"));
  ASSERT_TRUE(restored.Load(file.c_str()));
  EXPECT_EQ(read(restored, "Title"), "Kept title");
  // A gauge's state is no bag: loading it fails and the title stays.
  const std::string gaugeState = dir_ / "gauge.state";
  KyActiveXControl gauge;
  ASSERT_TRUE(gauge.Create(KYGAUGE_PROGID, "", WS_CHILD, CRect(0, 0, 40, 40), &host_, 204, "", "", nullptr, &host_));
  ASSERT_TRUE(gauge.Save(gaugeState.c_str()));
  EXPECT_FALSE(restored.Load(gaugeState.c_str()));
  EXPECT_EQ(read(restored, "Title"), "Kept title");
}

TEST_F(PictureBox, TypeInformationDescribesTheSecondControl) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control));
  EXPECT_STREQ(control.GetName(), "KyPicture");
  EXPECT_STREQ(control.GetDoc(), "Ky Picture Box");
  EXPECT_TRUE(control.HasHelp());
  EXPECT_FALSE(control.HasAbout());
  EXPECT_FALSE(control.About());
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "This control does not have an 'About Box'");
  EXPECT_EQ(control.GetDISPIDFromName("Picture"), KYPICT_PICTURE);
  EXPECT_EQ(control.GetDISPIDFromName("Clear"), KYPICT_CLEAR);
}

namespace {

// What the person does in the property frame once it is up.
std::function<void(HWND)> g_inFrame;

void CALLBACK actInFrame(HWND, UINT, UINT_PTR id, DWORD) {
  HWND frame = FindWindowA(nullptr, "KyPicture Properties");
  if (!frame || !IsWindowVisible(frame)) return;
  KillTimer(nullptr, id);
  g_inFrame(frame);
  g_inFrame = nullptr;
}

void clickButton(HWND frame, int id) {
  HWND button = GetDlgItem(frame, id);
  RECT r{};
  GetClientRect(button, &r);
  win32::input::click(button, r.right / 2, r.bottom / 2);
  win32::input::pumpMessages();
}

// Types the title into the page (its edit is the frame's descendant).
void typeTitle(HWND frame, const char* title) {
  HWND edit = nullptr;
  EnumChildWindows(
      frame,
      [](HWND child, LPARAM found) -> BOOL {
        if (GetDlgCtrlID(child) != KYPICT_PAGE_TITLE_EDIT) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  win32::input::typeText(title);
  win32::input::pumpMessages();
}

}  // namespace

TEST_F(PictureBox, TheControlsOwnPagesEditItInAPropertyFrame) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, "Title=Before"));
  ASSERT_TRUE(control.HasCustomPropSheet());
  struct Case {
    const char* what;
    std::function<void(HWND)> act;
    BOOL confirmed;
    const char* title;
  } cases[] = {
      {"typed and OK", [](HWND f) { typeTitle(f, "Typed"), clickButton(f, IDOK); }, TRUE, "Typed"},
      {"typed and Cancel", [](HWND f) { typeTitle(f, "Dropped"), clickButton(f, IDCANCEL); }, FALSE, "Typed"},
      {"typed, Apply, then Cancel", [](HWND f) { typeTitle(f, "Applied"), clickButton(f, 12321), clickButton(f, IDCANCEL); },
       TRUE, "Applied"},
      {"closed", [](HWND f) { SendMessageA(f, WM_CLOSE, 0, 0); }, FALSE, "Applied"},
  };
  for (const Case& c : cases) {
    g_inFrame = c.act;
    SetTimer(nullptr, 0, 10, actInFrame);
    EXPECT_EQ(control.CustomPropSheet(&host_), c.confirmed) << c.what;
    EXPECT_FALSE(g_inFrame) << c.what;  // the frame was up and acted on
    EXPECT_EQ(read(control, "Title"), c.title) << c.what;
  }
  KyActiveXControl gauge;
  ASSERT_TRUE(gauge.Create(KYGAUGE_PROGID, "", WS_CHILD, CRect(0, 0, 40, 40), &host_, 205, "", "", nullptr, &host_));
  EXPECT_FALSE(gauge.HasCustomPropSheet());  // no pages of its own
  EXPECT_FALSE(gauge.CustomPropSheet(&host_));
}
