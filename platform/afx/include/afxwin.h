// The application object of the framework (CWinApp) and its profile access.
//
// Only the part of CWinApp that the run-time's application object needs
// before windows exist: the names, the instance handle, the profile (INI)
// functions and the start/exit overridables. The window classes (CWnd and
// the rest) join this header with the window side of the framework, and the
// message loop (CWinThread::Run) with them: there is deliberately no Run
// here, so nothing can believe a loop is running.
#pragma once

#include "afx.h"

class CWnd;  // declared with the window side of the framework

class CWinApp : public CObject {
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
  CWnd* m_pMainWnd = nullptr;  // the framework keeps it in CWinThread; here until that class exists

  // Overridables with the framework's default results: InitApplication and
  // InitInstance succeed (TRUE); ExitInstance answers the program's exit
  // code, 0 while there is no message loop to carry a WM_QUIT code.
  virtual BOOL InitApplication();
  virtual BOOL InitInstance();
  virtual int ExitInstance();

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

  // Fills the names that are still null from the program file: the program
  // name, the help file path, the profile name (program name + ".INI") and
  // the application name (the program name). Called by AfxWinInit.
  void SetCurrentHandles();

 private:
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
};

// The application object: the last CWinApp constructed that still lives;
// null before it and after its destruction.
CWinApp* AfxGetApp();

// The framework's start before InitInstance: records the instance (and, when
// none is set, resource) handle and the command line, then fills the
// application object's names. FALSE without an application object.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
