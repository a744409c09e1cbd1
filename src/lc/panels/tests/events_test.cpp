// Logical events of a shown panel: control notifications from synthetic
// keys and mouse reaching the generated dispatch in order, an event raised
// during an event, the function's idle object, keyboard bindings, trapped
// panel messages, native spin limits, and logical events of other
// processes (checked before use, and sent for real by a second program).
#include <gtest/gtest.h>

#include <internal/testinput.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../controls/tests/controlfixture.h"
#include "KyCtrl.h"
#include "KyFloatFld.h"
#include "KyFunctionData.h"
#include "KyNativeSettings.h"
#include "KyPanel.h"
#include "editcontrol.h"
#include "natmessages.h"
#include "ravlets.h"

namespace {

namespace input = win32::input;

constexpr int16_t kTextDescriptor = 20010, kDoubleDescriptor = 20011, kRefreshText = 20032;
constexpr char kAllCustom[] =
    "[NativeControls]\nListBox=0\nSingleLineEdit=0\nStatics=0\nCheckBox=0\nRadioButton=0\nPushButton=0\n"
    "ComboBox=0\nSpinButton=0\n";

// A record of the control fixture, a tab stop.
KyCreateCtrl record(int id, int kind, int16_t textId) {
  return kytest::controlRecord(id, kind, textId, 0, WS_VISIBLE | WS_TABSTOP);
}

// The generated dispatch: records the logical events it ran.
class EventPanel : public KyPanel {
 public:
  using KyPanel::KyPanel;
  void PanelHandler(int iLogicalId) override {
    ran.push_back(iLogicalId);
    if (onEvent) onEvent(iLogicalId);
  }
  std::vector<int> ran;
  std::function<void(int)> onEvent;
};

class PanelEvents : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(RavletsInit("KYWA721")); }
  void open(const std::string& settings, const std::vector<KyCreateCtrl>& records) {
    kytest::writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n" + settings);
    KyNativeSettings::Reset();
    app_ = std::make_unique<kytest::TestClientApp>("Events", ini_);
    app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    // Unique to this process: the panel registry is shared with every
    // program of the user.
    name_ = "EVENTS" + std::to_string(GetCurrentProcessId());
    function_ = std::make_unique<KyFunctionData>(nullptr, "KYPNLTST", name_.c_str(), name_.c_str(), 721, 0);
    panel_ = std::make_unique<EventPanel>(function_.get());
    ASSERT_TRUE(panel_->Init(KyTopWindow, 0x00CF0000, 65, 0x100008, 1, 0));
    panel_->CreateControls(records.data(), static_cast<int>(records.size()));
    panel_->StartPanel();
    input::pumpMessages();
  }
  void TearDown() override {
    panel_.reset();
    function_.reset();
    language_.reset();
    if (app_) app_->EndContext();
    app_.reset();
  }
  HWND window(int id) const { return panel_->pGetCtrl(id)->GetWindowHandle(); }
  void clickOn(int id) {
    input::click(window(id), 6, 6);
    input::pumpMessages();
  }
  // A physical event (source, code) mapped to logical id source * 100 + code.
  void on(int iSource, int iCode) {
    panel_->AddEvent(new KyLogEvent(iSource, iCode, iSource * 100 + iCode, "", "", 0));
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::string name_;
  std::unique_ptr<kytest::TestClientApp> app_;
  std::unique_ptr<kytest::LanguageLibrary> language_;
  std::unique_ptr<KyFunctionData> function_;
  std::unique_ptr<EventPanel> panel_;
};

class ControlNotifications : public PanelEvents, public ::testing::WithParamInterface<bool> {};

// Focus into the edit, a keystroke, a click on the button (the edit loses
// the focus), a click on a list entry, then focus and a keystroke in the
// multi-line edit and a click on the combo box, with native and custom
// windows: the same logical events in the same order.
TEST_P(ControlNotifications, BecomeLogicalEventsInOrder) {
  open(GetParam() ? "" : kAllCustom, {record(1, 1, kTextDescriptor), record(2, 3, kTextDescriptor),
                                      record(3, 11, kTextDescriptor), record(4, 15, kTextDescriptor),
                                      record(5, 10, kTextDescriptor)});
  for (const char* entry : {"first", "second"}) {
    KyCharFld text(entry);
    panel_->pGetCtrl(3)->AddTextEntry(text);
  }
  for (auto [source, code] : {std::pair{1, 1}, {2, 4}, {2, 9}, {2, 5}, {3, 9}, {4, 4}, {4, 9}, {4, 5}, {5, 4}})
    on(source, code);
  clickOn(2);
  input::typeText("a");
  input::pumpMessages();
  clickOn(1);
  clickOn(3);
  clickOn(4);
  input::typeText("b");
  input::pumpMessages();
  clickOn(5);
  EXPECT_EQ(panel_->ran, (std::vector<int>{204, 209, 205, 101, 309, 404, 409, 405, 504}));
  EXPECT_EQ(panel_->GetEventSource(), nullptr) << "the source is the event's only while it runs";
}

