// CMDIChildWnd: a frame made by the MDI client, whose menu takes the MDI
// frame's menu bar while it is active.
#include "afxstate.h"

#include <afxext.h>

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_DESTROY()
  ON_WM_CHILDACTIVATE()
  ON_WM_SIZE()
  AFX_MSG_ENTRY(WM_MDIACTIVATE, {
    // The child is told with wParam the one deactivated, lParam the one activated.
    HWND hDeactivate = reinterpret_cast<HWND>(call.wParam);
    HWND hActivate = reinterpret_cast<HWND>(call.lParam);
    AFX_THIS->OnMDIActivate(hActivate == AFX_THIS->m_hWnd, CWnd::FromHandle(hActivate), CWnd::FromHandle(hDeactivate));
    return TRUE;
  })
END_MESSAGE_MAP()

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    static LPCSTR childClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    cs.lpszClass = childClass;
  }
  return TRUE;
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (!pParentWnd) pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  if (!pParentWnd || !pParentWnd->m_hWndMDIClient) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);  // no MDI frame to live in
    PostNcDestroy();
    return FALSE;
  }
  if (m_hWnd) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  CREATESTRUCTA cs{};
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = (LONG)(dwStyle | WS_CHILD);
  CRect place = afxCreatePlacement(rect);
  cs.x = place.left;
  cs.y = place.top;
  cs.cx = place.right;
  cs.cy = place.bottom;
  cs.hwndParent = pParentWnd->m_hWnd;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = pContext;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  MDICREATESTRUCTA mcs{};
  mcs.szClass = cs.lpszClass;
  mcs.szTitle = cs.lpszName;
  mcs.hOwner = cs.hInstance;
  mcs.x = cs.x;
  mcs.y = cs.y;
  mcs.cx = cs.cx;
  mcs.cy = cs.cy;
  mcs.style = (DWORD)cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
  mcs.lParam = reinterpret_cast<LPARAM>(pContext);
  // A new child is maximised when the active one is (MDI's own rule).
  BOOL bMaximized = FALSE;
  pParentWnd->MDIGetActive(&bMaximized);
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(
      ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (!hWnd) return FALSE;
  if (cs.style & WS_VISIBLE) {
    // Shown after creation so that activation finds the object ready.
    ::ShowWindow(hWnd, (bMaximized || (cs.style & WS_MAXIMIZE)) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    MDIActivate();
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strTitle;
  if (strTitle.LoadString(nIDResource)) {
    int nl = strTitle.Find('\n');
    if (nl >= 0) strTitle = strTitle.Left(nl);
  }
  // The menu shared into the frame's bar while this child is active.
  LPCSTR name = MAKEINTRESOURCE(nIDResource);
  m_hMenuShared = ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
  LoadAccelTable(name);
  HICON hIcon = afxLoadFrameIcon(nIDResource);
  LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  CMDIFrameWnd* pFrame = dynamic_cast<CMDIFrameWnd*>(pParentWnd);
  return Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pFrame, pContext);
}

CCreateContext* CMDIChildWnd::CreateContextOf(LPCREATESTRUCT lpcs) {
  // The MDI client hands the MDICREATESTRUCT through.
  auto* lpmcs = lpcs ? static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams) : nullptr;
  return lpmcs ? reinterpret_cast<CCreateContext*>(lpmcs->lParam) : nullptr;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  HWND hClient = ::GetParent(m_hWnd);
  return dynamic_cast<CMDIFrameWnd*>(FromHandlePermanent(::GetParent(hClient)));
}

void CMDIChildWnd::MDIActivate() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIDestroy() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }

BOOL CMDIChildWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  // The client must forget the child and activate the next one.
  MDIDestroy();
  return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  BOOL bMaximized = FALSE;
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (pFrame) pFrame->MDIGetActive(&bMaximized);
  if (nCmdShow == -1) {
    if (!IsWindowVisible()) nCmdShow = bMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    else if (IsIconic()) nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  MDIActivate();
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  // The MDI frame translates the keys (its accelerators know ours).
  return CWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIChildWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Routed by the frame: it asks itself and the application next. Asked
  // directly (its own system menu, a bar of its own): the frame's chain.
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (pFrame && pFrame->m_bRoutingToChild) return FALSE;
  if (pFrame) return static_cast<CFrameWnd*>(pFrame)->CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// --- activation and the shared menu -----------------------------------------------------

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*) {
  Default();
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (!pFrame) return;
  // The last child going leaves the frame's own menu (activation of
  // another child puts its menu up from that child).
  if (bActivate || !pActivateWnd) OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
  pFrame->DelayUpdateFrameTitle();
  pFrame->OnUpdateFrameTitle(TRUE);
  if (bActivate) m_nIdleFlags |= idleMenu;
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd*, HMENU hMenuAlt) {
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (!pFrame || !::GetMenu(pFrame->m_hWnd)) return;  // a frame without menu bar keeps none
  HMENU hMenu = hMenuAlt;
  if (!hMenu) hMenu = bActivate && m_hMenuShared ? m_hMenuShared : pFrame->GetDefaultMenu();
  if (!hMenu) return;
  ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenu, (LPARAM)pFrame->GetWindowMenuPopup(hMenu));
  ::DrawMenuBar(pFrame->m_hWnd);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL) {
  // The child's caption is its title; the frame shows it too.
  AfxSetWindowText(m_hWnd, m_strTitle);
  if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnChildActivate() { Default(); }

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy);
  // Maximised or restored: the frame's title names the child or not.
  if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnDestroy() {
  // Our menu leaves the bar before it is destroyed.
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (pFrame && m_hMenuShared && ::GetMenu(pFrame->m_hWnd) == m_hMenuShared) {
    HMENU hDefault = pFrame->GetDefaultMenu();
    if (hDefault)
      ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hDefault,
                     (LPARAM)pFrame->GetWindowMenuPopup(hDefault));
    else
      ::SetMenu(pFrame->m_hWnd, nullptr);  // the frame is going: its bar must not keep our menu
    ::DrawMenuBar(pFrame->m_hWnd);
  }
  CFrameWnd::OnDestroy();
  if (m_hMenuShared) {
    ::DestroyMenu(m_hMenuShared);
    m_hMenuShared = nullptr;
  }
}
