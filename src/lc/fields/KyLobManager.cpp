// KyLobManager: the content of a large object, its state changes and the
// piece copy between states; KyLobManagerList.
#include "KyLobManager.h"

#include <climits>
#include <new>
#include <vector>

#include "KyAppContext.h"
#include "KyDBHandles.h"
#include "KyLobHandleTable.h"
#include "KySerializablePiece.h"

namespace {

constexpr LONG kDefaultPieceSize = 5000;

}  // namespace

LONG KyGetLobPieceSize() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext && pContext->m_lPieceSize > 0 ? pContext->m_lPieceSize : kDefaultPieceSize;
}

void KySetLobPieceSize(LONG lSize) {
  if (KyAppContext* pContext = KyAppContext::Current()) pContext->m_lPieceSize = lSize;
}

KyLobManager::KyLobManager(LONG) {}

KyLobManager::~KyLobManager() {
  KyLobHandleTable::Forget(this);
  Clear();
}

void KyLobManager::Release() {
  if (--m_wRefCount == 0) delete this;
}

void KyLobManager::install(KyLobState* pState) {
  if (m_pState) m_pState->Release();
  m_pState = pState;
}

void KyLobManager::Clear() { install(nullptr); }

LONGLONG KyLobManager::GetLength() const { return m_pState ? m_pState->GetLength() : 0; }

const char* KyLobManager::GetFileName() const {
  auto* pFile = dynamic_cast<KyLobStateFile*>(m_pState);
  return pFile ? static_cast<const char*>(pFile->GetFileName()) : nullptr;
}

int KyLobManager::copyInto(KyLobState* pNew) {
  if (!pNew) return 0;
  if (!m_pState || !CopyContent(pNew, m_pState, 0)) {
    pNew->Release();  // a temporary file it made goes with it
    return 0;
  }
  install(pNew);
  return 1;
}

int KyLobManager::MakeMemory(LONGLONG lLength) {
  if (m_pState && m_pState->GetCode() == KyLobState::Memory) return 1;
  if (lLength < 0 || lLength > LONG_MAX) return 0;
  return copyInto(new (std::nothrow) KyLobStateMemory(static_cast<LONG>(lLength), nullptr));
}

BYTE* KyLobManager::GetData() {
  if (!m_pState) return nullptr;
  if (m_pState->GetCode() != KyLobState::Memory) {
    // A column's or a peer's length is only known once read: through a file.
    const int code = m_pState->GetCode();
    if ((code == KyLobState::Database || code == KyLobState::Network) && !SetFile(nullptr)) return nullptr;
    if (!MakeMemory(GetLength())) return nullptr;
  }
  return static_cast<KyLobStateMemory*>(m_pState)->GetData();
}

void KyLobManager::SetData(LONG lSize, const void* pBytes) {
  install(lSize > 0 ? new (std::nothrow) KyLobStateMemory(lSize, pBytes) : nullptr);
}

void KyLobManager::AttachFile(const char* pszName) {
  auto* pFile = dynamic_cast<KyLobStateFile*>(m_pState);
  if (pFile && pszName && *pszName && pFile->IsSameFile(pszName)) return;
  install(new (std::nothrow) KyLobStateFile(pszName));
}

int KyLobManager::SetFile(const char* pszName) {
  if (auto* pFile = dynamic_cast<KyLobStateFile*>(m_pState)) {
    // Another spelling of the same file must not truncate it first.
    if (!pszName || !*pszName || pFile->IsSameFile(pszName)) return 1;
  }
  return copyInto(new (std::nothrow) KyLobStateFile(pszName));
}

void KyLobManager::AttachDB(KyDBStmtHandle* pStatement, WORD wColumn, WORD wColumnType) {
  install(new (std::nothrow) KyLobStateDB(pStatement, wColumn, wColumnType));
}

int KyLobManager::PutToDB(KyDBStmtHandle* pStatement, WORD wColumn, WORD wColumnType) {
  if (auto* pDB = dynamic_cast<KyLobStateDB*>(m_pState)) {
    if (pDB->GetStatement() == pStatement && pDB->GetColumn() == wColumn) return 1;
  }
  if (!m_pState) return 0;
  KyLobState* pTarget = new (std::nothrow) KyLobStateDB(pStatement, wColumn, wColumnType);
  if (!pTarget) return 0;
  const int ok = CopyContent(pTarget, m_pState, 0);
  pTarget->Release();
  return ok;
}

