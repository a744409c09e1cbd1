// KyLobManager: owns the content of one large object (a BLOB field's, a
// column value's, a remote-call parameter's) through exactly one state
// (KyLobState.h), and moves it between memory, files, database columns and
// remote peers in pieces of the thread's piece size.
//
// Reference counted: the constructor's reference belongs to the creator;
// whoever drops the last one (Release) deletes the manager. Managers and
// their states belong to one thread.
//
// KyLobManagerList: a named list (KyList) of managers, each node holding a
// reference; the thread's call manager keeps one for the LOB transfers.
#pragma once

#include "KyList.h"
#include "KyLobState.h"

class KySerializablePiece;

class KyLobManager {
 public:
  explicit KyLobManager(LONG lNumber = 0);
  virtual ~KyLobManager();

  void AddRef() { ++m_wRefCount; }
  // Drops a reference; the last one deletes the manager.
  void Release();
  WORD GetRefCount() const { return m_wRefCount; }

  KyLobState* GetState() const { return m_pState; }
  // The state's length; 0 without a state.
  LONGLONG GetLength() const;
  // The file state's name; null for other states.
  const char* GetFileName() const;
  // The content in memory (made a memory state first when it is not one);
  // null without a state or when it cannot be brought into memory.
  BYTE* GetData();
  // Brings the content into a memory state of the capacity; 1 or 0 (the
  // old state kept).
  int MakeMemory(LONGLONG lLength);
  // The bytes as the new content (a copy); size 0 leaves no state.
  void SetData(LONG lSize, const void* pBytes);
  // The file itself becomes the content (no copy); nothing happens when
  // the current state is that file already.
  void AttachFile(const char* pszName);
  // Copies the content into the file (a temporary one for a null or empty
  // name, or one with the extension for ".ext") and makes it the state;
  // 1 at once when the state is that file already; 0 (the old state kept)
  // when the copy fails.
  int SetFile(const char* pszName);
  // The column becomes the content (no copy).
  void AttachDB(KyDBStmtHandle* pStatement, WORD wColumn, WORD wColumnType);
  // Copies the content into the column; the state stays. 1 or 0; 1 at once
  // when the state is that very column of that statement already.
  int PutToDB(KyDBStmtHandle* pStatement, WORD wColumn, WORD wColumnType);
  void AttachNetwork(void* pConversation);
  // Copies the content to the peer; the state stays. 1 at once when the
  // state is on that conversation already.
  int PutToNetwork(void* pConversation);
  // This manager's state becomes the other's (shared, one more reference).
  int ShareState(KyLobManager* pOther);
  // The other's state moves here; the other is left empty.
  int TakeState(KyLobManager* pOther);
  void Clear();

  // Moves the whole content of source into target in pieces of
  // lPieceSize (0: the thread's piece size). 1 or 0; a content whose
  // length is a multiple of the piece size ends with an empty last piece.
  static int CopyContent(KyLobState* pTarget, KyLobState* pSource, LONG lPieceSize);

  // The built-in piece functions' side: the next piece of the content at
  // the piece's sent total into it, or the piece's bytes into the content
  // at its received total. 1 or 0.
  int ReadPiece(KySerializablePiece& piece);
  int WritePiece(KySerializablePiece& piece);

  // Set by the parameter stream when a BLOB parameter's content lies at the
  // peer; cleared before it is sent and by every piece that arrives.
  DWORD m_dwRemote = 0;

 private:
  KyLobManager(const KyLobManager&) = delete;
  KyLobManager& operator=(const KyLobManager&) = delete;
  // Installs the state (owning its reference), releasing the old one.
  void install(KyLobState* pState);
  // Copies into the new state; installs it on success, else releases it.
  int copyInto(KyLobState* pNew);

  KyLobState* m_pState = nullptr;
  WORD m_wRefCount = 1;
};

// The thread's LOB piece size (of its application context; 5000 without one).
LONG KyGetLobPieceSize();
void KySetLobPieceSize(LONG lSize);

class KyLobManagerNode : public KyListNode {
 public:
  // Holds a reference of the manager.
  KyLobManagerNode(const char* pszName, KyLobManager* pManager);
  ~KyLobManagerNode() override;
  KyLobManager* GetManager() const { return static_cast<KyLobManager*>(GetCurrent()); }
};

class KyLobManagerList : public KyList {
 public:
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  void Pop(const char* pszName) override { PopFound(pszName); }
  // Appends a node for the name holding a reference of the manager.
  void Push(const char* pszName, KyLobManager* pManager);
  using KyList::Push;
  void PushUnnamed(KyLobManager* pManager) { Push("", pManager); }
  // The manager of the node named "" (a reference for the caller), that
  // node removed; null when there is none.
  KyLobManager* TakeUnnamed();
};
