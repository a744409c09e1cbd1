// PropertySheetA: pages made from their templates when first shown, the
// notifications each page hears as the tabs and buttons are used (answered
// by the pages as a program would), refusals that keep the sheet open, the
// modeless form and the release of the pages.
#include "comctl_fixture.h"

#include <prsht.h>

#include <string>
#include <vector>

namespace input = win32::input;

namespace {

constexpr int kNamePage = 300, kSizePage = 301;
constexpr int kNameEdit = 310;

struct Heard {
  int page;
  UINT code;
  LPARAM lParam;
  bool operator==(const Heard&) const = default;
};

std::vector<Heard>& heard() {
  static std::vector<Heard> got;
  return got;
}

// What each page answers to a notification (0 when not listed).
std::vector<Heard>& answers() {
  static std::vector<Heard> list;
  return list;
}

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  const auto* n = reinterpret_cast<const PSHNOTIFY*>(lParam);
  const int index = static_cast<int>(GetWindowLongPtrA(page, DWLP_USER));
  heard().push_back(Heard{index, n->hdr.code, n->lParam});
  LRESULT result = 0;
  for (auto it = answers().begin(); it != answers().end(); ++it) {
    if (it->page == index && it->code == n->hdr.code) {
      result = it->lParam;
      answers().erase(it);  // each answer serves once
      break;
    }
  }
  SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
  return TRUE;
}

UINT released = 0;
UINT CALLBACK pageCallback(HWND, UINT message, PROPSHEETPAGEA*) {
  if (message == PSPCB_RELEASE) ++released;
  return 1;
}

class PropertySheets : public test::CommonControlTest {
 protected:
  void SetUp() override {
    CommonControlTest::SetUp();
    heard().clear();
    answers().clear();
    released = 0;
    references = 0;
    auto recorder = test::answer();
    // The modal sheet waits for the person: each idle time the next step runs.
    test::answer() = [this, recorder](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      if (msg == WM_ENTERIDLE && !steps.empty()) {
        auto step = steps.front();
        steps.erase(steps.begin());
        step(reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
      }
      return recorder(hwnd, msg, wParam, lParam, result);
    };
    for (int i = 0; i < 2; ++i) {
      pages[i] = PROPSHEETPAGEA{};
      pages[i].dwSize = sizeof pages[i];
      pages[i].dwFlags = PSP_USECALLBACK | PSP_USEREFPARENT;
      pages[i].hInstance = GetModuleHandleA(nullptr);
      pages[i].pszTemplate = MAKEINTRESOURCE(i ? kSizePage : kNamePage);
      pages[i].pfnDlgProc = pageProc;
      pages[i].lParam = i;
      pages[i].pfnCallback = pageCallback;
      pages[i].pcRefParent = &references;
    }
    header = PROPSHEETHEADERA{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.hwndParent = frame;
    header.pszCaption = "Widget";
    header.nPages = 2;
    header.ppsp = pages;
  }
  static void press(HWND sheet, int id) { SendMessageA(GetDlgItem(sheet, id), BM_CLICK, 0, 0); }
  static void clickTab(HWND sheet, int index) {
    HWND tabs = PropSheet_GetTabControl(sheet);
    RECT r{};
    TabCtrl_GetItemRect(tabs, index, &r);
    input::click(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    input::pumpMessages();
  }
  static std::string text(HWND window) {
    char buffer[128] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
  }

  PROPSHEETPAGEA pages[2]{};
  PROPSHEETHEADERA header{};
  UINT references = 0;
  std::vector<std::function<void(HWND)>> steps;
};

}  // namespace

TEST_F(PropertySheets, PagesHearTheTabsAndButtonsInOrder) {
  std::string caption;
  bool applyAtStart = true, applyAfterChange = false;
  steps = {
      [&](HWND sheet) {
        caption = text(sheet);
        applyAtStart = IsWindowEnabled(GetDlgItem(sheet, ID_APPLY_NOW));
        // Only the shown page exists yet.
        EXPECT_EQ(PropSheet_IndexToHwnd(sheet, 1), nullptr);
        clickTab(sheet, 1);
        PropSheet_Changed(sheet, PropSheet_GetCurrentPageHwnd(sheet));
        applyAfterChange = IsWindowEnabled(GetDlgItem(sheet, ID_APPLY_NOW));
        press(sheet, ID_APPLY_NOW);
      },
      [&](HWND sheet) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet, ID_APPLY_NOW)));
        press(sheet, IDOK);
      },
  };
  header.dwFlags |= PSH_PROPTITLE;
  EXPECT_EQ(PropertySheetA(&header), 1);  // changes were applied
  EXPECT_EQ(caption, "Widget Properties");
  EXPECT_FALSE(applyAtStart);
  EXPECT_TRUE(applyAfterChange);
  const std::vector<Heard> expected{
      {0, PSN_SETACTIVE, 0},                      // the start page
      {0, PSN_KILLACTIVE, 0}, {1, PSN_SETACTIVE, 0},  // the second tab
      {1, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, 0}, {1, PSN_APPLY, 0}, {1, PSN_SETACTIVE, 0},  // Apply
      {1, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, 1}, {1, PSN_APPLY, 1},                         // OK
  };
  EXPECT_EQ(heard(), expected);
  // Both pages were released with the sheet; the reference count is back.
  EXPECT_EQ(released, 2u);
  EXPECT_EQ(references, 0u);
}

