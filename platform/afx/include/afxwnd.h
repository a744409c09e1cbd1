// CWnd: a window object of the framework over one HWND.
//
// A CWnd created through Create/CreateEx (or attached with SubclassWindow)
// is the window's permanent object: the framework's window procedure
// AfxWndProc finds it from the handle and calls WindowProc, which looks the
// message up in the message map (OnWndMsg) and otherwise calls the window's
// previous procedure (DefWindowProc). Commands go through OnCommand and
// OnCmdMsg; control notifications are first offered back to the control's
// own object (reflection, WM_REFLECT_BASE + message).
#pragma once

#include "afxcmd.h"
#include "afxgdi.h"
#include "afxstr.h"

class CFrameWnd;  // the frame classes derive from CWnd (afxframe.h)
class CMenu;
class CDataExchange;
class CScrollBar;
struct CCreateContext;

// WinHelp commands (the system header has no help engine to declare them).
#ifndef HELP_CONTEXT
#define HELP_CONTEXT 0x0001L
#define HELP_QUIT 0x0002L
#define HELP_INDEX 0x0003L
#define HELP_CONTENTS 0x0003L
#define HELP_HELPONHELP 0x0004L
#define HELP_SETINDEX 0x0005L
#define HELP_CONTEXTPOPUP 0x0008L
#define HELP_FORCEFILE 0x0009L
#define HELP_KEY 0x0101L
#define HELP_COMMAND 0x0102L
#define HELP_PARTIALKEY 0x0105L
#define HELP_FINDER 0x000BL
#endif

// CWnd::m_nFlags
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008     // RunModalLoop is running
#define WF_CONTINUEMODAL 0x0010 // ... and has not been told to end
#define WF_OLECTLCONTAINER 0x0100
#define WF_STAYACTIVE 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_MODALDISABLE 0x0080

