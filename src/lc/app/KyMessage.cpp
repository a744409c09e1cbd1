#include "KyMessage.h"

#include <afxwin.h>
#include <mscrt.h>

#include <chrono>
#include <cstdarg>
#include <ctime>
#include <string>
#include <vector>

#include "KyApp.h"
#include "KyAppContext.h"
#include "KyFieldSettings.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyRunOptions.h"
#include "KyWinClientApp.h"

namespace {

constexpr UINT kDefaultAppNameId = 57344;
constexpr UINT kUntitledId = 57412;
constexpr UINT kHResultFormatId = 57426;
constexpr int kTitleOption = 11;
constexpr int kAlwaysOverrideOption = 9;

// Formats once into a buffer of the configured size; a longer text is cut.
std::string formatText(const char* pszFormat, va_list args) {
  std::vector<char> buffer(KyMaxStringSize());
  _vsnprintf(buffer.data(), buffer.size() - 1, pszFormat ? pszFormat : "", args);
  buffer.back() = '\0';
  return buffer.data();
}

void setHelpContext(DWORD dwContext) {
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->m_dwHelpPromptContext = dwContext;
}

// " Wed Jun 30 21:49:08.7 1993": ctime's first 19 characters, the
// milliseconds, then the year and its line end.
std::string timeStamp() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  char text[32] = {};
  struct tm local {};
  localtime_r(&seconds, &local);
  std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y\n", &local);  // ctime's form
  std::string ctimeText(text);
  char stamp[64];
  _snprintf(stamp, sizeof stamp - 1, "\t%.19s.%hu %s", ctimeText.c_str(), (unsigned short)millis,
            ctimeText.size() > 20 ? ctimeText.c_str() + 20 : "");
  stamp[sizeof stamp - 1] = '\0';
  return stamp;
}

