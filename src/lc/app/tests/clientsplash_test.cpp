// The application object and its splash: shown at the user interface's
// start when the run options ask for it and its picture reads, removed by
// the first input, an idle turn, a message box or the end of the user
// interface; a timed splash stays until its timer has fired.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <internal/userscript.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "../../panels/tests/bitmapfile.h"
#include "KyAppContext.h"
#include "KyMessage.h"
#include "KySplash.h"
#include "KyWinClientApp.h"
#include "testapp.h"

namespace {

namespace fs = std::filesystem;

constexpr COLORREF kLogo = RGB(160, 30, 90);

// A main window whose own translation throws, as a faulty panel's may.
class ThrowingWnd : public CWnd {
 public:
  BOOL PreTranslateMessage(MSG*) override { AfxThrowUserException(); }
};

class ClientSplash : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(dir_.path() / "LOGO.BMP", kytest::bitmap24(64, 40, [](int, int) { return kLogo; }));
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override { finish(); }

  // A fresh application with these [Window Options] lines, its context and
  // a visible main window (not yet its main window: see makeMain).
  void begin(const std::string& windowOptions) {
    finish();
    kytest::writeFile(ini_, "[Window Options]\n" + windowOptions);
    app_ = std::make_unique<kytest::TestClientApp>("Splash", ini_);
    app_->CreateContext();
    ASSERT_TRUE(main_.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                               300, nullptr, nullptr));
    app_->m_pMainWnd = &main_;
  }
  // The application's user interface with a splash of LOGO.BMP and the
  // given display time (seconds).
  void showSplash(const char* timeout = "0") {
    begin("Show Splash Screen=True\nSplash Screen File=" + (dir_.path() / "LOGO").string() +
          "\nSplash Screen Timeout=" + timeout + "\n");
    ASSERT_TRUE(app_->InitUserInterface());
    ASSERT_TRUE(app_->m_fSplashShown);
    ASSERT_NE(app_->m_pSplash, nullptr);
  }
  void finish() {
    if (!app_) return;
    // No longer the main window, whose end would post the quit message.
    app_->m_pMainWnd = nullptr;
    if (main_.m_hWnd) main_.DestroyWindow();
    app_->EndContext();
    app_.reset();
  }
  BOOL preTranslate(UINT message, HWND hWnd = nullptr) {
    MSG msg{hWnd ? hWnd : main_.m_hWnd, message, 0, 0, 0, {0, 0}};
    return app_->PreTranslateMessage(&msg);
  }
  bool splashGone() const { return !app_->m_fSplashShown && app_->m_pSplash == nullptr; }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  CWnd main_;
};

TEST_F(ClientSplash, StartOfTheUserInterfaceShowsAndPaintsIt) {
  showSplash();
  HWND hSplash = app_->m_pSplash->m_hWnd;
  EXPECT_TRUE(IsWindowVisible(hSplash));
  // Painted at once, before any message loop runs.
  EXPECT_FALSE(GetUpdateRect(hSplash, nullptr, FALSE));
  EXPECT_EQ(win32::snapshot::windowPixel(hSplash, 0, 0), kLogo);
  EXPECT_EQ(win32::snapshot::windowPixel(hSplash, 63, 39), kLogo);

  app_->ExitUserInterface();
  EXPECT_TRUE(splashGone());
  EXPECT_FALSE(IsWindow(hSplash));
}

