// KyApp: the run-time's application class, from which the runner's
// application object derives. It owns the thread-local slot in which each
// thread that runs functions keeps its KyAppContext, and forwards the
// application's strings to the calling thread's context.
//
// The start-up and shut-down road (InitInstance, ExitInstance, locating the
// INI file, the language library) and the members of the runner's
// application object (main panel, splash, busy cursor ...) come with the
// runner.
#pragma once

#include <afxwin.h>

#include <mutex>
#include <string>

class KyAppContext;

class KyApp : public CWinApp {
 public:
  explicit KyApp(LPCSTR lpszAppName = nullptr);
  ~KyApp() override;

  // The application object as a KyApp, or null.
  static KyApp* GetApp();

  // The calling thread's context (null when none) and its setting; the slot
  // does not own what it holds.
  KyAppContext* GetContext() const;
  void SetContext(KyAppContext* pContext);
  // Creates the calling thread's context, puts it in the slot and loads its
  // run options (which reads the remote location list into it). Any
  // context the thread had is ended first.
  KyAppContext* CreateContext();
  // Exit of the calling thread's context, then deletes it and empties the
  // slot; answers Exit's result, or 0 when the thread had none.
  int EndContext();

  // The application's string nID through the calling thread's context;
  // "" without a context. Never null.
  virtual const char* pszGetResourceString(UINT nID);
  virtual void CleanUpAppStringResources();

  // --- start-up and shut-down (KyAppStartup.cpp) ---
  // Command line, OLE, registration run, INI file, then the thread's
  // context and its Init (language library, user interface, main function).
  BOOL InitInstance() override;
  // A run without a main window (the main function has returned, or a
  // registration run) has no message loop to run: it ends at once.
  int Run() override;
  // User-interface shut-down, the thread's context, the exit hook; the exit
  // code is the framework's, or 1 after a failed start-up.
  int ExitInstance() override;
  virtual BOOL InitHook() { return TRUE; }
  virtual BOOL InitUserInterface() { return TRUE; }
  virtual void ExitUserInterface() {}
  virtual BOOL ExitHook() { return TRUE; }
  // Sets the profile (INI) file name: see KyAppStartup.cpp for the places
  // looked at. pszName may be null or empty (program name + ".INI").
  virtual void LocateIniFile(const char* pszName);
  // The application name is shared by every thread that runs functions:
  // it is replaced (a heap copy; null becomes "") and read (a copy) under
  // AppNameLock, which is recursive so a caller may hold it around both.
  void SetAppNameText(const char* pszName);
  std::string GetAppNameText() const;
  static std::recursive_mutex& AppNameLock();
  // The start-up failed: ExitInstance answers a non-zero exit code.
  BOOL m_fStartFailed = FALSE;
  // OleInitialize succeeded in InitInstance; ExitInstance balances it.
  BOOL m_fOleInitialized = FALSE;

  // 0 registration run, 1 normal run (after construction), 3 embedded or
  // automation server.
  int m_iAppState = 1;
  // A library the application holds; released by the destructor.
  HMODULE m_hModule = nullptr;

 private:
  DWORD m_dwContextSlot;
};
