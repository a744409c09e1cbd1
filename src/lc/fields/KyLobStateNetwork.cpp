// The network state: content on the other side of a conversation, moved
// by one call of a built-in piece function per piece (the peer answers
// with its "*KyGetLobPiece" / "*KyPutLobPiece").
#include <algorithm>
#include <cstring>

#include "KyLobState.h"
#include "KySerializablePiece.h"

KyLobRemoteCalls& KyGetLobRemoteCalls() {
  static KyLobRemoteCalls calls;
  return calls;
}

KyLobStateNetwork::~KyLobStateNetwork() { dropCall(); }

void KyLobStateNetwork::dropCall() {
  delete m_pCall;
  m_pCall = nullptr;
}

int KyLobStateNetwork::makeCall(const char* pszBuiltIn, DWORD dwCapacity) {
  dropCall();
  KyLobRemoteCalls& calls = KyGetLobRemoteCalls();
  m_pCall = calls.Make ? calls.Make(m_pConversation, pszBuiltIn, dwCapacity) : nullptr;
  if (!m_pCall) return fail("No remote call of %s can be made on this conversation", pszBuiltIn);
  m_pCall->GetPiece().Reset();
  return 1;
}

int KyLobStateNetwork::GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG) {
  *piGot = 0;
  if (!m_pCall && !makeCall("*KyGetLobPiece", static_cast<DWORD>(iWanted))) return 0;
  if (!pBuffer || iWanted <= 0) return 1;
  KySerializablePiece& piece = m_pCall->GetPiece();
  if (!m_pCall->Execute()) {
    dropCall();
    return fail("Remote call %s failed", "*KyGetLobPiece");
  }
  // The peer's length is bounded by what was asked for.
  const DWORD got = std::min<DWORD>(piece.GetLength(), static_cast<DWORD>(iWanted));
  std::memcpy(pBuffer, piece.GetBytes(), got);
  *piGot = static_cast<LONG>(got);
  if (*piGot < iWanted) dropCall();  // the last piece ends the transfer
  return 1;
}

int KyLobStateNetwork::BeginPut(LONG iPieceSize) { return makeCall("*KyPutLobPiece", static_cast<DWORD>(iPieceSize)); }

int KyLobStateNetwork::PutPiece(const void* pBuffer, LONG iSize, LONGLONG, int fLast) {
  if (!m_pCall) return fail("Remote call %s was not started", "*KyPutLobPiece");
  if (!m_pCall->GetPiece().SetData(static_cast<DWORD>(iSize), pBuffer) || !m_pCall->Execute()) {
    dropCall();
    return fail("Remote call %s failed", "*KyPutLobPiece");
  }
  if (fLast) dropCall();
  return 1;
}
