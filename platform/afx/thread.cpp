// CWinThread: the message loop with idle processing and pre-translation,
// and the modal loop that dialogs run inside it.
#include "afxstate.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

// The caret blinks by a system timer; it is no user activity.
constexpr UINT kSysTimer = 0x0118;

// The loop's steps for a thread without a thread object (a test, a library
// running a modal dialog before the application exists).
struct LoopState {
  MSG msgCur{};
  CPoint ptCursorLast{-1, -1};
  UINT nMsgLast = 0;
};

LoopState& looseLoop() {
  thread_local LoopState state;
  return state;
}

BOOL isIdleMessage(MSG* pMsg, CPoint& ptCursorLast, UINT& nMsgLast) {
  // A mouse move to where the cursor already was (systems send them after
  // windows change) does not end the quiet time.
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    CPoint pt(pMsg->pt);
    if (ptCursorLast == pt && pMsg->message == nMsgLast) return FALSE;
    ptCursorLast = pt;
    nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != kSysTimer;
}

BOOL pumpMessage(MSG& msg) {
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  // WM_KICKIDLE posted to the queue only wakes a modal loop.
  if (msg.message != WM_KICKIDLE && !AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

}  // namespace

CWinThread::CWinThread() {
  afx::ThreadState& state = afx::threadState();
  if (!state.pCurrentWinThread) state.pCurrentWinThread = this;
  m_nThreadID = ::GetCurrentThreadId();
}

CWinThread::~CWinThread() {
  afx::ThreadState& state = afx::threadState();
  if (state.pCurrentWinThread == this) state.pCurrentWinThread = nullptr;
}

CWinThread* AfxGetThread() {
  CWinThread* pThread = afx::threadState().pCurrentWinThread;
  return pThread;
}

CWnd* AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  if (pThread) return pThread->GetMainWnd();
  // Another thread of the program: the application's main window.
  CWinApp* pApp = AfxGetApp();
  return pApp ? pApp->GetMainWnd() : nullptr;
}

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    // Idle work while nothing is waiting.
    while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    // Then every waiting message.
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) return FALSE;
  if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) { return isIdleMessage(pMsg, m_ptCursorLast, m_nMsgLast); }

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    // Menu items, tool-bar buttons and controls bring their state up to date.
    CWnd* pMainWnd = m_pMainWnd;
    if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
  } else {
    // Temporary objects of the handle maps are done with.
    if (afx::threadState().nTempMapLock == 0) {
      AfxLockTempMaps();
      AfxUnlockTempMaps();
    }
  }
  return lCount < 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd && DispatchThreadMessageEx(pMsg)) return TRUE;
  CWnd* pMainWnd = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->m_hWnd : nullptr, pMsg)) return TRUE;
  // A modeless window of its own (not under the main window) still gets
  // the main window's translations (its accelerators) last.
  if (pMainWnd && pMainWnd->m_hWnd && pMsg->hwnd) {
    HWND hTop = pMsg->hwnd;
    while (::GetWindowLongA(hTop, GWL_STYLE) & WS_CHILD) {
      HWND hParent = ::GetParent(hTop);
      if (!hParent) break;
      hTop = hParent;
    }
    if (hTop != pMainWnd->m_hWnd) return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
  const AFX_MSGMAP_ENTRY* pEntry = AfxFindMessageEntry(GetMessageMap(), pMsg->message, 0, 0);
  if (!pEntry) return FALSE;
  AFX_MSGCALL call{pMsg->message, pMsg->wParam, pMsg->lParam};
  return pEntry->pfn(this, call);
}

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

BOOL AfxPreTranslateMessage(MSG* pMsg) {
  if (CWinThread* pThread = AfxGetThread()) return pThread->PreTranslateMessage(pMsg);
  return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage() {
  if (CWinThread* pThread = AfxGetThread()) return pThread->PumpMessage();
  return pumpMessage(looseLoop().msgCur);
}

void AfxLockTempMaps() { ++afx::threadState().nTempMapLock; }

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps) {
  afx::ThreadState& state = afx::threadState();
  if (state.nTempMapLock == 0 || --state.nTempMapLock != 0) return FALSE;
  if (bDeleteTemps) afx::deleteTemporaryObjects();
  return TRUE;
}

// --- the modal loop -----------------------------------------------------------

int CWnd::RunModalLoop(DWORD dwFlags) {
  CWinThread* pThread = AfxGetThread();
  LoopState& loose = looseLoop();
  MSG* pMsg = pThread ? &pThread->m_msgCur : &loose.msgCur;
  auto isIdle = [&](MSG* msg) {
    return pThread ? pThread->IsIdleMessage(msg) : isIdleMessage(msg, loose.ptCursorLast, loose.nMsgLast);
  };

  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  HWND hWndSelf = m_hWnd;

  for (;;) {
    while (bIdle && !::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && lIdleCount == 0)
        ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) bIdle = FALSE;
    }
    do {
      BOOL bGot = pThread ? pThread->PumpMessage() : pumpMessage(*pMsg);
      if (!bGot) {
        // WM_QUIT ends the outer loop too: put it back for it.
        ::PostQuitMessage((int)pMsg->wParam);
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return -1;
      }
      // The window may have been destroyed by the message.
      if (!::IsWindow(hWndSelf) || !ContinueModal()) {
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return m_nModalResult;
      }
      if (bShowIdle && (pMsg->message == kSysTimer || pMsg->message == WM_SYSKEYDOWN)) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (isIdle(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    PostMessage(WM_NULL);  // wakes the loop to see it
  }
}
