// CFrameWnd: creation from one resource id, the layout of bars and pane,
// activation, titles and the modal state.
#include "afxstate.h"

#include <afxext.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_SETFOCUS()
  ON_WM_ACTIVATE()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ENTERIDLE()
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
  ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
  // A frame whose window is still up is destroyed through CWnd's
  // destructor; its accelerators and the default menu are the frame's.
  if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
  if (m_hMenuDefault && !::IsWindow(m_hWnd)) ::DestroyMenu(m_hMenuDefault);
}

// --- creation -------------------------------------------------------------------

CRect afxCreatePlacement(const RECT& rect) {
  // rectDefault holds CW_USEDEFAULT (INT_MIN): its width is no subtraction.
  if (rect.left == (LONG)CW_USEDEFAULT) return CRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
  return CRect(rect.left, rect.top, (LONG)((long long)rect.right - rect.left), (LONG)((long long)rect.bottom - rect.top));
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    static LPCSTR frameClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    cs.lpszClass = frameClass;
  }
  return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, RT_MENU);
    hMenu = ::LoadMenuA(hInst, lpszMenuName);
    // A frame without its menu still works; the caller asked for one, so
    // the failure is its to see in the last error, not a failed frame.
  }
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  CRect place = afxCreatePlacement(rect);
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, place.left, place.top, place.right, place.bottom,
                AfxWndHandle(pParentWnd), hMenu, pContext)) {
    if (hMenu) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName) {
  if (m_hAccelTable) return FALSE;  // one table per frame
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
  m_hAccelTable = ::LoadAcceleratorsA(hInst, lpszResourceName);
  return m_hAccelTable != nullptr;
}

namespace {

// The text of string nID up to the first '\n' (the frame's title part).
CString firstSubString(UINT nID) {
  CString str;
  if (!str.LoadString(nID)) return CString();
  int nl = str.Find('\n');
  return nl >= 0 ? str.Left(nl) : str;
}

}  // namespace

HICON afxLoadFrameIcon(UINT nIDResource) {
  LPCSTR name = MAKEINTRESOURCE(nIDResource);
  HINSTANCE hInst = AfxFindResourceHandle(name, RT_GROUP_ICON);
  // A null module would mean the system's icons.
  if (!hInst) hInst = ::GetModuleHandleA(nullptr);
  return ::LoadIconA(hInst, name);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strTitle = firstSubString(nIDResource);
  // The icon goes into a class of its own (the frame's big and small icon).
  HICON hIcon = afxLoadFrameIcon(nIDResource);
  LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCE(nIDResource), 0,
              pContext))
    return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(MAKEINTRESOURCE(nIDResource));
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

CCreateContext* CFrameWnd::CreateContextOf(LPCREATESTRUCT lpcs) {
  return lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (!OnCreateClient(lpcs, CreateContextOf(lpcs))) return -1;
  // Title and menu once the first idle time comes.
  m_nIdleFlags |= idleTitle | idleMenu;
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CObject* pObject = pContext->m_pNewViewClass->CreateObject();
  CWnd* pView = dynamic_cast<CWnd*>(pObject);
  if (!pView) {
    delete pObject;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID, pContext))
    return nullptr;  // the view's PostNcDestroy owns its object
  if (!m_pViewActive) m_pViewActive = pView;
  return pView;
}

void CFrameWnd::OnDestroy() {
  // Bars docked here go with the frame; drop them from the list first so
  // that nothing lays them out on the way.
  m_listControlBars.clear();
  m_pViewActive = nullptr;
  // The menu bar's menu is destroyed with the window; the default menu may
  // be another one (an MDI child's was shown).
  HMENU hMenuBar = ::GetMenu(m_hWnd);
  if (m_hMenuDefault && m_hMenuDefault != hMenuBar) ::DestroyMenu(m_hMenuDefault);
  m_hMenuDefault = nullptr;
  if (m_cModalStack) {
    m_cModalStack = 1;
    EndModalState();
  }
  CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
  // The main window's end is the application's (OnNcDestroy posts WM_QUIT).
  DestroyWindow();
}

