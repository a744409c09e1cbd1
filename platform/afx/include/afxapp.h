// CWinThread and CWinApp: the thread's message loop with idle processing
// and pre-translation, the application object with its names, profile (INI)
// access, help and printer set-up, and the framework's program entry.
#pragma once

#include "afxwnd.h"

#include <commdlg.h>

#include <vector>

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  // The object becomes the calling thread's thread object (AfxGetThread).
  CWinThread();
  ~CWinThread() override;

  CWnd* m_pMainWnd = nullptr;    // the main window: its destruction ends the loop
  CWnd* m_pActiveWnd = nullptr;
  BOOL m_bAutoDelete = FALSE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  MSG m_msgCur{};                // the message the loop took last

  virtual CWnd* GetMainWnd() { return m_pMainWnd; }

  virtual BOOL InitInstance() { return TRUE; }
  // The message loop: idle processing (OnIdle with a rising count) while
  // the queue is empty, then PumpMessage until it is; ends on WM_QUIT with
  // ExitInstance's result.
  virtual int Run();
  // Takes one message, pre-translates and dispatches it. FALSE on WM_QUIT.
  virtual BOOL PumpMessage();
  // Count 0: WM_IDLEUPDATECMDUI to the visible main window and its
  // permanent descendants; count 1 and above: temporary handle-map objects
  // are freed. TRUE while more idle work remains.
  virtual BOOL OnIdle(LONG lCount);
  // Whether a message ends the quiet time (a mouse move to where the
  // cursor already was, WM_PAINT and the caret timer do not).
  virtual BOOL IsIdleMessage(MSG* pMsg);
  // Thread messages go to the thread's message map; window messages to
  // the target window's PreTranslateMessage, then each parent's, up to the
  // main window; a message for another top-level window also asks the main
  // window. TRUE when someone took it.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // The quit message's code (m_msgCur.wParam).
  virtual int ExitInstance();
  // Dispatches a thread message (no window) through the message map.
  BOOL DispatchThreadMessageEx(MSG* pMsg);

 protected:
  CPoint m_ptCursorLast{-1, -1};
  UINT m_nMsgLast = 0;
};

// One WinHelp request of the application (there is no help engine: requests
// are recorded, told on stderr unless KY_MESSAGEBOX_QUIET=1, and answered
// as done).
struct AFX_HELP_REQUEST {
  HWND hWnd;
  CString strHelpFile;
  UINT nCmd;
  DWORD_PTR dwData;
};

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  // The object registers itself as the application object (AfxGetApp), as
  // the framework's one global application object does at static
  // initialisation. lpszAppName is copied; null leaves the name to
  // AfxWinInit, which takes the program's name.
  explicit CWinApp(LPCSTR lpszAppName = nullptr);
  ~CWinApp() override;

  // The string members below are heap strings (malloc) that the object owns
  // and frees in its destructor. As the framework documents, a program that
  // replaces one frees the old value with free() and stores a _strdup copy.
  LPCSTR m_pszAppName = nullptr;
  LPCSTR m_pszExeName = nullptr;       // program file name without directory and extension
  LPCSTR m_pszHelpFilePath = nullptr;  // program path with the extension .HLP
  LPCSTR m_pszProfileName = nullptr;   // the INI file of GetProfileString and friends
  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;  // borrowed from AfxWinInit's caller
  int m_nCmdShow = 0;
  // Printer set-up: DEVMODE and DEVNAMES blocks (GlobalAlloc), null until
  // a printer is chosen; the application frees them at its end.
  HGLOBAL m_hDevMode = nullptr;
  HGLOBAL m_hDevNames = nullptr;
  // Takes the default printer's set-up when none is chosen yet (or, with
  // bForceDefaults, always); a chosen printer stays as it is. Without a
  // default printer both blocks stay as they were.
  void UpdatePrinterSelection(BOOL bForceDefaults);
  // The printer set-up for printing without a dialog: the chosen printer's
  // blocks (the default printer's when none is chosen) go into pd's
  // hDevMode/hDevNames; they stay the application's. FALSE without a printer.
  BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);
  // The print dialog over the application's set-up; what the user chooses
  // becomes the application's printer.
  INT_PTR DoPrintDialog(class CPrintDialog* pPD);
  // ID_FILE_PRINT_SETUP: the print set-up dialog.
  void OnFilePrintSetup();
  // Document templates, owned by the application from here on.
  void AddDocTemplate(class CDocTemplate* pTemplate);
  std::vector<class CDocTemplate*> m_templateList;
  // The help context of the message box being shown (HID_BASE_PROMPT +
  // its string id), 0 otherwise.
  DWORD m_dwPromptContext = 0;
  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;

  // Overridables with the framework's default results: InitApplication and
  // InitInstance succeed (TRUE); ExitInstance answers the quit code.
  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  // As CWinThread's, plus: count 0 asks for one more turn.
  BOOL OnIdle(LONG lCount) override;

  // Profile access on the file m_pszProfileName through the private-profile
  // functions (a bare file name lies in the Windows directory). Strings are
  // read with a 4096-character buffer. Without a profile name nothing is
  // read or written: the default (or nDefault) comes back, writes give FALSE
  // with ERROR_INVALID_PARAMETER.
  virtual CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
  virtual UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
  // A null lpszValue removes the entry, a null lpszEntry the whole section.
  virtual BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
  virtual BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);

  // Help for the main window (see AFX_HELP_REQUEST).
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  // The message box of AfxMessageBox: owner and icon as the framework
  // chooses them (see AfxMessageBox), titled with m_pszAppName.
  virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  // Modeless windows are disabled while a modal box is up (the frame
  // classes take part; the base only counts).
  virtual void EnableModeless(BOOL bEnable) {}
  // nCode 1 shows the wait cursor, -1 ends one, 0 shows it again.
  virtual void DoWaitCursor(int nCode);

  // Fills the names that are still null from the program file: the program
  // name, the help file path, the profile name (program name + ".INI") and
  // the application name (the program name). Called by AfxWinInit.
  void SetCurrentHandles();

  // The requests WinHelp recorded, oldest first.
  static std::vector<AFX_HELP_REQUEST> GetHelpRequests();
  static void ClearHelpRequests();
};

// The application object: the last CWinApp constructed that still lives;
// null before it and after its destruction.
CWinApp* AfxGetApp();
// The calling thread's thread object (the application object on the thread
// that constructed it).
CWinThread* AfxGetThread();
// The thread's main window (the application's on its thread); null when none.
CWnd* AfxGetMainWnd();
// The thread's PreTranslateMessage chain for pMsg without a thread object.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// One turn of the thread's loop: get, pre-translate, dispatch. FALSE on
// WM_QUIT.
BOOL AfxPumpMessage();

// The framework's start before InitInstance: records the instance (and, when
// none is set, resource) handle and the command line, then fills the
// application object's names. FALSE without an application object.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The framework's program: AfxWinInit, InitApplication, InitInstance, Run.
// A failed InitInstance destroys the main window and answers ExitInstance's
// result. Programs get it from `main` by linking the static library
// afxmain (see afxmain.cpp).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
void AfxWinTerm();

// Message boxes of the framework: through the application's DoMessageBox
// (owner, icon and title as CWinApp::DoMessageBox), or a plain box when
// there is no application object. The id form shows string resource
// nIDPrompt from the resource chain.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// rString := string nIDS with %1 (and %2) replaced.
void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
#define HID_BASE_PROMPT 0x00030000UL
