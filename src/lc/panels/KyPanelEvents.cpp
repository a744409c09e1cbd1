// KyPanel's logical events: the event table (source and code to logical
// event), named events, keyboard events, trapped window messages, control
// notifications (WM_COMMAND through the control's MapNotification), logical
// events of other processes (WM_COPYDATA from the panel registry) and the
// event loop rule: one event of a function at a time.
//
// An event runs holding the function's idle object (KyFunctionData::
// AcquireIdle). Another thread that holds it is waited for, with this
// thread's messages served, until it is free. An event raised while an
// event of the panel runs on this thread (its handler served the queue) or
// while this thread holds the function in another event waits in the
// panel's queue and runs, in order, once that event has ended: waiting for
// it on the stack would wait for ever, and running it inside would run two
// events of one function at once. Only the acquire events run nested.
#include <afxwin.h>

#include <mscrt.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "HEdit.h"
#include "HSpin.h"
#include "KyAppContext.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyRTType.h"
#include "KyResourceStrings.h"
#include "KyWinClientApp.h"
#include "KyZOrderMngr.h"
#include "natmessages.h"

namespace {

constexpr int kFocusGained = 4, kFocusLost = 5, kCommand = 7, kChanged = 9, kTimerTick = 10;
constexpr int kIMEChanged = 13;  // runs the input-method follow-up first
constexpr int kMinimumReached = 25, kMaximumReached = 26, kSteppedUp = 27, kSteppedDown = 28;
constexpr int kEventTimeoutOption = 58;
constexpr int kMultilineMarkedText = 64;
constexpr UINT_PTR kPanelTimerId = 0;
constexpr UINT kRetryMs = 20;
// Events waiting behind a long event: beyond these, more are dropped (a
// handler that serves the queue for minutes would otherwise gather every
// timer tick).
constexpr size_t kMaxQueued = 64;
constexpr int kF1 = 0x70;

// The logical-event message of the panel registry: the data tag "ZEA", a
// zero u32 and the event name of at most 50 characters with its end.
constexpr ULONG_PTR kEventTag = 0x0041455A;
constexpr size_t kMaxEventName = 50;
constexpr size_t kNameOffset = 4;

// The thread's panels whose queued events wait for the thread, by timer.
thread_local std::map<UINT_PTR, KyPanel*> t_RetryPanels;

bool threadBusy() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext && pContext->m_iBusyCount != 0;
}

// The panel timer's interval: "Event Timeout Value" in milliseconds, at
// least 50; 1000 when the option is absent.
UINT eventTimeout() {
  const char* pszValue = KyGetRunOption(kEventTimeoutOption);
  if (!pszValue || !*pszValue) return 1000;
  const int ms = std::atoi(pszValue);
  return ms < 50 ? 50 : static_cast<UINT>(ms);
}

std::string upperName(const char* pszName) {
  std::string name = pszName ? pszName : "";
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

bool isAcquireEvent(const char* pszName) {
  return _stricmp(pszName, "TW_OnAcquire") == 0 || _stricmp(pszName, "TW_OnAcquireFinish") == 0;
}

const auto inside = &KyPanel::WindowHolds;

// The control kinds whose arrows the panel sends on: edits, combo and list
// boxes, multi-line edits and cell editors.
bool takesArrows(int iKind) {
  return iKind == KindEdit || iKind == 5 || iKind == KindComboBox || iKind == KindListBox ||
         iKind == KindMultiLineEdit;
}

// Whether the edit's caret can still move that way itself.
bool caretCanMove(HWND hEdit, int iKey) {
  DWORD start = 0, end = 0;
  SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const LRESULT length = SendMessageA(hEdit, WM_GETTEXTLENGTH, 0, 0);
  return iKey == VK_LEFT ? start > 0 : static_cast<LRESULT>(end) < length;
}

}  // namespace

// --- the event table ----------------------------------------------------------------