// RunModalLoop flags
#define MLF_NOIDLEMSG 0x0001   // no WM_ENTERIDLE to the parent
#define MLF_NOKICKIDLE 0x0002  // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE 0x0004  // show the window when the queue first goes idle

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
 public:
  HWND m_hWnd = nullptr;

  // Stand-ins for the z-order positions of SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  CWnd();
  // A window still attached is destroyed with its object.
  ~CWnd() override;

  operator HWND() const { return GetSafeHwnd(); }
  HWND GetSafeHwnd() const {
    const CWnd* self = AfxSafeThis(this);
    return self ? self->m_hWnd : nullptr;
  }
  BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
  BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

  // --- handle maps ---
  // The permanent object of hWnd, else a temporary CWnd freed at idle time.
  static CWnd* FromHandle(HWND hWnd);
  // Only the permanent object (Create, Attach, SubclassWindow); else null.
  static CWnd* FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();
  // Makes this the permanent object of hWnd without touching its procedure.
  BOOL Attach(HWND hWndNew);
  HWND Detach();

  // --- subclassing ---
  // Attaches and routes the window's messages through AfxWndProc; the
  // previous procedure stays reachable through DefWindowProc.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  // Gives the window its previous procedure back and detaches.
  HWND UnsubclassWindow();
  virtual void PreSubclassWindow() {}
  // Where the previous window procedure is kept.
  virtual WNDPROC* GetSuperWndProcAddr() { return &m_pfnSuper; }

  // --- creation ---
  virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                        int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  // A null class gets the framework's default window class.
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  virtual BOOL DestroyWindow();
  // Called after WM_NCDESTROY, when the object has let go of its window;
  // classes whose objects live on the heap delete themselves here.
  virtual void PostNcDestroy() {}

  // --- message processing ---
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Finds and calls the handler; FALSE when the map has none.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // The window's previous procedure (or the system's default).
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A notification the parent sends back to this control; the default
  // offers it to the control's own map (ReflectChildNotify).
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Reflects the message now being handled to hWndChild's permanent object.
  static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
  // Called for every message a thread's loop takes for this window or one
  // of its descendants, before translation; TRUE keeps it from dispatch.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Walks from pMsg->hwnd up through parents (owners for popups) to
  // hWndStop, asking each permanent object's PreTranslateMessage.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  // DefWindowProc with the message now being handled.
  LRESULT Default();
  // The message this thread's window procedure is handling now.
  static const MSG* GetCurrentMessage();

  // --- frame and routing seams (the frame classes override these) ---
  virtual CFrameWnd* AsFrameWnd() { return nullptr; }
  BOOL IsFrameWnd() const { return const_cast<CWnd*>(this)->AsFrameWnd() != nullptr; }
  // The nearest frame among the parents (null when none is a frame).
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  virtual void RecalcLayout(BOOL bNotify = TRUE) {}
  // Lays out the control bars with ids nIDFirst..nIDLast (WM_SIZEPARENT)
  // from the edges of the client (or lpRectClient) inwards and gives the
  // rest to child nIDLeftOver. reposQuery only measures: lpRectParam gets
  // the rest; reposExtra keeps lpRectParam's borders free around the rest.
  enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

  // --- relatives ---
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, AfxWndHandle(pWndNewParent))); }
  CWnd* GetOwner() const;
  void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = AfxWndHandle(pOwnerWnd); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
  CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
  CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, AfxWndHandle(pWnd)); }
  CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
  // A descendant with id nID (breadth first, then deeper).
  CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  // Sends to every child (bDeep: every descendant); bOnlyPerm only to
  // windows with a permanent object, calling their WindowProc directly.
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);
  static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
  static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
  static CWnd* FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName) {
    return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
  }
  // The window a modal box or dialog should be owned by: hParent, or the
  // main window (its last active popup); never a child. With pWndTop, the
  // top-level window above it is disabled (when it is not the owner
  // itself) and stored there for the caller to enable again.
  static HWND GetSafeOwner_(HWND hParent, HWND* pWndTop);
  static CWnd* GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr) {
    return FromHandle(GetSafeOwner_(AfxWndHandle(pParent), pWndTop));
  }

  // --- styles ---
  DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
  DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
  // Removes then adds style bits; with nFlags, SetWindowPos(nFlags |
  // SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) makes the frame
  // follow. FALSE when the style did not change.
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

  // --- messages ---
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(::GetDlgItem(m_hWnd, nID), message, wParam, lParam);
  }
  // A message box owned by this window, titled with the application's
  // name when lpszCaption is null.
  int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

  // --- text ---
  // Sets the text only when it differs (no flicker, no needless EN_CHANGE).
  void SetWindowText(LPCSTR lpszString);
  int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)AfxGdiHandle(pFont), bRedraw); }
  CFont* GetFont() const { return CFont::FromHandle((HFONT)SendMessage(WM_GETFONT)); }

  // --- dialog items ---
  void SetDlgItemText(int nID, LPCSTR lpszString);
  int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const;
  int GetDlgItemText(int nID, CString& rString) const;
  // As the Win32 functions: decimal text, *lpTrans FALSE for no number.
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
  void CheckDlgButton(int nIDButton, UINT nCheck) { SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return (UINT)SendDlgItemMessage(nIDButton, BM_GETCHECK); }
  // Checks nIDCheckButton and clears the other buttons of the id range.
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);

  // --- size, position, visibility ---
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(const RECT* lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
  }
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2); }
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2); }
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, AfxWndHandle(pwndTo), lpPoint, nCount);
  }
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, AfxWndHandle(pwndTo), reinterpret_cast<LPPOINT>(lpRect), 2);
  }
  // Centres over pAlternateOwner, else the owner (a child: its parent),
  // else the screen; the window stays inside the work area.
  void CenterWindow(CWnd* pAlternateOwner = nullptr);

  // --- painting ---
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(const RECT* lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) { ::InvalidateRgn(m_hWnd, (HRGN)AfxGdiHandle(pRgn), bErase); }
  void ValidateRect(const RECT* lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, (HRGN)AfxGdiHandle(pRgn)); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(const RECT* lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)AfxGdiHandle(prgnUpdate), flags);
  }
  void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
  CDC* BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
  void EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
  CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
  CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
  int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, AfxDCHandle(pDC)); }
  void ScrollWindow(int xAmount, int yAmount, const RECT* lpRect = nullptr, const RECT* lpClipRect = nullptr) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
  }

  // --- timers, scroll bars, menus ---
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
  int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos); }
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
  }
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, (int)nBar, bShow); }
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
    return ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw) != 0;
  }
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
  }
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

  // --- help ---
  // Asks the application's help (recorded; there is no help engine).
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

  // --- data exchange and command user interface ---
  // Moves data between the controls and the member variables through
  // DoDataExchange; FALSE when a validation failed (the user was told and
  // the focus put back on the control).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX) {}
  // Updates each child control's enabled and check state through
  // pTarget's update handlers.
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
  BOOL IsDialogMessage(LPMSG lpMsg);
  // Sends the initial list and combo box strings of a dialog's RT_DLGINIT
  // resource (same name as the template, any module of the resource chain)
  // to its controls. FALSE when the data is malformed or a string could
  // not be added; TRUE when all went in or there is no such resource.
  BOOL ExecuteDlgInit(LPCSTR lpszResourceName);
  BOOL ExecuteDlgInit(const void* lpResource, DWORD dwSize);

  // --- modal loop ---
  // Runs the thread's messages until EndModalLoop; idle time sends
  // WM_ENTERIDLE to the parent and WM_KICKIDLE (lParam = idle count) to the
  // window. Answers the result given to EndModalLoop, -1 after WM_QUIT
  // (which is posted again for the outer loop).
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }
  virtual void EndModalLoop(int nResult);

  int m_nFlags = 0;
  int m_nModalResult = 0;

 protected:
  WNDPROC m_pfnSuper = nullptr;  // the procedure the window had before AfxWndProc
  HWND m_hWndOwner = nullptr;    // SetOwner's window; null: the system owner

  explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

  static HWND AfxWndHandle(const CWnd* pWnd) { return pWnd ? pWnd->m_hWnd : nullptr; }

  // Default handlers the framework's CWnd map takes: owner-drawn, colour
  // and scroll messages are offered to the control first (reflection).
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) { return (int)Default(); }
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct) { return (BOOL)Default(); }
  afx_msg void OnDestroy() { Default(); }
  // Ends the object's hold on the window: clears the application's main
  // window (posting WM_QUIT) when it is this, detaches, PostNcDestroy.
  afx_msg void OnNcDestroy();
  afx_msg void OnClose() { Default(); }
  afx_msg void OnPaint() { Default(); }
  afx_msg void OnNcPaint() { Default(); }
  afx_msg void OnSize(UINT nType, int cx, int cy) { Default(); }
  afx_msg void OnMove(int x, int y) { Default(); }
  afx_msg void OnTimer(UINT_PTR nIDEvent) { Default(); }
  afx_msg void OnSetFocus(CWnd* pOldWnd) { Default(); }
  afx_msg void OnKillFocus(CWnd* pNewWnd) { Default(); }
  afx_msg void OnEnable(BOOL bEnable) { Default(); }
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) { Default(); }
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) { return (BOOL)Default(); }
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point) { Default(); }
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point) { Default(); }
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point) { Default(); }
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) { return (BOOL)Default(); }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) { Default(); }
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID) { Default(); }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI) { Default(); }
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) { return (BOOL)Default(); }
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) { return (int)Default(); }
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos) { Default(); }
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam) { Default(); }
  afx_msg void OnInitMenu(CMenu* pMenu) { Default(); }
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) { Default(); }
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) { Default(); }
  afx_msg LRESULT OnNcHitTest(CPoint point) { return Default(); }
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos) { Default(); }
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos) { Default(); }
  afx_msg UINT OnGetDlgCode() { return (UINT)Default(); }
  afx_msg void OnSysColorChange() { Default(); }
  afx_msg void OnCancelMode() { Default(); }
  afx_msg void OnChildActivate() { Default(); }
  afx_msg void OnCaptureChanged(CWnd* pWnd) { Default(); }
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct) { return (BOOL)Default(); }
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho) { Default(); }
  // WM_COMPAREITEM, WM_DELETEITEM, WM_VKEYTOITEM, WM_CHARTOITEM: the control first.
  afx_msg LRESULT OnChildItemMessage(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
};

// The framework's window procedure: finds the window's permanent object and
// calls its WindowProc (answers WM_QUERYAFXWNDPROC with 1).
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();
// Calls pWnd->WindowProc with the message recorded as the thread's current
// message (Default() and reflection read it).
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The next window created on this thread becomes pWnd's (attached and
// subclassed before its first message). AfxUnhookWindowCreate answers
// FALSE when no window was created since, and forgets pWnd.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

// A window class of the framework with these attributes (registered once
// per combination; the name stays valid for the process's life).
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                           HICON hIcon = nullptr);
// The framework's default class for CWnd::Create without a class name.
#define AFX_WND_CLASS "AfxWnd"

// Temporary objects of the handle maps live while the maps are locked;
// unlocking to 0 deletes them (CWinThread::OnIdle does this).
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

// Sets a window's text only when it differs.
void AfxSetWindowText(HWND hWndCtrl, LPCSTR lpszNew);