TEST_F(PropertySheets, APageThatRefusesKeepsTheSheetOpen) {
  int shownAfterRefusedTab = -1;
  HWND stillThere = nullptr;
  steps = {
      [&](HWND sheet) {
        answers() = {{0, PSN_KILLACTIVE, TRUE}};  // the page's data is not valid
        clickTab(sheet, 1);
        shownAfterRefusedTab = TabCtrl_GetCurSel(PropSheet_GetTabControl(sheet));
        answers() = {{0, PSN_APPLY, PSNRET_INVALID_NOCHANGEPAGE}};
        press(sheet, IDOK);
        stillThere = PropSheet_GetCurrentPageHwnd(sheet);
        answers() = {{0, PSN_QUERYCANCEL, TRUE}};  // "are you sure?" - no
        press(sheet, IDCANCEL);
        EXPECT_NE(PropSheet_GetCurrentPageHwnd(sheet), nullptr);
      },
      [&](HWND sheet) { SendMessageA(sheet, WM_CLOSE, 0, 0); },
  };
  EXPECT_EQ(PropertySheetA(&header), 0);  // nothing applied
  EXPECT_EQ(shownAfterRefusedTab, 0);
  EXPECT_NE(stillThere, nullptr);
  const std::vector<Heard> expected{
      {0, PSN_SETACTIVE, 0}, {0, PSN_KILLACTIVE, 0},                       // the refused tab change
      {0, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, 1},                           // the refused OK
      {0, PSN_QUERYCANCEL, 0},                                             // the refused Cancel
      {0, PSN_QUERYCANCEL, 0}, {0, PSN_RESET, 0},                          // closed
  };
  EXPECT_EQ(heard(), expected);
}

TEST_F(PropertySheets, TheStartPageAndCancelToCloseAndNoApplyButton) {
  std::string cancelText;
  bool okEnabled = true;
  HWND applyButton = reinterpret_cast<HWND>(1);
  steps = {[&](HWND sheet) {
    EXPECT_EQ(PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet)), 1);
    applyButton = GetDlgItem(sheet, ID_APPLY_NOW);
    PropSheet_CancelToClose(sheet);
    cancelText = text(GetDlgItem(sheet, IDCANCEL));
    okEnabled = IsWindowEnabled(GetDlgItem(sheet, IDOK));
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
  }};
  header.dwFlags |= PSH_NOAPPLYNOW;
  header.nStartPage = 1;
  EXPECT_EQ(PropertySheetA(&header), 0);
  EXPECT_EQ(applyButton, nullptr);
  EXPECT_EQ(cancelText, "Close");
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(heard().front(), (Heard{1, PSN_SETACTIVE, 0}));
}

TEST_F(PropertySheets, AModelessSheetStaysUntilItsOwnerDestroysIt) {
  header.dwFlags |= PSH_MODELESS;
  HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
  ASSERT_TRUE(IsWindow(sheet));
  EXPECT_TRUE(IsWindowVisible(sheet));
  EXPECT_EQ(references, 2u);
  HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), sheet);
  // Enter in the page's edit goes through the sheet's dialog manager to OK.
  SetFocus(GetDlgItem(page, kNameEdit));
  input::keyPress(VK_RETURN);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (PropSheet_IsDialogMessage(sheet, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  EXPECT_TRUE(IsWindow(sheet));
  EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet), nullptr);
  EXPECT_EQ(PropSheet_GetResult(sheet), 1);
  DestroyWindow(sheet);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(released, 2u);
  EXPECT_EQ(references, 0u);
}

TEST_F(PropertySheets, PagesCanBeAddedAndRemovedWhileShown) {
  header.dwFlags |= PSH_MODELESS;
  header.nPages = 1;
  HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
  ASSERT_TRUE(IsWindow(sheet));
  HWND tabs = PropSheet_GetTabControl(sheet);
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 1);
  HPROPSHEETPAGE added = CreatePropertySheetPageA(&pages[1]);
  EXPECT_TRUE(SendMessageA(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(added)));
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 2);
  EXPECT_TRUE(PropSheet_SetCurSel(sheet, added, 0));
  EXPECT_EQ(PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet)), 1);
  EXPECT_TRUE(SendMessageA(sheet, PSM_REMOVEPAGE, 1, 0));
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 1);
  EXPECT_EQ(PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet)), 0);
  EXPECT_EQ(released, 1u);
  DestroyWindow(sheet);
  EXPECT_EQ(released, 2u);
}

TEST_F(PropertySheets, BadHeadersFail) {
  header.nPages = 0;
  EXPECT_EQ(PropertySheetA(&header), -1);
  header.nPages = 1;
  pages[0].pszTemplate = MAKEINTRESOURCE(4242);  // no such template
  EXPECT_EQ(PropertySheetA(&header), -1);
  EXPECT_EQ(PropertySheetA(nullptr), -1);
}

TEST_F(PropertySheets, Snapshot) {
  const std::string path = test::snapshotPath("propertysheet.png");
  steps = {[&](HWND sheet) {
    SetDlgItemTextA(PropSheet_GetCurrentPageHwnd(sheet), kNameEdit, "Gauge");
    UpdateWindow(sheet);
    EXPECT_TRUE(win32::snapshot::saveWindowPng(sheet, path.c_str()));
    press(sheet, IDCANCEL);
  }};
  EXPECT_EQ(PropertySheetA(&header), 0);
}
