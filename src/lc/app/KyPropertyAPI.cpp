// KyPropertyAPI: the static face of the thread's property atoms.
#include "KyPropertyAPI.h"

#include "KyAppContext.h"
#include "KyAtomInterface.h"
#include "KyCharFld.h"

namespace {

KyFunctionData* currentFunction() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->m_pCurrentFunction : nullptr;
}

}  // namespace

int KyPropertyAPI::GetValue(CString& value, const char* pszProperty, int iIndex1, int iIndex2) {
  value.Empty();
  KyAtomInterface* pAtoms = KyAtomInterface::Current();
  if (!pAtoms) return 0;
  KyCharFld text;
  const int result = pAtoms->GetValue(text, pszProperty, iIndex1, iIndex2, currentFunction());
  value = text.GetString();
  return result;
}

int KyPropertyAPI::GetValue(KyComFld& field, const char* pszProperty, int iIndex1, int iIndex2) {
  KyAtomInterface* pAtoms = KyAtomInterface::Current();
  return pAtoms ? pAtoms->GetComValue(field, pszProperty, iIndex1, iIndex2, currentFunction()) : 0;
}

int KyPropertyAPI::SetValue(const char* pszValue, const char* pszProperty, int iIndex1, int iIndex2) {
  KyAtomInterface* pAtoms = KyAtomInterface::Current();
  return pAtoms ? pAtoms->SetValue(pszValue, pszProperty, iIndex1, iIndex2, currentFunction()) : 0;
}

int KyPropertyAPI::SetValue(KyComFld& field, const char* pszProperty, int iIndex1, int iIndex2) {
  KyAtomInterface* pAtoms = KyAtomInterface::Current();
  return pAtoms ? pAtoms->SetComValue(field, pszProperty, iIndex1, iIndex2) : 0;
}