// The log file is a text file as the C library writes it on Windows: each
// line end is CR LF.
void appendToLogFile(const std::string& text) {
  KyString fileName = KyGetProfileString("Message Box", "Log File", "MessageLog.txt");
  HANDLE hFile = CreateFileA(fileName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return;
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  SetFilePointer(hFile, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(hFile, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  CloseHandle(hFile);
}

UINT withDefaultIcon(UINT nType) {
  UINT buttons = nType & 0x0F;
  if ((nType & 0xF0) == 0 && (buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL ||
                              buttons == MB_YESNO))
    nType |= MB_ICONEXCLAMATION;
  return nType;
}

}  // namespace

KyString KyMessageBoxTitle() {
  std::string appName;
  if (auto* pKyApp = dynamic_cast<KyApp*>(AfxGetApp())) {
    appName = pKyApp->GetAppNameText();
  } else if (CWinApp* pApp = AfxGetApp()) {
    if (pApp->m_pszAppName) appName = pApp->m_pszAppName;
  } else {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    appName.assign(path, n < MAX_PATH ? n : MAX_PATH - 1);
  }
  KyAppContext* pContext = KyAppContext::Current();
  std::string title = pContext ? pContext->GetRunOptions()->pszGetOption(kTitleOption) : "";
  bool alwaysOverride = pContext && pContext->GetRunOptions()->fGetOption(kAlwaysOverrideOption);
  if (!title.empty() && alwaysOverride) return title.c_str();
  KyApp* pKyApp = KyApp::GetApp();
  const char* pszDefaultName = pKyApp ? pKyApp->pszGetResourceString(kDefaultAppNameId) : "";
  if (lstrcmpiA(appName.c_str(), pszDefaultName) == 0)
    return !title.empty() ? title.c_str() : (pKyApp ? pKyApp->pszGetResourceString(kUntitledId) : "");
  return appName.c_str();
}

namespace {

int showBox(const std::string& text, UINT nType) {
  CWinApp* pApp = AfxGetApp();
  // As the framework's boxes: not behind a topmost splash.
  if (KyWinClientApp* pClient = KyGetClientApp()) pClient->EndSplash();
  if (pApp) pApp->EnableModeless(FALSE);
  HWND hWndTop = nullptr;
  HWND hWndOwner = CWnd::GetSafeOwner_(nullptr, &hWndTop);
  if (hWndOwner && hWndOwner != hWndTop) EnableWindow(hWndOwner, TRUE);
  if (hWndOwner) SendMessageA(hWndOwner, WM_HELPPROMPTADDR, 0, 0);
  std::string title = static_cast<const char*>(KyMessageBoxTitle());
  int answer;
  try {
    answer = MessageBoxA(hWndTop ? hWndTop : hWndOwner, text.c_str(), title.c_str(), withDefaultIcon(nType));
  } catch (...) {
    answer = AfxMessageBox(text.c_str(), nType);
  }
  if (hWndTop) EnableWindow(hWndTop, TRUE);
  if (pApp) pApp->EnableModeless(TRUE);
  return answer;
}

}  // namespace

int KyMessage::VBox(DWORD dwHelpId, UINT nType, const char* pszFormat, va_list args) {
  std::string text = formatText(pszFormat, args);
  setHelpContext(dwHelpId);
  HWND hWndFocus = GetFocus();
  int answer = IDCANCEL;
  if (KyGetProfileBool("Message Box", "Always Log", FALSE)) {
    appendToLogFile(text + timeStamp());
  } else {
    answer = showBox(text, nType);
  }
  if (HWND hWndOwner = CWnd::GetSafeOwner_(nullptr, nullptr)) BringWindowToTop(hWndOwner);
  if (hWndFocus && IsWindow(hWndFocus)) SetFocus(hWndFocus);
  setHelpContext(0);
  return answer == IDYES ? 1 : answer == IDNO ? 2 : 3;
}

int KyMessage::Box(UINT nType, const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  int answer = VBox(0, nType, pszFormat, args);
  va_end(args);
  return answer;
}

int KyMessage::Box(DWORD dwHelpId, UINT nType, const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  int answer = VBox(dwHelpId, nType, pszFormat, args);
  va_end(args);
  return answer;
}

void KyMessage::Log(DWORD dwHelpId, KyMsg::KyMsgType type, LONG lId, KyString strSource, const char* pszFormat, ...) {
  KyMsg entry;
  entry.SetHelpId(dwHelpId);
  entry.SetType(type);
  entry.SetId(lId);
  entry.SetSource(strSource);
  va_list args;
  va_start(args, pszFormat);
  entry.SetText(formatText(pszFormat, args).c_str());
  va_end(args);
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->LogMessage(entry);
}

void KyMessage::Log(const char* pszFormat, ...) {
  KyMsg entry;
  va_list args;
  va_start(args, pszFormat);
  entry.SetText(formatText(pszFormat, args).c_str());
  va_end(args);
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->LogMessage(entry);
}

void KyMessage::Status(const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  std::string text = formatText(pszFormat, args);
  va_end(args);
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp && pApp->m_pMainPanel) pApp->m_pMainPanel->SetStatusBarText(text.c_str(), 0);
}

int KyCheckHResult(const HRESULT* phResult, const char* pszSourceFile, int iLine) {
  if (!phResult || *phResult >= 0) return 1;
  HRESULT hr = *phResult;
  DWORD dwLastError = GetLastError();
  int code = hr & 0xFFFF;
  int facility = (hr >> 16) & 0x1FFF;
  int severity = (static_cast<DWORD>(hr) >> 31) & 1;
  KyApp* pApp = KyApp::GetApp();
  const char* pszFormat = pApp ? pApp->pszGetResourceString(kHResultFormatId) : "";
  KyMessage::Box(0u, pszFormat, code, code, facility, facility, severity, static_cast<unsigned>(hr),
                 static_cast<int>(dwLastError), pszSourceFile ? pszSourceFile : "", iLine);
  return 0;
}
