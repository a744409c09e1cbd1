// KyPanel: the panel of one function. The core library reads a few of its
// members and calls a few of its operations; the panel itself (windows,
// controls, events) is built on top of this class.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "KyLogEvent.h"
#include "KyString.h"

class KyFunctionData;
class KyCtrl;
class CWnd;
class CPtrList;

class KyPanel {
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

  KyFunctionData* GetFunctionData() const { return m_pFunctionData; }
  KyPanel* GetParentPanel() const { return m_pParentPanel; }
  HINSTANCE hGetRESInstance() const { return m_hResInstance; }
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

  // Events. The panel owns the entries; a timer entry (code 10) starts the
  // panel's timer.
  void AddEvent(KyLogEvent* pEvent);
  // Runs the first active entry of that source and code; 1 when one fired.
  int TriggerEvent(int iSourceId, int iEventCode);
  // Runs one logical event through the generated dispatch, once the
  // function is idle; events that cannot run now are dropped.
  void ProcessEvent(int iLogicalId);
  // True when the panel is shown and its window enabled.
  virtual BOOL AcceptsEvents() const;

  // Pane 0 to 7 (any other number is pane 0), trimmed; an empty pane 0
  // shows the application's idle text. The panel's status bar repaints.
  void SetStatusBarText(const char* pszText, int iPane);
  // The text a status-bar pane shows.
  const char* GetStatusBarText(int iPane) const;
  int DoEvent(const char* pszEventName);
  KyCtrl* FindControlByName(const char* pszName);

 protected:
  KyFunctionData* m_pFunctionData;
  KyPanel* m_pParentPanel = nullptr;
  HINSTANCE m_hResInstance = nullptr;  // the panel resource library (.PNL)
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

 private:
  void waitForIdleFunction();

  std::vector<std::unique_ptr<KyLogEvent>> m_Events;  // first match wins
  UINT_PTR m_uTimer = 0;
  int m_iNesting = 0;
  int m_fInEvent = 0;
  int m_fPending = 0;  // lets one event run nested
  HWND m_hEventFocus = nullptr;
};
