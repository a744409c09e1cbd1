// Developer and GDI helpers: the check box's answers, the abort, trace
// output switched by AFX.INI, unit conversion and centring on the screen.
#include <gtest/gtest.h>
#include <internal/userscript.h>

#include <cstdlib>
#include <fstream>

#include "KyDevUtils.h"
#include "scratchdir.h"

namespace {

namespace script = win32::script;

TEST(KyDevUtils, TheCheckBoxShowsFileAndLineAndReturnsOnIgnoreOrRetry) {
  script::clearMessageBoxLog();
  script::pushMessageBoxAnswer(IDIGNORE);
  script::pushMessageBoxAnswer(IDRETRY);  // no debugger attached: returns
  KyDevUtils::AssertFailed("panel.cpp", 42);
  KyDevUtils::AssertFailed("panel.cpp", 43);
  KyDevUtils::AssertFailed(nullptr, 44);  // nothing without a file
  auto log = script::messageBoxLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].text, "Internal Check Failed: Line 42 of panel.cpp");
  EXPECT_EQ(log[0].caption, "Check Failed");
  EXPECT_EQ(log[0].style & (MB_SYSTEMMODAL | MB_ICONERROR | MB_ABORTRETRYIGNORE),
            static_cast<UINT>(MB_SYSTEMMODAL | MB_ICONERROR | MB_ABORTRETRYIGNORE));
}

TEST(KyDevUtilsDeathTest, AbortEndsTheProcess) {
  EXPECT_EXIT(
      {
        script::pushMessageBoxAnswer(IDABORT);
        KyDevUtils::AssertFailed("x.cpp", 1);
      },
      testing::ExitedWithCode(3), "");
}

// Trace reads its switch once: turning it off afterwards changes nothing.
TEST(KyDevUtils, TraceFollowsAfxIniReadOnce) {
  ScratchDir dir;
  setenv("KY_WIN_INI", dir.File("WIN.INI").c_str(), 1);
  std::ofstream(dir.File("AFX.INI")) << "[Diagnostics]\nTraceEnabled=1\n";
  testing::internal::CaptureStderr();
  KyDevUtils::Trace("value %d of %s", 7, "seven");
  std::ofstream(dir.File("AFX.INI")) << "[Diagnostics]\nTraceEnabled=0\n";
  KyDevUtils::Trace("%s", "still on");
  std::string out = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("value 7 of seven"), std::string::npos);
  EXPECT_NE(out.find("still on"), std::string::npos);
}

TEST(KyWindowGDIUtils, PointsAndUnitsFollowTheResolution) {
  HDC screen = GetDC(nullptr);
  const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  struct Case {
    LONG points;
    HDC dc;
  } cases[] = {{12, screen}, {12, nullptr}, {-9, nullptr}, {0, screen}};
  for (const auto& c : cases) {
    EXPECT_EQ(KyWindowGDIUtils::GetLogicalUnitsFromPoints(c.points, c.dc), MulDiv(c.points, perInch, 72));
    EXPECT_EQ(KyWindowGDIUtils::GetPointSizeFromLogUnits(c.points, c.dc), MulDiv(c.points, 72, perInch));
  }
  ReleaseDC(nullptr, screen);
}

TEST(KyWinUserInterfaceUtils, CentresOnTheParentAndStaysOnTheScreen) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 50, parent, nullptr, nullptr, nullptr);
  struct Case {
    RECT parent;
    POINT expected;
  } cases[] = {
      {{100, 100, 300, 200}, {150, 125}},
      {{-200, -200, 0, 0}, {0, 0}},                            // left of and above the screen
      {{cx - 20, cy - 20, cx + 40, cy + 40}, {cx - 100, cy - 50}},  // past the right and bottom edges
  };
  for (const auto& c : cases) {
    MoveWindow(parent, c.parent.left, c.parent.top, c.parent.right - c.parent.left, c.parent.bottom - c.parent.top,
               FALSE);
    KyWinUserInterfaceUtils::CenterWindow(window, nullptr);  // the owner is the parent
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, c.expected.x);
    EXPECT_EQ(r.top, c.expected.y);
    EXPECT_EQ(r.right - r.left, 100);
  }
  KyWinUserInterfaceUtils::CenterWindow(window, reinterpret_cast<HWND>(0x7777));  // not a window: nothing
  DestroyWindow(window);
  DestroyWindow(parent);
}

TEST(KyCommDlg, TheFontDialogNeedsAnOwnerAndItsTemplate) {
  LOGFONTA font{};
  EXPECT_FALSE(KyCommDlg::Font(nullptr, &font, 0, nullptr, nullptr));
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(KyCommDlg::Font(owner, &font, 0, GetModuleHandleA(nullptr), "NOSUCHTEMPLATE"));
  script::pushFontAnswer("Arial", 12, true);
  EXPECT_TRUE(KyCommDlg::Font(owner, &font, 0, nullptr, nullptr));
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  DestroyWindow(owner);
}

}  // namespace
