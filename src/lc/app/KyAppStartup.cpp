// The start-up and shut-down road of the application object and of the
// thread's context: command line, INI file, language library, main
// function, and the end in reverse.
#include <mscrt.h>
#include <ole2.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "KyApp.h"
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyCommandLine.h"
#include "KyMessage.h"
#include "KyOLEApp.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyWinClientApp.h"

namespace {

// Message ids of the language library.
constexpr UINT kAppNameId = 57344;
constexpr UINT kNoLibraryArgumentId = 57375;
constexpr UINT kLanguageFallbackId = 57423;
constexpr UINT kOleFailedId = 57422;
// Critical-error boxes off while a library is loaded by name.
constexpr UINT kFailCriticalErrors = 0x8000;

// Closes a kernel handle at the end of a scope.
struct HandleCloser {
  HANDLE h;
  ~HandleCloser() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

bool opens(const std::string& path, DWORD dwAccess) {
  if (path.empty()) return false;
  HandleCloser file{CreateFileA(path.c_str(), dwAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
  return file.h != INVALID_HANDLE_VALUE;
}
bool opensReadWrite(const std::string& path) { return opens(path, GENERIC_READ | GENERIC_WRITE); }

// The directory of the program file, with its trailing separator.
std::string programDirectory() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  std::string text(path, length);
  size_t slash = text.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

// The user's documents folder: the layer has no shell folders, so the
// rule of the desktop is taken: $HOME/Documents, when it exists. Empty
// when there is none.
std::string documentsFolder() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  std::string folder = std::string(home) + "/Documents";
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return folder;
}

// The INI name along PATH, searched from the root so that the current
// directory does not answer; empty when not found.
std::string searchPath(const std::string& iniName) {
  char current[MAX_PATH] = {};
  DWORD length = GetCurrentDirectoryA(sizeof current, current);
  SetCurrentDirectoryA("C:\\");
  char found[MAX_PATH] = {};
  if (_searchenv_s(iniName.c_str(), "PATH", found, sizeof found) != 0) found[0] = '\0';
  if (length > 0 && length < sizeof current) SetCurrentDirectoryA(current);
  return found;
}

std::string programName(const CWinApp& app) { return app.m_pszExeName ? app.m_pszExeName : ""; }

HMODULE loadQuietly(const char* pszFile, DWORD* pdwError) {
  UINT previous = SetErrorMode(kFailCriticalErrors);
  HMODULE h = LoadLibraryA(pszFile);
  *pdwError = h ? 0 : GetLastError();
  SetErrorMode(previous);
  return h;
}

bool argumentIs(int argc, char** argv, const char* pszText) { return argc > 0 && std::strcmp(argv[0], pszText) == 0; }
bool argumentIsNoCase(int argc, char** argv, const char* pszText) {
  return argc > 0 && _stricmp(argv[0], pszText) == 0;
}

}  // namespace

// ---------------------------------------------------------------- KyApp

std::recursive_mutex& KyApp::AppNameLock() {
  static std::recursive_mutex lock;
  return lock;
}

void KyApp::SetAppNameText(const char* pszName) {
  char* copy = _strdup(pszName ? pszName : "");
  if (!copy) return;
  std::lock_guard guard(AppNameLock());
  std::free(const_cast<char*>(m_pszAppName));
  m_pszAppName = copy;
}

std::string KyApp::GetAppNameText() const {
  std::lock_guard guard(AppNameLock());
  return m_pszAppName ? m_pszAppName : "";
}

BOOL KyApp::InitInstance() {
  auto fail = [this] {
    m_fStartFailed = TRUE;
    return FALSE;
  };
  if (!InitHook()) return fail();
  int argc = KyGetArgc(m_lpCmdLine);
  char** argv = pKyMakeArgv(m_lpCmdLine, argc);
  if (!argv) return fail();
  if (FAILED(OleInitialize(nullptr))) {
    KyFreeArgv(argv);
    KyMessage::Box(MB_ICONSTOP, "%s", pszGetResourceString(kOleFailedId));
    return fail();
  }
  m_fOleInitialized = TRUE;
  if (argumentIsNoCase(argc, argv, "/Register") || argumentIsNoCase(argc, argv, "-Register")) {
    m_iAppState = 0;
    KyFreeArgv(argv);
    // A registration that could not be written ends the program with 1.
    return KyOLEApp::UpdateRegistry() ? TRUE : fail();
  }
  KyFreeArgv(argv);
  LocateIniFile("");
  // Starts embedded or as automation server (state 3) come with the
  // automation server; state 5 is set by nothing yet.
  if (m_iAppState == 3 || m_iAppState == 5) return TRUE;
  auto* pContext = new KyAppContext;
  SetContext(pContext);
  if (!pContext->Init(m_lpCmdLine)) return fail();
  return TRUE;
}

int KyApp::Run() {
  if (!m_pMainWnd) return ExitInstance();
  return CWinApp::Run();
}

int KyApp::ExitInstance() {
  ExitUserInterface();
  // The name came from the language library's strings.
  SetAppNameText("");
  if (m_iAppState != 0 && m_iAppState != 3 && m_iAppState != 5) EndContext();
  ExitHook();
  if (m_fOleInitialized) OleUninitialize();
  m_fOleInitialized = FALSE;
  int code = CWinApp::ExitInstance();
  return m_fStartFailed && code == 0 ? 1 : code;
}

// Where the INI file lies, in order: beside the program when it can be
// written there (or always for "Ky721rt"), beside it read-only when it says
// IniFileReadOnly=True, else the user's copy in <documents>/<program>/
// (made from the one beside the program when absent), else along PATH.
void KyApp::LocateIniFile(const char* pszName) {
  const std::string program = programName(*this);
  const std::string iniName = pszName && *pszName ? std::string(pszName) : program + ".INI";
  const std::string candidateA = programDirectory() + iniName;
  std::string result;
  char readOnly[16] = {};
  if (_stricmp(program.c_str(), "Ky721rt") == 0 || opensReadWrite(candidateA)) {
    result = candidateA;
  } else if (opens(candidateA, GENERIC_READ) &&
             (GetPrivateProfileStringA("Settings", "IniFileReadOnly", "False", readOnly, sizeof readOnly,
                                       candidateA.c_str()),
              _stricmp(readOnly, "True") == 0)) {
    result = candidateA;
  } else if (std::string documents = documentsFolder(); documents.empty()) {
    result = searchPath(iniName);
  } else {
    const std::string folderB = documents + "/" + program;
    const std::string candidateC = folderB + "/" + iniName;
    std::string onPath;
    if (opensReadWrite(candidateC)) {
      result = candidateC;
    } else if (onPath = searchPath(iniName); opensReadWrite(onPath)) {
      result = onPath;
    } else {
      CreateDirectoryA(folderB.c_str(), nullptr);
      // Only an absent copy is made from the template: one that exists but
      // cannot be opened now keeps the user's settings.
      if (GetFileAttributesA(candidateC.c_str()) == INVALID_FILE_ATTRIBUTES &&
          GetFileAttributesA(candidateA.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (CopyFileA(candidateA.c_str(), candidateC.c_str(), TRUE))
          SetFileAttributesA(candidateC.c_str(), FILE_ATTRIBUTE_NORMAL);
      }
      result = candidateC;
    }
  }
  if (result.empty()) result = iniName;
  char* copy = _strdup(result.c_str());
  if (!copy) return;
  std::free(const_cast<char*>(m_pszProfileName));
  m_pszProfileName = copy;
}

// ---------------------------------------------------------- KyAppContext

BOOL KyAppContext::Init(const char* pszCommandLine) {
  int argc = KyGetArgc(pszCommandLine);
  char** argv = pKyMakeArgv(pszCommandLine, argc);
  if (!argv) return FALSE;
  SetArguments(argc, argv);
  KyFreeArgv(argv);
  if (!InitHook()) return FALSE;
  const bool remoteThread = argumentIs(GetArgc(), GetArgv(), "/REMOTE_THREAD");
  if (!remoteThread && !LoadLanguageLibrary()) return FALSE;
  if (!InitHook2()) return FALSE;
  KyApp* pApp = KyApp::GetApp();
  if (!pApp || !pApp->InitUserInterface()) return FALSE;
  const int state = pApp->m_iAppState;
  if (state == 3 || state == 4 || state == 5) return TRUE;
  if (state == 2) return remoteThread ? StartRemoteThread() : TRUE;
  // "/REMOTE_THREAD" promises that no main function is started (and there
  // is no library named after it to start).
  if (remoteThread) return TRUE;
  return StartMainFunction();
}

BOOL KyAppContext::LoadLanguageLibrary() {
  deleteCallMgr();
  GetCallMgr(TRUE);
  m_RunOptions.Load();
  KyString language = KyGetProfileString("International Settings", "Orvo Zunt Language", "ENG");
  if (language.IsEmpty()) language = "ENG";
  // Bounded: an over-long setting gives a name that does not load, never an
  // overrun.
  char file[256];
  _snprintf_s(file, sizeof file, _TRUNCATE, "KY%d%d%d%s.%s", 7, 2, 1, "LNC", static_cast<const char*>(language));
  if (!LoadResourceLibrary(file)) return FALSE;
  if (KyApp* pApp = KyApp::GetApp()) pApp->SetAppNameText(pszGetResourceString(kAppNameId));
  return TRUE;
}

BOOL KyAppContext::LoadResourceLibrary(const char* pszFile) {
  if (!pszFile) return FALSE;
  auto adopt = [this](HMODULE h) {
    ReleaseLanguageLibrary();
    m_hPreviousResource = AfxGetResourceHandle();
    AfxSetResourceHandle(h);
    m_hLanguageLibrary = h;
    CleanUpAppStringResources();
  };
  DWORD error = 0;
  if (HMODULE h = loadQuietly(pszFile, &error)) {
    adopt(h);
    return TRUE;
  }
  // The extension of the file name is replaced: a '.' in a directory name
  // is not one.
  std::string fallback = pszFile;
  size_t nameStart = fallback.find_last_of("\\/");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  if (size_t dot = fallback.find('.', nameStart); dot != std::string::npos) fallback = fallback.substr(0, dot) + ".ENG";
  DWORD fallbackError = 0;
  if (HMODULE h = loadQuietly(fallback.c_str(), &fallbackError)) {
    adopt(h);
    KyMessage::Box(MB_ICONSTOP, pszGetResourceString(kLanguageFallbackId), pszFile);
    return FALSE;
  }
  // No language library at all: the only text there is, in English.
  KyMessage::Box(MB_ICONSTOP, "Orvo Zunt Language DLL <%s> could not be loaded due to LoadLibrary error <%d>",
                 pszFile, static_cast<int>(error));
  return FALSE;
}

void KyAppContext::ReleaseLanguageLibrary() {
  if (!m_hLanguageLibrary) return;
  if (AfxGetResourceHandle() == m_hLanguageLibrary) AfxSetResourceHandle(m_hPreviousResource);
  FreeLibrary(m_hLanguageLibrary);
  m_hLanguageLibrary = nullptr;
  m_hPreviousResource = nullptr;
}

BOOL KyAppContext::StartMainFunction() {
  KyApp* pApp = KyApp::GetApp();
  KyMainFunctionName name = KyGetMainFunctionName(GetArgc(), GetArgv(), pApp ? pApp->m_pszExeName : "");
  if (name.fRefused) {
    KyMessage::Box(MB_ICONSTOP, "%s", pszGetResourceString(kNoLibraryArgumentId));
    return FALSE;
  }
  // The call manager shows every failure in its own box; its status of the
  // caller-less call says whether the main function ran.
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, name.implementation, name.library);
  const KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  const bool fRan = pCallMgr && pCallMgr->GetDirectCallStatus() == " ";
  // A main function that left its panel open runs in the message loop: the
  // panel's frame is the main window (when no MDI frame already is), and
  // its end ends the run.
  KyWinClientApp* pClient = KyGetClientApp();
  if (fRan && pClient && !pClient->m_pMainWnd && !pClient->m_OpenPanels.IsEmpty()) {
    auto* pPanel = static_cast<KyPanel*>(pClient->m_OpenPanels.GetHead());
    if (pPanel && pPanel->GetFrame() && pPanel->hHandle()) pClient->m_pMainWnd = pPanel->GetFrame();
  }
  return fRan;
}