void KyPanel::AddEvent(KyLogEvent* pEvent) {
  if (!pEvent) return;
  m_Events.emplace_back(pEvent);
  if (pEvent->m_iEventCode == kTimerTick && m_hWnd) m_uTimer = SetTimer(m_hWnd, kPanelTimerId, eventTimeout(), nullptr);
}

BOOL KyPanel::AcceptsEvents() const { return m_fShown && m_hWnd && IsWindowEnabled(m_hWnd); }

int KyPanel::TriggerEvent(int iSourceId, int iEventCode) {
  if (!AcceptsEvents()) return 0;
  for (const auto& pEvent : m_Events) {
    if (!pEvent->Matches(iSourceId, iEventCode)) continue;
    KyCtrl* pSaved = m_pEventSource;
    m_pEventSource = iSourceId == -1 ? nullptr : pGetCtrl(iSourceId);
    const std::shared_ptr<bool> life = m_pAlive;
    processAccepted(pEvent->m_iLogicalId, *life);
    if (*life) m_pEventSource = pSaved;
    return 1;
  }
  return 0;
}

void KyPanel::RegisterLogicalEvent(int iStringId, int iLogicalId) {
  const char* pszName = pszGetResourceString(static_cast<UINT>(iStringId), this);
  if (!pszName || !*pszName) return;
  m_NamedEvents[upperName(pszName)] = {pszName, iLogicalId};
}

int KyPanel::DoEvent(const char* pszEventName) {
  if (!pszEventName) return 0;
  if (_stricmp(pszEventName, "ToolBarSetActiveState") != 0) commitToolBarFocus();
  int iLogicalId = 0;
  auto named = m_NamedEvents.find(upperName(pszEventName));
  if (named != m_NamedEvents.end()) {
    iLogicalId = named->second.second;
  } else {
    // A name the table knows though it was never registered.
    const KyLogEvent* pFound = nullptr;
    for (const auto& pEvent : m_Events)
      if (pEvent->m_fActive && _stricmp(pEvent->m_EventName.strGetText(), pszEventName) == 0) {
        pFound = pEvent.get();
        break;
      }
    if (!pFound) return 0;
    iLogicalId = pFound->m_iLogicalId;
  }
  if (isAcquireEvent(pszEventName)) m_fPending = 1;
  ProcessEvent(iLogicalId);
  return 1;
}

void KyPanel::commitToolBarFocus() {
  // A command tool bar under the mouse leaves the focus where it was, so the
  // control holding it has not given up its edit yet: the focus goes to the
  // panel and back, as a click elsewhere would move it.
  POINT pt{};
  if (!m_hWnd || !GetCursorPos(&pt)) return;
  HWND hUnder = WindowFromPoint(pt);
  char szClass[32] = "";
  if (!inside(m_hWnd, hUnder) || !GetClassNameA(hUnder, szClass, sizeof szClass) ||
      _stricmp(szClass, "XTPTOOLBAR") != 0)
    return;
  HWND hFocus = GetFocus();
  ::SetFocus(m_hWnd);
  if (hFocus && IsWindow(hFocus)) ::SetFocus(hFocus);
}

void KyPanel::ActivateLogicalEvent(const char* pszEventName, int fOn) {
  if (!pszEventName) return;
  for (const auto& pEvent : m_Events)
    if (_stricmp(pEvent->m_EventName.strGetText(), pszEventName) == 0) pEvent->m_fActive = fOn ? 1 : 0;
}

bool KyPanel::IsLogicalEventActive(const char* pszEventName) const {
  if (!pszEventName) return true;
  for (const auto& pEvent : m_Events)
    if (_stricmp(pEvent->m_EventName.strGetText(), pszEventName) == 0) return pEvent->m_fActive != 0;
  return true;
}

bool KyPanel::IsLogicalEventActive(int iLogicalId) const {
  for (const auto& pEvent : m_Events)
    if (pEvent->m_iLogicalId == iLogicalId) return pEvent->m_fActive != 0;
  return true;
}

