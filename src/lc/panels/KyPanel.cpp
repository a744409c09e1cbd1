#include "KyPanel.h"

#include "KyActiveXScripter.h"

#include <afxcoll.h>
#include <afxwin.h>

#include <mscrt.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <utility>

#include "KyApp.h"
#include "KyAppServices.h"
#include "KyAppContext.h"
#include "KyCtrl.h"
#include "KyDLL.h"
#include "KyFunctionData.h"
#include "KyRTType.h"
#include "KyVBXCtrlManager.h"
#include "KyWinClientApp.h"
#include "KyWindowPlacement.h"
#include "KyPanelFrames.h"
#include "KyDragDrop.h"
#include "KySite.h"
#include "KySplitter.h"
#include "KyToolBar.h"
#include "KyZOrderMngr.h"

namespace {

constexpr UINT kIdleTextId = 57345;
constexpr int kCloseRequest = 6;
constexpr UINT_PTR kPanelTimerId = 0;

const auto inside = &KyPanel::WindowHolds;

}  // namespace

KyPanel::KyPanel(KyFunctionData* pFunctionData) : m_pFunctionData(pFunctionData), m_pClientApp(KyGetClientApp()) {
  KyDLL* pLibrary = pFunctionData ? pFunctionData->GetPanelLibrary() : nullptr;
  m_hResInstance = pLibrary ? pLibrary->GetModule() : nullptr;
  m_pParentPanel = pFunctionData ? pFunctionData->GetParentPanel() : nullptr;
  SetContextMenus(-1, -1);
}

KyPanel::~KyPanel() {
  m_pScripter.reset();
  LeaveSite();
  *m_pAlive = false;
  forgetRetry();
  // Ended during its own event: the batch is not left open.
  if (m_hEventBatch) EndDeferWindowPos(std::exchange(m_hEventBatch, nullptr));
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp && pApp->m_pActivePanel == this) {
    KyPanel* pNext = m_pParentPanel && m_pParentPanel->IsShown() ? m_pParentPanel : nullptr;
    pApp->SetActivePanel(pNext);
  }
  if (m_uTimer && IsWindow(m_hWnd)) KillTimer(m_hWnd, kPanelTimerId);
  m_Events.clear();
  if (m_pFunctionData) m_pFunctionData->DetachPanel(this);
  if (pApp) pApp->RemovePanel(this);
  if (m_hPopups) DestroyMenu(m_hPopups);
  m_pZOrder.reset();
  // An MDI frame may show this panel's button sets.
  if (auto* pMDIPart = dynamic_cast<KyFramePart*>(KyGetMDIFrame())) pMDIPart->ForgetButtonSets(m_ButtonSets);
  m_pToolTips.reset();
  CloseSplitterHost();
  m_pDragDrop.reset();
  m_pFocusCandidate = nullptr;
  m_pEventSource = nullptr;
  m_GridList.clear();
  m_GridEditors.clear();
  m_Controls.clear();
  m_pVBXManager.reset();
  destroyFrame();
}

KyPanel* KyPanel::FindPanelByHandle(CPtrList* pPanelList, HWND hWnd) {
  if (!pPanelList || !hWnd) return nullptr;
  for (POSITION pos = pPanelList->GetHeadPosition(); pos;) {
    auto* pPanel = static_cast<KyPanel*>(pPanelList->GetNext(pos));
    if (pPanel->m_hWnd == hWnd) return pPanel;
  }
  return nullptr;
}

KyPanel* KyPanel::FindPanelByName(CPtrList* pPanelList, const char* pszName) {
  if (!pPanelList || !pszName) return nullptr;
  for (POSITION pos = pPanelList->GetHeadPosition(); pos;) {
    auto* pPanel = static_cast<KyPanel*>(pPanelList->GetNext(pos));
    KyFunctionData* pFunction = pPanel->m_pFunctionData;
    if (pFunction && _stricmp(pFunction->GetFunctionName(), pszName) == 0) return pPanel;
  }
  return nullptr;
}

void KyPanel::PanelReturn() {
  m_fStarting = 0;
  m_fReturning = 1;
  // While a close request is decided the window closes on the request's own
  // answer; a posted WM_CLOSE would ask again.
  if (!m_fNoClose && m_hWnd) PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
  if (m_pParentPanel) m_pParentPanel->RestoreFocus();
}

void KyPanel::ClearReturn() {
  m_fReturning = 0;
  if (m_pFunctionData) m_pFunctionData->ClearReturned();
}

void KyPanel::ForgetParent(KyPanel* pGone) {
  if (m_pParentPanel == pGone) m_pParentPanel = nullptr;
}

