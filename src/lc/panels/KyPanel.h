// KyPanel: the panel of one function: its frame window of one of eight
// kinds, its view with the controls (stacked and tabbed in one order through
// the z-order manager), its states, logical events, status texts and the
// "POPUPS" context menus. Construction and Init make the window, StartPanel
// lays out and shows it, PanelReturn ends it (KyPanelInit.cpp has Init,
// StartPanel and the layout; KyPanelState.cpp the state setters).
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "KyCtr.h"
#include "KyLogEvent.h"
#include "KyStateWin.h"
#include "KyString.h"

class KyFunctionData;
class KyWinClientApp;
class KyCtrl;
class KyButtonSet;
class KyFramePart;
class KyActiveXScripter;
class KyToolTipCtrl;
class KySplitterHost;
class KySite;
class KyPanelDragDrop;
class KyZOrderMngr;
class KyVBXCtrlManager;
class CWnd;
class CPtrList;

// Window kinds of a panel.
enum KyWinType {
  KyTopWindow = 0,
  KyMDIChild = 1,
  KyDialog = 2,
  KyMDIFrame = 3,
  KySecondMDIFrame = 4,  // never created
  KyDialogUnderParent = 5,
  KySiteChild = 6,
  KySplitterPane = 7,
};

// Where the first state puts the frame: 0 where the system puts it,
// 1 at the state's position, 2 centred.
enum PanelPlacement { PlacementSystem = 0, PlacementAtPosition = 1, PlacementCentred = 2 };

class KyPanel : public KyCtrObj, public KyStateWin {
 public:
  // The empty panel of a function: it remembers the function data and the
  // function's panel resource library.
  explicit KyPanel(KyFunctionData* pFunctionData);
  // Leaves the application's open panels and the panel registry, hands the
  // active-panel role to its parent and detaches from its function.
  virtual ~KyPanel();

  KyPanel(const KyPanel&) = delete;
  KyPanel& operator=(const KyPanel&) = delete;

  // The generated event dispatch: runs the logical event of the function.
  virtual void PanelHandler(int iLogicalId) {}

  // Makes the frame window of the kind with the style (the kind's bits are
  // added), the options word (frame options) and the design dialog base
  // units (x in the low word, y in the high word); nonzero when a frame
  // exists. A kind that cannot be made shows its stop box and answers 0.
  int Init(int iKind, DWORD dwStyle, DWORD dwOptions, DWORD dwDesignBaseUnits, int iPlacement, int fRestore);
  // Lays the controls out, shows the panel (its placement restored when it
  // keeps one), gives the focus to the first control of the tab sequence;
  // a dialog panel then runs its own modal loop until it ends.
  void StartPanel();
  // The window the controls live in (the frame's view; the dialog itself).
  HWND ViewHandle() const { return m_hView; }
  CWnd* GetFrame() const { return m_pFrame; }
  // The frame tells the panel that its window is gone.
  void FrameDestroyed();
  DWORD GetOptions() const { return m_dwOptions; }
  int GetPlacement() const { return m_iPlacement; }
  int IsDemotedFromMDIChild() const { return m_fDemoted; }
  // Design pixels to screen pixels: the scale base over the design base.
  int ScaleX(int x) const;
  int ScaleY(int y) const;
  int GetScaleBaseX() const { return m_iScaleX; }
  int GetScaleBaseY() const { return m_iScaleY; }
  // The view's client size when the frame was made.
  SIZE GetCreationClientSize() const { return m_CreationClient; }

  // --- the control table of the panel library ---
  // The frame's own parts, then the control records.
  void LoadControls();
  // Reads the control table (RCDATA 104); nothing without it or with a
  // wrong magic.
  void LoadControlRecords();
  // Makes the controls of the records in order, files them, gives them
  // their auxiliary records and tab positions. When the window system made
  // no window for a control, a stop box says how many, and the panel loses
  // its controls and its window: its function ends as failed.
  void CreateControls(const KyCreateCtrl* pRecords, int iCount);
  // The control of the id, bound to the grid when one is given, with the
  // state applied (not to a site).
  KyCtrl* pBindControl(int iId, int iState, KyCtrl* pGrid);
  void SetCtrlState(int iId, int iState);
  // The grid list: grids and the editors of their cells.
  const std::vector<KyCtrl*>& GetGridControls() const { return m_GridList; }