KyLogEvent* KyPanel::GetCurrentLogicalEvent() const {
  const int current = m_pFunctionData ? m_pFunctionData->GetCurrentLogicalEvent() : 0;
  for (const auto& pEvent : m_Events)
    if (pEvent->m_iLogicalId == current) return pEvent.get();
  return nullptr;
}

const char* KyPanel::TrapEvent(UINT uMessage, const char* pszEventName) {
  auto found = m_TrappedMessages.find(uMessage);
  if (found == m_TrappedMessages.end())
    found = m_TrappedMessages.emplace(uMessage, pszEventName ? pszEventName : "").first;
  return found->second.c_str();
}

// --- running one event at a time -------------------------------------------------

void KyPanel::ProcessEvent(int iLogicalId) {
  if (!AcceptsEvents()) return;
  const std::shared_ptr<bool> life = m_pAlive;
  processAccepted(iLogicalId, *life);
}

void KyPanel::processAccepted(int iLogicalId, const bool& alive) {
  if (threadBusy()) return;
  if (m_iNesting > 0 || m_fWaitingIdle) {
    if (m_iNesting == 1 && m_fPending) {
      m_fPending = 0;
      runEvent(iLogicalId, alive);
    } else {
      queueEvent(iLogicalId);
    }
    return;
  }
  m_fPending = 0;
  if (runHeld(iLogicalId, m_pEventSource, alive) && alive && !m_QueuedEvents.empty()) runQueued(alive);
}

bool KyPanel::runHeld(int iLogicalId, KyCtrl* pSource, const bool& alive) {
  KyFunctionData* pFunction = m_pFunctionData;
  const bool idleWait = pFunction && pFunction->GetEvent() && !pFunction->IsIdleWaitOff();
  bool held = false;
  if (idleWait) {
    if (pFunction->IsBusyOnThisThread()) {
      // Held further down this thread: the event runs when it is free.
      m_QueuedEvents.push_front({iLogicalId, pSource});
      armRetry();
      return true;
    }
    m_fWaitingIdle = 1;
    bool waited = false;
    held = pFunction->AcquireIdle(&waited);
    if (!alive) {
      if (held) pFunction->ReleaseIdle();
      return false;
    }
    m_fWaitingIdle = 0;
    if (!held) return true;  // the application quits
    // What the wait served may have closed or disabled the panel.
    if (waited && !AcceptsEvents()) {
      pFunction->ReleaseIdle();
      return true;
    }
  }
  KyCtrl* pSaved = m_pEventSource;
  m_pEventSource = pSource;
  runEvent(iLogicalId, alive);
  if (held) pFunction->ReleaseIdle();
  if (!alive) return false;
  m_pEventSource = pSaved;
  return true;
}

void KyPanel::runEvent(int iLogicalId, const bool& alive) {
  KyFunctionData* pFunction = m_pFunctionData;
  const int level = ++m_iNesting;
  m_fInEvent = 1;
  if (level == 1) m_hEventBatch = nullptr;
  const int iSaved = pFunction ? pFunction->GetCurrentLogicalEvent() : 0;
  if (pFunction) pFunction->SetCurrentLogicalEvent(iLogicalId);
  KyWinClientApp* pApp = level == 1 ? (m_pClientApp ? m_pClientApp : KyGetClientApp()) : nullptr;
  if (pApp) pApp->BusyOn();

  PanelHandler(iLogicalId);
  if (!alive) return;

  if (pApp) pApp->BusyOff();
  if (pFunction) pFunction->SetCurrentLogicalEvent(iSaved);
  --m_iNesting;
  if (level == 1 && m_hEventBatch) EndDeferWindowPos(std::exchange(m_hEventBatch, nullptr));
  if (m_iNesting == 0) m_fInEvent = 0;
}

