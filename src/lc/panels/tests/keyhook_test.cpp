// The keyboard hook: each key pressed is offered to the active panel, then
// to the panels around it in order, before any window sees it; what the
// panels leave reaches the focus window. F1 and F10 have their own rules.
#include <afxres.h>
#include <gtest/gtest.h>

#include "KyKeyHook.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;
namespace input = win32::input;

// A top-level window that keeps the keys and help requests it receives.
class KeyWindow {
 public:
  KeyWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "KyKeyHookTarget";
    RegisterClassA(&wc);
    hWnd_ = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                            nullptr, nullptr, this);
    SetWindowLongPtrA(hWnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetActiveWindow(hWnd_);
    SetFocus(hWnd_);
  }
  ~KeyWindow() { DestroyWindow(hWnd_); }
  std::vector<UINT> keys;  // WM_KEYDOWN and WM_SYSKEYDOWN keys
  int helps = 0;

 private:
  static LRESULT CALLBACK proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<KeyWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (self && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) self->keys.push_back(static_cast<UINT>(wParam));
    if (self && message == WM_COMMAND && LOWORD(wParam) == ID_HELP) self->helps++;
    return DefWindowProcA(hWnd, message, wParam, lParam);
  }
  HWND hWnd_;
};

class KeyHook : public kytest::PanelHarness {
 protected:
  void SetUp() override {
    PanelHarness::SetUp();
    ASSERT_TRUE(hook_.Install());
  }
  void TearDown() override {
    hook_.Remove();
    app_->m_pMainWnd = nullptr;
    PanelHarness::TearDown();
  }
  // An MDI frame (the main window), an MDI child in it, a second MDI child
  // called from the first, and a top window called from the second.
  void makeChain() {
    frame_ = made(KyMDIFrame);
    outer_ = made(KyMDIChild, frame_);
    inner_ = made(KyMDIChild, outer_);
    top_ = made(KyTopWindow, inner_);
    for (RecordingPanel* p : {frame_, outer_, inner_, top_}) {
      p->StartPanel();
      p->keyLog = &offered_;
    }
  }
  KyKeyHook hook_;
  std::vector<KyPanel*> offered_;
  RecordingPanel *frame_ = nullptr, *outer_ = nullptr, *inner_ = nullptr, *top_ = nullptr;
};

TEST_F(KeyHook, OffersKeysToTheActivePanelThenToItsParents) {
  makeChain();
  KeyWindow target;
  struct Case {
    const char* name;
    RecordingPanel* active;
    RecordingPanel* taker;  // null: no panel takes the key
    std::vector<KyPanel*> offered;
  } cases[] = {
      {"a child hands keys up its chain", inner_, nullptr, {inner_, outer_, frame_}},
      {"the first taker ends the offer", inner_, outer_, {inner_, outer_}},
      {"the active panel takes it", inner_, inner_, {inner_}},
      {"other panels pass to the MDI frame only", top_, nullptr, {top_, frame_}},
  };
  for (const Case& c : cases) {
    for (RecordingPanel* p : {frame_, outer_, inner_, top_}) p->takes = p == c.taker ? 'K' : 0;
    app_->SetActivePanel(c.active);
    offered_.clear();
    target.keys.clear();
    input::keyPress('K');
    pump();
    EXPECT_EQ(offered_, c.offered) << c.name;
    EXPECT_EQ(app_->m_pActivePanel, c.active) << c.name;
  }
}

TEST_F(KeyHook, TakenKeysStopExceptThoseTheFrameNeeds) {
  makeChain();
  KeyWindow target;
  app_->SetActivePanel(inner_);
  struct Case {
    UINT key;
    bool taken;
    bool reachesWindow;
  } cases[] = {
      {'K', true, false}, {'K', false, true},
      {VK_ESCAPE, true, true}, {VK_NEXT, true, true}, {VK_PRIOR, true, true},
      {VK_F10, false, false},  // never opens the menu bar
  };
  for (const Case& c : cases) {
    inner_->takes = c.taken ? static_cast<int>(c.key) : 0;
    target.keys.clear();
    input::keyPress(c.key);
    pump();
    const bool reached = std::find(target.keys.begin(), target.keys.end(), c.key) != target.keys.end();
    EXPECT_EQ(reached, c.reachesWindow) << c.key << (c.taken ? " taken" : " left");
  }
}

TEST_F(KeyHook, F1AsksForHelpOnceAndNotWithShift) {
  makeChain();
  KeyWindow target;
  app_->SetActivePanel(top_);
  SetActiveWindow(top_->hHandle());
  (void)target;
  struct Case {
    const char* name;
    void (*press)();
    int helps;
  } cases[] = {
      {"a press", [] { input::keyPress(VK_F1); }, 1},
      {"held down", [] {
         input::keyDown(VK_F1);
         input::keyDown(VK_F1);
         input::keyDown(VK_F1);
         input::keyUp(VK_F1);
       }, 1},
      {"with Shift", [] { input::chord(VK_F1, true, false); }, 0},
  };
  for (const Case& c : cases) {
    int helps = 0;
    CWnd* pActive = top_->GetFrame();
    ASSERT_NE(pActive, nullptr);
    HWND hActive = top_->hHandle();
    SetActiveWindow(hActive);
    // Count the help commands the active frame receives.
    static int* s_pHelps;
    s_pHelps = &helps;
    static WNDPROC s_previous;
    s_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        hActive, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
          if (m == WM_COMMAND && LOWORD(w) == ID_HELP) {
            ++*s_pHelps;
            return 0;
          }
          return CallWindowProcA(s_previous, h, m, w, l);
        })));
    c.press();
    pump();
    SetWindowLongPtrA(hActive, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_previous));
    EXPECT_EQ(helps, c.helps) << c.name;
  }
}

TEST_F(KeyHook, WithoutMainWindowKeysAreTheWindowsOwn) {
  makeChain();
  app_->m_pMainWnd = nullptr;
  KeyWindow target;
  app_->SetActivePanel(inner_);
  inner_->takes = 'K';
  input::keyPress('K');
  pump();
  EXPECT_TRUE(offered_.empty());
  EXPECT_EQ(target.keys, std::vector<UINT>{'K'});
}

TEST(KyIME, NoInputMethodHereAndModesMapToConversions) {
  KyIME ime;
  EXPECT_FALSE(KyIME::IsWINNLSLoaded()) << "this system has no input method library";
  EXPECT_FALSE(ime.SetMode(GetDesktopWindow(), nullptr, KyIME::Hiragana));
  const struct {
    int mode;
    DWORD current;
    int expected;
  } cases[] = {
      {KyIME::FullAlphanumeric, 0x10 | 0x1, 0x18}, {KyIME::FullKatakana, 0, 0xB}, {KyIME::Hiragana, 0x10, 0x19},
      {KyIME::HalfAlphanumeric, 0xFF, 0x10},       {KyIME::HalfKatakana, 0, 0x3}, {KyIME::Close, 0x19, 0x10},
      {KyIME::LeaveAlone, 0x19, -1},               {-1, 0, -1},                   {KyIME::Remove, 0, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(KyIME::ConversionFor(c.mode, c.current), c.expected) << c.mode;
}

}  // namespace
