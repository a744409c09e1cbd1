// KyAD_Debug: the binding to the optional action-diagram debugger library
// (KY721NDG.DLL), owned by the application object from the first
// registration. The library's six entries live in one process-wide table;
// a forwarder calls an entry only when it is bound, so without the library
// (or after a failed binding) every debugger call of generated code does
// nothing and Dispatch answers 0.
//
// The library's contract (C linkage, exported by name):
//   KyDebugHandle Create(HWND mainWindow, int one, DWORD value)  0: none
//   void Destroy(KyDebugHandle)
//   void Debug(KyDebugHandle, LONG, LONG, LONG, LONG)
//   void Register(KyDebugHandle, LONG, KyFunctionData*, LONG, const char*)
//   void RestoreFunctionDataPtr(KyDebugHandle, KyFunctionData*)   optional
//   int Dispatch(KyDebugHandle, MSG&)   non-zero: the message is handled
#pragma once

#include <windows.h>

#include <cstdint>

class KyFunctionData;

typedef intptr_t KyDebugHandle;

extern "C" {
typedef KyDebugHandle (*KyDebugCreateProc)(HWND hMainWnd, int iOne, DWORD dwValue);
typedef void (*KyDebugDestroyProc)(KyDebugHandle hDebugger);
typedef void (*KyDebugDebugProc)(KyDebugHandle hDebugger, LONG l1, LONG l2, LONG l3, LONG l4);
typedef void (*KyDebugRegisterProc)(KyDebugHandle hDebugger, LONG l1, KyFunctionData* pFunction, LONG l2,
                                    const char* pszText);
typedef void (*KyDebugRestoreProc)(KyDebugHandle hDebugger, KyFunctionData* pFunction);
typedef int (*KyDebugDispatchProc)(KyDebugHandle hDebugger, MSG& msg);
}

class KyAD_Debug {
 public:
  // Clears the object and keeps the value for Create.
  KyAD_Debug(unsigned long ulValue, const char* pszUnused);
  // Destroy with the debugger handle, the entry table cleared, the library freed.
  ~KyAD_Debug();
  KyAD_Debug(const KyAD_Debug&) = delete;
  KyAD_Debug& operator=(const KyAD_Debug&) = delete;

  // Loads and binds the library and obtains a debugger handle; 1 when one
  // is held. A missing library or a missing required entry is shown in a
  // box and leaves nothing bound.
  int ResolveAD_Debug();

  KyDebugHandle GetHandle() const { return m_hDebugger; }

  // The forwarders: each entry is called only when bound.
  static void Register(KyDebugHandle h, LONG l1, KyFunctionData* pFunction, LONG l2, const char* pszText);
  static void Debug(KyDebugHandle h, LONG l1, LONG l2, LONG l3, LONG l4);
  static void RestoreFunctionDataPtr(KyDebugHandle h, KyFunctionData* pFunction);
  static int Dispatch(KyDebugHandle h, MSG& msg);

 private:
  DWORD m_dwUnused1 = 0;
  DWORD m_dwUnused2 = 0;
  HMODULE m_hModule = nullptr;
  KyDebugHandle m_hDebugger = 0;
  DWORD m_dwValue;
};
