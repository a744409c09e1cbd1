// KyVBXAPI: the current panel's VBX controls.
#include "KyVBXAPI.h"

#include "KyAppContext.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyVBXCtrlManager.h"

KyBIVBXControl* KyVBXAPI::GetControl(const char* pszName) {
  KyAppContext* pContext = KyAppContext::Current();
  KyFunctionData* pFunction = pContext ? pContext->m_pCurrentFunction : nullptr;
  KyPanel* pPanel = pFunction ? pFunction->GetPanel() : nullptr;
  KyVBXCtrlManager* pManager = pPanel ? pPanel->GetVBXCtrlManager(FALSE) : nullptr;
  return pManager ? pManager->GetControl(pszName) : nullptr;
}

LONG KyVBXAPI::PixelsToTwips(SHORT, VBXConversion) { return -1; }

SHORT KyVBXAPI::TwipsToPixels(LONG, VBXConversion) { return -1; }