void KyPanel::RestoreFocus() {
  if (!IsWindow(m_hWnd)) return;
  HWND hFocus = GetFocus();
  if (!m_hFocus || !IsWindow(m_hFocus)) {
    m_hFocus = nullptr;
    if (inside(m_hWnd, hFocus)) return;
    // The controls are the view's children (the frame's are its bars).
    const HWND hControls = m_hView ? m_hView : m_hWnd;
    for (HWND hChild = GetWindow(hControls, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
      if (IsWindowVisible(hChild) && IsWindowEnabled(hChild) && (GetWindowLongA(hChild, GWL_STYLE) & WS_TABSTOP)) {
        SetFocus(hChild);
        return;
      }
    }
    return;
  }
  if (inside(hFocus, m_hFocus) || m_iKind == 2) SetFocus(m_hFocus);
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->SetActivePanel(this);
}

int KyPanel::OnClose() {
  if (!m_fReturning) {
    m_fNoClose = 1;
    if (!TriggerEvent(-1, kCloseRequest)) m_fReturning = 1;
    m_fNoClose = 0;
    // The generated Close event decides, normally by returning the function.
    if (!m_fReturning) return 0;
  }
  CloseSiteChildren();
  if (m_pFunctionData) m_pFunctionData->Hook();
  if (m_fRestore && m_hWnd && m_pFunctionData)
    KySaveWindowPos(m_hWnd, kPanelPlacementSuffix, m_pFunctionData->GetImplementationName(), this);
  // Every control keeps its settings, whether or not the panel keeps its
  // placement (only a grid has any: its column map).
  const char* pszKey = m_pFunctionData ? m_pFunctionData->GetImplementationName().GetString() : "";
  for (const auto& pControl : m_Controls) pControl->SaveSettings(kPanelPlacementSuffix, pszKey);
  if (m_uTimer && IsWindow(m_hWnd)) KillTimer(m_hWnd, kPanelTimerId);
  m_uTimer = 0;
  if (m_pScripter) m_pScripter->Stop();
  return 1;
}

void KyPanel::SetStatusBarText(const char* pszText, int iPane) {
  if (iPane < 0 || iPane >= static_cast<int>(m_StatusTexts.size())) iPane = 0;
  KyString text(pszText ? pszText : "");
  text.TrimLeft();
  text.TrimRight();
  if (iPane == 0 && text.IsEmpty()) {
    KyApp* pApp = KyApp::GetApp();
    text = pApp ? pApp->pszGetResourceString(kIdleTextId) : "";
  }
  m_StatusTexts[iPane] = text;
  RefreshStatusBar();
}

const char* KyPanel::GetStatusBarText(int iPane) const {
  if (iPane < 0 || iPane >= static_cast<int>(m_StatusTexts.size())) iPane = 0;
  return m_StatusTexts[iPane];
}

KyVBXCtrlManager* KyPanel::GetVBXCtrlManager(BOOL fCreate) {
  if (!m_pVBXManager && fCreate && m_hView) m_pVBXManager = std::make_unique<KyVBXCtrlManager>(m_hView);
  return m_pVBXManager.get();
}

int KyPanel::OnVBXEvent(UINT nId, int iEventIndex) {
  const char* pszEvent = m_pVBXManager ? m_pVBXManager->MapEvent(nId, iEventIndex) : nullptr;
  return pszEvent ? DoEvent(pszEvent) : 0;
}

void KyPanel::AddControl(KyCtrl* pControl) {
  if (!pControl) return;
  m_Controls.emplace_back(pControl);
  if (m_pDragDrop) m_pDragDrop->AddControl(pControl);
}

KyCtrl* KyPanel::pGetCtrl(int iId) const {
  for (const auto& pControl : m_Controls)
    if (pControl->GetId() == iId) return pControl.get();
  for (const auto& pEditor : m_GridEditors)
    if (pEditor->GetId() == iId) return pEditor.get();
  return nullptr;
}

namespace {

// The name without every character that is not a letter or digit, and
// without the digits before its first letter.
std::string cleanedName(const char* pszName) {
  std::string cleaned;
  for (const char* p = pszName; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (!std::isalnum(c)) continue;
    if (cleaned.empty() && std::isdigit(c)) continue;
    cleaned += static_cast<char>(c);
  }
  return cleaned;
}

}  // namespace

KyCtrl* KyPanel::FindControlByName(const char* pszName) {
  if (!pszName) return nullptr;
  if (_stricmp(pszName, "*Event Source") == 0) return m_pEventSource;
  if (_stricmp(pszName, "*Focus") == 0) {
    for (const auto& pControl : m_Controls) {
      if (!pControl->HasFocus()) continue;
      return pControl->HasInnerFocusControl() ? pControl->GetInnerFocusControl() : pControl.get();
    }
    return nullptr;
  }
  for (const auto& pControl : m_Controls)
    if (_stricmp(pControl->GetName(), pszName) == 0) return pControl.get();
  for (KyCtrl* pControl : m_GridList)
    if (_stricmp(pControl->GetName(), pszName) == 0) return pControl;
  const std::string cleaned = cleanedName(pszName);
  const std::string withPrefix = cleanedName(("FLD" + std::string(pszName)).c_str());
  for (const auto& pControl : m_Controls) {
    const char* pszControl = pControl->GetName();
    if (_stricmp(pszControl, cleaned.c_str()) == 0 || _stricmp(pszControl, withPrefix.c_str()) == 0)
      return pControl.get();
  }
  for (KyCtrl* pControl : m_GridList)
    if (_stricmp(pControl->GetName(), cleaned.c_str()) == 0) return pControl;
  return nullptr;
}

int KyPanel::SetSite(const char* pszName, int fReplace) {
  // Sites are controls of kind 17; the panel has none of its own making.
  for (const auto& pControl : m_Controls) {
    if (pControl->GetKind() == kSiteKind && pszName && _stricmp(pControl->GetName(), pszName) == 0) {
      m_pCurrentSite = pControl.get();
      m_fReplaceSite = fReplace;
      if (auto* pSite = dynamic_cast<KySite*>(pControl.get())) pSite->SetReplace(fReplace);
      return 1;
    }
  }
  return 0;
}
