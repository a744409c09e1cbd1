// KyWinClientApp: the runner's application object, as far as the run-time
// reads and writes it. The class is declared here, with the members the
// run-time's subsystems use, so that the runner only derives from it or
// instantiates it: the busy cursor, the open panels, the application name,
// the message log and the user interface's start-up and shut-down.
#pragma once

#include <afxcoll.h>

#include "KyAD_Debug.h"

#include "KyApp.h"
#include "KyKeyHook.h"
#include "KyString.h"

#include <memory>

class KyPanel;
class KyMsg;
class KyMsgWin;
class KySplash;
class KyFunctionData;

class KyWinClientApp : public KyApp {
 public:
  explicit KyWinClientApp(LPCSTR lpszAppName = nullptr) : KyApp(lpszAppName) {}

  // The message log: appends a copy of the entry (or the bare text) to the
  // log window, opening one when none is open. An application class may
  // replace them; KyMessage::Log reaches them through the virtual table.
  virtual void LogMessage(const KyMsg& msg);
  virtual void LogMessage(const char* pszText);
  // The message-log window, made when none is open; null when it cannot be.
  KyMsgWin* OpenLogWindow();

  // The framework's message boxes: the busy cursor ends for the box, the
  // title follows the run-time's title rule, and the application name and
  // the busy cursor are put back afterwards.
  int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

  // The wait cursor, when the busy-cursor switch is on.
  void BusyOn();
  void BusyOff();
  // Nested: the main window is disabled by the first call and enabled when
  // the last one is undone (the count is the thread's).
  void DisableMainWnd();
  void EnableMainWnd();
  // The message-box title source: a copy of the text; with null, the display
  // name of the main panel's function, or string 0xE000.
  void SetAppName(const char* pszName);
  // Stores the active panel; a panel's function display name becomes the
  // application name.
  void SetActivePanel(KyPanel* pPanel);
  // The active panel's window, else the fallback window, else the main window.
  CWnd* GetOwnerWindow();

  // Open panels, in order of registration. A panel is also entered in the
  // panel registry shared with other processes, under its function's
  // display name.
  void AddPanel(KyPanel* pPanel);
  // Takes the panel out of the list (no other panel keeps it as parent) and
  // out of the registry; nothing for a panel not in the list.
  void RemovePanel(KyPanel* pPanel);
  // "*Current", "*Active", "*Main" (any case) or a function name; null when
  // there is no such panel.
  KyPanel* FindPanel(const char* pszName);
  // Asks every open panel to close; at the first refusal every panel's
  // returning mark is undone and 0 comes back. 1 when all agreed.
  int CloseAllPanels();
  // The thread's call manager cleans up (without force), then the splash
  // is asked to go.
  void DoIdle();

  // --- user-interface start-up and shut-down (KyWinClientAppStartup.cpp) ---
  // [Settings] "Trace", the custom control classes ("KYWA721"), the splash
  // (run option 4, picture of text option 1, not in state 5), the report
  // document template (once); the keyboard hook and IME come with the
  // panel subsystem.
  BOOL InitUserInterface() override;
  // Removes and deletes the splash, closes the message log window.
  void ExitUserInterface() override;
  BOOL m_fTrace = FALSE;
  BOOL m_fReportTemplate = FALSE;

  // Busy cursor: the switch (on after construction), and whether the wait
  // cursor is showing.
  BOOL m_fBusyCursor = TRUE;
  BOOL m_fBusyCursorShown = FALSE;
  // Automatic wait cursor around events.
  BOOL m_fAutoWaitCursor = FALSE;
  KySplash* m_pSplash = nullptr;
  BOOL m_fSplashShown = FALSE;
  // The keyboard hook of the user-interface thread, and the input-method
  // switch on Japanese systems (country 81); made with the user interface.
  std::unique_ptr<KyKeyHook> m_pKeyHook;
  std::unique_ptr<KyIME> m_pIME;

  // --- the splash window (KyWinClientApp.cpp) ---
  // Deletes a splash still there.
  ~KyWinClientApp() override;
  // When the splash is shown, asks it to go (KySplash::RemoveSplash) and
  // keeps its answer as the shown flag: a timed splash stays. The object
  // goes with its window.
  void RemoveSplash();
  // Removes the splash now, also one whose display time still runs: for
  // what must not wait behind it (a message box).
  void EndSplash();
  // While the splash is shown, a mouse button or key going down (client or
  // frame) and WM_ENTERIDLE ask it to go; then the framework's
  // pre-translation, whose exceptions are swallowed.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Each idle turn asks the splash to go before the framework's idle work.
  BOOL OnIdle(LONG lCount) override;

  KyPanel* m_pActivePanel = nullptr;
  KyPanel* m_pMainPanel = nullptr;
  CPtrList m_OpenPanels;        // KyPanel*, in order of registration
  CMapPtrToPtr m_PanelsByHwnd;  // HWND -> KyPanel*
  CMapPtrToPtr m_GridsByHwnd;   // HWND -> HGrid*, the panels' grid controls
  CWnd* m_pOwnerWindow = nullptr;  // owner when no panel is active

  // 0 or 1 command line, 2 remote thread, 3 automation, 4 COM transaction,
  // 5 no parameter streaming.
  int m_iStartMode = 0;
  DWORD m_dwHelpPromptContext = 0;  // set while a message box shows
  KyMsgWin* m_pMsgWin = nullptr;    // the message-log window, when open
  // The action-diagram debugger (KyAD_Debug.cpp): made and bound by the
  // first registration (a failed binding is tried again at the next); the
  // other members forward to the bound library and do nothing without it.
  void Ky_Register(LONG l1, KyFunctionData* pFunction, LONG l2, const char* pszText);
  void Ky_Debug(LONG l1, LONG l2, LONG l3, LONG l4);
  void Ky_RestoreFunctionDataPtr(KyFunctionData* pFunction);
  // Non-zero when the debugger took the message (pre-translation then skips
  // the framework's); 0 without a debugger.
  int Dispatch(MSG& msg);
  // Ends the binding (the debugger's Destroy, the library freed).
  void EndDebugger();
  std::unique_ptr<KyAD_Debug> m_pDebug;  // the debugger binding, from the first registration
  DWORD m_dwDebugCreateValue = 0;        // handed to the debugger's Create

  // Drag and drop of panels.
  BOOL m_fAcceptDrag = FALSE;
  BOOL m_fAcceptDrop = FALSE;
  DWORD m_dwArrivingDropEffect = 0;
  DWORD m_dwDragEffect = 0;
  DWORD m_dwDropEffect = 0;
  BOOL m_fUseDefaultCursors = FALSE;
  KyString m_strDropDataIn;
  KyString m_strDragDataOut;
};

// The process's application object when it is the runner's; null under any
// other framework application (a test's own, a host program's).
inline KyWinClientApp* KyGetClientApp() { return dynamic_cast<KyWinClientApp*>(AfxGetApp()); }
