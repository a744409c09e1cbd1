// Control bars: the strips a frame docks at its edges (status bar, tool
// bars, dialog bars) and the dock bars and floating frames that hold them.
//
// A bar is a child of its frame (or of a dock bar of the frame) with an id
// in the control-bar range. RecalcLayout sends it WM_SIZEPARENT and it takes
// its slice (CalcFixedLayout) off the free area. At idle time
// (WM_IDLEUPDATECMDUI) it updates its items through the frame's
// ON_UPDATE_COMMAND_UI handlers (OnUpdateCmdUI). Commands and notifications
// of a bar go to its owner, the frame.
#pragma once

#include "afxframe.h"
#include "afxcoll.h"

#include <vector>

// Bar styles (m_dwStyle; not window styles).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Status bar pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_OWNERDRAW 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

// Tool bar button styles: the button kind in the low byte, the state
// shifted by 8 (checked, pressed, disabled, hidden, indeterminate).
#define TBBS_BUTTON 0x0000
#define TBBS_SEPARATOR 0x0001
#define TBBS_CHECKBOX 0x0002
#define TBBS_GROUP 0x0004
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_CHECKED 0x0100
#define TBBS_PRESSED 0x0200
#define TBBS_DISABLED 0x0400
#define TBBS_HIDDEN 0x0800
#define TBBS_INDETERMINATE 0x1000
#define TBBS_WRAPPED 0x2000

// The tool bar resource: version 1, button size, count, then the ids.
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  CControlBar();
  ~CControlBar() override;

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle);
  // The sides the bar may be docked at (CBRS_ALIGN_*; 0: not dockable).
  void EnableDocking(DWORD dwDockStyle);
  DWORD m_dwDockStyle = 0;
  BOOL IsFloating() const;
  BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
  CFrameWnd* GetDockingFrame() const;
  int GetCount() const { return m_nCount; }

  // The bar's size: docked across the frame (bStretch) or its own, laid
  // out horizontally (bHorz) or vertically.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // Brings the items' state up to date through pTarget's update handlers.
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  // The command id under point (client coordinates), its tip text and
  // the item's rectangle; -1 when none.
  virtual INT_PTR OnToolHitTest(CPoint point, CString* pTipText, RECT* pRect = nullptr) const { return -1; }

  // Bars are children of a frame or of a dock bar of it; their messages go
  // to the owner (the frame).
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void PostNcDestroy() override;

  BOOL m_bAutoDelete = FALSE;  // delete the object when its window goes
  CFrameWnd* m_pDockSite = nullptr;  // the frame that lays the bar out
  CDockBar* m_pDockBar = nullptr;    // the dock bar holding it, if docked

  // CBRS_TOOLTIPS: the tip of the item under the pointer, shown by the
  // bar's tool-tip control (one tool: the item's rectangle).
  CString m_strTipText;
  HWND m_hWndToolTip = nullptr;  // created on first use, destroyed with the bar

 protected:
  DWORD m_dwStyle = 0;
  int m_nCount = 0;
  int m_cxLeftBorder = 6, m_cxRightBorder = 2, m_cyTopBorder = 2, m_cyBottomBorder = 2;
  INT_PTR m_nHitLast = -1;  // fly-by: the button last under the pointer

  // Creates the window of a bar (the framework's bar class), splitting the
  // bar styles from the window styles.
  BOOL CreateBar(DWORD dwExStyle, DWORD dwStyle, CWnd* pParentWnd, UINT nID, LPCSTR lpszText = nullptr);
  // The client inset by the bar's borders (CBRS_BORDER_*).
  void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  void EraseNonClient(CDC* pDC);
  void DrawBorders(CDC* pDC, CRect& rect);
  void UpdateFlyBy(CPoint point);
  void ResetFlyBy();
  void UpdateToolTip(INT_PTR nHit, const RECT& rect);
  void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

  friend class CFrameWnd;
  friend class CDockBar;
};

