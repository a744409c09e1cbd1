// KyRPG400Stream: fields of an AS/400 program's parameter image.
#include "KyRPG400Stream.h"

#include <algorithm>
#include <cstring>

#include "KyAS400Conversion.h"

KyRPG400Stream::KyRPG400Stream(KyRemote400Info* pInfo, int fApi, const char* pTable, int iTableSize, int iLength)
    : KyRPCStream(nullptr, std::max(iTableSize, 0), std::max(iLength, 0), nullptr),
      m_pInfo(pInfo), m_fApi(fApi), m_iTableSize(std::max(iTableSize, 0)) {
  if (pTable && m_iTableSize) std::memcpy(m_pStart, pTable, static_cast<size_t>(m_iTableSize));
  m_iDataEnd = m_iCapacity;
  m_iPosition = m_iTableSize;
}

void KyRPG400Stream::BeginRead() {
  KyRPCStream::BeginRead();
  m_fWriting = 0;
  m_iPosition = m_iTableSize;
}

void KyRPG400Stream::BeginWrite() {
  KyRPCStream::BeginRead();
  m_fWriting = 1;
  m_iPosition = m_iTableSize;
}

int KyRPG400Stream::Put(const KyStreamField& field) {
  if (!field.pField || !field.pRecord) return 0;
  const int length = KyAS400WireLength(*field.pRecord, m_fApi);
  if (length > writable()) return 0;
  std::memset(m_pStart + m_iPosition, 0, static_cast<size_t>(length));
  KyAssignTo400(m_pStart + m_iPosition, field.pField, *field.pRecord, m_pInfo, m_fApi);
  advanceWritten(length);
  ++m_iFields;
  return 1;
}

int KyRPG400Stream::Get(const KyStreamField& field) {
  if (!field.pField || !field.pRecord) return 0;
  const int length = KyAS400WireLength(*field.pRecord, m_fApi);
  if (length > readable()) return 0;
  if (field.cUsage != 'I') KyAssignFrom400(m_pStart + m_iPosition, field.pField, *field.pRecord, m_pInfo, m_fApi);
  m_iPosition += length;
  ++m_iFields;
  return 1;
}