INSTANTIATE_TEST_SUITE_P(NativeAndCustom, ControlNotifications, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Native" : "Custom"; });

// A click that arrives while the click's event serves the queue waits and
// runs after it; the function's idle object is reset only while an event
// runs.
TEST_F(PanelEvents, AnEventDuringAnEventWaitsThenRuns) {
  open("", {record(1, 1, kTextDescriptor), record(2, 1, kTextDescriptor)});
  on(1, 1);
  on(2, 1);
  HANDLE hIdle = function_->GetEvent();
  std::vector<size_t> seenInside;
  std::vector<KyCtrl*> sources;
  panel_->onEvent = [&](int iLogicalId) {
    EXPECT_EQ(WaitForSingleObject(hIdle, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "busy while it runs";
    sources.push_back(panel_->GetEventSource());
    if (iLogicalId == 101) {
      clickOn(2);  // served inside the event
      seenInside.push_back(panel_->ran.size());
    }
  };
  clickOn(1);
  EXPECT_EQ(panel_->ran, (std::vector<int>{101, 201}));
  EXPECT_EQ(seenInside, std::vector<size_t>{1}) << "the second click did not run inside the first";
  EXPECT_EQ(sources, (std::vector<KyCtrl*>{panel_->pGetCtrl(1), panel_->pGetCtrl(2)}));
  EXPECT_EQ(WaitForSingleObject(hIdle, 0), WAIT_OBJECT_0) << "idle again";
}

// The panel's default button follows the focus: a push button that takes
// the focus, else the first push button with BS_DEFPUSHBUTTON.
std::vector<WPARAM> defaultIds;
WNDPROC viewProcedure = nullptr;
LRESULT CALLBACK recordDefaultId(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == DM_SETDEFID) defaultIds.push_back(wParam);
  return CallWindowProcA(viewProcedure, hWnd, message, wParam, lParam);
}

TEST_F(PanelEvents, DefaultButtonFollowsTheFocus) {
  for (const bool withDefault : {true, false}) {
    KyCreateCtrl second = record(2, 1, kTextDescriptor);
    KyCreateCtrl first = record(1, 1, kTextDescriptor);
    first.style |= BS_NOTIFY | (withDefault ? BS_DEFPUSHBUTTON : 0);
    second.style |= BS_NOTIFY;
    open("", {first, second, record(3, 3, kTextDescriptor)});
    defaultIds.clear();
    viewProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        panel_->ViewHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordDefaultId)));
    clickOn(2);
    clickOn(3);
    SetWindowLongPtrA(panel_->ViewHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(viewProcedure));
    EXPECT_EQ(defaultIds, withDefault ? (std::vector<WPARAM>{2, 1}) : std::vector<WPARAM>{});
    TearDown();
  }
}

TEST_F(PanelEvents, BoundKeysRunTheirEvents) {
  open("", {});
  panel_->AddKeyBoardEvent(VK_F5, 501);
  panel_->AddKeyBoardEvent(VK_F5 | KyKeyBoardEvt::kCtrl, 502);
  panel_->AddKeyBoardEvent('1', 503);
  panel_->AddEvent(new KyLogEvent(-1, 7, 504, "", "Later", 0));
  panel_->AddKeyBoardEvent(VK_F8, 504);
  panel_->ActivateLogicalEvent("later", 0);
  const struct {
    UINT key;
    bool ctrl, alt;
    bool consumed;
    int ran;  // 0: nothing ran
  } cases[] = {
      {VK_F5, false, false, true, 501}, {VK_F5, true, false, true, 502},  {VK_NUMPAD1, false, false, true, 503},
      {VK_F6, false, false, false, 0},  {VK_F5, false, true, false, 0},   {VK_F8, false, false, true, 0},
  };
  for (const auto& c : cases) {
    panel_->ran.clear();
    // The key hook hands the key over while Ctrl or Alt is held.
    BYTE keys[256] = {};
    keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
    keys[VK_MENU] = c.alt ? 0x80 : 0;
    SetKeyboardState(keys);
    EXPECT_EQ(panel_->OnKeyBoard(static_cast<int>(c.key)), c.consumed) << c.key;
    BYTE none[256] = {};
    SetKeyboardState(none);
    EXPECT_EQ(panel_->ran, c.ran ? std::vector<int>{c.ran} : std::vector<int>{}) << c.key;
  }
  // A disabled key is consumed (with a beep) and runs nothing.
  panel_->ran.clear();
  panel_->EnableKeyBoardState(VK_F5, 0);
  EXPECT_TRUE(panel_->OnKeyBoard(VK_F5));
  panel_->EnableKeyBoardState(VK_F5, 1);
  EXPECT_TRUE(panel_->OnKeyBoard(VK_F5));
  EXPECT_EQ(panel_->ran, std::vector<int>{501});
}

