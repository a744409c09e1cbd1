// The static API's members on the application: options, cursor, message
// log, help, splitter panes, the MDI frame, drag and drop, function names
// and locations, and conversations.
#include <afxwin.h>
#include <mscrt.h>

#include <cstring>
#include <vector>

#include "KyAppContext.h"
#include "KyAppServices.h"
#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyFunctionData.h"
#include "KyMsgWin.h"
#include "KyPanel.h"
#include "KyPanelFrames.h"
#include "KyProfile.h"
#include "KyRunOptions.h"
#include "KyStaticAPI.h"
#include "KyWinClientApp.h"

namespace {

KyRunOptions* runOptions() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->GetRunOptions() : nullptr;
}

int buttonBit(WPARAM bit) {
  const MSG* pMsg = CWnd::GetCurrentMessage();
  return pMsg && (pMsg->wParam & bit) ? 1 : 0;
}

void help(UINT nCommand) {
  if (CWinApp* pApp = AfxGetApp()) pApp->WinHelp(0, nCommand);
}

void toMDIClient(UINT uMessage, WPARAM wParam) {
  if (CWnd* pClient = KyGetMDIClient()) pClient->SendMessage(uMessage, wParam, 0);
}

KyFunctionData* functionOrCurrent(KyFunctionData* pFunction) {
  return pFunction ? pFunction : KyUserAPI::pGetCurrentFncData();
}

// The implementation name after its last '.'.
const char* bareName(const char* pszName) {
  const char* pszDot = pszName ? std::strrchr(pszName, '.') : nullptr;
  return pszDot ? pszDot + 1 : (pszName ? pszName : "");
}

KyRTDIFnc* calledFunction(const char* pszImplementationName, KyFunctionData* pFunction) {
  pFunction = functionOrCurrent(pFunction);
  if (!pFunction || !pszImplementationName) return nullptr;
  KyRTDIArray<KyRTDIFnc>* pTable = pFunction->GetFunctionTable();
  for (int i = 0; i < pTable->GetCount(); ++i) {
    KyRTDIFnc* pRecord = pTable->At(i);
    if (pRecord && _stricmp(bareName(pRecord->m_pszImplementationName), pszImplementationName) == 0) return pRecord;
  }
  return nullptr;
}

}  // namespace

// -------------------------------------------------------------- KyAppAPI

KyString KyAppAPI::GetOption(const char* pszSection, const char* pszKey, const char* pszDefault, int iOption) {
  KyRunOptions* pOptions = runOptions();
  if (iOption < 1 || !pOptions) return KyGetProfileString(pszSection, pszKey, pszDefault ? pszDefault : "");
  const char* pszValue = pOptions->pszGetOption(iOption);
  return pszValue && *pszValue ? pszValue : (pszDefault ? pszDefault : "");
}

int KyAppAPI::GetOption(const char* pszSection, const char* pszKey, int fDefault, int iOption) {
  KyRunOptions* pOptions = runOptions();
  if (iOption < 1 || !pOptions) return KyGetProfileBool(pszSection, pszKey, fDefault);
  return pOptions->fGetOption(iOption) ? 1 : 0;
}

void KyAppAPI::SetOption(const char* pszSection, const char* pszKey, const char* pszText, int iOption) {
  if (KyRunOptions* pOptions = runOptions(); pOptions && iOption > 0) pOptions->SetStrOption(iOption, pszText);
  KyWriteProfileString(pszSection, pszKey, pszText ? pszText : "");
}

void KyAppAPI::SetOption(const char* pszSection, const char* pszKey, int fFlag, int iOption) {
  if (KyRunOptions* pOptions = runOptions(); pOptions && iOption > 0) pOptions->SetBoolOption(iOption, fFlag);
  KyWriteProfileBool(pszSection, pszKey, fFlag);
}

int KyAppAPI::SetAutoCursor(int fOn) {
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp) return 0;
  const int fPrevious = pApp->m_fAutoWaitCursor ? 1 : 0;
  pApp->m_fAutoWaitCursor = fOn ? TRUE : FALSE;
  if (fPrevious && !fOn) pApp->BusyOff();
  return fPrevious;
}

void KyAppAPI::ShowLogMessageWindow(int iShowCommand) {
  KyWinClientApp* pApp = KyGetClientApp();
  if (KyMsgWin* pWin = pApp ? pApp->OpenLogWindow() : nullptr) pWin->ShowWindow(iShowCommand);
}

const MSG* KyAppAPI::GetCurrentMessage() { return CWnd::GetCurrentMessage(); }
CWinApp* KyAppAPI::GetCWinApp() { return AfxGetApp(); }
int KyAppAPI::IsLeftButtonDown() { return buttonBit(MK_LBUTTON); }
int KyAppAPI::IsMiddleButtonDown() { return buttonBit(MK_MBUTTON); }
int KyAppAPI::IsRightButtonDown() { return buttonBit(MK_RBUTTON); }

// ------------------------------------------------------------- KyHelpAPI

void KyHelpAPI::HelpOnHelp() { help(HELP_HELPONHELP); }
void KyHelpAPI::Index() { help(HELP_FINDER); }
void KyHelpAPI::Search() { help(HELP_KEY); }

void KyHelpAPI::Panel() {
  if (KyPanel* pPanel = KyUserAPI::pGetCurrentPanel()) pPanel->KyPanelHelp();
}

// ---------------------------------------------------------- KySplitterAPI

int KySplitterAPI::ResizePane(int iPane, int iSize, KyPanel* pPanel) {
  if (!pPanel) pPanel = KyUserAPI::pGetCurrentPanel();
  return pPanel ? pPanel->ResizePane(iPane, iSize) : 0;
}