// --- layout ---------------------------------------------------------------------

void CFrameWnd::RecalcLayout(BOOL bNotify) {
  if (m_bInRecalcLayout) return;  // a bar resizing itself asks again
  m_bInRecalcLayout = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  m_bInRecalcLayout = FALSE;
  if (bNotify) NotifyBarsOfLayout();
}

void CFrameWnd::NotifyBarsOfLayout() {
  // Floating frames fit themselves around their bars again.
  for (CControlBar* pBar : m_listControlBars) {
    if (!pBar->m_hWnd || !pBar->IsFloating()) continue;
    HWND hMini = ::GetParent(::GetParent(pBar->m_hWnd));
    if (CWnd* pMini = FromHandlePermanent(hMini)) pMini->RecalcLayout();
  }
}

void CFrameWnd::OnSize(UINT nType, int, int) {
  Default();  // an MDI frame's client follows here
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
  // A pane covers the client: erasing under it would only flicker.
  if (GetPane()) return TRUE;
  return CWnd::OnEraseBkgnd(pDC);
}

// --- activation -----------------------------------------------------------------

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!IsWindowVisible()) nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic()) nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  BringWindowToTop();
  if (CWnd* pLast = GetLastActivePopup(); pLast && pLast->m_hWnd != m_hWnd) pLast->BringWindowToTop();
}

void CFrameWnd::SetActiveView(CWnd* pViewNew, BOOL) {
  m_pViewActive = pViewNew;
  if (pViewNew && pViewNew->m_hWnd && ::GetFocus() != pViewNew->m_hWnd) pViewNew->SetFocus();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  // The focus belongs in the view when there is one.
  if (m_pViewActive && m_pViewActive->m_hWnd) m_pViewActive->SetFocus();
  else Default();
}

void CFrameWnd::OnActivate(UINT nState, CWnd*, BOOL bMinimized) {
  Default();
  if (nState != WA_INACTIVE && !bMinimized) m_nIdleFlags |= idleMenu;
}

// --- titles and menus -------------------------------------------------------------

LRESULT CFrameWnd::OnSetText(WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = Default();
  // A title set from outside is the frame's title from now on.
  if (!(GetStyle() & FWS_ADDTOTITLE) && lParam) m_strTitle = reinterpret_cast<LPCSTR>(lParam);
  return lResult;
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
  CString strText;
  if (lpszDocName && *lpszDocName && (GetStyle() & FWS_ADDTOTITLE)) {
    if (GetStyle() & FWS_PREFIXTITLE) {
      strText = lpszDocName;
      strText += " - ";
      strText += m_strTitle;
    } else {
      strText = m_strTitle;
      strText += " - ";
      strText += lpszDocName;
    }
  } else {
    strText = m_strTitle;
  }
  AfxSetWindowText(m_hWnd, strText);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL) {
  // No documents: the title stands alone.
  UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
  // A frame whose menu bar was taken away keeps it away.
  if (hMenu && ::GetMenu(m_hWnd) && ::GetMenu(m_hWnd) != hMenu) ::SetMenu(m_hWnd, hMenu);
}

// --- modal state ------------------------------------------------------------------

namespace {

struct OwnedWindows {
  HWND hFrame;
  std::vector<HWND>* pList;
};

BOOL CALLBACK collectOwned(HWND hWnd, LPARAM lParam) {
  auto* p = reinterpret_cast<OwnedWindows*>(lParam);
  if (hWnd == p->hFrame || !::IsWindowEnabled(hWnd) || !::IsWindowVisible(hWnd)) return TRUE;
  // Top-level windows owned (directly or through others) by the frame.
  for (HWND hOwner = ::GetWindow(hWnd, GW_OWNER); hOwner; hOwner = ::GetWindow(hOwner, GW_OWNER)) {
    if (hOwner == p->hFrame) {
      p->pList->push_back(hWnd);
      break;
    }
  }
  return TRUE;
}

}  // namespace

