// CMDIFrameWnd: the frame of the MDI client window, its window menu and
// the routing through the active child.
#include "afxstate.h"

#include <afxext.h>

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_WM_DESTROY()
  ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  // The client was made before the menu was known as the default one:
  // tell it where the window list goes.
  if (m_hMenuDefault && m_hWndMDIClient)
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)m_hMenuDefault, (LPARAM)GetWindowMenuPopup(m_hMenuDefault));
  return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
  HMENU hMenu = ::GetMenu(m_hWnd);
  CMenu* pWindowMenu = hMenu ? CMenu::FromHandle(GetWindowMenuPopup(hMenu)) : nullptr;
  return CreateClient(lpcs, pWindowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = pWindowMenu ? pWindowMenu->m_hMenu : nullptr;
  ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
  DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES;
  // Scroll bars asked of the frame belong to the client.
  if (lpCreateStruct && (lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL))) {
    dwStyle |= lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL);
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_NOREDRAW | SWP_FRAMECHANGED);
  }
  m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>((UINT_PTR)AFX_IDW_PANE_FIRST),
                                      AfxGetInstanceHandle(), &ccs);
  if (!m_hWndMDIClient) return FALSE;
  // Bars made later lie above the client.
  ::SetWindowPos(m_hWndMDIClient, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
  if (!hMenuBar) return nullptr;
  int nCount = ::GetMenuItemCount(hMenuBar);
  for (int i = 0; i < nCount; i++) {
    HMENU hPopup = ::GetSubMenu(hMenuBar, i);
    if (!hPopup) continue;
    int nItems = ::GetMenuItemCount(hPopup);
    for (int j = 0; j < nItems; j++) {
      UINT nID = ::GetMenuItemID(hPopup, j);
      if (nID >= AFX_IDM_WINDOW_FIRST && nID <= AFX_IDM_WINDOW_LAST) return hPopup;
    }
  }
  // By custom the window menu is the one before "Help".
  return nCount >= 2 ? ::GetSubMenu(hMenuBar, nCount - 2) : nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnDestroy() {
  CFrameWnd::OnDestroy();
  m_hWndMDIClient = nullptr;
}

// --- the MDI messages -----------------------------------------------------------------

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  BOOL bMaximized = FALSE;
  HWND hWnd = m_hWndMDIClient
                  ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&bMaximized))
                  : nullptr;
  CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(FromHandlePermanent(hWnd));
  if (pbMaximized) *pbMaximized = pChild ? bMaximized : FALSE;
  return pChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)AfxWndHandle(pWndActivate), 0);
}
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)AfxWndHandle(pWnd), 0);
}
void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)AfxWndHandle(pWnd), 0);
}
CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
  HMENU hOld = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                      (WPARAM)(pFrameMenu ? pFrameMenu->m_hMenu : nullptr),
                                                      (LPARAM)(pWindowMenu ? pWindowMenu->m_hMenu : nullptr)));
  return CMenu::FromHandle(hOld);
}
void CMDIFrameWnd::MDITile() { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, 0, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, (WPARAM)nType, 0); }
void CMDIFrameWnd::MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDICascade(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, (WPARAM)nType, 0); }

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
  switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
  }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

// --- routing ------------------------------------------------------------------------------

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* pChild = MDIGetActive();
  return pChild ? static_cast<CFrameWnd*>(pChild) : this;
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator() {
  // The active child's keys win over the frame's.
  CMDIChildWnd* pChild = MDIGetActive();
  HACCEL hAccel = pChild ? pChild->GetDefaultAccelerator() : nullptr;
  return hAccel ? hAccel : m_hAccelTable;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // Active child (its view, itself), then this frame and the application.
  if (CMDIChildWnd* pChild = MDIGetActive()) {
    BOOL bWasRouting = m_bRoutingToChild;
    m_bRoutingToChild = TRUE;
    BOOL bDone = pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    m_bRoutingToChild = bWasRouting;
    if (bDone) return TRUE;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
  // The window menu's child entries and the rest go to DefFrameProc.
  return FALSE;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    // Ctrl+F4, Ctrl+F6 and friends of the active child first.
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  // The active child may have prompts of its own.
  CMDIChildWnd* pChild = MDIGetActive();
  if (pChild) pChild->GetMessageString(nID, rMessage);
  else CFrameWnd::GetMessageString(nID, rMessage);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  // A maximised child's name is already in the title (the client puts
  // "[child]" there); otherwise the active child's title joins ours.
  BOOL bMaximized = FALSE;
  CMDIChildWnd* pChild = MDIGetActive(&bMaximized);
  CString strChild;
  if (bAddToTitle && pChild && !bMaximized) strChild = pChild->GetTitle();
  UpdateFrameTitleForDocument(strChild.IsEmpty() ? nullptr : (LPCSTR)strChild);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (CMDIChildWnd* pChild = MDIGetActive()) {
    pChild->OnUpdateFrameMenu(TRUE, pChild, hMenuAlt);
    return;
  }
  HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
  if (!hMenu || !::GetMenu(m_hWnd)) return;
  ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenu, (LPARAM)GetWindowMenuPopup(hMenu));
  ::DrawMenuBar(m_hWnd);
}