// The start goes on without a splash in each of these cases.
TEST_F(ClientSplash, NoSplashWithoutTheOptionInStateFiveOrWithoutAPicture) {
  kytest::writeFile(dir_.path() / "TORN.BMP", "BM not much more");
  const std::string logo = "Splash Screen File=" + (dir_.path() / "LOGO").string() + "\n";
  const struct {
    const char* what;
    std::string options;
    int state;
  } cases[] = {
      {"option off", "Show Splash Screen=False\n" + logo, 1},
      {"state 5", "Show Splash Screen=True\n" + logo, 5},
      {"missing file", "Splash Screen File=" + (dir_.path() / "NONE").string() + "\n", 1},
      {"corrupt file", "Splash Screen File=" + (dir_.path() / "TORN").string() + "\n", 1},
      {"default name, no such picture", "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    begin(c.options);
    app_->m_iAppState = c.state;
    EXPECT_TRUE(app_->InitUserInterface());
    EXPECT_TRUE(splashGone());
    EXPECT_TRUE(main_.IsWindowEnabled());
    app_->ExitUserInterface();
  }
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
}

TEST_F(ClientSplash, InputGoingDownEndsIt) {
  const struct {
    UINT message;
    bool ends;
  } cases[] = {
      {WM_LBUTTONDOWN, true},   {WM_RBUTTONDOWN, true},   {WM_MBUTTONDOWN, true},
      {WM_NCLBUTTONDOWN, true}, {WM_NCRBUTTONDOWN, true}, {WM_NCMBUTTONDOWN, true},
      {WM_KEYDOWN, true},       {WM_SYSKEYDOWN, true},    {WM_ENTERIDLE, true},
      {WM_MOUSEMOVE, false},    {WM_NCMOUSEMOVE, false},  {WM_LBUTTONUP, false},
      {WM_KEYUP, false},        {WM_CHAR, false},         {WM_PAINT, false},
      {WM_TIMER, false},        {WM_LBUTTONDBLCLK, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    showSplash();
    HWND hSplash = app_->m_pSplash->m_hWnd;
    EXPECT_FALSE(preTranslate(c.message));
    EXPECT_EQ(splashGone(), c.ends);
    EXPECT_EQ(IsWindow(hSplash) != FALSE, !c.ends);
  }
}

// A person's click and key press, through the application's own loop.
TEST_F(ClientSplash, RealInputThroughTheLoopEndsIt) {
  for (bool click : {true, false}) {
    SCOPED_TRACE(click ? "click" : "key");
    showSplash();
    if (click) win32::input::click(main_.m_hWnd, 20, 20);
    else win32::input::keyPress('A');
    MSG msg;
    while (!splashGone() && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
      AfxPumpMessage();
    EXPECT_TRUE(splashGone());
  }
}

TEST_F(ClientSplash, IdleTurnsEndIt) {
  for (bool framework : {true, false}) {
    SCOPED_TRACE(framework ? "OnIdle" : "DoIdle");
    showSplash();
    if (framework) app_->OnIdle(0);
    else app_->DoIdle();
    EXPECT_TRUE(splashGone());
  }
}

// A timed splash outlasts input and idle turns; once its timer has fired,
// the next idle turn takes the hidden window away.
TEST_F(ClientSplash, TimedSplashStaysUntilItsTimer) {
  showSplash("30");
  KySplash* pSplash = app_->m_pSplash;
  HWND hSplash = pSplash->m_hWnd;
  EXPECT_FALSE(main_.IsWindowEnabled());
  preTranslate(WM_LBUTTONDOWN);
  app_->OnIdle(0);
  app_->DoIdle();
  EXPECT_TRUE(app_->m_fSplashShown);
  EXPECT_TRUE(IsWindowVisible(hSplash));

  pSplash->SendMessage(WM_TIMER, KySplash::kTimerId, 0);
  EXPECT_TRUE(main_.IsWindowEnabled());
  EXPECT_FALSE(IsWindowVisible(hSplash));
  app_->OnIdle(0);
  EXPECT_TRUE(splashGone());
  EXPECT_FALSE(IsWindow(hSplash));
}

// A message box would otherwise wait behind the topmost splash, with the
// main window disabled, for up to ten minutes: the framework's boxes and the
// run-time's own end it alike.
TEST_F(ClientSplash, MessageBoxEndsEvenATimedSplash) {
  const std::function<int()> boxes[] = {
      [&] { return app_->DoMessageBox("Something to say", MB_OK, 0) == IDOK ? 3 : 0; },
      [] { return KyMessage::Box(MB_OK, "Something %s", "to say"); },
  };
  for (const auto& box : boxes) {
    showSplash("600");
    ASSERT_FALSE(main_.IsWindowEnabled());
    win32::script::clearMessageBoxLog();
    win32::script::pushMessageBoxAnswer(IDOK);
    EXPECT_EQ(box(), 3);
    EXPECT_TRUE(splashGone());
    EXPECT_TRUE(main_.IsWindowEnabled());
    ASSERT_EQ(win32::script::messageBoxLog().size(), 1u);
    EXPECT_EQ(win32::script::messageBoxLog()[0].text, "Something to say");
  }
}

TEST_F(ClientSplash, EndOfTheUserInterfaceEndsATimedSplash) {
  showSplash("600");
  HWND hSplash = app_->m_pSplash->m_hWnd;
  app_->ExitUserInterface();
  EXPECT_TRUE(splashGone());
  EXPECT_FALSE(IsWindow(hSplash));
  EXPECT_TRUE(main_.IsWindowEnabled());
  app_->ExitUserInterface();  // twice is harmless
}

// An application that ends without its user interface's end (a failed
// start) still frees the splash.
TEST_F(ClientSplash, TheApplicationObjectFreesASplashLeftOver) {
  showSplash("600");
  HWND hSplash = app_->m_pSplash->m_hWnd;
  app_->m_pMainWnd = nullptr;
  main_.DestroyWindow();
  app_->EndContext();
  app_.reset();
  EXPECT_FALSE(IsWindow(hSplash));
}

TEST_F(ClientSplash, ExceptionsOfTheTranslationAreSwallowed) {
  showSplash();
  ThrowingWnd thrower;
  ASSERT_TRUE(thrower.CreateEx(0, AfxRegisterWndClass(0), "Thrower", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr));
  app_->m_pMainWnd = &thrower;
  BOOL taken = TRUE;
  EXPECT_NO_THROW(taken = preTranslate(WM_LBUTTONDOWN, thrower.m_hWnd));
  EXPECT_FALSE(taken);
  EXPECT_TRUE(splashGone());
  app_->m_pMainWnd = &main_;
  thrower.DestroyWindow();
}

}  // namespace
