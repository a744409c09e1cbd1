#include "KyPanel.h"

#include "KyDLL.h"
#include "KyFunctionData.h"

KyPanel::KyPanel(KyFunctionData* pFunctionData) : m_pFunctionData(pFunctionData) {
  KyDLL* pLibrary = pFunctionData ? pFunctionData->GetPanelLibrary() : nullptr;
  m_hResInstance = pLibrary ? pLibrary->GetModule() : nullptr;
}

KyPanel::~KyPanel() = default;
