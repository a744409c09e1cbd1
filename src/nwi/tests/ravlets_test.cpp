// Registration under a prefix, the dispatcher, the common private messages,
// notifications and vetoes, seen through a parent window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ctlrecord.h"
#include "library.h"
#include "ravlets.h"
#include "suballocator.h"

namespace {

// A parent window that records the WM_COMMAND notifications it gets and
// answers them as the test tells it.
struct Received {
  WORD id;
  WORD code;
  HWND control;
};
std::vector<Received> received;
enum class Answer { nothing, veto, destroy } answer = Answer::nothing;

HBRUSH colorAnswer = nullptr;  // what the parent answers to WM_CTLCOLOR*

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(colorAnswer);
  if (message == WM_COMMAND) {
    auto control = reinterpret_cast<HWND>(lParam);
    received.push_back({LOWORD(wParam), HIWORD(wParam), control});
    if (answer == Answer::veto) SendMessageA(control, KYM_VETO, 0, 0);
    if (answer == Answer::destroy) DestroyWindow(control);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A control class of the test's own on the library's dispatcher: its handler
// makes the record at WM_NCCREATE and frees it at WM_NCDESTROY, like every
// class of the library, and records what it saw.
std::vector<UINT> handlerSaw;
LRESULT testHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record) {
  handlerSaw.push_back(message);
  if (message == WM_NCCREATE) {
    auto* r = static_cast<HCtlRecord*>(HCtlAlloc(sizeof(HCtlRecord)));
    if (r == nullptr) return FALSE;
    HCtlInitRecord(r, window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
  }
  if (message == WM_NCDESTROY && record != nullptr) {
    HCtlFree(record);
    SendMessageA(window, KYM_SETINSTANCE, 0, 0);
  }
  *passOn = TRUE;
  return 0;
}

LRESULT CALLBACK testControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return HCtlDispatch(window, message, wParam, lParam, testHandler, 0);
}

class ControlWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA parent{};
    parent.lpfnWndProc = parentProc;
    parent.lpszClassName = "NwiTestParent";
    RegisterClassA(&parent);
    HCtlRegisterClass(CS_DBLCLKS, testControlProc, 0, sizeof(LONG_PTR), nullptr, nullptr, nullptr, nullptr, nullptr,
                      "NwiTestControl");
  }
  void SetUp() override {
    received.clear();
    handlerSaw.clear();
    answer = Answer::nothing;
    parent_ = CreateWindowExA(0, "NwiTestParent", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              nullptr, nullptr);
    control_ = CreateWindowExA(0, "NwiTestControl", "", WS_CHILD | WS_VISIBLE | 0x1234, 10, 10, 100, 20, parent_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x10042)), nullptr, nullptr);
    ASSERT_NE(control_, nullptr);
    record_ = reinterpret_cast<HCtlRecord*>(SendMessageA(control_, KYM_GETINSTANCE, 0, 0));
    ASSERT_NE(record_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
  }
  HWND parent_ = nullptr;
  HWND control_ = nullptr;
  HCtlRecord* record_ = nullptr;
};

TEST_F(ControlWindows, TheHeadIsFilledFromTheCreationData) {
  EXPECT_EQ(record_->window, control_);
  EXPECT_EQ(record_->notifyTarget, parent_);
  EXPECT_EQ(record_->id, 0x0042) << "the low word of the id";
  EXPECT_EQ(record_->font, nullptr);
  EXPECT_EQ(record_->style & 0xFFFF, 0x1234u);
  EXPECT_EQ(handlerSaw.front(), static_cast<UINT>(WM_NCCREATE)) << "the class handler sees WM_NCCREATE first";
}

TEST_F(ControlWindows, CommonMessagesAnswerAsTheTableSays) {
  struct Step {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
  };
  const Step steps[] = {
      {KYM_GETFLAG2000, 0, 0, 0}, {KYM_SETFLAG2000, 1, 0, 1}, {KYM_GETFLAG2000, 0, 0, 1},
      {KYM_SETFLAG2000, 0, 0, 1}, {KYM_GETFLAG2000, 0, 0, 0}, {KYM_GETNONOTIFY, 0, 0, 0},
      {KYM_SETNONOTIFY, 5, 0, 1}, {KYM_GETNONOTIFY, 0, 0, 1}, {KYM_SETNONOTIFY, 0, 0, 1},
      {KYM_GETNONOTIFY, 0, 0, 0}, {KYM_GETFLAG4000, 0, 0, 0}, {KYM_VETO, 0, 0, 1},
  };
  for (const Step& s : steps)
    EXPECT_EQ(SendMessageA(control_, s.message, s.wParam, s.lParam), s.result) << s.message << " " << s.wParam;
  EXPECT_TRUE(record_->flags & HCTL_VETO);
  record_->flags |= HCTL_NOVALUE;
  EXPECT_EQ(SendMessageA(control_, KYM_GETFLAG4000, 0, 0), 1);
}

