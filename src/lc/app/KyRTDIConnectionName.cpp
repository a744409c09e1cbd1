// KyRTDISetConnectionName.
#include "KyRTDIConnectionName.h"

#include <cstring>

BOOL KyRTDISetConnectionName(KyRTDIArray<KyRTDIFnc>* pFunctions, const char* pszName, const char* pszConnection) {
  if (!pFunctions || !pszName) return FALSE;
  for (int i = 0; i < pFunctions->GetCount(); ++i) {
    KyRTDIFnc* function = pFunctions->At(i);
    if (!function || !function->m_pszImplementationName) continue;
    const char* dot = std::strrchr(function->m_pszImplementationName, '.');
    if (KyString(dot ? dot + 1 : function->m_pszImplementationName).CompareNoCase(pszName) == 0) {
      function->m_ConnectionName = pszConnection ? pszConnection : "";
      return TRUE;
    }
  }
  return FALSE;
}