void CFrameWnd::BeginModalState() {
  if (m_cModalStack++ > 0) return;
  m_disabledForModal.clear();
  OwnedWindows owned{m_hWnd, &m_disabledForModal};
  ::EnumThreadWindows(::GetCurrentThreadId(), collectOwned, reinterpret_cast<LPARAM>(&owned));
  for (HWND hWnd : m_disabledForModal) ::EnableWindow(hWnd, FALSE);
  if (::IsWindowEnabled(m_hWnd)) {
    m_nFlags |= WF_MODALDISABLE;
    ::EnableWindow(m_hWnd, FALSE);
  }
}

void CFrameWnd::EndModalState() {
  if (m_cModalStack == 0 || --m_cModalStack > 0) return;
  if (m_nFlags & WF_MODALDISABLE) {
    m_nFlags &= ~WF_MODALDISABLE;
    ::EnableWindow(m_hWnd, TRUE);
  }
  for (HWND hWnd : m_disabledForModal) {
    if (::IsWindow(hWnd)) ::EnableWindow(hWnd, TRUE);
  }
  m_disabledForModal.clear();
}

// --- control bars -------------------------------------------------------------------

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  for (CControlBar* pBar : m_listControlBars) {
    if (pBar->m_hWnd && (UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID) return pBar;
  }
  return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (!pBar || !pBar->m_hWnd) return;
  pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (pBar->IsFloating()) {
    // The floating frame shows and hides with its bar.
    HWND hMini = ::GetParent(::GetParent(pBar->m_hWnd));
    ::ShowWindow(hMini, bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
  if (bDelay) DelayRecalcLayout();
  else RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* pBar = GetControlBar(nID);
  if (!pBar) return FALSE;
  ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
  if (!pBar) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck(pBar->IsVisible());
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  int nVK = 0;
  switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS: nVK = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: nVK = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: nVK = VK_SCROLL; break;
    default: pCmdUI->ContinueRouting(); return;
  }
  // The toggled state (low bit), not whether the key is held.
  pCmdUI->Enable((::GetKeyState(nVK) & 1) != 0);
}

// --- repositioning ------------------------------------------------------------------

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout{};
  if (lpRectClient) layout.rect = *lpRectClient;
  else ::GetClientRect(m_hWnd, &layout.rect);
  layout.bStretch = bStretch;
  // Bars place themselves through hDWP; a null hDWP means measure only.
  const bool bQuery = nFlag == reposQuery;
  layout.hDWP = bQuery ? nullptr : ::BeginDeferWindowPos(8);
  HWND hWndLeftOver = nullptr;
  std::vector<HWND> children;
  for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    children.push_back(hChild);
  for (HWND hChild : children) {
    UINT nID = (UINT)::GetDlgCtrlID(hChild);
    if (nID == nIDLeftOver) hWndLeftOver = hChild;
    else if (nID >= nIDFirst && nID <= nIDLast) {
      if (CWnd* pBar = FromHandlePermanent(hChild))
        AfxCallWndProc(pBar, hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
  }
  if (bQuery) {
    if (lpRectParam) *lpRectParam = layout.rect;
    return;
  }
  if (nFlag == reposExtra && lpRectParam) {
    layout.rect.left += lpRectParam->left;
    layout.rect.top += lpRectParam->top;
    layout.rect.right -= lpRectParam->right;
    layout.rect.bottom -= lpRectParam->bottom;
  }
  if (hWndLeftOver) {
    CRect rect(layout.rect);
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    afxRepositionWindow(&layout, hWndLeftOver, rect);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

void afxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  if (!lpLayout->hDWP) return;  // measuring only
  // Child rectangles are parent client coordinates; skip what did not move.
  CRect rectOld;
  ::GetWindowRect(hWnd, &rectOld);
  ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rectOld), 2);
  if (rectOld == *lpRect) return;
  lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                    lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                    SWP_NOACTIVATE | SWP_NOZORDER);
}