TEST_F(ControlWindows, NotifyWindowIsReplacedAndAnswered) {
  EXPECT_EQ(SendMessageA(control_, KYM_GETNOTIFYWND, 0, 0), reinterpret_cast<LRESULT>(parent_));
  HWND other = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(SendMessageA(control_, KYM_SETNOTIFYWND, reinterpret_cast<WPARAM>(other), 0),
            reinterpret_cast<LRESULT>(parent_));
  EXPECT_EQ(SendMessageA(control_, KYM_GETNOTIFYWND, 0, 0), reinterpret_cast<LRESULT>(other));
}

TEST_F(ControlWindows, GetStyleCombinesTheWindowStyleHighWordWithTheSetLowWord) {
  EXPECT_EQ(SendMessageA(control_, KYM_SETSTYLE, 0, WS_CHILD | WS_VISIBLE | WS_BORDER | 0xABCD), 1);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control_, GWL_STYLE)) & 0xFFFF0000u,
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_BORDER));
  SetWindowLongA(control_, GWL_STYLE, WS_CHILD | WS_VISIBLE | 0x0001);  // the window's low word changes alone
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(control_, KYM_GETSTYLE, 0, 0)),
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE) | 0xABCDu);
}

TEST_F(ControlWindows, SetFontAnswersThePreviousFontAndResizes) {
  HFONT a = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  HFONT b = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  handlerSaw.clear();
  EXPECT_EQ(SendMessageA(control_, WM_SETFONT, reinterpret_cast<WPARAM>(a), 0), 0);
  EXPECT_NE(std::find(handlerSaw.begin(), handlerSaw.end(), static_cast<UINT>(WM_SIZE)), handlerSaw.end());
  EXPECT_EQ(SendMessageA(control_, WM_SETFONT, reinterpret_cast<WPARAM>(b), 0), reinterpret_cast<LRESULT>(a));
  EXPECT_EQ(SendMessageA(control_, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(b));
}

TEST_F(ControlWindows, NotificationsReachTheTargetUnlessTurnedOff) {
  EXPECT_EQ(HCtlNotify(record_, 768), 0);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].id, 0x42);
  EXPECT_EQ(received[0].code, 768);
  EXPECT_EQ(received[0].control, control_);
  SendMessageA(control_, KYM_SETNONOTIFY, 1, 0);
  EXPECT_EQ(HCtlNotify(record_, 0), 0);
  EXPECT_EQ(received.size(), 1u) << "nothing sent while notifications are off";
  SendMessageA(control_, KYM_SETNONOTIFY, 0, 0);
  SendMessageA(control_, KYM_SETNOTIFYWND, 0, 0);
  EXPECT_EQ(HCtlNotify(record_, 0), 0);
  EXPECT_EQ(received.size(), 1u) << "nothing sent without a target";
}