  // Controls: the panel owns them, in record order.
  void AddControl(KyCtrl* pControl);
  const std::vector<std::unique_ptr<KyCtrl>>& GetControls() const { return m_Controls; }
  KyCtrl* pGetCtrl(int iId) const;
  // Puts a control window at its tab position: sibling order is tab order.
  void SetTabSequence(HWND hWnd, int iPosition);
  // Moves every control by the panel's size change in one deferred batch.
  void LayoutControls();
  KyZOrderMngr* GetZOrderMngr() const { return m_pZOrder.get(); }
  // The first window of the tab sequence (null when none).
  HWND FirstTabWindow() const;

  // Makes the site of that name (a control of kind 17) the one the next
  // child panel enters; 0 when the panel has none of that name.
  int SetSite(const char* pszName, int fReplace);
  bool HasCurrentSite() const { return m_pCurrentSite != nullptr; }
  static constexpr int kSiteKind = 17;

  // Focus bookkeeping the controls share.
  HWND GetFocusWindow() const { return m_hFocus; }
  void SetFocusWindow(HWND hWnd) { m_hFocus = hWnd; }
  int IsFocusChanging() const { return m_fFocusChanging; }
  void SetFocusChanging(int f) { m_fFocusChanging = f; }
  KyCtrl* GetFocusCandidate() const { return m_pFocusCandidate; }
  void SetFocusCandidate(KyCtrl* pControl) { m_pFocusCandidate = pControl; }
  int IsFocusInControl() const { return m_fFocusInControl; }
  void SetFocusInControl(int f) { m_fFocusInControl = f; }
  // The control whose notification runs the current event (null: none).
  KyCtrl* GetEventSource() const { return m_pEventSource; }
  void SetEventSource(KyCtrl* pControl) { m_pEventSource = pControl; }
  // The colour the panel shows behind its controls (see KyPanelState.cpp).
  COLORREF GetPanelColor();

  // The "POPUPS" menu of the panel library (null when there is none).
  HMENU GetPopupsMenu() const { return m_hPopups; }
  void SetShowingContextMenu(int f) { m_fShowingContextMenu = f; }
  // An MDI frame panel's menu is open (from WM_INITMENU or WM_MENUSELECT
  // until WM_EXITMENULOOP): arrows and Escape are the menu's.
  void SetMenuActive(int f) { m_fMenuActive = f; }
  int IsMenuActive() const { return m_fMenuActive; }
  // The nearest ancestor panel that is an MDI frame (null: none).
  KyPanel* MDIFrameAncestor() const;
  int IsShowingContextMenu() const { return m_fShowingContextMenu; }

  // --- state setters of the panel (flags, colours and fonts are ignored) ---
  KyPanel* GetPanel() override { return this; }
  void Repaint() override;
  void SetText(const char* pszText) override;
  void SetSize(int cx, int cy) override;
  void SetPosition(int x, int y) override;

  KyFunctionData* GetFunctionData() const { return m_pFunctionData; }
  KyPanel* GetParentPanel() const { return m_pParentPanel; }
  HINSTANCE hGetRESInstance() const { return m_hResInstance; }
  // The module that was current when the panel was made: the language
  // library, whose templates and texts the frames use.
  HINSTANCE GetLanguageModule() const { return m_hLanguageModule; }
  HWND hHandle() const { return m_hWnd; }
  void SetFocusSet() { m_fFocusSet = 1; }
  int IsFocusSet() const { return m_fFocusSet; }
  // 0 top-level, 1 MDI child, 2 dialog, 3 MDI frame, 5 dialog under a
  // parent, 6 in a site, 7 splitter pane.
  int GetKind() const { return m_iKind; }
  // The dialog base units the panel was laid out with (0: the system's).
  int GetBaseUnitX() const { return m_iBaseUnitX; }
  int GetBaseUnitY() const { return m_iBaseUnitY; }
  // Whether the panel keeps its window placement in the INI file.
  int KeepsPlacement() const { return m_fRestore; }
  int IsShown() const { return m_fShown; }
  int IsReturning() const { return m_fReturning; }

