// CWinApp: the application object, its names, its profile access, help
// requests, the wait cursor and the framework's program entry.
#include "afxstate.h"

#include <internal/fontsetup.h>
#include <internal/userscript.h>
#include <mscrt.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

// The one application object of the process.
std::atomic<CWinApp*> currentApp{nullptr};

// Replaces one of the object's heap strings with a copy of value.
void replaceHeapString(LPCSTR& field, const std::string& value) {
  char* copy = _strdup(value.c_str());
  if (!copy) AfxThrowMemoryException();
  std::free(const_cast<char*>(field));
  field = copy;
}

// Fixed-size buffer of the framework's GetProfileString.
constexpr DWORD profileBufferSize = 4096;

struct HelpLog {
  std::mutex lock;
  std::vector<AFX_HELP_REQUEST> requests;
  static HelpLog& instance() {
    static HelpLog* log = new HelpLog;  // alive while windows end at exit
    return *log;
  }
};

}  // namespace

CWinApp::CWinApp(LPCSTR lpszAppName) {
  if (lpszAppName) replaceHeapString(m_pszAppName, lpszAppName);
  currentApp.store(this);
}

CWinApp::~CWinApp() {
  CWinApp* self = this;
  currentApp.compare_exchange_strong(self, nullptr);
  for (LPCSTR* field : {&m_pszAppName, &m_pszExeName, &m_pszHelpFilePath, &m_pszProfileName}) {
    std::free(const_cast<char*>(*field));
    *field = nullptr;
  }
  for (CDocTemplate* pTemplate : m_templateList) delete pTemplate;
  m_templateList.clear();
  // The printer set-up blocks belong to the application.
  if (m_hDevMode) ::GlobalFree(m_hDevMode);
  if (m_hDevNames) ::GlobalFree(m_hDevNames);
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

BOOL CWinApp::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWinThread::OnIdle(lCount);
  } else if (lCount == 1) {
    CWinThread::OnIdle(lCount);
  }
  // Count 0 updates the user interface and asks for count 1, which frees
  // the temporary objects.
  return lCount < 1;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
  if (!m_pszProfileName) return CString(lpszDefault);
  CString value;
  DWORD nLength = GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "",
                                           value.GetBuffer(profileBufferSize - 1), profileBufferSize,
                                           m_pszProfileName);
  value.ReleaseBuffer(static_cast<int>(nLength));
  return value;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  if (!m_pszProfileName) return static_cast<UINT>(nDefault);
  return GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
  if (!m_pszProfileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  char text[16];
  auto [end, ec] = std::to_chars(text, text + sizeof text - 1, nValue);
  *end = '\0';
  return WriteProfileString(lpszSection, lpszEntry, text);
}

void CWinApp::SetCurrentHandles() {
  char modulePath[MAX_PATH];
  DWORD nLength = GetModuleFileNameA(m_hInstance, modulePath, sizeof modulePath);
  if (nLength == 0 || nLength >= sizeof modulePath) return;  // no name to derive the others from
  std::string path(modulePath, nLength);
  const size_t nameStart = path.find_last_of("\\/") + 1;  // npos + 1 == 0: no directory
  const size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot > nameStart;
  const std::string stem = path.substr(0, hasExtension ? dot : path.size());
  const std::string exeName = stem.substr(nameStart);

  if (!m_pszExeName) replaceHeapString(m_pszExeName, exeName);
  if (!m_pszHelpFilePath) replaceHeapString(m_pszHelpFilePath, stem + ".HLP");
  if (!m_pszProfileName) replaceHeapString(m_pszProfileName, exeName + ".INI");
  if (!m_pszAppName) replaceHeapString(m_pszAppName, exeName);
}

// --- help -----------------------------------------------------------------------

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  CWinApp* pApp = AfxGetApp();
  AFX_HELP_REQUEST request{m_hWnd, CString(pApp ? pApp->m_pszHelpFilePath : nullptr), nCmd, dwData};
  char line[96];
  std::snprintf(line, sizeof line, "WinHelp: command %u, data %llu, file ", nCmd, (unsigned long long)dwData);
  win32::script::announce(std::string(line) + (LPCSTR)request.strHelpFile);
  HelpLog& log = HelpLog::instance();
  std::lock_guard guard(log.lock);
  log.requests.push_back(request);
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  if (CWnd* pMainWnd = AfxGetMainWnd()) {
    pMainWnd->WinHelp(dwData, nCmd);
    return;
  }
  CWnd nowhere;  // no window: the request is recorded without one
  nowhere.WinHelp(dwData, nCmd);
}

std::vector<AFX_HELP_REQUEST> CWinApp::GetHelpRequests() {
  HelpLog& log = HelpLog::instance();
  std::lock_guard guard(log.lock);
  return log.requests;
}

void CWinApp::ClearHelpRequests() {
  HelpLog& log = HelpLog::instance();
  std::lock_guard guard(log.lock);
  log.requests.clear();
}

// --- wait cursor ------------------------------------------------------------------

void CWinApp::DoWaitCursor(int nCode) {
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = hcurPrev;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore);
  }
}

// --- program entry ------------------------------------------------------------------

CWinApp* AfxGetApp() { return currentApp.load(); }

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
  AfxSetInstanceHandle(hInstance);
  if (!AfxGetResourceHandle()) AfxSetResourceHandle(hInstance);
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return FALSE;
  pApp->m_hInstance = hInstance;
  pApp->m_lpCmdLine = lpCmdLine;
  pApp->m_nCmdShow = nCmdShow;
  pApp->SetCurrentHandles();
  return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  // Fontconfig reads its set-up meanwhile: the first window's text waits
  // for it instead of doing it all then.
  win32::gdi::startFontSetup();
  int nReturnCode = -1;
  CWinThread* pThread = AfxGetThread();
  CWinApp* pApp = AfxGetApp();
  if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || !pThread) {
    AfxWinTerm();
    return nReturnCode;
  }
  try {
    if (pApp && !pApp->InitApplication()) {
      AfxWinTerm();
      return nReturnCode;
    }
    if (!pThread->InitInstance()) {
      if (pThread->m_pMainWnd) pThread->m_pMainWnd->DestroyWindow();
      nReturnCode = pThread->ExitInstance();
    } else {
      nReturnCode = pThread->Run();
    }
  } catch (CException* e) {
    // Nothing may leave the program's entry: the user is told.
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException))) e->ReportError(MB_ICONSTOP, AFX_IDP_INTERNAL_FAILURE);
    e->Delete();
    nReturnCode = -1;
  }
  AfxWinTerm();
  return nReturnCode;
}

void AfxWinTerm() {
  // The window-creation hook and the temporary objects end with the loop.
  AfxUnhookWindowCreate();
  afx::deleteTemporaryObjects();
}
