// KyDLL: one library the run-time loads by name (a function library, or a
// function's panel resource library), with the contract test of function
// libraries. A failure is shown to the user and leaves the module handle or
// the entry null; nothing throws.
//
// The contract a function library meets (the generator writes it):
//   extern "C" int KyIsZuntFunction();          answers 0
//   extern "C" int KyGetVersionInfo(const KyGenVersionInfo* runtime,
//                                   KyGenVersionInfo* library);  fills kind 2, 7.2.1, build 0
//   extern "C" void <IMPLEMENTATION NAME>(KyFncParameter*);  the entry, upper case
#pragma once

#include <windows.h>

#include "KyLockableResource.h"

class KyCall;
class KyFncParameter;

// The version record of the library contract: twelve bytes, little-endian.
#pragma pack(push, 2)
struct KyGenVersionInfo {
  SHORT sKind;
  SHORT sMajor;
  SHORT sMinor;
  SHORT sPatch;
  LONG lBuild;
};
#pragma pack(pop)
static_assert(sizeof(KyGenVersionInfo) == 12);

// The run-time's own record: kind 2, 7.2.1, build 0.
inline constexpr KyGenVersionInfo KyRuntimeVersion{2, 7, 2, 1, 0};

// Loads a library by name with the system's box for a missing file
// switched off (error mode 0x8000 during the load); null when it cannot be
// loaded.
HMODULE KyLoadLibraryQuietly(const char* pszName);

typedef int (*KyIsZuntFunctionProc)();
typedef int (*KyGetVersionInfoProc)(const KyGenVersionInfo* pRuntime, KyGenVersionInfo* pLibrary);
typedef void (*KyEntryProc)(KyFncParameter* pParameter);

class KyDLL : public KyLockableResource {
 public:
  // Appends the extension (when given) to the name, upper-cases it, and
  // loads the library (see Load). The module handle is null when it failed.
  KyDLL(const char* pszModuleName, const char* pszExtension);
  // Frees the library unless "Cache DLL References" (flag 59) is set.
  ~KyDLL() override;

  // The loading steps: along "PNL directory path" (text option 62) for a
  // ".PNL" extension, else "DLL directory path" (61), when the name has no
  // drive or directory; then the standard search. A failure shows message
  // 0xE012 with the module name.
  void Load(const char* pszExtension);
  // The contract test and the entry lookup; nothing without a module.
  void ResolveEntry(const char* pszImplementationName, const char* pszMessageName);

  HMODULE GetModule() const { return m_hModule; }
  KyEntryProc GetEntry() const { return m_pEntry; }
  const KyString& GetModuleName() const { return m_ModuleName; }
  KyCall* GetOwningCall() const { return m_pOwningCall; }
  void SetOwningCall(KyCall* pCall) { m_pOwningCall = pCall; }

  // The entry export name of an implementation name: after its last '.',
  // upper case.
  static KyString EntryName(const char* pszImplementationName);

 private:
  // Loads by the module name as the standard search finds it, relative to
  // the directory recorded by the thread's application context.
  HMODULE loadFromContextDirectory();
  // Shows the refusal of a library that is no function library (kind A:
  // 0xE028, kind B: 0xE02E).
  void refuseForeign(UINT nFirstId, const char* pszMessageName);
  void refuseVersion(UINT nReasonId, const char* pszMessageName, const KyGenVersionInfo& library);

  // With "Cache DLL References" a library, once loaded and tested, stays in
  // a process-wide table under the name it was asked for: a later KyDLL of
  // that name takes it from there without searching, loading or testing it
  // again (a library that failed is looked at afresh every time).
  bool loadCached(const KyString& key);
  void rememberLoaded(const KyString& key);

  KyString m_ModuleName;
  HMODULE m_hModule = nullptr;
  // The module came from (or went into) the cache table, which holds its
  // reference: this object never frees it.
  bool m_fCached = false;
  KyEntryProc m_pEntry = nullptr;
  KyCall* m_pOwningCall = nullptr;
};