  // Whether hWnd is hOuter or lies inside it (false for a null window).
  static bool WindowHolds(HWND hOuter, HWND hWnd) {
    return hOuter && hWnd && (hOuter == hWnd || ::IsChild(hOuter, hWnd));
  }
  // The open panel (of the application's list) with that frame window, or
  // whose function name equals the name ignoring case; null when none.
  static KyPanel* FindPanelByHandle(CPtrList* pPanelList, HWND hWnd);
  static KyPanel* FindPanelByName(CPtrList* pPanelList, const char* pszName);
  // Ends the panel: its window is asked to close (unless a close request is
  // being decided) and the focus goes back to the parent panel.
  void PanelReturn();
  // A close request: nonzero when the panel may close. The panel's Close
  // event decides; a panel without one agrees.
  int OnClose();
  // Undoes the returning marks after a close that another panel refused.
  void ClearReturn();
  // Clears the parent reference when it is the panel that goes away.
  void ForgetParent(KyPanel* pGone);
  // The focus goes back into the panel: to the window it had, else to the
  // first tab stop.
  void RestoreFocus();

  // --- logical events (KyPanelEvents.cpp) ---
  // Events. The panel owns the entries; a timer entry (code 10) starts the
  // panel's timer.
  void AddEvent(KyLogEvent* pEvent);
  // Runs the first active entry of that source and code; 1 when one fired.
  int TriggerEvent(int iSourceId, int iEventCode);
  // Runs one logical event through the generated dispatch, one at a time:
  // it waits (the queue served) while another thread holds the function
  // busy; raised during an event of the panel or of its function on this
  // thread it waits in order and runs when that event has ended (the
  // acquire events excepted, which run nested). While the thread is busy
  // it is dropped.
  void ProcessEvent(int iLogicalId);
  // True when the panel is shown and its window enabled.
  virtual BOOL AcceptsEvents() const;
  // Registers the event name of the panel library's string under the
  // logical id, for DoEvent and other processes.
  void RegisterLogicalEvent(int iStringId, int iLogicalId);
  // Binds a key (low byte the virtual key, bit 14 Shift, bit 15 Ctrl).
  void AddKeyBoardEvent(int iKey, int iLogicalId);
  // A disabled bound key beeps instead of running its event.
  void EnableKeyBoardState(int iKey, int fOn);
  // The key hook's key: true when the panel consumed it.
  virtual bool OnKeyBoard(int iKey);
  // Sets the active flag of every entry with that event name (no case).
  void ActivateLogicalEvent(const char* pszEventName, int fOn);
  // The active flag of the first entry with that event name (by logical
  // id); true when there is none.
  bool IsLogicalEventActive(const char* pszEventName) const;
  bool IsLogicalEventActive(int iLogicalId) const;
  // The entry of the function's current logical event (null when none).
  KyLogEvent* GetCurrentLogicalEvent() const;
  // The static API's notification: the panel's event code 14.
  void Notify() { TriggerEvent(-1, kNotifyCode); }
  // Maps a window message of the panel to an event name; the first mapping
  // of a message stays. Answers the name in force.
  const char* TrapEvent(UINT uMessage, const char* pszEventName);
  // The frame's and view's messages for the events: control notifications
  // (WM_COMMAND), logical events of other processes (WM_COPYDATA) and
  // trapped messages. True when the message was answered (in lResult).
  bool OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
  // A control notification or command; true when it was a control's.
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  // A logical event sent by another process through the panel registry:
  // TRUE when it was well formed, active, and run.
  BOOL OnCopyData(const COPYDATASTRUCT* pData);
  // The panel's default button follows the focus window.
  void UpdateDefaultButton(HWND hFocus);
  static constexpr int kNotifyCode = 14;

