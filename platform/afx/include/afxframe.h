// CFrameWnd, CMDIFrameWnd, CMDIChildWnd: the framework's frame windows.
//
// A frame owns the layout of its client area: control bars (children whose
// ids lie in 0..0xFFFF and that answer WM_SIZEPARENT) take slices from the
// edges and the pane with id AFX_IDW_PANE_FIRST (the view, or the MDI
// client) fills the rest (RecalcLayout). Commands are routed active view,
// frame, application; an MDI frame asks its active child first. The status
// bar's pane 0 shows the prompt of the command under the pointer or the
// menu selection (WM_SETMESSAGESTRING) and the idle text otherwise.
#pragma once

#include "afxwnd.h"

#include <vector>

class CControlBar;
class CDockBar;
class CDockState;
class CMDIChildWnd;

// Frame styles (low word of the style the frame is created with; the
// window itself never sees them as window styles).
#define FWS_ADDTOTITLE 0x00008000L   // the document's (or active child's) name joins the title
#define FWS_PREFIXTITLE 0x00004000L  // ... before the application's name
#define FWS_SNAPTOBARS 0x00002000L

// Help context bases of the framework (WinHelp data of commands and frames).
#define HID_BASE_COMMAND 0x00010000UL
#define HID_BASE_RESOURCE 0x00020000UL

// The first command id of the MDI window menu's child entries.
#define AFX_IDM_FIRST_MDICHILD 0xFF00
#define AFX_IDM_WINDOW_FIRST 0xE130
#define AFX_IDM_WINDOW_LAST 0xE13F

// Ids of the dock bars that EnableDocking makes.
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST 0xE8FF

// What a frame creates its client from (the view class of the pane).
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;  // a CWnd class created as pane AFX_IDW_PANE_FIRST
  CFrameWnd* m_pCurrentFrame = nullptr;
  CWnd* m_pLastView = nullptr;
  class CDocument* m_pCurrentDoc = nullptr;          // the document the new view joins
  class CDocTemplate* m_pNewDocTemplate = nullptr;
};

// The record of WM_SIZEPARENT (lParam): the rectangle still free, which
// each bar shrinks by its own slice.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;      // where bars defer their moves; null: measure only
  RECT rect;      // the free area, parent client coordinates
  SIZE sizeTotal; // what the bars took together (reposQuery)
  BOOL bStretch;  // bars stretch across the free width/height
};

// Moves hWnd to lpRect through the layout's deferred positions (nothing
// while only measuring).
void afxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  static const CRect rectDefault;  // CW_USEDEFAULT everywhere

  CFrameWnd();
  ~CFrameWnd() override;

  CFrameWnd* AsFrameWnd() override { return this; }

  // --- creation ---
  // lpszMenuName is looked up on the resource chain; a missing menu leaves
  // the frame without one.
  virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
                      DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Menu, accelerators, icon and title (the string's text up to the first
  // '\n') all from resource id nIDResource; each part may be missing.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL LoadAccelTable(LPCSTR lpszResourceName);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  // Frames live on the heap: the object deletes itself with its window.
  void PostNcDestroy() override { delete this; }

  // --- layout ---
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // The pane that fills the client (id AFX_IDW_PANE_FIRST).
  CWnd* GetPane() const { return GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE); }
  // Inner borders kept free by RecalcLayout, in client pixels.
  CRect m_rectBorder;

  // --- activation and views ---
  // Shows (nCmdShow -1: normally, restoring an icon) and brings to the top.
  virtual void ActivateFrame(int nCmdShow = -1);
  // The frame whose commands count now: this, or an MDI frame's active child.
  virtual CFrameWnd* GetActiveFrame() { return this; }
  // The pane that gets commands first (no document/view classes yet: any
  // window the frame calls its view).
  CWnd* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CWnd* pViewNew, BOOL bNotify = TRUE);

  // --- command routing ---
  // Active view, this frame, then the application.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The accelerators of the frame whose keys count now.
  virtual HACCEL GetDefaultAccelerator();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  // --- status prompts ---
  // The prompt of command nID: its string's text up to the first '\n'
  // (empty when there is no string).
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  void SetMessageText(LPCSTR lpszText);
  void SetMessageText(UINT nID);
  // The bar that shows prompts (the status bar, id AFX_IDW_STATUS_BAR).
  CWnd* GetMessageBar();
  // Commands without any handler are disabled in menus (default TRUE).
  BOOL m_bAutoMenuEnable = TRUE;

  // --- titles and menus ---
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  // "Title - Doc" (FWS_PREFIXTITLE: "Doc - Title"), or the title alone.
  void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
  HMENU GetDefaultMenu() const { return m_hMenuDefault; }
  void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
  void DelayRecalcLayout(BOOL bNotify = TRUE) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }

  // --- modal state ---
  // Disables the windows this frame owns (and itself) while a modal window
  // of it is up; calls nest, the last EndModalState enables them again.
  virtual void BeginModalState();
  virtual void EndModalState();
  BOOL InModalState() const { return m_cModalStack != 0; }

  // --- control bars and docking ---
  CControlBar* GetControlBar(UINT nID);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  // Dock bars on the sides of dwDockStyle (CBRS_ALIGN_*).
  void EnableDocking(DWORD dwDockStyle);
  // Into dock bar nDockBarID (0: the first side the bar accepts), on a row
  // of its own unless lpRect names a place in an existing row.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Into a small floating frame at point (screen coordinates).
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000 /*CBRS_ALIGN_TOP*/);
  // Bar positions through the application's profile (sections
  // "<prefix>-Summary" and "<prefix>-Bar#").
  void SaveBarState(LPCSTR lpszProfileName) const;
  void LoadBarState(LPCSTR lpszProfileName);
  void GetDockState(CDockState& state) const;
  void SetDockState(const CDockState& state);
  // Every bar of the frame, in the order they were made (docked and
  // floating ones, dock bars included).
  std::vector<CControlBar*> m_listControlBars;
  DWORD m_dwDockStyle = 0;

  // --- help ---
  UINT m_nIDHelp = 0;

  // Idle work pending (WM_IDLEUPDATECMDUI does it).
  enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags = 0;

  // Commands of the menu item or button being tracked (for prompts and help).
  UINT m_nIDTracking = 0;
  UINT m_nIDLastMessage = 0;

 protected:
  HMENU m_hMenuDefault = nullptr;   // the menu the frame was loaded with
  HACCEL m_hAccelTable = nullptr;
  CString m_strTitle;
  CWnd* m_pViewActive = nullptr;
  BOOL m_bInRecalcLayout = FALSE;
  int m_cModalStack = 0;
  std::vector<HWND> m_disabledForModal;

  // WM_CREATE takes the create context from here (an MDI child's sits in
  // the MDICREATESTRUCT).
  virtual CCreateContext* CreateContextOf(LPCREATESTRUCT lpcs);
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  // MDI children route to their MDI frame, which asks the application.
  virtual BOOL RoutesToApplication() const { return TRUE; }
  CDockBar* FindDockBarFor(CControlBar* pBar, UINT nDockBarID);
  void NotifyBarsOfLayout();

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  afx_msg BOOL OnBarCheck(UINT nID);
  afx_msg void OnHelp();
  DECLARE_MESSAGE_MAP()

  friend class CControlBar;
  friend class CDockBar;
};

