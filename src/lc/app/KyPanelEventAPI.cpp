// The static API's members on logical events, notification, trapped panel
// messages and splitter panes of panels.
#include <afxwin.h>
#include <mscrt.h>

#include <vector>

#include "KyFunctionData.h"
#include "KyLogEvent.h"
#include "KyPanel.h"
#include "KyStaticAPI.h"
#include "KyWinClientApp.h"

namespace {

constexpr char kNotFound[] = "*Not Found";
constexpr char kDeactivated[] = "*Deactivated";

KyPanel* panelOrCurrent(KyPanel* pPanel) { return pPanel ? pPanel : KyUserAPI::pGetCurrentPanel(); }

bool isReservedPanelName(const char* pszName) {
  return _stricmp(pszName, "*Current") == 0 || _stricmp(pszName, "*Active") == 0 || _stricmp(pszName, "*Main") == 0;
}

// Whether the panel is still one of the application's open panels (an
// event of an earlier panel may have ended it).
bool isOpen(KyWinClientApp& app, KyPanel* pPanel) {
  for (POSITION pos = app.m_OpenPanels.GetHeadPosition(); pos;)
    if (app.m_OpenPanels.GetNext(pos) == pPanel) return true;
  return false;
}

void notifyPanel(KyPanel* pPanel, CString& result) {
  if (!pPanel) {
    result = kNotFound;
    return;
  }
  result = "";
  pPanel->Notify();
}

}  // namespace

void KyPanelAPI::TrapPanelEvent(int iMessage, const char* pszEventName) {
  if (KyPanel* pPanel = KyUserAPI::pGetCurrentPanel())
    pPanel->TrapEvent(static_cast<UINT>(iMessage), pszEventName ? pszEventName : "");
}

void KyPanelAPI::ActivateLogicalEvent(KyPanel* pPanel, const char* pszEventName, int fOn) {
  pPanel = panelOrCurrent(pPanel);
  if (pPanel && pszEventName) pPanel->ActivateLogicalEvent(pszEventName, fOn);
}

// Every open panel of a function of that name runs the event when it has
// it switched on. The result says whether any ran: a panel that has it
// switched off does not hide one that ran, before or after it.
void KyPanelAPI::LogicalEvent(const char* pszPanelName, const char* pszEventName, CString& result) {
  result = kNotFound;
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp || !pszPanelName || !pszEventName) return;
  if (isReservedPanelName(pszPanelName)) {
    if (KyPanel* pPanel = pApp->FindPanel(pszPanelName)) {
      result = "";
      pPanel->DoEvent(pszEventName);
    }
    return;
  }
  std::vector<KyPanel*> panels;
  for (POSITION pos = pApp->m_OpenPanels.GetHeadPosition(); pos;)
    panels.push_back(static_cast<KyPanel*>(pApp->m_OpenPanels.GetNext(pos)));
  int iRan = 0;
  bool fDeactivated = false;
  for (KyPanel* pPanel : panels) {
    if (!isOpen(*pApp, pPanel)) continue;
    KyFunctionData* pFunction = pPanel->GetFunctionData();
    if (!pFunction || pFunction->GetFunctionName().IsEmpty() ||
        _stricmp(pFunction->GetFunctionName(), pszPanelName) != 0)
      continue;
    if (pPanel->IsLogicalEventActive(pszEventName)) {
      pPanel->DoEvent(pszEventName);
      ++iRan;
    } else {
      fDeactivated = true;
    }
  }
  result = iRan > 0 ? "" : fDeactivated ? kDeactivated : kNotFound;
}

KyString KyPanelAPI::GetCurrentLogicalEvent(KyPanel* pPanel) {
  pPanel = panelOrCurrent(pPanel);
  const KyLogEvent* pEvent = pPanel ? pPanel->GetCurrentLogicalEvent() : nullptr;
  return pEvent ? KyString(static_cast<const char*>(pEvent->m_EventName)) : KyString("");
}

void KyPanelAPI::Notify(KyPanel* pPanel, CString& result) { notifyPanel(panelOrCurrent(pPanel), result); }

void KyPanelAPI::Notify(const char* pszPanelName, CString& result) {
  KyWinClientApp* pApp = KyGetClientApp();
  notifyPanel(pApp && pszPanelName ? pApp->FindPanel(pszPanelName) : nullptr, result);
}