  // --- mouse events and context menus (KyPanelMouse.cpp) ---
  // The panel's two context-menu numbers (submenus of "POPUPS", counted
  // from 1; -1 for none, as at construction).
  void SetContextMenu(int iFirst, int iSecond);
  // The visible control under the screen point, topmost first (null: none).
  KyCtrl* ControlAt(POINT ptScreen) const;
  // A mouse move (15) or button press (16) at the point: the control's
  // event, else the event of the control under the point, else the
  // panel's.
  void MouseEvent(KyCtrl* pControl, int iCode, POINT ptScreen);
  // A context-menu request from the control (null: from the panel): event
  // 17, then the control's (else the panel's) first menu, or with selector
  // bit 2 its second menu tracked with the right button (a control first
  // takes the focus for it).
  void ContextMenuRequest(KyCtrl* pControl, WPARAM selector, POINT ptScreen);

  // --- help (KyPanelHelp.cpp) ---
  // Opens the application's help for F1 (command id 0) or a help command:
  // the context of the focus control, else of its first event entry; of the
  // command's first command entry; else the panel's own; the contents
  // when none is set. Nothing while F1 is bound to an event of the panel.
  void KyPanelHelp(UINT uCommandId = 0);
  // The context KyPanelHelp opens (0: the contents).
  DWORD HelpContextFor(UINT uCommandId) const;
  void SetHelpId(DWORD dwHelpId) { m_dwHelpId = dwHelpId; }
  DWORD GetHelpId() const { return m_dwHelpId; }
  // The open panel whose window holds the window most closely (null: none).
  static KyPanel* PanelOwningWindow(HWND hWnd);
  // A frame's command help (its context a tracked command's, else 0): the
  // help of the panel owning the focus, else of the active panel; FALSE
  // when there is neither.
  static BOOL CommandHelp(LPARAM lContext);

  // Pane 0 to 7 (any other number is pane 0), trimmed; an empty pane 0
  // shows the application's idle text. The panel's status bar repaints.
  void SetStatusBarText(const char* pszText, int iPane);
  // The text a status-bar pane shows.
  const char* GetStatusBarText(int iPane) const;
  // Runs the logical event of that event name (no case); 1 when one ran.
  int DoEvent(const char* pszEventName);
  // "*Event Source", "*Focus", a control name, or its cleaned forms (no
  // case); null when none.
  KyCtrl* FindControlByName(const char* pszName);

  // The VBX controls of the panel window, made on first use with fCreate.
  KyVBXCtrlManager* GetVBXCtrlManager(BOOL fCreate = TRUE);
  // An event of a VBX control (its id and event index) runs the logical
  // event it is mapped to; 1 when one ran.
  int OnVBXEvent(UINT nId, int iEventIndex);
  // --- tool bars, tips and the status bar (KyPanelBars.cpp) ---
  // Opens a button set titled pszText; a top window or MDI frame whose
  // options allow tool bars gets a tool-bar window for it.
  void CreateToolbar(const char* pszText);
  // Appends a button to the last set; (-1, -1) a separator. Nothing before
  // the first CreateToolbar.
  void AddSpeedButton(int iPictureId, int iCommandId);
  const std::vector<std::unique_ptr<KyButtonSet>>& GetButtonSets() const { return m_ButtonSets; }
  UINT GetNextToolBarId() const { return m_uNextToolBarId; }
  // Enabled and shown state of the buttons of a command; 0 when no set has
  // such a button.
  int EnableSpeedButton(int iCommandId, int fEnable);
  int ShowSpeedButton(int iCommandId, int fShow);
  // A tip for a control window, from the panel's tip control (made on the
  // view at the first tip).
  BOOL AddControlTip(HWND hControl, const char* pszText);
  KyToolTipCtrl* GetToolTips() const { return m_pToolTips.get(); }
  void ActivateToolTips();
  // The three shown texts go to the frame's status bar, else the parent's;
  // an MDI child first hands its non-empty texts to its parent.
  void RefreshStatusBar();
  KyFramePart* GetFramePart() const;
  // The panel's script host: made with the frame, gone with it (null
  // without a frame).
  KyActiveXScripter* GetScripter() const { return m_pScripter.get(); }

