// The piece calls of large objects over conversations, and the answering
// end of a call.
#include "KyRemoteLobCall.h"

#include <algorithm>
#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyLobState.h"
#include "KyRPCStream.h"
#include "KyRemoteCall.h"
#include "KySerializablePiece.h"

namespace {

constexpr int kPieceHeader = 8;  // piece size and length, before the slot

class KyRemoteLobCall : public KyLobPieceCall {
 public:
  KyRemoteLobCall(void* pConversation, const char* pszBuiltIn, DWORD dwCapacity)
      : m_pConversation(pConversation), m_strName(pszBuiltIn), m_Piece(dwCapacity) {}

  KySerializablePiece& GetPiece() override { return m_Piece; }

  int Execute() override {
    // The conversation counts only while the thread's list holds it.
    KyConversation* pConversation = KyConversation::Listed(m_pConversation);
    if (!pConversation || (!pConversation->IsAllocated() && !pConversation->Allocate())) return 0;
    const int size = kPieceHeader + static_cast<int>(m_Piece.GetCapacity());
    std::vector<char> buffer(static_cast<size_t>(size));
    KyRPCStream request(buffer.data(), size, 0, nullptr);
    request.BeginWrite();
    if (!request.WritePiece(m_Piece)) return 0;
    if (!KyRemoteCall(pConversation, m_strName.c_str()).ExecuteBuffer(buffer.data(), size)) return 0;
    // The peer's record is read into a piece of its own: its sizes are
    // checked against the reply, and this call keeps its capacity.
    KyRPCStream reply(buffer.data(), size, size, nullptr);
    reply.BeginRead();
    KySerializablePiece answer;
    if (!reply.ReadPiece(answer)) return 0;
    return m_Piece.SetData(std::min(answer.GetLength(), m_Piece.GetCapacity()), answer.GetBytes());
  }

 private:
  void* m_pConversation;
  std::string m_strName;
  KySerializablePiece m_Piece;
};

struct Registration {
  Registration() {
    KyGetLobRemoteCalls().Make = [](void* pConversation, const char* pszBuiltIn, DWORD dwCapacity) -> KyLobPieceCall* {
      return new KyRemoteLobCall(pConversation, pszBuiltIn, dwCapacity);
    };
  }
} registration;

}  // namespace

int KyAnswerRemoteCall(const char* pszName, char* pBuffer, int iLength) {
  KyAppContext* pContext = KyAppContext::Current();
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr();
  if (!pContext || !pCallMgr || !pszName || !pBuffer || iLength < 0) return 0;
  char* const pOwnBuffer = pContext->m_pRPCBuffer;
  const LONG lOwnSize = pContext->m_lRPCBufferSize;
  pContext->m_pRPCBuffer = pBuffer;
  pContext->m_lRPCBufferSize = iLength;
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, pszName, "");
  const int ok = pCallMgr->GetDirectCallStatus() != "*Failed";
  pContext->m_pRPCBuffer = pOwnBuffer;
  pContext->m_lRPCBufferSize = lOwnSize;
  return ok;
}