// Position and size (x, y, cx, cy in left, top, right, bottom) of a frame
// to create in rect; CW_USEDEFAULT throughout for rectDefault.
CRect afxCreatePlacement(const RECT& rect);

// The icon of resource id nIDResource from the resource chain, or null.
HICON afxLoadFrameIcon(UINT nIDResource);

// The frame the current command is being routed through (null outside
// routing); message boxes shown by a command handler are owned by it.
CFrameWnd* AfxGetRoutingFrame();

// --- MDI -----------------------------------------------------------------------

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)
 public:
  HWND m_hWndMDIClient = nullptr;  // the "MDIClient" window, pane AFX_IDW_PANE_FIRST

  CMDIFrameWnd() = default;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  // Makes the MDI client; the frame's scroll-bar styles move to it.
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  // The popup of hMenu that holds the window commands (ID_WINDOW_*),
  // else the one before the last; null when the menu has no popups.
  virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIActivate(CWnd* pWndActivate);
  void MDIIconArrange();
  void MDIMaximize(CWnd* pWnd);
  void MDINext();
  void MDIRestore(CWnd* pWnd);
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
  void MDITile();
  void MDITile(int nType);
  void MDICascade();
  void MDICascade(int nType);

  CFrameWnd* GetActiveFrame() override;
  HACCEL GetDefaultAccelerator() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  void GetMessageString(UINT nID, CString& rMessage) const override;

  // TRUE while OnCmdMsg offers a command to the active child (the child
  // then leaves the application to the frame).
  BOOL m_bRoutingToChild = FALSE;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  afx_msg BOOL OnMDIWindowCmd(UINT nID);
  afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)
 public:
  CMDIChildWnd() = default;

  // Created by the MDI client (WM_MDICREATE) of pParentWnd (null: the main
  // window); the frame styles are kept, WS_CHILD is the client's doing.
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
              CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  // Through the MDI client, which picks the next active child.
  BOOL DestroyWindow() override;

  CMDIFrameWnd* GetMDIFrame() const;
  void MDIActivate();
  void MDIDestroy();
  void MDIMaximize();
  void MDIRestore();
  void ActivateFrame(int nCmdShow = -1) override;

  // The child's menu while it is active (null: the frame's default menu).
  HMENU m_hMenuShared = nullptr;
  // Puts the child's (bActivate) or the frame's menu into the menu bar.
  virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
  void OnUpdateFrameMenu(HMENU hMenuAlt) override { OnUpdateFrameMenu(TRUE, this, hMenuAlt); }
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  CCreateContext* CreateContextOf(LPCREATESTRUCT lpcs) override;
  BOOL RoutesToApplication() const override { return FALSE; }

  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnDestroy();
  afx_msg void OnChildActivate();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};
