// The static API's members on panels, controls and grids: the current
// function and panel of the thread, controls by name, list, limit and grid
// messages, temporary and report files.
#include <afxfile.h>
#include <afxwin.h>
#include <mscrt.h>

#include <cstring>
#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyStaticAPI.h"
#include "KyWinClientApp.h"
#include "datatypes.h"
#include "editcontrol.h"
#include "grid.h"
#include "listcontrol.h"
#include "spin.h"

// ------------------------------------------------------------- KyUserAPI

void KyUserAPI::PrepareAPICall(KyFunctionData* pFunction) {
  if (KyAppContext* pContext = KyAppContext::Current()) pContext->m_pCurrentFunction = pFunction;
}

KyFunctionData* KyUserAPI::pGetCurrentFncData() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->m_pCurrentFunction : nullptr;
}

KyPanel* KyUserAPI::pGetCurrentPanel() {
  KyFunctionData* pFunction = pGetCurrentFncData();
  return pFunction ? pFunction->GetPanel() : nullptr;
}

namespace {

HWND controlWindow(const char* pszName) {
  KyCtrl* pControl = KyPanelAPI::GetControlByName(pszName);
  return pControl ? pControl->GetWindowHandle() : nullptr;
}

KyPanel* panelOrCurrent(KyPanel* pPanel) { return pPanel ? pPanel : KyUserAPI::pGetCurrentPanel(); }

std::string tempDirectory() {
  char szDir[MAX_PATH] = "";
  DWORD n = GetTempPathA(sizeof szDir, szDir);
  if (n == 0 || n >= sizeof szDir) return "";
  std::string dir = szDir;
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
  return dir;
}

bool hasRtfExtension(const std::string& path) {
  return path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".rtf") == 0;
}

// The directory part of a path up to and including its last separator.
std::string directoryOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

// ------------------------------------------------------------ KyPanelAPI

KyCtrl* KyPanelAPI::GetControlByName(const char* pszName) {
  KyPanel* pPanel = KyUserAPI::pGetCurrentPanel();
  return pPanel && pszName ? pPanel->FindControlByName(pszName) : nullptr;
}

CWnd* KyPanelAPI::GetControlCWndByName(const char* pszName) {
  HWND hWnd = controlWindow(pszName);
  return hWnd ? CWnd::FromHandle(hWnd) : nullptr;
}

HWND KyPanelAPI::GetControlHandleByName(const char* pszName) { return controlWindow(pszName); }

KyPanel* KyPanelAPI::GetPanelByName(const char* pszName) {
  KyWinClientApp* pApp = KyGetClientApp();
  return pApp ? pApp->FindPanel(pszName) : nullptr;
}

CWnd* KyPanelAPI::GetPanelCWndByName(const char* pszName) {
  HWND hWnd = GetPanelHandleByName(pszName);
  return hWnd ? CWnd::FromHandle(hWnd) : nullptr;
}

HWND KyPanelAPI::GetPanelHandleByName(const char* pszName) {
  KyPanel* pPanel = GetPanelByName(pszName);
  return pPanel ? pPanel->hHandle() : nullptr;
}

KyPanel* KyPanelAPI::GetPanelFromHandle(HWND hWnd) {
  KyWinClientApp* pApp = KyGetClientApp();
  return pApp && hWnd ? KyPanel::FindPanelByHandle(&pApp->m_OpenPanels, hWnd) : nullptr;
}

HWND KyPanelAPI::GetHandleFromPanel(KyPanel* pPanel) {
  pPanel = panelOrCurrent(pPanel);
  return pPanel ? pPanel->hHandle() : nullptr;
}

int KyPanelAPI::SetFocusByName(const char* pszName) {
  HWND hWnd = controlWindow(pszName);
  if (!hWnd) return 0;
  ::SetFocus(hWnd);
  return GetFocus() == hWnd ? 1 : 0;
}

void KyPanelAPI::SetStatusBarText(int iPane, const char* pszText) {
  if (KyPanel* pPanel = KyUserAPI::pGetCurrentPanel()) pPanel->SetStatusBarText(pszText ? pszText : "", iPane);
}

int KyPanelAPI::AddItemToListControl(const char* pszControlName, const char* pszText) {
  HWND hWnd = controlWindow(pszControlName);
  return hWnd ? static_cast<int>(SendMessageA(hWnd, KYM_LISTADDITEM, 0, reinterpret_cast<LPARAM>(pszText ? pszText : "")))
              : 0;
}

int KyPanelAPI::ClearListControl(const char* pszControlName) {
  HWND hWnd = controlWindow(pszControlName);
  return hWnd ? static_cast<int>(SendMessageA(hWnd, KYM_LISTCLEAR, 0, 0)) : 0;
}

void KyPanelAPI::TrapControlEvent(int iMessage, const char* pszControlName, const char* pszEventName) {
  if (KyCtrl* pControl = GetControlByName(pszControlName))
    pControl->TrapEvent(static_cast<UINT>(iMessage), pszEventName ? pszEventName : "");
}

void KyPanelAPI::LogicalEvent(KyPanel* pPanel, const char* pszEventName, CString& result) {
  result = "";
  if (pPanel && pszEventName) pPanel->DoEvent(pszEventName);
}

