// CWnd: creation through the framework's hook, the window procedure, the
// message map dispatch, the handle map and subclassing, and the end of a
// window's object at WM_NCDESTROY.
#include "afxstate.h"

#include <exception>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace afx {

namespace {
thread_local ThreadState* current = nullptr;
thread_local bool finished = false;
// Ends the thread's state with the thread. Objects destroyed later (static
// windows at the program's end) get a fresh state that is left behind.
struct StateHolder {
  ~StateHolder() {
    delete current;
    current = nullptr;
    finished = true;
  }
};
thread_local StateHolder holder;
}  // namespace

ThreadState& threadState() {
  if (!current) {
    current = new ThreadState;
    if (!finished) (void)&holder;  // constructs the holder, which ends the state
  }
  return *current;
}

void deleteTemporaryObjects() {
  ThreadState& state = threadState();
  state.windows.deleteTemporaries();
  state.dcs.deleteTemporaries();
  state.gdiObjects.deleteTemporaries();
  state.menus.deleteTemporaries();
  state.scrollBars.deleteTemporaries();
}

}  // namespace afx

namespace {

// The z-order stand-ins hold HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST.
bool isPositionMarker(HWND hWnd) {
  return hWnd == HWND_BOTTOM || hWnd == HWND_TOPMOST || hWnd == HWND_NOTOPMOST;
}

LRESULT CALLBACK cbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  afx::ThreadState& state = afx::threadState();
  HHOOK hook = state.hHookCbt;
  if (code == HCBT_CREATEWND && state.pWndInit) {
    // The first window created after AfxHookWindowCreate is the object's:
    // attached and subclassed before it hears WM_NCCREATE.
    CWnd* pWnd = state.pWndInit;
    state.pWndInit = nullptr;
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (pWnd->Attach(hWnd)) {
      pWnd->PreSubclassWindow();
      WNDPROC old = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
      if (old != &AfxWndProc) *pWnd->GetSuperWndProcAddr() = old;
    }
  }
  return ::CallNextHookEx(hook, code, wParam, lParam);
}

// An exception a handler let out: it must not cross the window procedure.
// Failures the user was not told about are reported; a window whose
// WM_CREATE failed is not created, a failed WM_PAINT is not repeated.
LRESULT processWndProcException(CException* e, const MSG& msg) {
  LRESULT lResult = 0;
  if (msg.message == WM_CREATE) lResult = -1;
  else if (msg.message == WM_PAINT) ::ValidateRect(msg.hwnd, nullptr);
  if (!e->IsKindOf(RUNTIME_CLASS(CUserException))) e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
  e->Delete();
  return lResult;
}

// A dialog that was hidden, did not move during WM_INITDIALOG and is modal
// (owner disabled, or none) is centred, as the framework centres dialogs.
void centreAfterInitDialog(CWnd* pWnd, const RECT& rectOld, DWORD styleOld) {
  if (styleOld & (WS_VISIBLE | WS_CHILD)) return;
  if (pWnd->GetStyle() & (WS_VISIBLE | WS_CHILD | DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE)) return;
  RECT rect;
  pWnd->GetWindowRect(&rect);
  if (rect.left != rectOld.left || rect.top != rectOld.top) return;
  HWND hOwner = ::GetWindow(pWnd->m_hWnd, GW_OWNER);
  if (hOwner && ::IsWindowEnabled(hOwner)) return;
  pWnd->CenterWindow();
}

}  // namespace

// --- the window procedure ---------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  // A window whose object let go of it without unsubclassing.
  if (!pWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  afx::ThreadState& state = afx::threadState();
  const MSG previous = state.lastSentMsg;
  state.lastSentMsg = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};

  RECT rectOld{};
  DWORD styleOld = 0;
  const bool initDialog = nMsg == WM_INITDIALOG;
  if (initDialog) {
    ::GetWindowRect(hWnd, &rectOld);
    styleOld = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
  }

  LRESULT lResult = 0;
  try {
    lResult = pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (CException* e) {
    lResult = processWndProcException(e, state.lastSentMsg);
  } catch (const std::exception&) {
    // Any other failure is the framework's internal failure to the user.
    AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_ICONEXCLAMATION);
    lResult = nMsg == WM_CREATE ? -1 : 0;
  }

  // The object may be gone (PostNcDestroy deleting it); look it up again.
  if (initDialog && CWnd::FromHandlePermanent(hWnd) == pWnd) centreAfterInitDialog(pWnd, rectOld, styleOld);
  state.lastSentMsg = previous;
  return lResult;
}

const MSG* CWnd::GetCurrentMessage() { return &afx::threadState().lastSentMsg; }