TEST_F(ControlWindows, AVetoDuringTheNotificationIsReportedOnce) {
  answer = Answer::veto;
  EXPECT_EQ(HCtlNotify(record_, 1), 1);
  EXPECT_FALSE(record_->flags & HCTL_VETO) << "cleared after reading";
  answer = Answer::nothing;
  EXPECT_EQ(HCtlNotify(record_, 2), 0) << "the next notification starts clear";
  // A veto left over from before a notification does not count.
  SendMessageA(control_, KYM_VETO, 0, 0);
  EXPECT_EQ(HCtlNotify(record_, 3), 0);
  // The cancel-mode message counts as a veto of what is running.
  SendMessageA(control_, WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(record_->flags & HCTL_VETO);
}

TEST_F(ControlWindows, AControlDestroyedByTheReceiverReportsNonZero) {
  answer = Answer::destroy;
  EXPECT_NE(HCtlNotify(record_, 0), 0);
  EXPECT_FALSE(IsWindow(control_));
  EXPECT_EQ(handlerSaw.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(ControlWindows, ColourBrushComesFromTheTargetOrIsWhite) {
  HDC dc = GetDC(control_);
  colorAnswer = nullptr;
  EXPECT_EQ(HCtlGetColorBrush(record_, HCTL_BRUSH_EDIT, dc), GetStockObject(WHITE_BRUSH)) << "a zero answer";
  colorAnswer = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  for (int kind : {HCTL_BRUSH_EDIT, HCTL_BRUSH_LISTBOX, HCTL_BRUSH_BUTTON, HCTL_BRUSH_STATIC})
    EXPECT_EQ(HCtlGetColorBrush(record_, kind, dc), colorAnswer) << kind;
  EXPECT_EQ(HCtlGetColorBrush(record_, 4, dc), GetStockObject(WHITE_BRUSH)) << "no message for kind 4";
  colorAnswer = nullptr;
  ReleaseDC(control_, dc);
}

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

TEST(Dispatcher, WithoutARecordOnlyTheInstanceMessagesAreAnswered) {
  // A window of a dispatcher class whose handler makes no record.
  static HCtlClassHandler none = [](HWND, UINT, WPARAM, LPARAM, BOOL* passOn, HCtlRecord*) -> LRESULT {
    *passOn = TRUE;
    return 0;
  };
  static WNDPROC proc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    return HCtlDispatch(w, m, wp, lp, none, 0);
  };
  HCtlRegisterClass(0, proc, 0, sizeof(LONG_PTR), nullptr, nullptr, nullptr, nullptr, nullptr, "NwiNoRecord");
  HWND w = CreateWindowExA(0, "NwiNoRecord", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SendMessageA(w, KYM_GETINSTANCE, 0, 0), 0);
  EXPECT_EQ(SendMessageA(w, KYM_GETNOTIFYWND, 0, 0), 0);
  EXPECT_EQ(SendMessageA(w, KYM_SETNOTIFYWND, 1, 0), 0);
  EXPECT_EQ(SendMessageA(w, KYM_SETFLAG2000, 1, 0), 0) << "DefWindowProcA's 0";
  int dummy = 0;
  EXPECT_EQ(SendMessageA(w, KYM_SETINSTANCE, 0, reinterpret_cast<LPARAM>(&dummy)), 0);
  EXPECT_EQ(SendMessageA(w, KYM_GETINSTANCE, 0, 0), reinterpret_cast<LRESULT>(&dummy));
  SendMessageA(w, KYM_SETINSTANCE, 0, 0);
  DestroyWindow(w);
  (void)plainProc;
}

// RavletsInit runs once per process: these tests share one prefix.
TEST(Ravlets, RegistersTheClassesUnderThePrefixOnce) {
  ASSERT_TRUE(RavletsInit("NWT"));
  EXPECT_TRUE(HCtlInitialised());
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(HCtlLibraryModule(), "NWTStat", &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(wc.cbWndExtra, static_cast<int>(sizeof(LONG_PTR)));
  EXPECT_EQ(wc.hCursor, HCtlArrowCursor());
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.hInstance, HCtlLibraryModule());
  // A global class: found whatever module asks.
  EXPECT_TRUE(GetClassInfoA(nullptr, "NWTStat", &wc));
  // The fixed names of the library's own dialog templates exist under any prefix.
  for (const char* fixed : {"HButt", "HStat", "HEdit_SS", "HTool"})
    EXPECT_TRUE(GetClassInfoA(HCtlLibraryModule(), fixed, &wc)) << fixed;
  // A second call registers nothing (a new prefix is not taken).
  EXPECT_TRUE(RavletsInit("OTHER"));
  EXPECT_FALSE(GetClassInfoA(HCtlLibraryModule(), "OTHERStat", &wc));
  // A static made by class name works through the dispatcher.
  HWND stat = CreateWindowExA(0, "NWTStat", "[red];hello", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(stat, nullptr);
  EXPECT_NE(SendMessageA(stat, KYM_GETINSTANCE, 0, 0), 0);
  DestroyWindow(stat);
}

TEST(Ravlets, ExitUnregistersTheClassesAndAllowsANewPrefix) {
  ASSERT_TRUE(RavletsInit("NWT"));
  // While a window of a class lives, exit keeps everything registered.
  HWND stat = CreateWindowExA(0, "NWTStat", "x", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(stat, nullptr);
  RavletsExit();
  EXPECT_TRUE(HCtlInitialised());
  WNDCLASSA wc{};
  EXPECT_TRUE(GetClassInfoA(HCtlLibraryModule(), "NWTStat", &wc));
  DestroyWindow(stat);
  RavletsExit();
  EXPECT_FALSE(HCtlInitialised());
  EXPECT_FALSE(GetClassInfoA(HCtlLibraryModule(), "NWTStat", &wc));
  EXPECT_EQ(CreateWindowExA(0, "NWTStat", "x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr), nullptr);
  ASSERT_TRUE(RavletsInit("KYWA721"));
  EXPECT_TRUE(GetClassInfoA(HCtlLibraryModule(), "KYWA721Stat", &wc));
  // Once initialised, a call without a prefix changes nothing and succeeds.
  EXPECT_TRUE(RavletsInit(nullptr));
  EXPECT_TRUE(HCtlInitialised());
  RavletsExit();
  EXPECT_FALSE(RavletsInit(nullptr)) << "no prefix, nothing registered";
  EXPECT_FALSE(HCtlInitialised());
}

TEST(Ravlets, OverwriteModeAnswersThePreviousValue) {
  EXPECT_FALSE(GetOverwriteMode());
  EXPECT_FALSE(SetOverwriteMode(TRUE));
  EXPECT_TRUE(GetOverwriteMode());
  EXPECT_TRUE(SetOverwriteMode(FALSE));
}

}  // namespace