void KyLobManager::AttachNetwork(void* pConversation) {
  install(new (std::nothrow) KyLobStateNetwork(pConversation));
}

int KyLobManager::PutToNetwork(void* pConversation) {
  if (auto* pNetwork = dynamic_cast<KyLobStateNetwork*>(m_pState)) {
    if (pNetwork->GetConversation() == pConversation) return 1;
  }
  if (!m_pState) return 0;
  KyLobState* pTarget = new (std::nothrow) KyLobStateNetwork(pConversation);
  if (!pTarget) return 0;
  const int ok = CopyContent(pTarget, m_pState, 0);
  pTarget->Release();
  return ok;
}

int KyLobManager::ShareState(KyLobManager* pOther) {
  KyLobState* pState = pOther ? pOther->m_pState : nullptr;
  if (pState) pState->AddRef();  // before the release: it may be this one's own
  install(pState);
  return 1;
}

int KyLobManager::TakeState(KyLobManager* pOther) {
  if (!pOther || pOther == this) return 1;
  install(pOther->m_pState);
  pOther->m_pState = nullptr;
  return 1;
}

int KyLobManager::CopyContent(KyLobState* pTarget, KyLobState* pSource, LONG lPieceSize) {
  if (!pTarget || !pSource) return 0;
  if (lPieceSize <= 0) lPieceSize = KyGetLobPieceSize();
  std::vector<char> buffer;
  try {
    buffer.resize(static_cast<size_t>(lPieceSize));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (!pTarget->BeginPut(lPieceSize)) return 0;
  LONGLONG offset = 0;
  LONG got = 0;
  int ok = 0;
  do {
    got = 0;
    ok = pSource->GetPiece(buffer.data(), lPieceSize, &got, offset);
    if (!ok) break;
    ok = pTarget->PutPiece(buffer.data(), got, offset, got < lPieceSize);
    offset += got;
  } while (ok && got == lPieceSize);
  return ok;
}

int KyLobManager::ReadPiece(KySerializablePiece& piece) {
  if (!m_pState) return 0;
  std::vector<BYTE> bytes(piece.GetCapacity());
  LONG got = 0;
  if (!m_pState->GetPiece(bytes.data(), static_cast<LONG>(bytes.size()), &got, piece.GetSent())) return 0;
  return piece.SetData(static_cast<DWORD>(got), bytes.data());
}

int KyLobManager::WritePiece(KySerializablePiece& piece) {
  m_dwRemote = 0;
  if (!m_pState) return 0;
  const DWORD length = piece.GetLength();
  // The received total already counts this piece.
  const LONGLONG offset = static_cast<LONGLONG>(piece.GetReceived()) - length;
  if (offset == 0 && !m_pState->BeginPut(0)) return 0;
  return m_pState->PutPiece(piece.GetBytes(), static_cast<LONG>(length), offset, length < piece.GetCapacity());
}

KyLobManagerNode::KyLobManagerNode(const char* pszName, KyLobManager* pManager) : KyListNode(pszName) {
  if (pManager) pManager->AddRef();
  SetCurrent(pManager);
}

KyLobManagerNode::~KyLobManagerNode() {
  if (KyLobManager* pManager = GetManager()) pManager->Release();
}

void KyLobManagerList::Push(const char* pszName, KyLobManager* pManager) {
  Add(new KyLobManagerNode(pszName ? pszName : "", pManager));
}

KyLobManager* KyLobManagerList::TakeUnnamed() {
  for (KyListNode* pNode = GetHead(); pNode; pNode = pNode->GetNext()) {
    if (!pNode->GetName()->IsEmpty()) continue;
    auto* pManager = static_cast<KyLobManager*>(pNode->GetCurrent());
    if (pManager) pManager->AddRef();
    RemoveExact("");  // the node's reference goes with it
    return pManager;
  }
  return nullptr;
}
