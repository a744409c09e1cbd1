#include "KyResourceScope.h"

#include <afx.h>

#include "KyAppContext.h"
#include "KyDLL.h"
#include "KyFunctionData.h"
#include "KyPanel.h"

namespace {

HINSTANCE currentFunctionModule() {
  KyAppContext* pContext = KyAppContext::Current();
  KyFunctionData* pFunction = pContext ? pContext->m_pCurrentFunction : nullptr;
  KyDLL* pLibrary = pFunction ? pFunction->GetPanelLibrary() : nullptr;
  return pLibrary ? pLibrary->GetModule() : nullptr;
}

}  // namespace

KyResourceScope::KyResourceScope(KyPanel* pPanel) : m_hPrevious(AfxGetResourceHandle()) {
  m_hModule = pPanel ? pPanel->hGetRESInstance() : currentFunctionModule();
  if (m_hModule) AfxSetResourceHandle(m_hModule);
}

KyResourceScope::~KyResourceScope() {
  if (m_hModule) AfxSetResourceHandle(m_hPrevious);
}
