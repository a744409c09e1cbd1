// CPropertySheet and CPropertyPage: modal sheets whose pages exchange their
// data when they become current and when they are left, OK and Apply going
// through OnApply, Cancel through OnReset, a page with invalid data keeping
// the focus, Enter in a page closing the sheet, and pages changed while the
// sheet is shown. The owner answers at idle time, as a person would.
#include <afxdlgs.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <internal/testinput.h>
#include <internal/userscript.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kNamePage = 300, kSizePage = 301, kCaption = 302, kSizeTab = 303;
constexpr int kNameEdit = 310, kWidthEdit = 311;

std::vector<std::string>& calls() {
  static std::vector<std::string> list;
  return list;
}

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("Property sheet test") {}
};

// The sheet's owner runs one step each time the sheet's loop goes idle.
class OwnerWnd : public CWnd {
 public:
  BOOL Make() { return CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr); }
  std::vector<std::function<void(HWND)>> m_steps;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ENTERIDLE && !m_steps.empty()) {
      auto step = m_steps.front();
      m_steps.erase(m_steps.begin());
      step(reinterpret_cast<HWND>(lParam));
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class NamePage : public CPropertyPage {
 public:
  NamePage() : CPropertyPage(kNamePage) {}
  CString m_name = "Anna";
  BOOL OnSetActive() override {
    calls().push_back("name active");
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    calls().push_back("name left");
    return CPropertyPage::OnKillActive();
  }
  BOOL OnApply() override {
    calls().push_back("name applied");
    return CPropertyPage::OnApply();
  }
  void OnReset() override { calls().push_back("name reset"); }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kNameEdit, m_name); }
};

class SizePage : public CPropertyPage {
 public:
  SizePage() : CPropertyPage(kSizePage, kSizeTab) {}
  int m_width = 10;
  BOOL OnSetActive() override {
    calls().push_back("size active");
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    calls().push_back("size left");
    return CPropertyPage::OnKillActive();
  }
  BOOL OnApply() override {
    calls().push_back("size applied");
    return CPropertyPage::OnApply();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kWidthEdit, m_width);
    DDV_MinMaxInt(pDX, m_width, 1, 100);
  }
};

class PropertySheets : public ::testing::Test {
 protected:
  void SetUp() override {
    calls().clear();
    win32::script::clearMessageBoxAnswers();
    win32::script::clearMessageBoxLog();
    ASSERT_TRUE(owner.Make());
    app.m_pMainWnd = &owner;
    sheet.Construct(kCaption, &owner);
    sheet.AddPage(&name);
    sheet.AddPage(&size);
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    owner.DestroyWindow();
    win32::input::pumpMessages();
  }
  static void press(HWND window, int id) { ::SendMessageA(::GetDlgItem(window, id), BM_CLICK, 0, 0); }
  static void type(HWND page, int id, const char* text) { ::SetDlgItemTextA(page, id, text); }
  static std::string tabText(HWND tabs, int index) {
    char buffer[64] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    ::SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  TestApp app;
  OwnerWnd owner;
  CPropertySheet sheet;
  NamePage name;
  SizePage size;
};

}  // namespace

TEST_F(PropertySheets, OkTakesEveryShownPagesData) {
  std::string caption, firstTab, secondTab;
  BOOL ownerEnabled = TRUE;
  owner.m_steps = {[&](HWND shown) {
    char text[64] = "";
    ::GetWindowTextA(shown, text, sizeof text);
    caption = text;
    firstTab = tabText(sheet.GetTabControl(), 0);
    secondTab = tabText(sheet.GetTabControl(), 1);
    ownerEnabled = owner.IsWindowEnabled();
    EXPECT_EQ(sheet.GetActivePage(), &name);
    type(name.m_hWnd, kNameEdit, "Berta");
    EXPECT_TRUE(sheet.SetActivePage(&size));
    type(size.m_hWnd, kWidthEdit, "42");
    press(shown, IDOK);
  }};
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(caption, "Widget");
  EXPECT_EQ(firstTab, "Name");        // the template's caption
  EXPECT_EQ(secondTab, "Dimensions");  // the page's own caption
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(name.m_name, "Berta");
  EXPECT_EQ(size.m_width, 42);
  EXPECT_EQ(name.m_hWnd, nullptr);  // the windows went with the sheet
  EXPECT_EQ(calls(), (std::vector<std::string>{"name active", "name left", "size active", "size left",
                                               "name applied", "size applied"}));
}