// --- status bar ------------------------------------------------------------------

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar() = default;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  // One pane per id; a nonzero id's pane shows the string of that id and
  // is as wide as that text; ID_SEPARATOR panes stretch. FALSE when a
  // string is missing (the pane stays, empty).
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  // -1 when no pane has the id.
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  CString GetPaneText(int nIndex) const;
  void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
  BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 protected:
  struct Pane {
    UINT nID = 0;
    UINT nStyle = 0;
    int cxText = 0;  // text width in pixels (the stretchy pane's least width)
    CString strText;
  };
  std::vector<Pane> m_panes;
  HFONT m_hFont = nullptr;

  int TextWidth(LPCSTR lpsz);
  int BarHeight();
  // Pane rectangles across the client (the stretchy panes share the rest).
  std::vector<CRect> PaneRects() const;

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// --- tool bar --------------------------------------------------------------------

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  CToolBar() = default;
  ~CToolBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);
  // Button size and image size (pixels); the button must be 7 wider and
  // 6 higher than the image.
  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  // The button images: one bitmap of images side by side, from the
  // resource chain.
  BOOL LoadBitmap(LPCSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
  // A tool bar resource (ids and image size) with the bitmap of the same id.
  BOOL LoadToolBar(LPCSTR lpszResourceName);
  BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
  // Buttons with these ids (ID_SEPARATOR: a gap), images in order; a null
  // array makes nIDCount empty separator slots.
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
  void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  INT_PTR OnToolHitTest(CPoint point, CString* pTipText, RECT* pRect = nullptr) const override;

 protected:
  struct Button {
    UINT nID = 0;
    UINT nStyle = TBBS_BUTTON;
    int iImage = -1;
  };
  std::vector<Button> m_buttons;
  CSize m_sizeButton{23, 22};
  CSize m_sizeImage{16, 15};
  HBITMAP m_hbmImageWell = nullptr;
  int m_iButtonCapture = -1;  // the button held down by the mouse

  BOOL IsVertical() const { return (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING); }
  CRect ButtonRect(int nIndex) const;
  int HitTest(CPoint point) const;
  void DrawButton(CDC* pDC, int nIndex);
  void InvalidateButton(int nIndex);

  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  DECLARE_MESSAGE_MAP()
};

// --- dialog bar ------------------------------------------------------------------

class CDialogBar : public CControlBar {
  DECLARE_DYNAMIC(CDialogBar)
 public:
  CDialogBar() = default;

  // A bar whose window is made from a dialog template of the resource
  // chain; its controls' commands go to the frame.
  BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID);
  BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
    return Create(pParentWnd, MAKEINTRESOURCE(nIDTemplate), nStyle, nID);
  }
  CSize m_sizeDefault;  // the template's size in pixels

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  // Each control's state through the frame's update handlers.
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
};

// --- docking ---------------------------------------------------------------------

// A dock bar: the strip along one side of a frame (or the inside of a
// floating frame) holding rows of bars.
class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)
 public:
  explicit CDockBar(BOOL bFloating = FALSE) : m_bFloating(bFloating) {}

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  // On a new last row, or the row lpRect (screen coordinates) falls on.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  BOOL RemoveControlBar(CControlBar* pBar);
  // Rows of bars, top to bottom (left to right for a vertical dock bar).
  std::vector<std::vector<CControlBar*>> m_rows;
  BOOL m_bFloating;
  // Visible bars docked here.
  int GetDockedVisibleCount() const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override {}
  // Places the rows' bars (bMove) and measures them (pTotal).
  void LayoutBars(CSize* pTotal, BOOL bMove);

 protected:
  BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || m_bFloating; }
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The small frame a floating bar lives in (a tool window owned by the dock
// site); closing it hides the bar.
class CMiniDockFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CMiniDockFrameWnd)
 public:
  CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}
  BOOL Create(CFrameWnd* pParent, DWORD dwBarStyle);
  // Fits the frame around its bar.
  void RecalcLayout(BOOL bNotify = TRUE) override;
  void PostNcDestroy() override { delete this; }
  CDockBar m_wndDockBar;

 protected:
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};

// What SaveBarState writes per bar.
struct CControlBarInfo {
  UINT m_nBarID = 0;
  BOOL m_bVisible = TRUE;
  BOOL m_bFloating = FALSE;
  BOOL m_bHorz = TRUE;
  BOOL m_bDockBar = FALSE;
  CPoint m_pointPos{-1, -1};  // floating frame position (screen)
  // A dock bar's rows: bar ids, 0 between rows.
  std::vector<UINT> m_arrBarID;
  BOOL LoadState(LPCSTR lpszProfileName, int nIndex);
  BOOL SaveState(LPCSTR lpszProfileName, int nIndex) const;
};

class CDockState : public CObject {
 public:
  std::vector<CControlBarInfo> m_arrBarInfo;
  // The screen size the positions were saved at (positions are scaled
  // back when the screen differs).
  CSize m_sizeScreen;
  void LoadState(LPCSTR lpszProfileName);
  void SaveState(LPCSTR lpszProfileName) const;
  void Clear() { m_arrBarInfo.clear(); }
};
