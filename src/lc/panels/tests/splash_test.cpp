// The splash window: display time from the setting, the topmost pop-up of
// the picture's size in the middle of the screen, its timer holding the
// main window disabled, removal, destruction and painting.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KySplash.h"
#include "bitmapfile.h"

namespace {

namespace fs = std::filesystem;

constexpr COLORREF kSky = RGB(40, 90, 200);
constexpr COLORREF kSun = RGB(250, 210, 30);
constexpr COLORREF kGround = RGB(30, 140, 60);

// 120 x 80: sky over ground, a sun square at (80..99, 10..29).
std::string landscape() {
  return kytest::bitmap24(120, 80, [](int x, int y) {
    if (x >= 80 && x < 100 && y >= 10 && y < 30) return kSun;
    return y < 50 ? kSky : kGround;
  });
}

class Splash : public ::testing::Test {
 protected:
  void SetUp() override { kytest::writeFile(picture_, landscape()); }
  void TearDown() override {
    splash_.reset();
    // No longer the main window, whose end would post the quit message.
    if (app_) app_->m_pMainWnd = nullptr;
    if (main_.m_hWnd) main_.DestroyWindow();
    if (app_) app_->EndContext();
    app_.reset();
  }
  // The application with "Splash Screen Timeout" set to the text (absent
  // for nullopt) and a visible main window.
  void start(std::optional<std::string> timeout) {
    std::string ini = "[Window Options]\n";
    if (timeout) ini += "Splash Screen Timeout=" + *timeout + "\n";
    kytest::writeFile(ini_, ini);
    app_ = std::make_unique<kytest::TestClientApp>("Splash", ini_);
    app_->CreateContext();
    ASSERT_TRUE(main_.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                               300, nullptr, nullptr));
    app_->m_pMainWnd = &main_;
  }
  KySplash* create(std::optional<std::string> timeout) {
    start(timeout);
    splash_ = std::make_unique<KySplash>();
    EXPECT_TRUE(splash_->Create(pictureName_.c_str()));
    return splash_.get();
  }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  fs::path picture_ = dir_.path() / "SPLASH.BMP";
  std::string pictureName_ = (dir_.path() / "SPLASH").string();
  std::unique_ptr<kytest::TestClientApp> app_;
  CWnd main_;
  std::unique_ptr<KySplash> splash_;
};

TEST_F(Splash, DisplayTimeIsTheSettingInSecondsUpToTenMinutes) {
  const struct {
    std::optional<std::string> setting;
    UINT milliseconds;
  } cases[] = {
      {std::nullopt, 0},
      {"0", 0},
      {"5", 5000},
      {"900", 600000},
      {"600", 600000},
      {" 12 seconds", 12000},             // read as atoi reads
      {"abc", 0},
      {"-3", 0},                          // no timer of weeks from a sign
      {"99999999999999999999999", 600000},  // nor from an overflow
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting.value_or("(absent)"));
    KySplash* pSplash = create(c.setting);
    ASSERT_NE(pSplash->m_hWnd, nullptr);
    EXPECT_EQ(pSplash->GetDisplayTime(), c.milliseconds);
    EXPECT_EQ(pSplash->GetTimer(), c.milliseconds ? KySplash::kTimerId : 0u);
    TearDown();
  }
}

TEST_F(Splash, IsAHiddenTopmostPopupOfThePictureSizeInTheMiddle) {
  KySplash* pSplash = create("0");
  DWORD style = pSplash->GetStyle();
  EXPECT_EQ(style & (WS_POPUP | WS_CHILD | WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_VISIBLE), WS_POPUP);
  EXPECT_TRUE(pSplash->GetExStyle() & WS_EX_TOPMOST);
  CRect rect;
  pSplash->GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 120);
  EXPECT_EQ(rect.Height(), 80);
  RECT area;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_LE(std::abs((rect.left + rect.right) - (area.left + area.right)), 1);
  EXPECT_LE(std::abs((rect.top + rect.bottom) - (area.top + area.bottom)), 1);
}

TEST_F(Splash, WithoutDisplayTimeGoesWhenAsked) {
  KySplash* pSplash = create(std::nullopt);
  pSplash->ShowWindow(SW_SHOW);
  EXPECT_TRUE(main_.IsWindowEnabled());
  HWND hSplash = pSplash->m_hWnd;
  EXPECT_EQ(pSplash->RemoveSplash(), 0);
  EXPECT_FALSE(IsWindow(hSplash));
  EXPECT_EQ(pSplash->m_hWnd, nullptr);
  EXPECT_EQ(pSplash->RemoveSplash(), 0);  // asked again: nothing left to do
}

