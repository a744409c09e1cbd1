// CWinApp: the application object, its names and its profile access.
#include <afxwin.h>

#include <mscrt.h>

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The one application object of the process (the framework keeps it in the
// module state; the module state of this layer holds handles only).
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
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

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