  // --- splitter panes (KyPanelPanes.cpp) ---
  // How a pane panel (kind 7) joins its host: side by side (nonzero
  // orientation flag) or stacked, and its share in percent (0: none).
  void SetSplitterPaneConfig(int fOrientation, int iPercent, int iThird);
  int GetPaneOrientationFlag() const { return m_PaneConfig[0]; }
  int GetPanePercent() const { return m_PaneConfig[1]; }
  // The third value: Tab crosses from the pane's ends into its neighbours.
  int TabsAcrossPanes() const { return m_PaneConfig[2]; }
  // The panel whose view holds this panel's panes: itself, or for a pane
  // the first ancestor that is not one.
  KyPanel* GetPaneHostPanel();
  // The host of the panes in this panel's view (made at the first pane).
  KySplitterHost* GetSplitterHost();
  KySplitterHost* FindSplitterHost() const { return m_pSplitterHost.get(); }
  // 1 when the pane of the host took percent of its room.
  int ResizePane(int iPane, int iPercent);
  // Every pane an equal share; 1 when the panel has panes.
  int ShowAllPanes();
  // A pane panel's window goes: its host closes its row or column.
  void LeavePaneHost();
  // The host writes its pane sizes and removes its splitter.
  void CloseSplitterHost();
  // The view changed size: the controls and the panes follow.
  void ViewSized();

  // --- nesting in sites and drag and drop ---
  // The three options of a panel in a site: the second gives its window a
  // tab stop, the third a border.
  void SetChildPanelOptions(int a, int b, int c) { m_ChildOptions = {a, b, c}; }
  // The site a kind-6 panel stands in (null: none); leaving it removes the
  // panel's control there.
  KySite* GetSite() const { return m_pSite; }
  void LeaveSite();
  // Ends the child panels of every site of the panel.
  void CloseSiteChildren();
  // The panel's drag sources and its window's drop target (null without a
  // frame).
  KyPanelDragDrop* GetDragDrop() const { return m_pDragDrop.get(); }

 protected:
  KyFunctionData* m_pFunctionData;
  KyPanel* m_pParentPanel = nullptr;
  HINSTANCE m_hResInstance = nullptr;  // the panel resource library (.PNL)
  HINSTANCE m_hLanguageModule = nullptr;
  HWND m_hWnd = nullptr;               // the panel's frame window
  HWND m_hFocus = nullptr;             // the focus window to come back to
  int m_fFocusSet = 0;
  int m_iKind = 0;
  int m_iBaseUnitX = 0;
  int m_iBaseUnitY = 0;
  int m_fRestore = 0;    // keeps its placement
  int m_fStarting = 0;   // being shown
  int m_fShown = 0;
  int m_fReturning = 0;  // the function has ended the panel
  int m_fNoClose = 0;    // a close request is being decided: no WM_CLOSE
  std::array<KyString, 8> m_StatusTexts;  // the first three are shown
  CWnd* m_pFrame = nullptr;  // deletes itself with its window
  HWND m_hView = nullptr;
  DWORD m_dwOptions = 0;
  int m_iPlacement = 0;
  int m_fDemoted = 0;
  int m_fFirstState = 1;  // the first state places the frame
  int m_iDesignX = 8, m_iDesignY = 16;
  int m_iScaleX = 8, m_iScaleY = 16;
  SIZE m_CreationClient{0, 0};

 private:
  void createFrame(DWORD dwStyle, HINSTANCE hPrevious);
  void showFrame();
  void destroyFrame();
  void measureCreationClient();

  std::vector<std::unique_ptr<KyCtrl>> m_Controls;
  std::vector<KyCtrl*> m_GridList;                     // grids also stand in m_Controls
  std::vector<std::unique_ptr<KyCtrl>> m_GridEditors;  // cell editors: only in the grid list
  int m_fHasSites = 0;
  std::unique_ptr<KyZOrderMngr> m_pZOrder;
  std::unique_ptr<KyActiveXScripter> m_pScripter;
  HMENU m_hPopups = nullptr;
  int m_fShowingContextMenu = 0;
  int m_fMenuActive = 0;
  int m_fFocusChanging = 0;
  int m_fFocusInControl = 0;
  KyCtrl* m_pFocusCandidate = nullptr;
  KyCtrl* m_pEventSource = nullptr;
  KyCtrl* m_pCurrentSite = nullptr;
  int m_fReplaceSite = 0;

