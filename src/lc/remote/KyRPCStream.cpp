// KyRPCStream: fields and large-object pieces in a byte buffer.
#include "KyRPCStream.h"

#include <mscrt.h>

#include <algorithm>
#include <cstring>

#include "KyAppContext.h"
#include "KySerializablePiece.h"

namespace {

void putWord(char* p, WORD value) {
  p[0] = static_cast<char>(value & 0xFF);
  p[1] = static_cast<char>(value >> 8);
}
void putDword(char* p, DWORD value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
WORD getWord(const char* p) { return static_cast<WORD>(static_cast<BYTE>(p[0]) | (static_cast<BYTE>(p[1]) << 8)); }
DWORD getDword(const char* p) {
  DWORD value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<DWORD>(static_cast<BYTE>(p[i])) << (8 * i);
  return value;
}

constexpr int kStateBytes = 2;
constexpr int kHandleBytes = 4;
constexpr int kPieceHeader = 8;
constexpr WORD kStateEmpty = 4;

}  // namespace

KyRPCStream::KyRPCStream(char* pBuffer, int iSize, int iLength, const char* pInitial) {
  iSize = std::max(iSize, 0);
  iLength = std::max(iLength, 0);
  if (pBuffer) {
    m_pStart = pBuffer;
    m_iCapacity = iSize;
  } else if (KyAppContext* pContext = KyAppContext::Current(); pContext && pContext->m_pRPCBuffer) {
    m_pStart = pContext->m_pRPCBuffer;
    m_iCapacity = std::max<int>(pContext->m_lRPCBufferSize, 0);
  } else {
    m_Owned.assign(static_cast<size_t>(iSize) + static_cast<size_t>(iLength), 0);
    m_pStart = m_Owned.data();
    m_iCapacity = static_cast<int>(m_Owned.size());
  }
  // Data beyond the buffer does not exist: the length is cut to it.
  m_iDataEnd = std::min(iLength, m_iCapacity);
  if (pInitial && m_iDataEnd > 0) std::memcpy(m_pStart, pInitial, static_cast<size_t>(m_iDataEnd));
}

void KyRPCStream::BeginRead() {
  m_iPosition = 0;
  m_iFields = 0;
  m_iPieces = 0;
}

void KyRPCStream::advanceWritten(int iBytes) {
  m_iPosition += iBytes;
  m_iDataEnd = std::max(m_iDataEnd, m_iPosition);
}

int KyRPCStream::Put(const KyStreamField& field) {
  if (!field.pField || !m_pStart) return 0;
  const WORD state = static_cast<WORD>(field.pField->GetFieldState());
  if (field.cType == 'b') {
    if (writable() < kStateBytes + kHandleBytes) return 0;
    char* p = m_pStart + m_iPosition;
    auto* pLob = dynamic_cast<KyLobHandleField*>(field.pField);
    putWord(p, state);
    putDword(p + kStateBytes, pLob ? pLob->GetLobHandle() : 0);
    advanceWritten(kStateBytes + kHandleBytes);
    ++m_iFields;
    return 1;
  }
  const int slot = kStateBytes + std::max(field.iLength, 0);
  if (writable() < slot) return 0;
  char* p = m_pStart + m_iPosition;
  std::memset(p, 0, static_cast<size_t>(slot));
  putWord(p, state);
  const CString text = field.pField->strGetText();
  std::memcpy(p + kStateBytes, text, static_cast<size_t>(std::min(text.GetLength(), field.iLength)));
  advanceWritten(slot);
  ++m_iFields;
  return 1;
}

int KyRPCStream::Get(const KyStreamField& field) {
  if (!field.pField || !m_pStart) return 0;
  const char* p = m_pStart + m_iPosition;
  if (field.cType == 'b') {
    if (readable() < kStateBytes + kHandleBytes) return 0;
    const WORD state = getWord(p);
    if (state != kStateEmpty) KyStreamSetFieldState(*field.pField, state);
    if (auto* pLob = dynamic_cast<KyLobHandleField*>(field.pField)) pLob->SetLobHandle(getDword(p + kStateBytes));
    m_iPosition += kStateBytes + kHandleBytes;
    ++m_iFields;
    return 1;
  }
  const int length = std::max(field.iLength, 0);
  if (readable() < kStateBytes + length) return 0;  // a slot cut short is not read at all
  const WORD state = getWord(p);
  if (state != kStateEmpty) KyStreamSetFieldState(*field.pField, state);
  if (state == 0 || state == kStateEmpty) {
    const char* text = p + kStateBytes;
    const void* nul = std::memchr(text, 0, static_cast<size_t>(length));
    const int used = nul ? static_cast<int>(static_cast<const char*>(nul) - text) : length;
    field.pField->PutText(CString(text, used));
  }
  m_iPosition += kStateBytes + length;
  ++m_iFields;
  return 1;
}

int KyRPCStream::WritePiece(const KySerializablePiece& piece) {
  const DWORD size = piece.GetCapacity();
  if (!m_pStart || size > static_cast<DWORD>(std::max(writable() - kPieceHeader, 0)) || piece.GetLength() > size)
    return 0;
  char* p = m_pStart + m_iPosition;
  std::memset(p, 0, kPieceHeader + size);
  putDword(p, size);
  putDword(p + 4, piece.GetLength());
  if (piece.GetLength()) std::memcpy(p + kPieceHeader, piece.GetBytes(), piece.GetLength());
  advanceWritten(kPieceHeader + static_cast<int>(size));
  ++m_iPieces;
  return 1;
}

int KyRPCStream::ReadPiece(KySerializablePiece& piece) {
  if (!m_pStart) return 0;
  const char* p = m_pStart + m_iPosition;
  if (readable() >= kStateBytes + 3 && _strnicmp(p + kStateBytes, "ERR", 3) == 0) return 0;  // the peer failed
  if (readable() < kPieceHeader) return 0;
  const DWORD size = getDword(p);
  const DWORD length = getDword(p + 4);
  // The sizes come from the wire: a piece must lie within the data, and
  // its length within its slot.
  if (size > static_cast<DWORD>(readable() - kPieceHeader) || length > size) return 0;
  piece.SetCapacity(size);
  piece.SetData(length, p + kPieceHeader);
  m_iPosition += kPieceHeader + static_cast<int>(size);
  ++m_iPieces;
  return 1;
}
