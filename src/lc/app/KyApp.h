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

  // 0 registration run, 1 normal run (after construction), 3 embedded or
  // automation server.
  int m_iAppState = 1;
  // A library the application holds; released by the destructor.
  HMODULE m_hModule = nullptr;

 private:
  DWORD m_dwContextSlot;
};