void KyPanel::queueEvent(int iLogicalId) {
  if (m_QueuedEvents.size() < kMaxQueued) m_QueuedEvents.push_back({iLogicalId, m_pEventSource});
}

void KyPanel::runQueued(const bool& alive) {
  KyFunctionData* pFunction = m_pFunctionData;
  while (!m_QueuedEvents.empty()) {
    if (m_iNesting > 0 || m_fWaitingIdle) return;  // the running event runs them after it
    if (!AcceptsEvents()) {
      // A panel that takes no events drops the waiting ones too.
      m_QueuedEvents.clear();
      break;
    }
    if (threadBusy() || (pFunction && !pFunction->IsIdleWaitOff() && pFunction->IsBusyOnThisThread())) {
      armRetry();
      return;
    }
    const QueuedEvent next = m_QueuedEvents.front();
    m_QueuedEvents.pop_front();
    if (!runHeld(next.iLogicalId, next.pSource, alive) || !alive) return;
  }
  forgetRetry();
}

void KyPanel::armRetry() {
  if (m_uRetryTimer) return;
  m_uRetryTimer = SetTimer(nullptr, 0, kRetryMs, &KyPanel::retryQueued);
  if (m_uRetryTimer) t_RetryPanels[m_uRetryTimer] = this;
}

void CALLBACK KyPanel::retryQueued(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = t_RetryPanels.find(id);
  if (found == t_RetryPanels.end()) return;
  const std::shared_ptr<bool> life = found->second->m_pAlive;
  found->second->runQueued(*life);
}

void KyPanel::forgetRetry() {
  if (!m_uRetryTimer) return;
  KillTimer(nullptr, m_uRetryTimer);
  t_RetryPanels.erase(m_uRetryTimer);
  m_uRetryTimer = 0;
}

// --- window messages --------------------------------------------------------------

bool KyPanel::OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return false;
    lResult = 0;
    return true;
  }
  if (message == WM_COPYDATA) {
    lResult = OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return true;
  }
  auto trapped = m_TrappedMessages.find(message);
  if (trapped != m_TrappedMessages.end()) {
    // The window handles the message as always after the event.
    const std::string name = trapped->second;
    DoEvent(name.c_str());
  }
  return false;
}

BOOL KyPanel::OnCopyData(const COPYDATASTRUCT* pData) {
  // Another process wrote all of it: every byte is checked before use.
  if (!pData || (pData->dwData & 0xFFFFFFFFu) != kEventTag || !pData->lpData) return FALSE;
  if (pData->cbData <= kNameOffset) return FALSE;
  const auto* bytes = static_cast<const char*>(pData->lpData);
  uint32_t head = 0;
  std::memcpy(&head, bytes, sizeof head);
  if (head != 0) return FALSE;
  const size_t room = pData->cbData - kNameOffset;
  const size_t length = strnlen(bytes + kNameOffset, std::min(room, kMaxEventName + 1));
  if (length == 0 || length > kMaxEventName || length == room) return FALSE;  // too long or no end
  const std::string name(bytes + kNameOffset, length);
  if (!IsLogicalEventActive(name.c_str())) return FALSE;
  // A name no event of the panel has is not run: the sender learns it.
  return DoEvent(name.c_str()) ? TRUE : FALSE;
}