void KyPanelAPI::DeleteFileA(const char* pszFileName) {
  const std::string name = pszFileName ? pszFileName : "";
  // Only a file of the temporary directory itself: a name that reaches
  // elsewhere is refused before anything is touched.
  if (name.empty() || name.find_first_of("\\/:") != std::string::npos || name == "." || name == "..")
    AfxThrowFileException(CFileException::badPath, ERROR_BAD_PATHNAME, name.c_str());
  const std::string path = tempDirectory() + name;
  if (!::DeleteFileA(path.c_str())) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), path.c_str());
}

int KyPanelAPI::DeleteReportFiles() {
  KyAppContext* pContext = KyAppContext::Current();
  if (!pContext) return 0;
  const std::string temp = tempDirectory();
  int found = 0;
  std::vector<KyString>& files = pContext->GetReportFiles();
  for (const KyString& file : files) {
    const std::string path = static_cast<const char*>(file);
    if (!hasRtfExtension(path) || _stricmp(directoryOf(path).c_str(), temp.c_str()) != 0) continue;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    found = 1;
    ::DeleteFileA(path.c_str());
  }
  files.clear();
  return found;
}

// ---------------------------------------------------------- KyControlAPI

namespace {

// A value in the control's own type and storage, converted from and to a
// double; the buffer is large enough for every storage.
struct ControlValue {
  HWND hWnd = nullptr;
  char type = 0, storage = 0;
  alignas(16) unsigned char bytes[64] = {};
};

bool describe(const char* pszName, ControlValue& value) {
  value.hWnd = controlWindow(pszName);
  if (!value.hWnd) return false;
  value.type = static_cast<char>(SendMessageA(value.hWnd, KYM_EDITGETTYPE, 0, 0));
  value.storage = static_cast<char>(SendMessageA(value.hWnd, KYM_EDITGETSTORAGE, 0, 0));
  return HCtlStorageSize(value.type, value.storage) <= static_cast<int>(sizeof value.bytes);
}

double getNumber(const char* pszName, UINT uMessage) {
  ControlValue value;
  if (!describe(pszName, value)) return 0.0;
  if (!SendMessageA(value.hWnd, uMessage, 0, reinterpret_cast<LPARAM>(value.bytes))) return 0.0;
  double number = 0.0;
  return HEdValueToNumber(&number, value.bytes, value.type, value.storage) ? number : 0.0;
}

void setNumber(const char* pszName, UINT uMessage, double dValue) {
  ControlValue value;
  // A value the control's storage cannot hold is not sent at all.
  if (!describe(pszName, value) || !HEdNumberToValue(dValue, value.bytes, value.type, value.storage)) return;
  SendMessageA(value.hWnd, uMessage, 0, reinterpret_cast<LPARAM>(value.bytes));
}

}  // namespace

double KyControlAPI::GetInc(const char* pszName) { return getNumber(pszName, KYM_GETINC); }
double KyControlAPI::GetMax(const char* pszName) { return getNumber(pszName, KYM_GETMAX); }
double KyControlAPI::GetMin(const char* pszName) { return getNumber(pszName, KYM_GETMIN); }
void KyControlAPI::SetInc(const char* pszName, double dValue) { setNumber(pszName, KYM_SETINC, dValue); }
void KyControlAPI::SetMax(const char* pszName, double dValue) { setNumber(pszName, KYM_SETMAX, dValue); }
void KyControlAPI::SetMin(const char* pszName, double dValue) { setNumber(pszName, KYM_SETMIN, dValue); }

// ------------------------------------------------------------- KyGridAPI

int KyGridAPI::AutoSort(KyCharFld& grid, int iOn) {
  HWND hWnd = controlWindow(static_cast<const char*>(grid));
  return hWnd ? static_cast<int>(SendMessageA(hWnd, KYM_GRIDAUTOSORT, iOn > 0 ? 1 : iOn, 0)) : 0;
}

int KyGridAPI::Sort(KyCharFld& grid, int fRefresh, int iField1, int fDescending1, int iField2, int fDescending2,
                    int iField3, int fDescending3) {
  HWND hWnd = controlWindow(static_cast<const char*>(grid));
  if (!hWnd) return 0;
  const int fields[3] = {iField1, iField2, iField3};
  const int descending[3] = {fDescending1, fDescending2, fDescending3};
  int count = 0;
  while (count < 3 && fields[count] != -1) ++count;
  if (count == 0) return 0;
  HGSortKey keys[3] = {};
  for (int i = 0; i < count; ++i) {
    const LRESULT column = SendMessageA(hWnd, KYM_GRIDFIELDATPOS, static_cast<WPARAM>(fields[i]), 0);
    if (column < 0) return 0;  // a position without a column sorts nothing
    keys[i].column = static_cast<LONG>(column);
    // The grid reads an ascending flag: a descending key is sent as 0.
    keys[i].ascending = descending[i] == 1 ? 0 : 1;
  }
  if (!SendMessageA(hWnd, KYM_GRIDSORT, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(keys))) return 0;
  if (fRefresh) SendMessageA(hWnd, KYM_GRIDREFRESH, 0, 0);
  return 1;
}
