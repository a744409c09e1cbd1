// KyFncParameter: the call bundle.
#include "KyFncParameter.h"

#include "KyFunctionData.h"

KyFncParameter::KyFncParameter(KyCall* pLocation) : m_fStartedDirectly(1), m_pLocation(pLocation) {
  m_Status = " ";
}

KyFncParameter::KyFncParameter(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                               KyCall* pLocation)
    : m_pCaller(pCaller), m_pIn(pIn), m_pOut(pOut) {
  m_pLocation = pLocation ? pLocation : (pCaller ? pCaller->GetLocation() : nullptr);
  if (pCaller) {
    m_pParentPanel = pCaller->GetPanel();
    m_pReturnedStatus = &pCaller->GetLocals()->m_ReturnedStatus;
    m_pReturnedStatus->Empty();
  }
  m_Status = " ";
}

KyFncParameter::~KyFncParameter() {
  if (m_fStartedDirectly) {
    if (m_pIn) m_pIn->Dereference(1);
    if (m_pOut && m_pOut != m_pIn) m_pOut->Dereference(1);
  }
}
