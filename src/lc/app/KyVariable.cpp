// The variable classes.
#include "KyVariable.h"

void KyParamVariable::Dereference(int fDelete) {
  if (m_iReferences >= 1) --m_iReferences;
  if (fDelete && m_iReferences == 0) delete this;
}

int KyParamVariable::CheckParams(KyParamVariable* pIn, int iInCount, KyParamVariable* pOut, int iOutCount) {
  return pIn && pOut && pIn->GetFieldCount() == iInCount && pOut->GetFieldCount() == iOutCount;
}
