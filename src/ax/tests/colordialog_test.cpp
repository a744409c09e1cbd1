// The colour chooser answered as a person would: the tab and entry it opens
// at, choices on either tab, the custom colour through the standard colour
// dialog, OK with no entry, Cancel, a click outside it, and where it stands.
#include <commctrl.h>
#include <internal/testinput.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "KyDialogColors.h"
#include "KySysColorSupport.h"
#include "axres.h"

namespace {

namespace input = win32::input;

using Act = std::function<void(KyDialogColors&)>;

Act g_act;
bool g_acted = false;

void CALLBACK actOnce(HWND, UINT, UINT_PTR id, DWORD) {
  KyDialogColors* dialog = KyDialogColors::GetOpenDialog();
  if (!dialog || !dialog->m_hWnd || !::IsWindowVisible(dialog->m_hWnd)) return;  // not up yet
  KillTimer(nullptr, id);
  g_acted = true;
  g_act(*dialog);
}

// Runs the chooser for `color`; `act` does what the person does once it is up.
int choose(DWORD& color, const Act& act, CPoint at = CPoint(20, 20)) {
  g_act = act;
  g_acted = false;
  SetTimer(nullptr, 0, 10, actOnce);
  const int answer = KySysColorSupport::ColorDialog(color, at);
  EXPECT_TRUE(g_acted);
  return answer;
}

HWND item(KyDialogColors& dialog, int id) { return ::GetDlgItem(dialog.m_hWnd, id); }

void clickTab(KyDialogColors& dialog, int tab) {
  HWND tabs = item(dialog, IDC_AX_COLOR_TABS);
  RECT r{};
  TabCtrl_GetItemRect(tabs, tab, &r);
  input::click(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  input::pumpMessages();
}

void press(KyDialogColors& dialog, int id) {
  HWND button = item(dialog, id);
  RECT r{};
  ::GetClientRect(button, &r);
  input::click(button, r.right / 2, r.bottom / 2);
  input::pumpMessages();
}

struct Opened {
  int tab;
  int entry;
  int count;
};

Opened opened(KyDialogColors& dialog) {
  return {TabCtrl_GetCurSel(item(dialog, IDC_AX_COLOR_TABS)), dialog.ColorList().GetCurSel(),
          dialog.ColorList().GetCount()};
}

class ColorChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    win32::script::clearCommonDialogAnswers();
    KyDialogColors::SetCustomColor(0xFFFFFF);
  }
};

}  // namespace

TEST_F(ColorChooser, OpensAtTheTabAndEntryOfTheColour) {
  struct Case {
    DWORD color;
    Opened expected;
    DWORD custom;  // the custom colour afterwards
  } cases[] = {
      {0x0000FF, {0, 3, 17}, 0xFFFFFF},                       // Red, the third palette colour
      {KySysColorSupport::MakeSysColor(5), {1, 23, 26}, 0xFFFFFF},  // Windows Background
      {KySysColorSupport::MakeSysColor(30), {1, 0, 26}, 0xFFFFFF},  // no such system colour
      {0x123456, {0, 0, 17}, 0x123456},                       // not in the palette: the custom colour
  };
  for (const Case& c : cases) {
    DWORD color = c.color;
    Opened seen{};
    EXPECT_EQ(choose(color, [&](KyDialogColors& d) { seen = opened(d), press(d, IDCANCEL); }), 0);
    EXPECT_EQ(seen.tab, c.expected.tab) << std::hex << c.color;
    EXPECT_EQ(seen.entry, c.expected.entry) << std::hex << c.color;
    EXPECT_EQ(seen.count, c.expected.count) << std::hex << c.color;
    EXPECT_EQ(color, c.color);  // cancelled: unchanged
    EXPECT_EQ(KyDialogColors::GetCustomColor(), c.custom);
  }
}