bool KyPanel::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  HWND hControl = reinterpret_cast<HWND>(lParam);
  if (!hControl) {
    TriggerEvent(id, kCommand);  // a menu item, tool-bar button or accelerator
    return false;
  }
  KyCtrl* pControl = id == 0xFFFF ? nullptr : pGetCtrl(id);
  if (!pControl || pControl->GetWindowHandle() != hControl) {
    pControl = nullptr;
    for (const auto& p : m_Controls)
      if (p->GetWindowHandle() == hControl) pControl = p.get();
  }
  if (!pControl) {
    TriggerEvent(id, kCommand);
    return false;
  }
  int event = pControl->MapNotification(code);
  if (event == kChanged && (pControl->GetKind() == KindSpin || pControl->GetKind() == KindSpinField) &&
      pControl->IsNative()) {
    // A native spin notifies a change; its last request and its limit
    // text tell a step that reached a limit.
    auto* pSpin = dynamic_cast<HSpin*>(pControl);
    const std::string limit = pSpin ? pSpin->GetLimitText() : "";
    const UINT request = pSpin ? pSpin->GetLastRequest() : 0;
    if (request == NKM_STEPUP) event = limit == "maximum" ? kMaximumReached : kSteppedUp;
    if (request == NKM_STEPDOWN) event = limit == "minimum" ? kMinimumReached : kSteppedDown;
  }
  switch (event) {
    case kIMEChanged:
      imeFollowUp(pControl);
      TriggerEvent(pControl->GetId(), event);
      break;
    case 1: case 2: case 3: case 8: case 9: case 11: case 12: case 24:
    case kMinimumReached: case kMaximumReached: case kSteppedUp: case kSteppedDown:
      TriggerEvent(pControl->GetId(), event);
      break;
    case kFocusGained:
    case kFocusLost:
      raiseFocusEvent(pControl, event);
      break;
    default:
      break;
  }
  return true;
}

void KyPanel::imeFollowUp(KyCtrl* pControl) {
  // Only Japanese systems made the input-method switch.
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp || !pApp->m_pIME || !pControl) return;
  HWND hWnd = pControl->GetWindowHandle();
  KyCtrl* pInner = pControl->HasInnerFocusControl() ? pControl->GetInnerFocusControl() : nullptr;
  pApp->m_pIME->SetMode(hWnd, pInner ? pInner->GetWindowHandle() : nullptr, pControl->GetIMEMode());
}