int KySplitterAPI::ShowAllPanes(KyPanel* pPanel) {
  if (!pPanel) pPanel = KyUserAPI::pGetCurrentPanel();
  return pPanel ? pPanel->ShowAllPanes() : 0;
}

// -------------------------------------------------------------- KyWinAPI

void KyWinAPI::MDICascade() { toMDIClient(WM_MDICASCADE, 0); }
void KyWinAPI::MDIIconArrange() { toMDIClient(WM_MDIICONARRANGE, 0); }
void KyWinAPI::MDITile(int iTileFlag) { toMDIClient(WM_MDITILE, static_cast<WPARAM>(iTileFlag)); }

void KyWinAPI::MDICloseAll() {
  if (auto* pFrame = dynamic_cast<KyMDIWin*>(KyGetMDIFrame())) pFrame->MDICloseAll();
}

// --------------------------------------------------------- KyDragDropAPI

namespace {
template <class Action>
void withApp(Action action) {
  if (KyWinClientApp* pApp = KyGetClientApp()) action(*pApp);
}
}  // namespace

void KyDragDropAPI::AcceptDrag() { withApp([](KyWinClientApp& a) { a.m_fAcceptDrag = TRUE; }); }
void KyDragDropAPI::RejectDrag() { withApp([](KyWinClientApp& a) { a.m_fAcceptDrag = FALSE; }); }
void KyDragDropAPI::AcceptDrop() { withApp([](KyWinClientApp& a) { a.m_fAcceptDrop = TRUE; }); }
void KyDragDropAPI::RejectDrop() { withApp([](KyWinClientApp& a) { a.m_fAcceptDrop = FALSE; }); }

unsigned long KyDragDropAPI::GetDropEffect() {
  KyWinClientApp* pApp = KyGetClientApp();
  return pApp ? pApp->m_dwArrivingDropEffect : 0;
}

void KyDragDropAPI::SetDragEffect(unsigned long ulEffect) {
  withApp([ulEffect](KyWinClientApp& a) { a.m_dwDragEffect = static_cast<DWORD>(ulEffect); });
}
void KyDragDropAPI::SetDropEffect(unsigned long ulEffect) {
  withApp([ulEffect](KyWinClientApp& a) { a.m_dwDropEffect = static_cast<DWORD>(ulEffect); });
}
void KyDragDropAPI::UseDefaultCursors(int fUse) {
  withApp([fUse](KyWinClientApp& a) { a.m_fUseDefaultCursors = fUse ? TRUE : FALSE; });
}
void KyDragDropAPI::GetIncomingData(CString& data) {
  KyWinClientApp* pApp = KyGetClientApp();
  data = pApp ? static_cast<const char*>(pApp->m_strDropDataIn) : "";
}
void KyDragDropAPI::SetOutgoingData(const char* pszData) {
  withApp([pszData](KyWinClientApp& a) { a.m_strDragDataOut = pszData ? pszData : ""; });
}

// --------------------------------------------------------- KyFunctionAPI

void KyFunctionAPI::GetFileName(CString& name, KyFunctionData* pFunction) {
  pFunction = functionOrCurrent(pFunction);
  name = pFunction ? static_cast<const char*>(pFunction->GetPanelLibraryName()) : "";
}

void KyFunctionAPI::GetImplName(CString& name, KyFunctionData* pFunction) {
  pFunction = functionOrCurrent(pFunction);
  name = pFunction ? static_cast<const char*>(pFunction->GetImplementationName()) : "";
}

void KyFunctionAPI::GetModelName(CString& name, KyFunctionData* pFunction) {
  pFunction = functionOrCurrent(pFunction);
  name = pFunction ? static_cast<const char*>(pFunction->GetFunctionName()) : "";
}

KyPanel* KyFunctionAPI::GetPanelFromFunctionData(KyFunctionData* pFunction) {
  return pFunction ? pFunction->GetPanel() : nullptr;
}

KyFunctionData* KyFunctionAPI::GetFunctionDataFromPanel(KyPanel* pPanel) {
  return pPanel ? pPanel->GetFunctionData() : nullptr;
}

KyString KyFunctionAPI::GetFunctionLocation(const char* pszImplementationName, KyFunctionData* pFunction) {
  KyRTDIFnc* pRecord = calledFunction(pszImplementationName, pFunction);
  return pRecord ? pRecord->m_LocationName : KyString("");
}

void KyFunctionAPI::SetFunctionLocation(const char* pszImplementationName, const char* pszLocation,
                                        KyFunctionData* pFunction) {
  if (KyRTDIFnc* pRecord = calledFunction(pszImplementationName, pFunction))
    pRecord->m_LocationName = pszLocation ? pszLocation : "";
}

void KyFunctionAPI::SetLocation(int fRefresh, KyFunctionData* pFunction) {
  KyRTDI::RefreshLocations(functionOrCurrent(pFunction), fRefresh);
}

// ----------------------------------------------------- KyConversationAPI

int KyConversationAPI::Connect(CString& location, char cSystemType) {
  return KyConversation::GetConversation(location, cSystemType, 1) ? 1 : 0;
}

void KyConversationAPI::Disconnect(CString& location, char cSystemType) {
  KyConversation* pConversation = KyConversation::GetConversation(location, cSystemType, 0);
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  if (!pConversation || !pCallMgr) return;
  pConversation->DeallocateIfAllocated();
  // Its own name: an empty location found the platform's default.
  pCallMgr->GetConversationList()->Pop(KyString(pConversation->GetLocation()));
}
