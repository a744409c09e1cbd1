// KyDLL: loading a library by name and the contract test of function
// libraries.
#include "KyDLL.h"

#include <mscrt.h>

#include <map>
#include <mutex>
#include <string>

#include "KyAppContext.h"
#include "KyFncMessage.h"

namespace {

constexpr int kOptionCacheDllReferences = 59;
constexpr int kOptionDllDirectoryPath = 61;
constexpr int kOptionPnlDirectoryPath = 62;

KyRunOptions* runOptions() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->GetRunOptions() : nullptr;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

KyString programDirectory() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return KyString();
  KyString directory(path);
  int cut = directory.GetLength();
  while (cut > 0 && !isSeparator(directory[cut - 1])) --cut;
  return directory.Left(cut > 1 ? cut - 1 : cut);
}

// The library-search answer of SearchPathA as a string, "" when not found.
KyString searchAlong(const char* pszPath, const char* pszName, const char* pszExtension) {
  char found[MAX_PATH];
  const DWORD n = SearchPathA(pszPath, pszName, pszExtension, sizeof found, found, nullptr);
  return (n > 0 && n < sizeof found) ? KyString(found) : KyString();
}

// An export as the function type it has (through the generic function
// pointer type, which converts to any other without a warning).
template <typename Proc>
Proc exportAs(HMODULE hModule, const char* pszName) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

// The cache table of "Cache DLL References": what a name was loaded as, and
// the entries that passed the contract test.
struct CachedLibrary {
  HMODULE module = nullptr;
  KyString moduleName;
  std::map<std::string, KyEntryProc> entries;  // by implementation name
};
std::mutex& cacheLock() {
  static std::mutex lock;
  return lock;
}
std::map<std::string, CachedLibrary>& cacheTable() {
  static std::map<std::string, CachedLibrary> table;
  return table;
}

bool cacheOptionSet() {
  KyRunOptions* pOptions = runOptions();
  return pOptions && pOptions->fGetOption(kOptionCacheDllReferences);
}

// The 16 low bits as the signed number the messages show.
int low16(LONG value) { return static_cast<SHORT>(value & 0xFFFF); }

}  // namespace

HMODULE KyLoadLibraryQuietly(const char* pszName) {
  const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(pszName);
  SetErrorMode(previous);
  return module;
}

KyDLL::KyDLL(const char* pszModuleName, const char* pszExtension) {
  m_ModuleName = pszModuleName;
  if (pszExtension) m_ModuleName += pszExtension;
  m_ModuleName.MakeUpper();
  m_Name = m_ModuleName;
  // The library is loaded as if the current directory were the one the
  // application context recorded, but without changing the process's
  // current directory, which other threads may be using.
  Load(pszExtension);
}

KyDLL::~KyDLL() {
  if (m_hModule && !m_fCached && !cacheOptionSet()) FreeLibrary(m_hModule);
}

bool KyDLL::loadCached(const KyString& key) {
  std::lock_guard<std::mutex> guard(cacheLock());
  auto it = cacheTable().find(std::string(key));
  if (it == cacheTable().end()) return false;
  m_hModule = it->second.module;
  m_ModuleName = it->second.moduleName;
  m_fCached = true;
  return true;
}

void KyDLL::rememberLoaded(const KyString& key) {
  std::lock_guard<std::mutex> guard(cacheLock());
  CachedLibrary& entry = cacheTable()[std::string(key)];
  if (!entry.module) {
    entry.module = m_hModule;
    entry.moduleName = m_ModuleName;
    m_fCached = true;  // this object's reference is now the table's
  }
}

HMODULE KyDLL::loadFromContextDirectory() {
  KyAppContext* pContext = KyAppContext::Current();
  const char* pszRecorded = pContext ? pContext->GetDirectory()->GetDirectory() : "";
  char current[MAX_PATH] = {};
  if (!*pszRecorded || (_getcwd(current, sizeof current) && std::strcmp(current, pszRecorded) == 0))
    return LoadLibraryA(m_ModuleName);

  char drive[_MAX_DRIVE], directory[_MAX_DIR];
  _splitpath(m_ModuleName, drive, directory, nullptr, nullptr);
  if (drive[0] || isSeparator(directory[0])) return LoadLibraryA(m_ModuleName);  // absolute
  KyString base(pszRecorded);
  if (directory[0]) return LoadLibraryA(base + "\\" + m_ModuleName);  // relative to that directory
  // A bare name: the program's directory first, then the recorded one
  // standing for the current directory; the rest of the standard search.
  KyString found = searchAlong(programDirectory() + ";" + base, m_ModuleName, ".DLL");
  return LoadLibraryA(found.IsEmpty() ? m_ModuleName : found);
}

