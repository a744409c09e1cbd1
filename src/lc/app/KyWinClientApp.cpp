#include "KyKeyHook.h"
#include "KyWinClientApp.h"

#include <mscrt.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "KyAD_Debug.h"
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyFunctionData.h"
#include "KyMessage.h"
#include "KyMsg.h"
#include "KyMsgWin.h"
#include "KyPanel.h"
#include "KySplash.h"
#include "ky721ZuntExt.h"

namespace {

void restoreIfMinimised(KyMsgWin* pWin) {
  if (pWin->IsWindowVisible() && pWin->IsIconic()) pWin->ShowWindow(SW_RESTORE);
}

}  // namespace

KyMsgWin* KyWinClientApp::OpenLogWindow() {
  if (!m_pMsgWin) {
    auto* pWin = new KyMsgWin;
    if (!pWin->Create()) {
      delete pWin;
      return nullptr;
    }
    m_pMsgWin = pWin;
  }
  return m_pMsgWin;
}

void KyWinClientApp::LogMessage(const KyMsg& msg) {
  if (KyMsgWin* pWin = OpenLogWindow()) {
    pWin->AddEntry(msg);
    restoreIfMinimised(pWin);
  }
}

void KyWinClientApp::LogMessage(const char* pszText) {
  if (KyMsgWin* pWin = OpenLogWindow()) {
    pWin->AddLine(pszText);
    restoreIfMinimised(pWin);
  }
}

// The system's shared cursors: loaded once, every event uses them.
void KyWinClientApp::BusyOn() {
  if (!m_fBusyCursor) return;
  static const HCURSOR hWait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(hWait);
  m_fBusyCursorShown = TRUE;
}

void KyWinClientApp::BusyOff() {
  if (!m_fBusyCursor || !m_fBusyCursorShown) return;
  static const HCURSOR hArrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(hArrow);
  m_fBusyCursorShown = FALSE;
}

void KyWinClientApp::DisableMainWnd() {
  if (KyAppContext* pContext = KyAppContext::Current()) ++pContext->m_iBusyCount;
  if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->EnableWindow(FALSE);
}