TEST_F(PropertySheets, CancelResetsThePagesAndKeepsTheirData) {
  owner.m_steps = {[&](HWND shown) {
    type(name.m_hWnd, kNameEdit, "Carla");
    press(shown, IDCANCEL);
  }};
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(name.m_name, "Anna");
  EXPECT_EQ(calls(), (std::vector<std::string>{"name active", "name reset"}));
}

TEST_F(PropertySheets, InvalidDataKeepsThePageCurrent) {
  win32::script::pushMessageBoxAnswer(IDOK);  // the range prompt
  win32::script::pushMessageBoxAnswer(IDOK);
  int activeAfterTab = -1;
  bool openAfterOk = false;
  owner.m_steps = {[&](HWND shown) {
    EXPECT_TRUE(sheet.SetActivePage(1));
    type(size.m_hWnd, kWidthEdit, "500");
    EXPECT_FALSE(sheet.SetActivePage(0));  // the width is out of range
    activeAfterTab = sheet.GetActiveIndex();
    press(shown, IDOK);
    openAfterOk = ::IsWindow(shown) && sheet.GetActivePage() == &size;
    type(size.m_hWnd, kWidthEdit, "50");
    press(shown, IDOK);
  }};
  sheet.SetActivePage(0);
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(activeAfterTab, 1);
  EXPECT_TRUE(openAfterOk);
  EXPECT_EQ(size.m_width, 50);
  EXPECT_EQ(win32::script::messageBoxLog().size(), 2u);
}

TEST_F(PropertySheets, EnterInAPageClosesTheSheetWithOk) {
  owner.m_steps = {[&](HWND) {
    ::SetFocus(::GetDlgItem(name.m_hWnd, kNameEdit));
    win32::input::keyPress(VK_END);
    win32::input::typeText("X");
    win32::input::keyPress(VK_RETURN);
  }};
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(name.m_name, "AnnaX");
}

TEST_F(PropertySheets, ApplyAndModifiedState) {
  bool applyEnabled = false, applyAfter = true;
  owner.m_steps = {[&](HWND shown) {
    name.SetModified();
    applyEnabled = ::IsWindowEnabled(::GetDlgItem(shown, ID_APPLY_NOW));
    type(name.m_hWnd, kNameEdit, "Dora");
    press(shown, ID_APPLY_NOW);
    applyAfter = ::IsWindowEnabled(::GetDlgItem(shown, ID_APPLY_NOW));
    EXPECT_EQ(name.m_name, "Dora");  // applied, still open
    EXPECT_FALSE(name.IsModified());
    press(shown, IDCANCEL);
  }};
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_TRUE(applyEnabled);
  EXPECT_FALSE(applyAfter);
  EXPECT_EQ(name.m_name, "Dora");
}

TEST_F(PropertySheets, PagesAddedAndRemovedWhileShown) {
  NamePage extra;
  owner.m_steps = {[&](HWND shown) {
    sheet.AddPage(&extra);
    EXPECT_EQ(TabCtrl_GetItemCount(sheet.GetTabControl()), 3);
    EXPECT_TRUE(sheet.SetActivePage(&extra));
    EXPECT_EQ(sheet.GetActivePage(), &extra);
    sheet.RemovePage(&extra);
    EXPECT_EQ(sheet.GetPageCount(), 2);
    EXPECT_EQ(TabCtrl_GetItemCount(sheet.GetTabControl()), 2);
    EXPECT_NE(sheet.GetActivePage(), nullptr);
    press(shown, IDCANCEL);
  }};
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}