// The main window stays disabled while the timed splash shows; the timer
// hides the splash and enables it, after which the splash can go.
TEST_F(Splash, TimedSplashHoldsTheMainWindowUntilItsTimer) {
  KySplash* pSplash = create("30");
  HWND hSplash = pSplash->m_hWnd;
  EXPECT_TRUE(main_.IsWindowEnabled());  // created, not yet shown
  pSplash->ShowWindow(SW_SHOW);
  EXPECT_FALSE(main_.IsWindowEnabled());
  EXPECT_EQ(pSplash->RemoveSplash(), 1);
  EXPECT_TRUE(IsWindowVisible(hSplash));

  pSplash->SendMessage(WM_TIMER, KySplash::kTimerId, 0);
  EXPECT_TRUE(main_.IsWindowEnabled());
  EXPECT_TRUE(IsWindow(hSplash));
  EXPECT_FALSE(IsWindowVisible(hSplash));
  EXPECT_EQ(pSplash->GetTimer(), 0u);
  EXPECT_EQ(pSplash->RemoveSplash(), 0);
  EXPECT_FALSE(IsWindow(hSplash));
}

TEST_F(Splash, TheTimerFiresThroughTheQueue) {
  KySplash* pSplash = create("1");
  pSplash->ShowWindow(SW_SHOW);
  ASSERT_FALSE(main_.IsWindowEnabled());
  // One second of display time; the test gives it five.
  DWORD start = GetTickCount();
  while (pSplash->IsWindowVisible() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    win32::input::pumpMessages();
  }
  EXPECT_FALSE(pSplash->IsWindowVisible());
  EXPECT_TRUE(main_.IsWindowEnabled());
  EXPECT_EQ(pSplash->GetDisplayTime(), 0u);
}

// Destroying a timed splash gives the main window back; but the splash
// only undoes its own disabling: a busy section that disabled the main
// window after it keeps it disabled.
TEST_F(Splash, DestructionUndoesOnlyItsOwnDisabling) {
  KySplash* pSplash = create("30");
  pSplash->ShowWindow(SW_SHOW);
  app_->DisableMainWnd();
  pSplash->SendMessage(WM_TIMER, KySplash::kTimerId, 0);
  EXPECT_FALSE(main_.IsWindowEnabled());
  splash_.reset();  // the window goes with the object
  EXPECT_FALSE(main_.IsWindowEnabled());
  app_->EnableMainWnd();
  EXPECT_TRUE(main_.IsWindowEnabled());
  TearDown();

  pSplash = create("30");
  pSplash->ShowWindow(SW_SHOW);
  HWND hSplash = pSplash->m_hWnd;
  ASSERT_FALSE(main_.IsWindowEnabled());
  splash_.reset();
  EXPECT_FALSE(IsWindow(hSplash));
  EXPECT_TRUE(main_.IsWindowEnabled());
}

TEST_F(Splash, EndingTheDisplayTimeEarlyLetsItGo) {
  KySplash* pSplash = create("600");
  pSplash->ShowWindow(SW_SHOW);
  pSplash->EndDisplayTime();
  EXPECT_TRUE(main_.IsWindowEnabled());
  EXPECT_EQ(pSplash->GetTimer(), 0u);
  EXPECT_EQ(pSplash->RemoveSplash(), 0);
  EXPECT_EQ(pSplash->m_hWnd, nullptr);
}

TEST_F(Splash, PaintsThePictureAtTheTopLeft) {
  KySplash* pSplash = create("0");
  pSplash->ShowWindow(SW_SHOW);
  pSplash->UpdateWindow();
  const fs::path png = fs::path(KY_BIN_DIR).parent_path() / "tests" / "splash_window.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(pSplash->m_hWnd, png.c_str()));
  HWND h = pSplash->m_hWnd;
  EXPECT_EQ(win32::snapshot::windowPixel(h, 0, 0), kSky);
  EXPECT_EQ(win32::snapshot::windowPixel(h, 79, 49), kSky);
  EXPECT_EQ(win32::snapshot::windowPixel(h, 80, 10), kSun);
  EXPECT_EQ(win32::snapshot::windowPixel(h, 99, 29), kSun);
  EXPECT_EQ(win32::snapshot::windowPixel(h, 100, 29), kSky);
  EXPECT_EQ(win32::snapshot::windowPixel(h, 0, 50), kGround);
  EXPECT_EQ(win32::snapshot::windowPixel(h, 119, 79), kGround);
}

// No picture, no window: and a timed splash that was never made holds
// nothing disabled.
TEST_F(Splash, WithoutItsPictureNothingIsMade) {
  kytest::writeFile(dir_.path() / "BROKEN.BMP", landscape().substr(0, 100));
  const struct {
    const char* name;
    DWORD error;
  } cases[] = {
      {"MISSING", ERROR_FILE_NOT_FOUND},
      {"BROKEN", ERROR_INVALID_DATA},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    start("30");
    KySplash splash;
    EXPECT_FALSE(splash.Create((dir_.path() / c.name).c_str()));
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(splash.m_hWnd, nullptr);
    EXPECT_EQ(splash.GetTimer(), 0u);
    EXPECT_EQ(splash.GetDisplayTime(), 0u);
    EXPECT_FALSE(splash.GetPicture().IsLoaded());
    EXPECT_EQ(splash.RemoveSplash(), 0);
    EXPECT_TRUE(main_.IsWindowEnabled());
    TearDown();
  }
}

TEST_F(Splash, IsMadeOnlyOnce) {
  KySplash* pSplash = create("0");
  HWND hFirst = pSplash->m_hWnd;
  EXPECT_FALSE(pSplash->Create(pictureName_.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(pSplash->m_hWnd, hFirst);
}

}  // namespace
