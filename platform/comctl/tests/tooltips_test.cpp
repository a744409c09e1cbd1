// The "tooltips_class32" control: the tip appearing after the initial delay
// over a tool, its text from the tool, from TTN_GETDISPINFO or from a
// string resource, hiding on leaving, clicking, TTM_POP and the auto-pop
// delay, and the tool list messages.
#include "comctl_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;
using test::Notified;

namespace {

constexpr UINT_PTR kToolId = 5;
constexpr RECT kToolRect{20, 20, 120, 60};

class ToolTips : public test::CommonControlTest {
 protected:
  void SetUp() override {
    CommonControlTest::SetUp();
    tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, frame, nullptr, nullptr, nullptr);
    ASSERT_NE(tips, nullptr);
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 30);
  }
  TOOLINFOA info(UINT flags = TTF_SUBCLASS, LPSTR text = const_cast<LPSTR>("Save the file")) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = flags;
    ti.hwnd = frame;
    ti.uId = kToolId;
    ti.rect = kToolRect;
    ti.lpszText = text;
    return ti;
  }
  bool add(TOOLINFOA ti) { return SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0; }
  std::string shown() {
    char text[128] = {};
    GetWindowTextA(tips, text, sizeof text);
    return IsWindowVisible(tips) ? text : "";
  }
  // Pumps until the tip's visibility is `visible`, for at most `limitMs`: the
  // delays run on timers, and a loaded machine may be late by far more than them.
  bool waitVisible(bool visible, int limitMs = 2000) {
    for (int waited = 0; waited < limitMs && (IsWindowVisible(tips) != FALSE) != visible; waited += 5) wait(5);
    return (IsWindowVisible(tips) != FALSE) == visible;
  }
  // Rests the mouse over the tool long enough for the tip.
  void hoverTool() {
    input::mouseMove(frame, 50, 40);
    input::pumpMessages();
    wait(100);
    waitVisible(true, 500);
  }
  HWND tips = nullptr;
};

TEST_F(ToolTips, AppearsAfterTheDelayBelowThePointerAndHidesOnLeaving) {
  ASSERT_TRUE(add(info()));
  input::mouseMove(frame, 50, 40);
  input::pumpMessages();
  EXPECT_FALSE(IsWindowVisible(tips));
  EXPECT_TRUE(waitVisible(true));
  EXPECT_EQ(shown(), "Save the file");
  RECT tip{};
  GetWindowRect(tips, &tip);
  POINT pointer{50, 40};
  ClientToScreen(frame, &pointer);
  EXPECT_GT(tip.top, pointer.y);
  EXPECT_GT(tip.right - tip.left, 30);
  input::mouseMove(frame, 200, 150);
  input::pumpMessages();
  EXPECT_FALSE(IsWindowVisible(tips));
  EXPECT_EQ(test::notified(), (std::vector<Notified>{{kToolId, (UINT)TTN_SHOW}, {kToolId, (UINT)TTN_POP}}));
}

TEST_F(ToolTips, CallbackTextComesFromTheToolsWindow) {
  struct Case {
    const char* name;
    std::function<LRESULT(NMHDR*)> answer;
    std::string expected;
  } cases[] = {
      {"buffer",
       [](NMHDR* hdr) -> LRESULT {
         auto* di = reinterpret_cast<NMTTDISPINFOA*>(hdr);
         if (hdr->code == TTN_GETDISPINFOA) lstrcpynA(di->szText, "From the buffer", sizeof di->szText);
         return 0;
       },
       "From the buffer"},
      {"pointer",
       [](NMHDR* hdr) -> LRESULT {
         if (hdr->code == TTN_GETDISPINFOA)
           reinterpret_cast<NMTTDISPINFOA*>(hdr)->lpszText = const_cast<LPSTR>("From a pointer");
         return 0;
       },
       "From a pointer"},
      {"resource",
       [](NMHDR* hdr) -> LRESULT {
         auto* di = reinterpret_cast<NMTTDISPINFOA*>(hdr);
         if (hdr->code == TTN_GETDISPINFOA) {
           di->hinst = GetModuleHandleA(nullptr);
           di->lpszText = MAKEINTRESOURCEA(200);
         }
         return 0;
       },
       "Tip from a resource"},
      {"nothing", nullptr, ""},  // no text: no tip
  };
  ASSERT_TRUE(add(info(TTF_SUBCLASS, LPSTR_TEXTCALLBACKA)));
  for (const Case& c : cases) {
    test::notifyAnswer() = c.answer;
    test::notified().clear();
    hoverTool();
    EXPECT_EQ(shown(), c.expected) << c.name;
    ASSERT_FALSE(test::notified().empty()) << c.name;
    EXPECT_EQ(test::notified().front(), (Notified{kToolId, (UINT)TTN_GETDISPINFOA})) << c.name;
    input::mouseMove(frame, 300, 200);  // leave, so the next hover starts afresh
    input::pumpMessages();
  }
}

