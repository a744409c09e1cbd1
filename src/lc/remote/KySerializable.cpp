// KySerializableRTDIVar: the parameters of a generated function's call.
#include "KySerializable.h"

#include <mscrt.h>

#include <cstring>

#include "KyAS400Conversion.h"
#include "KyAppContext.h"
#include "KyFunctionData.h"
#include "KyRTDI.h"
#include "KyVariable.h"

namespace {

constexpr int kOptionLegacyApiNames = 65;

bool same(const char* a, const char* b) { return a && b && _stricmp(a, b) == 0; }

bool startsWith(const char* text, const char* prefix) {
  return text && _strnicmp(text, prefix, std::strlen(prefix)) == 0;
}

bool endsWith(const char* text, const char* suffix) {
  const size_t n = text ? std::strlen(text) : 0, m = std::strlen(suffix);
  return n >= m && _stricmp(text + n - m, suffix) == 0;
}

// Whether a variable holds an API's input or output fields.
bool isApiBlock(const KyRTDIVar& var) {
  KyAppContext* pContext = KyAppContext::Current();
  if (pContext && pContext->GetRunOptions()->fGetOption(kOptionLegacyApiNames)) {
    const char* name = var.m_pszDesignName;
    return same(name, "input") || same(name, "output") || endsWith(name, "/input") || endsWith(name, "/output");
  }
  return startsWith(var.m_pszImplementationName, "input") || startsWith(var.m_pszImplementationName, "output");
}

}  // namespace

KySerializableRTDIVar::KySerializableRTDIVar(KyFunctionData* pCaller, const char* pszProgram)
    : m_pCaller(pCaller), m_strProgram(pszProgram ? pszProgram : "") {
  collect();
}

void KySerializableRTDIVar::SetFunctionData(KyFunctionData* pCaller) {
  m_pCaller = pCaller;
  collect();
}

void KySerializableRTDIVar::collect() {
  m_Fields.clear();
  m_Entries.clear();
  m_iEntryCount = 0;
  m_fApi = 0;
  if (!m_pCaller) return;
  // The called function's names; the program name when it is not listed.
  const char* design = m_strProgram;
  const char* implementation = m_strProgram;
  KyRTDIArray<KyRTDIFnc>* pFunctions = m_pCaller->GetFunctionTable();
  for (int i = 0; i < pFunctions->GetCount(); ++i) {
    const KyRTDIFnc* pFnc = pFunctions->At(i);
    if (pFnc && (same(pFnc->m_pszDesignName, m_strProgram) || same(pFnc->m_pszImplementationName, m_strProgram))) {
      design = pFnc->m_pszDesignName;
      implementation = pFnc->m_pszImplementationName;
      m_fApi = pFnc->m_cType == 'A';
      break;
    }
  }
  KyRTDIArray<KyRTDIFncVarMap>* pMaps = m_pCaller->GetFunctionVariableTable();
  for (int i = 0; i < pMaps->GetCount(); ++i) {
    const KyRTDIFncVarMap* pMap = pMaps->At(i);
    if (!pMap || !pMap->m_pVariable || !pMap->m_pVar || pMap->m_wOccurrence != 0) continue;
    const KyRTDIVar& var = *pMap->m_pVar;
    if (var.m_cVarClass != 'P' && var.m_cVarClass != 'C') continue;
    const char* scope = var.m_pszScope;
    if (!same(scope, m_strProgram) && !same(scope, design) && !same(scope, implementation)) continue;
    const bool perField = m_fApi && isApiBlock(var);
    KyRTDIArray<KyRTDIVarFldMap>* pFields = pMap->m_pVariable->GetRTDIFldArray();
    bool any = false;
    for (int f = 0; f < pFields->GetCount(); ++f) {
      const KyRTDIVarFldMap* pFieldMap = pFields->At(f);
      if (!pFieldMap || !pFieldMap->m_pField || !pFieldMap->m_pFld || pFieldMap->m_pFld->m_cType == 's') continue;
      Field field;
      field.stream.pField = pFieldMap->m_pField;
      field.stream.pRecord = pFieldMap->m_pFld;
      field.stream.cType = pFieldMap->m_pFld->m_cType;
      field.stream.iLength = pFieldMap->m_pFld->m_wDisplayLength;
      field.stream.cVarClass = var.m_cVarClass;
      field.stream.cUsage = pFieldMap->m_cUsage;
      field.cVarClass = var.m_cVarClass;
      if (perField && any) ++m_iEntryCount;
      any = true;
      m_Fields.push_back(field);
      m_Entries.push_back(m_iEntryCount);
    }
    ++m_iEntryCount;  // a variable without fields still has its (empty) entry
  }
}

int KySerializableRTDIVar::FieldLength(const Field& field, int fAS400) const {
  if (fAS400) return KyAS400WireLength(*field.stream.pRecord, m_fApi);
  return field.stream.cType == 'b' ? 6 : field.stream.iLength + 2;
}

void KySerializableRTDIVar::EntryLengths(int fAS400, std::vector<int>* pLengths) const {
  pLengths->assign(static_cast<size_t>(m_iEntryCount), 0);
  for (size_t i = 0; i < m_Fields.size(); ++i)
    (*pLengths)[static_cast<size_t>(m_Entries[i])] += FieldLength(m_Fields[i], fAS400);
}

int KySerializableRTDIVar::Serialize(KyStream* pStream, int fWriting) {
  if (!pStream) return 0;
  for (const Field& field : m_Fields) {
    const bool largeObject = field.stream.cType == 'b';
    if (fWriting) {
      if (largeObject && !pStream->LargeObject(field.stream)) return 0;
      if (!pStream->Put(field.stream)) return 0;
    } else {
      if (!pStream->Get(field.stream)) return 0;
      if (largeObject && !pStream->LargeObject(field.stream)) return 0;
    }
  }
  return 1;
}
