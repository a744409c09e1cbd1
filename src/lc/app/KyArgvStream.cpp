// KyArgvStream: command-line arguments into input fields.
#include "KyArgvStream.h"

#include <cstring>

#include "KyAppContext.h"

KyArgvStream::KyArgvStream() {
  if (KyAppContext* pContext = KyAppContext::Current()) {
    m_iCount = pContext->GetArgc();
    char** argv = pContext->GetArgv();
    // The context keeps the arguments without the program's name:
    // "/ENV <key> <library> <function> <inputs...>" or "<library> <function> <inputs...>".
    if (m_iCount > 0 && argv[0] && std::strcmp(argv[0], "/ENV") == 0) m_iFirst = 4;
  }
  m_iIndex = m_iFirst;
}

int KyArgvStream::Get(const KyStreamField& field) {
  KyAppContext* pContext = KyAppContext::Current();
  if (m_iIndex < m_iCount && pContext && field.pField) {
    field.pField->PutText(pContext->GetArgv()[m_iIndex++]);
    return 1;
  }
  ++m_iIndex;
  return 0;
}
