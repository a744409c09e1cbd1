// KyLobState's common part and the memory state.
#include "KyLobState.h"

#include <algorithm>
#include <cstring>
#include <new>

void KyLobState::Release() {
  if (--m_wRefCount == 0) delete this;
}

void KyLobState::AddRef() { ++m_wRefCount; }

int KyLobState::GetPiece(void*, LONG, LONG* piGot, LONGLONG) {
  if (piGot) *piGot = 0;
  return 0;
}

int KyLobState::BeginPut(LONG) { return 1; }

int KyLobState::PutPiece(const void*, LONG, LONGLONG, int) { return 0; }

LONGLONG KyLobState::GetLength() { return 0; }

int KyLobState::fail(const char* pszFormat, const char* pszArgument) {
  m_ErrorText.Format(pszFormat, pszArgument);
  return 0;
}

KyLobStateMemory::KyLobStateMemory(LONG lSize, const void* pBytes) : KyLobState(Memory) {
  if (lSize <= 0) return;
  m_pData = new (std::nothrow) BYTE[lSize];
  if (!m_pData) return;  // capacity 0: every put fails, the content is empty
  m_lCapacity = lSize;
  if (pBytes) {
    std::memcpy(m_pData, pBytes, lSize);
    m_lLength = lSize;
  } else {
    std::memset(m_pData, 0, lSize);
  }
}

KyLobStateMemory::~KyLobStateMemory() { delete[] m_pData; }

// Reads stop at the length: the bytes beyond it were never written.
int KyLobStateMemory::GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) {
  LONG got = 0;
  if (lOffset >= 0 && lOffset < m_lLength && iWanted > 0 && pBuffer) {
    got = static_cast<LONG>(std::min<LONGLONG>(iWanted, m_lLength - lOffset));
    std::memcpy(pBuffer, m_pData + lOffset, got);
  }
  if (piGot) *piGot = got;
  return 1;
}

int KyLobStateMemory::PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int) {
  if (iSize == 0) return 1;
  if (!pBuffer || iSize < 0 || lOffset < 0 || lOffset + iSize > m_lCapacity) {
    m_ErrorText.Format("PutPiece error: piecesize = %ld", static_cast<long>(iSize));
    return 0;
  }
  std::memcpy(m_pData + lOffset, pBuffer, iSize);
  m_lLength = static_cast<LONG>(lOffset + iSize);
  return 1;
}