void KyWinClientApp::EnableMainWnd() {
  KyAppContext* pContext = KyAppContext::Current();
  int count = pContext ? --pContext->m_iBusyCount : 0;
  if (count <= 0 && m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->EnableWindow(TRUE);
}

// Keeps a copy: the caller's text may be a temporary or a cached string.
void KyWinClientApp::SetAppName(const char* pszName) {
  std::string name;
  if (pszName) {
    name = pszName;
  } else {
    KyPanel* pMain = m_pMainWnd ? KyPanel::FindPanelByHandle(&m_OpenPanels, m_pMainWnd->m_hWnd) : nullptr;
    if (pMain && pMain->GetFunctionData()) name = pMain->GetFunctionData()->pszGetName();
    else name = pszGetResourceString(0xE000);
  }
  SetAppNameText(name.c_str());
}

void KyWinClientApp::SetActivePanel(KyPanel* pPanel) {
  m_pActivePanel = pPanel;
  if (pPanel && pPanel->GetFunctionData()) SetAppName(pPanel->GetFunctionData()->pszGetName());
}

CWnd* KyWinClientApp::GetOwnerWindow() {
  if (m_pActivePanel && m_pActivePanel->hHandle()) return CWnd::FromHandle(m_pActivePanel->hHandle());
  if (m_pOwnerWindow) return m_pOwnerWindow;
  return m_pMainWnd;
}

// The registry's answers are not needed: a panel works the same whether or
// not other programs can reach it.
void KyWinClientApp::AddPanel(KyPanel* pPanel) {
  if (!pPanel) return;
  m_OpenPanels.AddTail(pPanel);
  if (KyFunctionData* pFunction = pPanel->GetFunctionData())
    ZEARegisterZuntPanel(pFunction->pszGetName(), pPanel->hHandle());
}

// Only a panel of the list was registered. The registry frees a slot by
// name, another of this thread when no window of the name has died: a
// panel that never joined (its window was not made) or leaves a second time
// would take the registration of an open panel of the same function.
void KyWinClientApp::RemovePanel(KyPanel* pPanel) {
  if (!pPanel) return;
  POSITION found = m_OpenPanels.Find(pPanel);
  if (!found) return;
  for (POSITION pos = m_OpenPanels.GetHeadPosition(); pos;)
    static_cast<KyPanel*>(m_OpenPanels.GetNext(pos))->ForgetParent(pPanel);
  m_OpenPanels.RemoveAt(found);
  // Registered under the display name, so that is the name to leave.
  if (KyFunctionData* pFunction = pPanel->GetFunctionData()) ZEADeregisterZuntPanel(pFunction->pszGetName());
}

KyPanel* KyWinClientApp::FindPanel(const char* pszName) {
  if (!pszName) return nullptr;
  if (_stricmp(pszName, "*Current") == 0) {
    KyAppContext* pContext = KyAppContext::Current();
    KyFunctionData* pFunction = pContext ? pContext->m_pCurrentFunction : nullptr;
    return pFunction ? pFunction->GetPanel() : nullptr;
  }
  if (_stricmp(pszName, "*Active") == 0) return m_pActivePanel;
  if (_stricmp(pszName, "*Main") == 0)
    return m_pMainWnd ? KyPanel::FindPanelByHandle(&m_OpenPanels, m_pMainWnd->m_hWnd) : nullptr;
  return KyPanel::FindPanelByName(&m_OpenPanels, pszName);
}

int KyWinClientApp::CloseAllPanels() {
  // A copy: a panel's close request may change the list.
  std::vector<KyPanel*> panels;
  for (POSITION pos = m_OpenPanels.GetHeadPosition(); pos;)
    panels.push_back(static_cast<KyPanel*>(m_OpenPanels.GetNext(pos)));
  for (KyPanel* pPanel : panels) {
    if (!m_OpenPanels.Find(pPanel) || pPanel->OnClose()) continue;
    for (POSITION pos = m_OpenPanels.GetHeadPosition(); pos;)
      static_cast<KyPanel*>(m_OpenPanels.GetNext(pos))->ClearReturn();
    return 0;
  }
  return 1;
}

void KyWinClientApp::DoIdle() {
  KyAppContext* pContext = KyAppContext::Current();
  if (KyCallMgr* pCallMgr = pContext ? pContext->GetCallMgr(FALSE) : nullptr) pCallMgr->CleanUp(FALSE);
  RemoveSplash();
}

int KyWinClientApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
  BOOL fBusyShown = m_fBusyCursorShown;
  BusyOff();
  // The box must not wait behind a topmost splash for its display time.
  EndSplash();
  std::string name = GetAppNameText();
  SetAppName(KyMessageBoxTitle());
  int answer = KyApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
  SetAppName(name.c_str());
  if (fBusyShown) BusyOn();
  return answer;
}

// ---------------------------------------------------------- the splash

namespace {

// Input that ends the splash: a mouse button or key going down, in the
// client area or on the frame, and a modal loop going idle.
constexpr UINT kSplashEndingMessages[] = {
    WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_KEYDOWN,     WM_SYSKEYDOWN,
    WM_ENTERIDLE,     WM_LBUTTONDOWN,   WM_RBUTTONDOWN,   WM_MBUTTONDOWN,
};

bool endsSplash(UINT message) {
  return std::find(std::begin(kSplashEndingMessages), std::end(kSplashEndingMessages), message) !=
         std::end(kSplashEndingMessages);
}

}  // namespace

KyWinClientApp::~KyWinClientApp() { delete m_pSplash; }  // the hook and IME go with their owners

void KyWinClientApp::RemoveSplash() {
  if (!m_fSplashShown || !m_pSplash) return;
  m_fSplashShown = m_pSplash->RemoveSplash();
  if (!m_fSplashShown) {
    delete m_pSplash;
    m_pSplash = nullptr;
  }
}

void KyWinClientApp::EndSplash() {
  if (m_fSplashShown && m_pSplash) m_pSplash->EndDisplayTime();
  RemoveSplash();
}

BOOL KyWinClientApp::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg) return FALSE;
  if (m_fSplashShown && endsSplash(pMsg->message)) RemoveSplash();
  // An exception out of a window's translation must not end the message
  // loop: the message is then dispatched as untranslated.
  if (m_pDebug && Dispatch(*pMsg)) return TRUE;  // the debugger took it
  try {
    return CWinApp::PreTranslateMessage(pMsg);
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return FALSE;
}

BOOL KyWinClientApp::OnIdle(LONG lCount) {
  RemoveSplash();
  return CWinApp::OnIdle(lCount);
}
