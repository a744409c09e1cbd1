// KyRTDI: the registrars of the design information.
#include "KyRTDI.h"

#include "KyCallMgr.h"
#include "KyFunctionData.h"
#include "KyVariable.h"

namespace {

// The display length of a number by its PC storage type.
WORD numberDisplayLength(char cPCType) {
  switch (cPCType) {
    case 'i': return 7;
    case 'l': return 12;
    case 's': return 8;
    case 'f': return 30;
    case 'L': return 21;
    case 'b': return 5;
    case 'd': return 18;
    case 'e': return 20;
    default: return 0;
  }
}

}  // namespace

char KyRTDI::SystemFromLanguage(char cLanguage) {
  switch (cLanguage) {
    case 'N': case 'D': case 'I': return 'N';
    case 'O': case 'W': return 'W';
    case 'H': return 'U';
    case 'J': return 'J';
    case '#': return '#';
    case 'Q': case 'R': case 'S': case 'V': return 'A';
    default: return '?';
  }
}

void KyRTDIFld::ComputeDisplayLength() {
  switch (m_cType) {
    case 'b': m_wDisplayLength = m_wLength; break;
    case 'c': m_wDisplayLength = static_cast<WORD>(m_wLength + 1); break;
    case 'd': m_wDisplayLength = 11; break;
    case 't': m_wDisplayLength = 9; break;
    case 'z': m_wDisplayLength = 22; break;
    case 's': m_wDisplayLength = 0; m_wLength2 = 0; break;
    case 'n': m_wDisplayLength = numberDisplayLength(m_cPCType); break;
    default: m_wDisplayLength = 0; break;
  }
}

void KyRTDI::AddFnc(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                    const char* pszImplementationName, char cType, char cLanguage, const char* pszLibraryName,
                    const char* pszLocationName, const char* pszConnectionName, char cSystem, void* pPointer) {
  if (!pFunction) return;
  auto* pRecord = new KyRTDIFnc(Function, dwObjectId, pszDesignName, pszImplementationName);
  pRecord->m_cType = cType;
  pRecord->m_cLanguage = cLanguage;
  pRecord->m_pszLibraryName = pszLibraryName;
  pRecord->m_LocationName = pszLocationName;
  pRecord->m_ConnectionName = pszConnectionName;
  pRecord->m_cSystem = cSystem == '*' ? SystemFromLanguage(cLanguage) : cSystem;
  pRecord->m_pCallerPointer = pPointer;
  pFunction->GetFunctionTable()->Set(iIndex, pRecord);
}

void KyRTDI::AddFnc(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                    const char* pszImplementationName, char cType, char cLanguage, const char* pszLibraryName,
                    const char* pszLocationName, char cSystem, void* pPointer) {
  AddFnc(pFunction, iIndex, dwObjectId, pszDesignName, pszImplementationName, cType, cLanguage, pszLibraryName,
         pszLocationName, nullptr, cSystem, pPointer);
}

void KyRTDI::AddVar(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                    const char* pszImplementationName, char cVarClass, const char* pszScope, WORD wOccurrences) {
  if (!pFunction) return;
  auto* pRecord = new KyRTDIVar(Variable, dwObjectId, pszDesignName, pszImplementationName);
  pRecord->m_cVarClass = cVarClass;
  pRecord->m_pszScope = pszScope;
  pRecord->m_wOccurrences = wOccurrences;
  pFunction->GetVariableTable()->Set(iIndex, pRecord);
}

void KyRTDI::AddFld(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                    const char* pszImplementationName, char cType, char cPCType, char cAS400Type, char cSQLType,
                    WORD wLength, WORD wDecimals, WORD wLength2, WORD wDecimals2) {
  if (!pFunction) return;
  auto* pRecord = new KyRTDIFld(Field, dwObjectId, pszDesignName, pszImplementationName);
  pRecord->m_cType = cType;
  pRecord->m_cPCType = cPCType;
  pRecord->m_cAS400Type = cAS400Type;
  pRecord->m_cSQLType = cSQLType;
  pRecord->m_wLength = wLength;
  pRecord->m_wDecimals = wDecimals;
  pRecord->m_wLength2 = wLength2;
  pRecord->m_wDecimals2 = wDecimals2;
  pRecord->ComputeDisplayLength();
  pFunction->GetFieldTable()->Set(iIndex, pRecord);
}

void KyRTDI::AddFld(KyFunctionData* pFunction, int iIndex, DWORD dwObjectId, const char* pszDesignName,
                    const char* pszImplementationName, char cType, char cPCType, char cAS400Type, WORD wLength,
                    WORD wDecimals, WORD wLength2, WORD wDecimals2) {
  AddFld(pFunction, iIndex, dwObjectId, pszDesignName, pszImplementationName, cType, cPCType, cAS400Type, 0, wLength,
         wDecimals, wLength2, wDecimals2);
}

void KyRTDI::AddFncVar(KyFunctionData* pFunction, KyVariable* pVariable, int iMapIndex, int iVarIndex,
                       WORD wOccurrence) {
  if (!pFunction) return;
  auto* pMap = new KyRTDIFncVarMap;
  pMap->m_pVariable = pVariable;
  pMap->m_pVar = pFunction->GetVariableTable()->At(iVarIndex);
  pMap->m_wOccurrence = wOccurrence;
  if (pVariable && !pVariable->m_pOwner) pVariable->m_pOwner = pFunction;
  pFunction->GetFunctionVariableTable()->Set(iMapIndex, pMap);
}

void KyRTDI::AddVarFld(KyVariable* pVariable, KyRTType* pField, int iMapIndex, int iFieldIndex, char cUsage,
                       WORD wNumber) {
  if (!pVariable) return;
  auto* pMap = new KyRTDIVarFldMap;
  pMap->m_pField = pField;
  // The field records are the owning function's.
  pMap->m_pFld = pVariable->m_pOwner ? pVariable->m_pOwner->GetFieldTable()->At(iFieldIndex) : nullptr;
  pMap->m_cUsage = cUsage;
  pMap->m_wNumber = wNumber;
  pVariable->GetRTDIFldArray()->Set(iMapIndex, pMap);
}

void KyRTDI::RefreshLocations(KyFunctionData* pFunction, int fReload) {
  if (!pFunction) return;
  KyRTDIArray<KyRTDIFnc>* pFunctions = pFunction->GetFunctionTable();
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  if (!pCallMgr) return;
  KyLocationList* pLocations = pCallMgr->GetLocationList();
  if (fReload) {
    while (KyListNode* pHead = pLocations->GetHead()) pLocations->Delete(*pHead->GetName());
    pLocations->Load();
  }
  for (int i = 0; i < pFunctions->GetCount(); ++i) {
    KyRTDIFnc* pRecord = pFunctions->At(i);
    if (!pRecord || !pRecord->m_pszImplementationName) continue;
    const char* pszLocation = pLocations->GetLocation(pRecord->m_pszImplementationName);
    if (pszLocation && *pszLocation) pRecord->m_LocationName = pszLocation;
  }
}