TEST_F(ToolTips, RelayedMessagesShowAWindowTool) {
  HWND button = child("Button", "OK", BS_PUSHBUTTON, 9, 150, 150, 80, 24);
  TOOLINFOA ti = info(TTF_IDISHWND | TTF_CENTERTIP, const_cast<LPSTR>("Accept"));
  ti.uId = reinterpret_cast<UINT_PTR>(button);
  ASSERT_TRUE(add(ti));
  POINT pt{10, 10};
  ClientToScreen(button, &pt);
  MSG m{button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), 0, pt};
  SendMessageA(tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  wait(100);
  EXPECT_EQ(shown(), "Accept");
  RECT tip{}, b{};
  GetWindowRect(tips, &tip);
  GetWindowRect(button, &b);
  EXPECT_NEAR((tip.left + tip.right) / 2, (b.left + b.right) / 2, 1);  // centred below the tool
  EXPECT_GE(tip.top, b.bottom);
  MSG click{button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), 0, pt};
  SendMessageA(tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&click));
  EXPECT_FALSE(IsWindowVisible(tips));
  SendMessageA(tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  wait(100);
  EXPECT_FALSE(IsWindowVisible(tips));  // not again until the mouse reaches another tool
}

TEST_F(ToolTips, InactiveTipsStayHiddenAndPopOrAutoPopHides) {
  ASSERT_TRUE(add(info()));
  SendMessageA(tips, TTM_ACTIVATE, FALSE, 0);
  hoverTool();
  EXPECT_FALSE(IsWindowVisible(tips));
  SendMessageA(tips, TTM_ACTIVATE, TRUE, 0);
  input::mouseMove(frame, 300, 200);
  input::pumpMessages();
  hoverTool();
  EXPECT_TRUE(IsWindowVisible(tips));
  SendMessageA(tips, TTM_POP, 0, 0);
  EXPECT_FALSE(IsWindowVisible(tips));

  SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 300);
  EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 300);
  input::mouseMove(frame, 300, 200);
  input::pumpMessages();
  input::mouseMove(frame, 50, 40);
  input::pumpMessages();
  ASSERT_TRUE(waitVisible(true));
  const DWORD shownAt = GetTickCount();
  EXPECT_TRUE(waitVisible(false));  // the mouse rests on the tool: only the auto-pop hides it
  EXPECT_GE(GetTickCount() - shownAt, 250u);
}

TEST_F(ToolTips, ToolListMessages) {
  ASSERT_TRUE(add(info()));
  TOOLINFOA second = info(TTF_SUBCLASS, MAKEINTRESOURCEA(200));
  second.uId = 6;
  second.hinst = GetModuleHandleA(nullptr);
  second.rect = RECT{200, 20, 260, 60};
  ASSERT_TRUE(add(second));
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 2);

  TOOLINFOA got{};
  got.cbSize = sizeof got;
  EXPECT_TRUE(SendMessageA(tips, TTM_ENUMTOOLSA, 1, reinterpret_cast<LPARAM>(&got)));
  EXPECT_EQ(got.uId, 6u);
  EXPECT_FALSE(SendMessageA(tips, TTM_ENUMTOOLSA, 2, reinterpret_cast<LPARAM>(&got)));

  char buffer[80] = {};
  TOOLINFOA query = info();
  query.uId = 6;
  query.lpszText = buffer;
  SendMessageA(tips, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&query));
  EXPECT_STREQ(buffer, "Tip from a resource");
  TOOLINFOA update = info(0, const_cast<LPSTR>("Renamed"));
  SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&update));
  query.uId = kToolId;
  SendMessageA(tips, TTM_GETTEXTA, 4, reinterpret_cast<LPARAM>(&query));
  EXPECT_STREQ(buffer, "Ren");  // cut to the buffer's size

  update.rect = RECT{0, 100, 50, 150};
  SendMessageA(tips, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&update));
  TTHITTESTINFOA hit{};
  hit.hwnd = frame;
  hit.pt = POINT{10, 120};
  EXPECT_TRUE(SendMessageA(tips, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));
  EXPECT_EQ(hit.ti.uId, kToolId);
  hit.pt = POINT{10, 40};
  EXPECT_FALSE(SendMessageA(tips, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));

  TOOLINFOA missing = info();
  missing.uId = 99;
  EXPECT_FALSE(SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&missing)));
  TOOLINFOA tooSmall = info();
  tooSmall.cbSize = 8;
  EXPECT_FALSE(SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tooSmall)));
  EXPECT_FALSE(SendMessageA(tips, TTM_ADDTOOLA, 0, 0));
  SendMessageA(tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&update));
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, 150), -1);
  EXPECT_EQ(SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, 200), 150);
}

TEST_F(ToolTips, DestroyingTheTipLeavesTheSubclassedWindowWorking) {
  ASSERT_TRUE(add(info()));
  DestroyWindow(tips);
  tips = nullptr;
  input::mouseMove(frame, 50, 40);
  input::pumpMessages();
  wait(60);
  EXPECT_TRUE(IsWindow(frame));
  SetWindowTextA(frame, "still answering");
  char text[32] = {};
  GetWindowTextA(frame, text, sizeof text);
  EXPECT_STREQ(text, "still answering");
}

}  // namespace
