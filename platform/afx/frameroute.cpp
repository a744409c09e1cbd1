// CFrameWnd's routing: commands through view, frame and application,
// accelerators, status prompts, idle updates of menus and bars, help.
#include "afxstate.h"

#include <afxext.h>

namespace {

// The routing frame for the time of one OnCmdMsg (message boxes of the
// handler are owned by it, see CWnd::GetSafeOwner_).
class PushRoutingFrame {
 public:
  explicit PushRoutingFrame(CFrameWnd* pFrame) : previous_(afx::threadState().pRoutingFrame) {
    afx::threadState().pRoutingFrame = pFrame;
  }
  ~PushRoutingFrame() { afx::threadState().pRoutingFrame = previous_; }
  PushRoutingFrame(const PushRoutingFrame&) = delete;
  PushRoutingFrame& operator=(const PushRoutingFrame&) = delete;

 private:
  CWnd* previous_;
};

bool isKeyboardMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

CFrameWnd* AfxGetRoutingFrame() {
  CWnd* pWnd = afx::threadState().pRoutingFrame;
  return pWnd ? pWnd->AsFrameWnd() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  PushRoutingFrame push(this);
  // The view first; it must not route back here (a view's own routing may
  // end at its parent frame).
  if (CWnd* pView = m_pViewActive; pView && pView->m_hWnd && pView != this) {
    if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (!RoutesToApplication()) return FALSE;
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  // A command from a menu or accelerator tells the status bar nothing more.
  if (!lParam && m_nIDTracking) m_nIDTracking = 0;
  return CWnd::OnCommand(wParam, lParam);
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (!isKeyboardMessage(pMsg->message)) return FALSE;
  // Keys of a modeless popup of ours stay its own.
  HWND hTop = pMsg->hwnd;
  while (hTop && (::GetWindowLongA(hTop, GWL_STYLE) & WS_CHILD)) hTop = ::GetParent(hTop);
  if (hTop && hTop != m_hWnd && !(GetStyle() & WS_CHILD)) return FALSE;
  HACCEL hAccel = GetDefaultAccelerator();
  return hAccel && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
}

// --- status prompts ---------------------------------------------------------------

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  CString str;
  rMessage.Empty();
  if (!str.LoadString(nID)) return;
  int nl = str.Find('\n');
  rMessage = nl >= 0 ? str.Left(nl) : str;
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCSTR lpszText) {
  SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}
void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT nIDLast = m_nIDLastMessage;
  m_nIDLastMessage = (UINT)wParam;
  m_nIDTracking = (UINT)wParam;
  CWnd* pMessageBar = GetMessageBar();
  if (!pMessageBar) return nIDLast;
  CString strMessage;
  LPCSTR lpsz = nullptr;
  if (lParam) {
    lpsz = reinterpret_cast<LPCSTR>(lParam);
  } else if (wParam) {
    // The idle text is the application's string; a command's prompt is
    // looked up through the frame whose command it is.
    if (wParam == AFX_IDS_IDLEMESSAGE) {
      strMessage.LoadString(AFX_IDS_IDLEMESSAGE);
    } else {
      GetMessageString((UINT)wParam, strMessage);
    }
    lpsz = strMessage;
  }
  pMessageBar->SetWindowText(lpsz ? lpsz : "");
  return nIDLast;
}

// Puts back a prompt that was replaced for a while (a control bar's own
// text); a frame that asks for no pops keeps what it shows and answers 0.
LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  if (m_nFlags & WF_NOPOPMSG) return 0;
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  if (nFlags == 0xFFFF && !hSysMenu) {
    // The menu closed: back to the idle text.
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
  } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
    m_nIDTracking = 0;  // nothing to say about a popup or separator
  } else if (nItemID >= 0xF000 && nItemID < 0xF1F0) {
    // System commands: their prompts are the framework's strings.
    m_nIDTracking = 0xEF00 + ((nItemID - 0xF000) >> 4);
  } else if (nItemID >= AFX_IDM_FIRST_MDICHILD) {
    m_nIDTracking = 0xEF1F;  // "Activate this window"
  } else {
    m_nIDTracking = nItemID;
  }
  // Shown at once: a menu here runs without idle messages to wait for.
  if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  Default();
  if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage) return;
  SetMessageText(m_nIDTracking);
}

// --- idle updates -------------------------------------------------------------------

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  // Docked bars get the message as descendants; floating ones live in
  // popups of their own and are told here.
  for (CControlBar* pBar : std::vector<CControlBar*>(m_listControlBars)) {
    if (pBar->m_hWnd && pBar->IsFloating()) AfxCallWndProc(pBar, pBar->m_hWnd, WM_IDLEUPDATECMDUI, wParam, 0);
  }
  if (m_nIdleFlags & idleMenu) {
    m_nIdleFlags &= ~idleMenu;
    OnUpdateFrameMenu(nullptr);
  }
  if (m_nIdleFlags & idleTitle) {
    m_nIdleFlags &= ~idleTitle;
    OnUpdateFrameTitle(TRUE);
  }
  if (m_nIdleFlags & idleLayout) RecalcLayout((m_nIdleFlags & idleNotify) != 0);
  return 0;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu) {
  Default();
  if (bSysMenu || !pMenu) return;
  // Each item asks the routing for its state; with m_bAutoMenuEnable an
  // item whose command nobody handles is greyed (system commands aside).
  CCmdUI state;
  state.m_pMenu = pMenu;
  state.m_nIndexMax = pMenu->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
    if (state.m_nID == 0) continue;  // separator
    if (state.m_nID == (UINT)-1) {
      // A popup: its state follows its first command.
      CMenu* pSub = pMenu->GetSubMenu((int)state.m_nIndex);
      if (!pSub) continue;
      state.m_nID = pSub->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;
      state.m_pSubMenu = pSub;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // An update handler may have removed items.
    UINT nCount = pMenu->GetMenuItemCount();
    if (nCount < state.m_nIndexMax) {
      state.m_nIndex -= (state.m_nIndexMax - nCount);
      state.m_nIndexMax = nCount;
    }
  }
}

// --- help ---------------------------------------------------------------------------

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam) {
  // The command being tracked (menu item, button), else the frame itself.
  if (lParam == 0) {
    if (m_nIDTracking > AFX_IDS_IDLEMESSAGE || (m_nIDTracking && m_nIDTracking < AFX_IDS_APP_TITLE))
      lParam = (LPARAM)(HID_BASE_COMMAND + m_nIDTracking);
    else if (m_nIDHelp)
      lParam = (LPARAM)(HID_BASE_RESOURCE + m_nIDHelp);
  }
  if (lParam == 0) return FALSE;
  if (CWinApp* pApp = AfxGetApp()) pApp->WinHelp((DWORD_PTR)lParam, HELP_CONTEXT);
  return TRUE;
}

LRESULT CFrameWnd::OnHelpHitTest(WPARAM, LPARAM) {
  return m_nIDHelp ? (LRESULT)(HID_BASE_RESOURCE + m_nIDHelp) : 0;
}

void CFrameWnd::OnHelp() {
  // The frame's (or tracked command's) context, else the help contents.
  if (SendMessage(WM_COMMANDHELP, 0, 0)) return;
  if (CWinApp* pApp = AfxGetApp()) pApp->WinHelp(0, HELP_FINDER);
}
