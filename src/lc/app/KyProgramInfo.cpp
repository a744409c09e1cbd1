#include "KyProgramInfo.h"

#include "KyAppContext.h"

KyProgramInfo* pKyGetProgramInfo() {
  if (KyAppContext* pContext = KyAppContext::Current()) return &pContext->m_ProgramInfo;
  static KyProgramInfo processRecord;
  return &processRecord;
}