TEST_F(PanelEvents, TrappedMessagesAndNamedEventsRun) {
  open("", {});
  constexpr UINT kTrapped = WM_USER + 50;
  panel_->RegisterLogicalEvent(kRefreshText, 601);
  EXPECT_STREQ(panel_->TrapEvent(kTrapped, "Refresh"), "Refresh");
  EXPECT_STREQ(panel_->TrapEvent(kTrapped, "Other"), "Refresh") << "the first mapping stays";
  SendMessageA(panel_->hHandle(), kTrapped, 0, 0);
  SendMessageA(panel_->hHandle(), kTrapped + 1, 0, 0);
  EXPECT_EQ(panel_->DoEvent("REFRESH"), 1);
  EXPECT_EQ(panel_->DoEvent("NoSuchEvent"), 0);
  EXPECT_EQ(panel_->ran, (std::vector<int>{601, 601}));
}

// A native spin notifies a change; the panel tells a step that reached the
// limit from a plain step.
TEST_F(PanelEvents, NativeSpinStepsTellTheLimit) {
  open("", {record(1, 14, kDoubleDescriptor)});
  KyCtrl* pSpin = panel_->pGetCtrl(1);
  ASSERT_TRUE(pSpin->IsNative());
  for (int code : {25, 26, 27, 28}) on(1, code);
  pSpin->SetMinimum("0");
  pSpin->SetMaximum("20");
  const struct {
    double value;
    UINT step;
    int ran;
  } cases[] = {{10, NKM_STEPUP, 127}, {20, NKM_STEPUP, 126}, {10, NKM_STEPDOWN, 128}, {0, NKM_STEPDOWN, 125}};
  for (const auto& c : cases) {
    panel_->ran.clear();
    KyDblFld value(c.value, 0);
    pSpin->DDX(2, value);
    SendMessageA(pSpin->GetWindowHandle(), c.step, 0, 0);
    input::pumpMessages();
    EXPECT_EQ(panel_->ran, std::vector<int>{c.ran}) << c.value << (c.step == NKM_STEPUP ? " up" : " down");
  }
}

// What another process sends is checked whole before use: the tag, the
// size, the zero word, the name's end within the data and its 50
// characters, and whether its event is active.
TEST_F(PanelEvents, CrossProcessEventsAreCheckedBeforeUse) {
  open("", {});
  const std::string fifty(50, 'E'), fiftyOne(51, 'E');
  panel_->AddEvent(new KyLogEvent(-1, 7, 701, "", fifty.c_str(), 0));
  panel_->AddEvent(new KyLogEvent(-1, 7, 702, "", "Off", 0));
  panel_->ActivateLogicalEvent("Off", 0);
  panel_->RegisterLogicalEvent(kRefreshText, 601);
  struct Case {
    const char* what;
    ULONG_PTR tag;
    uint32_t head;
    std::string name;
    int cut;  // bytes taken off the end of the data
    BOOL answer;
    int ran;
  } cases[] = {
      {"well formed", 0x0041455A, 0, "Refresh", 0, TRUE, 601},
      {"fifty characters", 0x0041455A, 0, fifty, 0, TRUE, 701},
      {"another tag", 0x0041455B, 0, "Refresh", 0, FALSE, 0},
      {"a word before the name", 0x0041455A, 7, "Refresh", 0, FALSE, 0},
      {"no end within the data", 0x0041455A, 0, "Refresh", 1, FALSE, 0},
      {"only the word", 0x0041455A, 0, "", 1, FALSE, 0},
      {"fifty-one characters", 0x0041455A, 0, fiftyOne, 0, FALSE, 0},
      {"an inactive event", 0x0041455A, 0, "Off", 0, FALSE, 0},
      {"an unknown event", 0x0041455A, 0, "Nothing", 0, FALSE, 0},
  };
  for (const Case& c : cases) {
    panel_->ran.clear();
    std::vector<char> payload(4 + c.name.size() + 1, '\0');
    std::memcpy(payload.data(), &c.head, 4);
    std::memcpy(payload.data() + 4, c.name.c_str(), c.name.size() + 1);
    payload.resize(payload.size() - std::min<size_t>(c.cut, payload.size()));
    COPYDATASTRUCT data{c.tag, static_cast<DWORD>(payload.size()), payload.data()};
    EXPECT_EQ(SendMessageA(panel_->hHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), c.answer) << c.what;
    EXPECT_EQ(panel_->ran, c.ran ? std::vector<int>{c.ran} : std::vector<int>{}) << c.what;
  }
  COPYDATASTRUCT empty{0x0041455A, 56, nullptr};
  EXPECT_EQ(SendMessageA(panel_->hHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), FALSE);
}

// A second program raises the event through the panel registry; the panel
// runs it when its loop serves the message.
TEST_F(PanelEvents, ASecondProcessRaisesAnEvent) {
  open("", {});
  panel_->RegisterLogicalEvent(kRefreshText, 601);
  const std::string program = KY_BIN_DIR "/lc_panels_eventsender";
  std::string panelName = name_, event = "Refresh";
  char* argv[] = {const_cast<char*>(program.c_str()), panelName.data(), event.data(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
  int status = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      FAIL() << "the sender did not end";
    }
    input::pumpMessages();
    usleep(2000);
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the sender learns the panel ran it";
  EXPECT_EQ(panel_->ran, std::vector<int>{601});
}

}  // namespace