void KyDLL::Load(const char* pszExtension) {
  // The table key: the name as asked for, with what decides where it is
  // found (the search options and the context's directory).
  KyString key;
  const bool cache = cacheOptionSet();
  if (cache) {
    KyRunOptions* pOptions = runOptions();
    KyAppContext* pContext = KyAppContext::Current();
    key = m_ModuleName;
    key += '\n';
    key += pOptions->pszGetOption(kOptionDllDirectoryPath);
    key += '\n';
    key += pOptions->pszGetOption(kOptionPnlDirectoryPath);
    key += '\n';
    if (pContext) key += pContext->GetDirectory()->GetDirectory();
    if (loadCached(key)) return;
  }
  const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  char drive[_MAX_DRIVE], directory[_MAX_DIR];
  _splitpath(m_ModuleName, drive, directory, nullptr, nullptr);
  if (!drive[0] && !directory[0]) {
    const bool panel = pszExtension && _stricmp(pszExtension, ".PNL") == 0;
    KyRunOptions* pOptions = runOptions();
    const char* pszPath = pOptions ? pOptions->pszGetOption(panel ? kOptionPnlDirectoryPath : kOptionDllDirectoryPath) : "";
    if (*pszPath) {
      KyString found = searchAlong(pszPath, m_ModuleName, nullptr);
      if (!found.IsEmpty()) m_ModuleName = found;
      m_hModule = LoadLibraryA(m_ModuleName);
    }
  }
  if (!m_hModule) m_hModule = loadFromContextDirectory();
  if (!m_hModule) KyShowMessageBox(KyFormatMessageId(KyMsgLibraryNotLoaded, {m_ModuleName}));
  SetErrorMode(oldMode);
  if (cache && m_hModule) rememberLoaded(key);
}

KyString KyDLL::EntryName(const char* pszImplementationName) {
  KyString name(pszImplementationName);
  const int dot = name.ReverseFind('.');
  if (dot >= 0) name = name.Mid(dot + 1);
  name.MakeUpper();
  return name;
}

void KyDLL::refuseForeign(UINT nFirstId, const char* pszMessageName) {
  KyString text = KyFormatMessageId(nFirstId, {pszMessageName, m_ModuleName});
  text += "\n\n";
  for (UINT id = nFirstId + 1; id <= nFirstId + 4; ++id) text += KyFormatMessageId(id);
  text += "\n\n";
  text += KyFormatMessageId(nFirstId + 5, {m_ModuleName});
  KyShowMessageBox(text);
}

void KyDLL::refuseVersion(UINT nReasonId, const char* pszMessageName, const KyGenVersionInfo& library) {
  KyString text = KyFormatMessageId(nReasonId, {pszMessageName, m_ModuleName});
  text += KyFormatMessageId(KyMsgLibraryVersion, {m_ModuleName, low16(library.sMajor), low16(library.sMinor),
                                                  low16(library.sPatch), low16(library.lBuild)});
  const KyGenVersionInfo& own = KyRuntimeVersion;
  text += KyFormatMessageId(KyMsgRuntimeVersion,
                            {low16(own.sMajor), low16(own.sMinor), low16(own.sPatch), low16(own.lBuild)});
  text += KyFormatMessageId(KyMsgRegenerate);
  KyShowMessageBox(text);
}

void KyDLL::ResolveEntry(const char* pszImplementationName, const char* pszMessageName) {
  if (!m_hModule) return;
  const std::string implementation(pszImplementationName ? pszImplementationName : "");
  if (m_fCached) {
    std::lock_guard<std::mutex> guard(cacheLock());
    for (auto& [key, entry] : cacheTable()) {
      if (entry.module != m_hModule) continue;
      auto found = entry.entries.find(implementation);
      if (found != entry.entries.end()) {
        m_pEntry = found->second;  // tested when it was first resolved
        return;
      }
    }
  }
  auto isZunt = exportAs<KyIsZuntFunctionProc>(m_hModule, "KyIsZuntFunction");
  if (!isZunt) {
    KyShowMessageBox(KyFormatMessageId(KyMsgNoContract, {pszMessageName, m_ModuleName}));
    return;
  }
  // Three questions tell a generated library (0 every time) from the
  // libraries of another product that answer 1 and from changing answers.
  if (isZunt() != 0) {
    if (isZunt() == 0) {
      refuseForeign(KyMsgForeignKindA, pszMessageName);
      return;
    }
    if (isZunt() == 1) {
      refuseForeign(KyMsgForeignKindB, pszMessageName);
      return;
    }
  }
  auto getVersion = exportAs<KyGetVersionInfoProc>(m_hModule, "KyGetVersionInfo");
  if (!getVersion) {
    KyShowMessageBox(KyFormatMessageId(KyMsgNoContract, {pszMessageName, m_ModuleName}));
    return;
  }
  const KyGenVersionInfo own = KyRuntimeVersion;
  KyGenVersionInfo library{};
  getVersion(&own, &library);
  if (library.sMajor != own.sMajor || library.sMinor != own.sMinor || library.sPatch != own.sPatch) {
    refuseVersion(KyMsgWrongVersion, pszMessageName, library);
    return;
  }
  if (low16(library.lBuild) > low16(own.lBuild)) {
    refuseVersion(KyMsgWrongBuild, pszMessageName, library);
    return;
  }
  if (library.sKind > own.sKind) {
    refuseVersion(KyMsgWrongKind, pszMessageName, library);
    return;
  }
  const KyString entryName = EntryName(pszImplementationName);
  m_pEntry = exportAs<KyEntryProc>(m_hModule, entryName);
  if (m_pEntry && m_fCached) {
    std::lock_guard<std::mutex> guard(cacheLock());
    for (auto& [key, entry] : cacheTable())
      if (entry.module == m_hModule) entry.entries[implementation] = m_pEntry;
  }
  if (!m_pEntry) {
    char system[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(),
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), system, sizeof system, nullptr);
    KyShowMessageBox(system);
    KyShowMessageBox(KyFormatMessageId(KyMsgNoEntry, {pszMessageName, entryName, m_ModuleName}));
  }
}