void KyPanel::raiseFocusEvent(KyCtrl* pControl, int iCode) {
  HWND hControl = pControl->GetWindowHandle();
  if (iCode == kFocusGained) {
    if (KyWinClientApp* pApp = KyGetClientApp()) pApp->SetActivePanel(this);
    UpdateDefaultButton(hControl);
    imeFollowUp(pControl);
    if (pControl->GetKind() == KindMultiLineEdit) {
      SendMessageA(hControl, EM_SETSEL, 0, -1);
      KyAppContext* pContext = KyAppContext::Current();
      if (!(pContext && pContext->GetRunOptions()->fGetOption(kMultilineMarkedText)))
        SendMessageA(hControl, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    }
    TriggerEvent(pControl->GetId(), kFocusGained);
    return;
  }
  // The focus went to a window of another thread (none of this thread's
  // has it), or stays inside a combo box: no focus-lost event.
  HWND hFocus = GetFocus();
  if (!hFocus || m_fInFocusLost) return;
  if (pControl->GetKind() == KindComboBox && inside(hControl, hFocus)) return;
  m_fInFocusLost = 1;
  const std::shared_ptr<bool> alive = m_pAlive;
  TriggerEvent(pControl->GetId(), kFocusLost);
  if (*alive) m_fInFocusLost = 0;
}

void KyPanel::UpdateDefaultButton(HWND hFocus) {
  KyCtrl* pDefault = nullptr;
  for (const auto& p : m_Controls)
    if (p->GetKind() == KindPushButton && (p->GetStyle() & BS_DEFPUSHBUTTON)) {
      pDefault = p.get();
      break;
    }
  if (!pDefault || !m_hView) return;
  int id = pDefault->GetId();
  for (const auto& p : m_Controls)
    if (p->GetKind() == KindPushButton && p->GetWindowHandle() && p->GetWindowHandle() == hFocus) id = p->GetId();
  SendMessageA(m_hView, DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

// --- keyboard ---------------------------------------------------------------------

KyPanel* KyPanel::MDIFrameAncestor() const {
  for (KyPanel* p = m_pParentPanel; p; p = p->m_pParentPanel)
    if (p->m_iKind == KyMDIFrame) return p;
  return nullptr;
}

void KyPanel::AddKeyBoardEvent(int iKey, int iLogicalId) {
  m_KeyEvents.push_back({iKey, iLogicalId});
  if (iKey == kF1) m_fF1Bound = 1;
}

void KyPanel::EnableKeyBoardState(int iKey, int fOn) {
  if (fOn)
    m_DisabledKeys.erase(iKey);
  else
    m_DisabledKeys.insert(iKey);
}

bool KyPanel::navigate(int iKey) {
  // Only panels that lay their controls out like dialogs move the focus (a
  // pane only when Tab crosses to the other panes).
  const bool dialogLike =
      m_iKind == KyMDIChild || m_iKind == KyDialog || m_iKind == KyDialogUnderParent || m_iKind == KySiteChild;
  if (!dialogLike && !(m_iKind == KySplitterPane && iKey == VK_TAB && m_PaneConfig[2])) return false;
  HWND hFocus = GetFocus();
  KyCtrl* pFocus = nullptr;
  for (const auto& p : m_Controls)
    if (inside(p->GetWindowHandle(), hFocus)) pFocus = p.get();
  if (iKey == VK_TAB) return tabKey(GetKeyState(VK_SHIFT) < 0);
  if (!pFocus || !takesArrows(pFocus->GetKind()) || m_fShowingContextMenu) return false;
  // The open menu of the MDI frame takes the arrows.
  if (KyPanel* pFrame = MDIFrameAncestor(); pFrame && pFrame->IsMenuActive()) return false;
  HWND hControl = pFocus->GetWindowHandle();
  const bool edit = pFocus->GetKind() == KindEdit || pFocus->GetKind() == KindMultiLineEdit;
  if ((iKey == VK_LEFT || iKey == VK_RIGHT) && edit && caretCanMove(hFocus, iKey)) return false;
  SendMessageA(hControl == hFocus ? hControl : hFocus, WM_KEYDOWN, static_cast<WPARAM>(iKey), 0);
  return true;
}

bool KyPanel::OnKeyBoard(int iKey) {
  if ((iKey == VK_TAB && GetKeyState(VK_CONTROL) >= 0) || (iKey >= VK_LEFT && iKey <= VK_DOWN))
    return navigate(iKey);
  if (iKey >= VK_NUMPAD0 && iKey <= VK_NUMPAD9 && !KyGetProfileInt("Window Options", "Use Numeric Keypad Numbers", 0))
    iKey = '0' + (iKey - VK_NUMPAD0);
  if (GetKeyState(VK_MENU) < 0) return false;
  const int modifiers = (GetKeyState(VK_SHIFT) < 0 ? KyKeyBoardEvt::kShift : 0) |
                        (GetKeyState(VK_CONTROL) < 0 ? KyKeyBoardEvt::kCtrl : 0);
  for (const KyKeyBoardEvt& binding : m_KeyEvents) {
    if ((binding.m_iKey & 0xFF) != iKey || (binding.m_iKey & (KyKeyBoardEvt::kShift | KyKeyBoardEvt::kCtrl)) != modifiers)
      continue;
    if (m_DisabledKeys.count(binding.m_iKey) || m_fShowingContextMenu) {
      MessageBeep(0);
      return true;
    }
    // Escape in a child while the frame's menu is open closes that menu
    // (the frame's own doing) and runs nothing here.
    if (iKey == VK_ESCAPE && m_iKind == KyMDIChild && m_pParentPanel && m_pParentPanel->IsMenuActive()) {
      m_pParentPanel->SetMenuActive(0);
      return true;
    }
    if (IsLogicalEventActive(binding.m_iLogicalId)) ProcessEvent(binding.m_iLogicalId);
    return true;
  }
  return false;
}