  struct QueuedEvent {
    int iLogicalId;
    KyCtrl* pSource;
  };
  // ProcessEvent once the panel is known to take events.
  void processAccepted(int iLogicalId, const bool& alive);
  // Runs the event at level 0 holding the function (waiting for another
  // thread to free it); false when the panel went away meanwhile.
  bool runHeld(int iLogicalId, KyCtrl* pSource, const bool& alive);
  // Runs the event now (the function held as the caller arranged).
  void runEvent(int iLogicalId, const bool& alive);
  // Keeps the event to run when the running one has ended.
  void queueEvent(int iLogicalId);
  // Runs the kept events in order while the panel and function are free.
  void runQueued(const bool& alive);
  // A thread timer runs the kept events once the thread is free.
  void armRetry();
  void forgetRetry();
  static void CALLBACK retryQueued(HWND, UINT, UINT_PTR, DWORD);
  void raiseFocusEvent(KyCtrl* pControl, int iCode);
  // The control's input-method mode on Japanese systems (nothing elsewhere).
  void imeFollowUp(KyCtrl* pControl);
  // Before a named event: with a command tool bar ("XTPTOOLBAR") of the
  // panel under the mouse, the focus goes to the panel and back.
  void commitToolBarFocus();
  // Tab (KyPanelTabbing.cpp): the next (back: previous) tab stop; true
  // when the key was taken.
  bool tabKey(bool back);
  // At the ends of a nested panel: the tab stops around it, level by level.
  bool leaveNestedPanel(bool back);
  // At the ends of a pane that lets Tab cross: the neighbouring pane.
  bool crossPane(bool back);
  bool navigate(int iKey);

  std::vector<std::unique_ptr<KyButtonSet>> m_ButtonSets;
  std::array<int, 3> m_PaneConfig{0, 0, 0};
  std::unique_ptr<KySplitterHost> m_pSplitterHost;
  std::array<int, 3> m_ChildOptions{0, 0, 0};
  KySite* m_pSite = nullptr;  // owned by the parent panel's controls
  std::unique_ptr<KyPanelDragDrop> m_pDragDrop;
  UINT m_uNextToolBarId = 59392;
  std::unique_ptr<KyToolTipCtrl> m_pToolTips;

  std::vector<std::unique_ptr<KyLogEvent>> m_Events;  // first match wins
  std::vector<KyKeyBoardEvt> m_KeyEvents;             // first match wins
  std::map<std::string, std::pair<std::string, int>> m_NamedEvents;  // by upper-cased name
  std::map<UINT, std::string> m_TrappedMessages;
  std::set<int> m_DisabledKeys;
  std::deque<QueuedEvent> m_QueuedEvents;
  UINT_PTR m_uRetryTimer = 0;
  int m_fF1Bound = 0;
  DWORD m_dwHelpId = 0;
  UINT_PTR m_uTimer = 0;
  int m_iNesting = 0;
  int m_fInEvent = 0;
  int m_fPending = 0;      // lets one event run nested
  int m_fWaitingIdle = 0;  // an event waits for the function
  int m_fInFocusLost = 0;  // a focus-lost event is being raised
  // The moves of the controls laid out during the outermost event, made
  // together when it ends (null: none yet).
  HDWP m_hEventBatch = nullptr;
  std::unique_ptr<KyVBXCtrlManager> m_pVBXManager;
  // Cleared by the destructor. The outermost call of an event holds a copy
  // and hands the flag down by reference: every step learns whether the
  // panel outlived what it called.
  std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);
  // The application the panel was made in (it outlives its panels); every
  // event shows the busy cursor through it.
  KyWinClientApp* m_pClientApp = nullptr;
};
