// The built-in LOB piece functions and their registration with the call
// manager.
#include "KyLobBuiltIns.h"

#include <cstring>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyLobManager.h"
#include "KyRPCStream.h"

KyFncLobPiece::~KyFncLobPiece() { dropManager(); }

KyBuiltInFunction* KyFncLobPiece::Create(const char* pszName) {
  if (!pszName) return nullptr;
  if (std::strcmp(pszName, "*KyGetLobPiece") == 0) return new KyFncGetLobPiece;
  if (std::strcmp(pszName, "*KyPutLobPiece") == 0) return new KyFncPutLobPiece;
  return nullptr;
}

KyLobManagerList* KyFncLobPiece::lobList() {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  return pCallMgr ? pCallMgr->GetLobManagerList() : nullptr;
}

void KyFncLobPiece::dropManager() {
  if (m_pManager) m_pManager->Release();
  m_pManager = nullptr;
}

template <class Fill>
int KyFncLobPiece::exchange(const char* pszName, Fill fill) {
  // The thread's remote-call buffer, read from its start; the whole buffer
  // is the data, as the remote thread's stream takes it.
  KyAppContext* pContext = KyAppContext::Current();
  const int size = pContext ? static_cast<int>(pContext->m_lRPCBufferSize) : 0;
  KyRPCStream request(nullptr, 0, size, nullptr);
  request.BeginRead();
  if (!m_Piece.Serialize(request, pszName) || !fill()) return 0;
  KyRPCStream reply(nullptr, 0, 0, nullptr);
  reply.BeginRead();
  reply.BeginWrite();
  return m_Piece.Serialize(reply, pszName);
}

int KyFncGetLobPiece::Execute() {
  if (!m_pManager) {
    KyLobManagerList* pList = lobList();
    m_pManager = pList ? pList->TakeUnnamed() : nullptr;
    if (!m_pManager) return 0;
    m_Piece.Reset();
  }
  if (!exchange("*KyGetLobPiece", [this] { return m_pManager->ReadPiece(m_Piece); })) {
    dropManager();
    return 0;
  }
  if (m_Piece.GetLength() < m_Piece.GetCapacity()) dropManager();
  return 1;
}

int KyFncPutLobPiece::Execute() {
  if (!m_pManager) {
    KyLobManagerList* pList = lobList();
    if (!pList) return 0;
    m_pManager = new KyLobManager;
    // A file without a name: BeginPut makes a temporary one, deleted with
    // the state; the list keeps the content reachable after the transfer.
    m_pManager->AttachFile(nullptr);
    pList->PushUnnamed(m_pManager);
    m_Piece.Reset();
  }
  if (!exchange("*KyPutLobPiece", [this] { return m_pManager->WritePiece(m_Piece); })) {
    dropManager();
    return 0;
  }
  if (m_Piece.GetLength() < m_Piece.GetCapacity()) dropManager();
  return 1;
}

namespace {

struct Registration {
  Registration() { KyGetCallServices().MakeBuiltIn = KyFncLobPiece::Create; }
} registration;

}  // namespace