void AfxHookWindowCreate(CWnd* pWnd) {
  afx::ThreadState& state = afx::threadState();
  if (!state.hHookCbt) state.hHookCbt = ::SetWindowsHookExA(WH_CBT, cbtFilterHook, nullptr, ::GetCurrentThreadId());
  state.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  afx::ThreadState& state = afx::threadState();
  if (state.hHookCbt) {
    ::UnhookWindowsHookEx(state.hHookCbt);
    state.hHookCbt = nullptr;
  }
  if (state.pWndInit) {
    state.pWndInit = nullptr;
    return FALSE;  // no window was created for it
  }
  return TRUE;
}

// --- construction and the handle map ----------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (!m_hWnd || isPositionMarker(m_hWnd)) return;
  afx::ThreadState& state = afx::threadState();
  if (state.windows.permanent(m_hWnd) == this) {
    // Still attached: the window goes with its object. Its WM_NCDESTROY
    // detaches; when it cannot be destroyed here, detach anyway.
    if (!::DestroyWindow(m_hWnd)) Detach();
    if (m_hWnd) Detach();
  }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  return afx::threadState().windows.fromHandle(hWnd, [](HWND h) {
    CWnd* p = new CWnd;
    p->m_hWnd = h;
    return p;
  });
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return hWnd ? afx::threadState().windows.permanent(hWnd) : nullptr; }

CScrollBar* AfxScrollBarFromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CScrollBar))) return static_cast<CScrollBar*>(pWnd);
  return afx::threadState().scrollBars.fromHandle(hWnd, [](HWND h) {
    CScrollBar* p = new CScrollBar;
    p->m_hWnd = h;
    return p;
  });
}

void CWnd::DeleteTempMap() { afx::threadState().windows.deleteTemporaries(); }

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || m_hWnd) return FALSE;
  afx::ThreadState& state = afx::threadState();
  if (state.windows.permanent(hWndNew)) return FALSE;  // another object owns it
  m_hWnd = hWndNew;
  state.windows.setPermanent(hWndNew, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd) afx::threadState().windows.removePermanent(hWnd, this);
  m_hWnd = nullptr;
  return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC* ppfnSuper = GetSuperWndProcAddr();
  WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old == &AfxWndProc) {
    // Subclassing a window twice would make its procedure call itself.
    Detach();
    return FALSE;
  }
  if (!*ppfnSuper) *ppfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (!pParent) return FALSE;
  HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, (int)nID);
  return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  WNDPROC* ppfnSuper = GetSuperWndProcAddr();
  if (*ppfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*ppfnSuper));
  *ppfnSuper = nullptr;
  return Detach();
}

// --- creation ---------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    static LPCSTR defaultClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                                     ::LoadCursorA(nullptr, IDC_ARROW));
    cs.lpszClass = defaultClass;
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  if (m_hWnd) {
    SetLastError(ERROR_INVALID_PARAMETER);  // one window per object
    return FALSE;
  }
  CREATESTRUCTA cs{};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = (LONG)dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // The hook never saw a window: the object is told, as after a window's end.
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxWndHandle(pParentWnd), reinterpret_cast<HMENU>((UINT_PTR)nID), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  // Create makes child windows.
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

void CWnd::OnNcDestroy() {
  // The main window going ends its thread's message loop.
  CWinThread* pThread = AfxGetThread();
  if (pThread) {
    if (pThread->m_pMainWnd == this) {
      ::PostQuitMessage(0);
      pThread->m_pMainWnd = nullptr;
    }
    if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
  }
  WNDPROC procBefore = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
  Default();
  // Give the window its original procedure back unless someone subclassed
  // it after us.
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == procBefore) {
    WNDPROC super = *GetSuperWndProcAddr();
    if (super) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
  }
  Detach();
  PostNcDestroy();
}

// --- message dispatch -------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    lResult = 1;
  } else if (message == WM_NOTIFY) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (!pNMHDR || !OnNotify(wParam, lParam, &lResult)) return FALSE;
  } else {
    // The colour messages share the WM_CTLCOLOR entry; WM_CTLCOLOR itself
    // is no Win32 message and only its reflected form means something.
    UINT lookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) lookup = WM_CTLCOLOR;
    else if (message == WM_CTLCOLOR) return FALSE;
    const AFX_MSGMAP_ENTRY* pEntry = AfxFindMessageEntry(GetMessageMap(), lookup, 0, 0);
    if (!pEntry) return FALSE;
    AFX_MSGCALL call{message, wParam, lParam};
    if (!pEntry->pfn(this, call)) return FALSE;
    lResult = call.result;
  }
  if (pResult) *pResult = lResult;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC super = *GetSuperWndProcAddr();
  if (super) return ::CallWindowProcA(super, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = afx::threadState().lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}
