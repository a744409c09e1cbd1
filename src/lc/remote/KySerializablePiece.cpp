// KySerializablePiece: a large-object piece.
#include "KySerializablePiece.h"

#include <cstring>

#include "KyRPCStream.h"

void KySerializablePiece::SetCapacity(DWORD dwCapacity) {
  m_Buffer.assign(dwCapacity, 0);
  if (m_dwLength > dwCapacity) m_dwLength = dwCapacity;
}

int KySerializablePiece::SetData(DWORD dwSize, const void* pBytes) {
  if (dwSize > GetCapacity() || (dwSize && !pBytes)) return 0;
  if (dwSize) std::memcpy(m_Buffer.data(), pBytes, dwSize);
  m_dwLength = dwSize;
  return 1;
}

int KySerializablePiece::Serialize(KyRPCStream& stream, const char*) {
  if (stream.IsWriting()) {
    if (!stream.WritePiece(*this)) return 0;
    m_dwSent += m_dwLength;
    return 1;
  }
  if (!stream.ReadPiece(*this)) return 0;
  m_dwReceived += m_dwLength;
  return 1;
}
