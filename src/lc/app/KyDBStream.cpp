// KyDBStream: stored-procedure parameters to and from fields.
#include "KyDBStream.h"

int KyDBStream::Get(const KyStreamField& field) {
  ++m_iGet;
  if (!m_pParameters || m_iGet > m_pParameters->GetParameterCount()) return 0;
  if (m_pParameters->IsOutputParameter(m_iGet) && field.pField)
    field.pField->PutText(m_pParameters->GetParameterText(m_iGet));
  return 1;
}

int KyDBStream::Put(const KyStreamField& field) {
  ++m_iPut;
  if (!m_pParameters || m_iPut > m_pParameters->GetParameterCount() || !m_pParameters->IsInputParameter(m_iPut) ||
      !field.pField)
    return 0;
  m_pParameters->SetParameterText(m_iPut, field.pField->strGetText());
  return 1;
}