TEST_F(ColorChooser, OkGivesTheChosenEntryOfEitherTab) {
  struct Case {
    const char* what;
    Act act;
    DWORD chosen;
  } cases[] = {
      {"palette entry", [](KyDialogColors& d) { d.ColorList().SetCurSel(5), press(d, IDOK); }, 0xFF0000},
      {"system entry", [](KyDialogColors& d) { clickTab(d, 1), d.ColorList().SetCurSel(1), press(d, IDOK); },
       KySysColorSupport::MakeSysColor(10)},
      {"tab change keeps the position",
       [](KyDialogColors& d) { d.ColorList().SetCurSel(3), clickTab(d, 1), press(d, IDOK); },
       KySysColorSupport::MakeSysColor(9)},
      {"the custom entry", [](KyDialogColors& d) { d.ColorList().SetCurSel(0), press(d, IDOK); }, 0xFFFFFF},
      {"double click", [](KyDialogColors& d) {
         d.ColorList().SetCurSel(2);
         RECT r{};
         d.ColorList().GetItemRect(2, &r);
         input::doubleClick(d.ColorList().m_hWnd, r.left + 30, (r.top + r.bottom) / 2);
       },
       0xFFFFFF},
  };
  for (const Case& c : cases) {
    DWORD color = 0x000000;
    EXPECT_EQ(choose(color, c.act), 1) << c.what;
    EXPECT_EQ(color, c.chosen) << c.what;
  }
}

TEST_F(ColorChooser, TheCustomButtonSetsTheCustomColour) {
  win32::script::pushColorAnswer(RGB(10, 20, 30));
  DWORD color = 0x0000FF;
  Opened after{};
  EXPECT_EQ(choose(color, [&](KyDialogColors& d) { press(d, IDC_AX_COLOR_CUSTOM), after = opened(d), press(d, IDOK); }), 1);
  EXPECT_EQ(after.entry, 0);
  EXPECT_EQ(color, RGB(10, 20, 30));
  EXPECT_EQ(KyDialogColors::GetCustomColor(), RGB(10, 20, 30));  // kept for the next chooser
  win32::script::pushColorCancel();
  color = 0x0000FF;
  EXPECT_EQ(choose(color, [&](KyDialogColors& d) { press(d, IDC_AX_COLOR_CUSTOM), after = opened(d), press(d, IDOK); }), 1);
  EXPECT_EQ(after.entry, 3);  // a cancelled colour dialog changes nothing
  EXPECT_EQ(color, 0x0000FFu);
}

TEST_F(ColorChooser, OkWithoutAnEntryAClickOutsideAndCancelChangeNothing) {
  // A window of the thread beside the chooser (made while it is up, so the
  // chooser's start disabled no such window).
  HWND outside = nullptr;
  auto clickOutside = [&](KyDialogColors& d) {
    d.ColorList().SetCurSel(4);
    outside = CreateWindowExA(0, "BUTTON", "elsewhere", WS_POPUP | WS_VISIBLE, 300, 10, 100, 50, nullptr, nullptr,
                              nullptr, nullptr);
    input::click(outside, 10, 10);
    input::pumpMessages();
  };
  struct Case {
    const char* what;
    Act act;
  } cases[] = {
      {"OK with no entry", [](KyDialogColors& d) { d.ColorList().SetCurSel(-1), press(d, IDOK); }},
      {"Cancel", [](KyDialogColors& d) { d.ColorList().SetCurSel(4), press(d, IDCANCEL); }},
      {"a click outside", clickOutside},
  };
  for (const Case& c : cases) {
    DWORD color = 0x808080;
    EXPECT_EQ(choose(color, c.act), 0) << c.what;
    EXPECT_EQ(color, 0x808080u) << c.what;
  }
  DestroyWindow(outside);
}

TEST_F(ColorChooser, StandsAtThePointInsideTheDesktop) {
  RECT desktop{};
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  struct Case {
    CPoint at;
    bool clamped;
  } cases[] = {{CPoint(30, 40), false}, {CPoint(desktop.right - 5, desktop.bottom - 5), true}};
  for (const Case& c : cases) {
    DWORD color = 0;
    RECT placed{};
    int itemHeight = 0, expectedHeight = 0;
    choose(
        color,
        [&](KyDialogColors& d) {
          ::GetWindowRect(d.m_hWnd, &placed);
          itemHeight = d.ColorList().GetItemHeight(0);
          HDC dc = ::GetDC(d.ColorList().m_hWnd);
          HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(d.ColorList().SendMessage(WM_GETFONT)));
          TEXTMETRICA tm{};
          GetTextMetricsA(dc, &tm);
          SelectObject(dc, old);
          ::ReleaseDC(d.ColorList().m_hWnd, dc);
          expectedHeight = tm.tmHeight + tm.tmExternalLeading + 2;
          press(d, IDCANCEL);
        },
        c.at);
    if (c.clamped) {
      EXPECT_EQ(placed.right, desktop.right);
      EXPECT_EQ(placed.bottom, desktop.bottom);
    } else {
      EXPECT_EQ(placed.left, c.at.x);
      EXPECT_EQ(placed.top, c.at.y);
    }
    EXPECT_EQ(itemHeight, expectedHeight);
  }
}
