// KyLobState: where the content of a large object lives, and the piece
// protocol by which content moves between places (KyLobManager::CopyContent
// moves any state's content into any other, one piece at a time).
//
// States: memory (0), database column (1), file (2), the other side of a
// remote-call conversation (3). Each is reference counted; the last Release
// deletes it. A failing operation answers 0 and leaves its message in the
// error text.
//
// Piece rules every state keeps: GetPiece never changes the content; a read
// past the end succeeds with nothing; PutPiece writes every byte or fails.
#pragma once

#include <windows.h>

#include "KyString.h"

class KyDBStmtHandle;
class KySerializablePiece;

class KyLobState {
 public:
  enum Code { Memory = 0, Database = 1, File = 2, Network = 3 };

  virtual ~KyLobState() = default;
  virtual void Release();
  virtual void AddRef();
  // Up to iWanted bytes from the content at lOffset into pBuffer; the bytes
  // given in *piGot. 1 for success (also at or past the end, with 0 bytes).
  virtual int GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset);
  // Prepares the state to take the content anew (iPieceSize: the size the
  // pieces will have). 1 or 0.
  virtual int BeginPut(LONG iPieceSize);
  // Writes iSize bytes at lOffset; fLast: no piece follows. 1 or 0.
  virtual int PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast);
  // The content's length in bytes (0 where it is only known by reading).
  virtual LONGLONG GetLength();

  int GetCode() const { return m_iCode; }
  const KyString& GetErrorText() const { return m_ErrorText; }

 protected:
  explicit KyLobState(int iCode) : m_iCode(iCode) {}
  int fail(const char* pszFormat, const char* pszArgument);

  KyString m_ErrorText;
  int m_iCode;
  WORD m_wRefCount = 1;

 private:
  KyLobState(const KyLobState&) = delete;
  KyLobState& operator=(const KyLobState&) = delete;
};

// Content in one heap block, allocated once at its final capacity.
class KyLobStateMemory : public KyLobState {
 public:
  // A copy of the bytes (length = size), or zeros when none are given
  // (length 0); size 0 allocates nothing.
  KyLobStateMemory(LONG lSize, const void* pBytes);
  ~KyLobStateMemory() override;
  int GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) override;
  int PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast) override;
  LONGLONG GetLength() override { return m_lLength; }

  BYTE* GetData() const { return m_pData; }
  LONG GetCapacity() const { return m_lCapacity; }

 private:
  LONG m_lCapacity = 0;
  LONG m_lLength = 0;
  BYTE* m_pData = nullptr;
};

// Content in a file. A state that made its file (a temporary name) deletes
// it when it goes; a file it was given stays.
class KyLobStateFile : public KyLobState {
 public:
  // Null or "": a temporary file is made at BeginPut. ".ext": a temporary
  // file with that extension is made now. Anything else: that file.
  explicit KyLobStateFile(const char* pszName);
  ~KyLobStateFile() override;
  int GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) override;
  int BeginPut(LONG iPieceSize) override;
  int PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast) override;
  LONGLONG GetLength() override;

  const KyString& GetFileName() const { return m_FileName; }
  // Whether the name is this state's file: the same file on disk when both
  // exist, else the same host path.
  bool IsSameFile(const char* pszName) const;
  // A new temporary file in the TMP directory (else TMPDIR, else /tmp),
  // "ky" then six random characters then pszSuffix, created exclusively
  // (no other file or link of that name is used); "" when none could be
  // made.
  static KyString MakeTempName(const char* pszSuffix);

 private:
  void closeFile();

  KyString m_FileName;
  int m_iFile = -1;         // the open descriptor, -1 when none
  int m_fDeleteFile = 0;    // this state made the file
  int m_fWriting = 0;       // the descriptor was opened by BeginPut
};

// Content in a column of an open statement (ODBC: read with SQLGetData,
// written as a data-at-execution parameter; OCI: by pieces).
class KyLobStateDB : public KyLobState {
 public:
  KyLobStateDB(KyDBStmtHandle* pStatement, WORD wColumn, WORD wColumnType);
  int GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) override;
  int BeginPut(LONG iPieceSize) override;
  int PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast) override;

  KyDBStmtHandle* GetStatement() const { return m_pStatement; }
  WORD GetColumn() const { return m_wColumn; }
  WORD GetColumnType() const { return m_wColumnType; }

 private:
  // The statement's current message as this state's error text; 0.
  int failWithStatement();

  KyDBStmtHandle* m_pStatement;
  WORD m_wColumn;
  WORD m_wColumnType;
  int m_iLastCode = 0;
};

// The remote side's calls of a network state: one call of a built-in
// ("*KyGetLobPiece" or "*KyPutLobPiece") per piece over the conversation.
// The remote-call subsystem provides it (KyLobRemoteCalls below).
class KyLobPieceCall {
 public:
  virtual ~KyLobPieceCall() = default;
  // Sends the piece and receives the peer's piece into it; 1 or 0.
  virtual int Execute() = 0;
  virtual KySerializablePiece& GetPiece() = 0;
};

// The factory of piece calls; null until the remote-call subsystem that
// carries built-in calls over conversations registers one.
struct KyLobRemoteCalls {
  KyLobPieceCall* (*Make)(void* pConversation, const char* pszBuiltIn, DWORD dwCapacity) = nullptr;
};
KyLobRemoteCalls& KyGetLobRemoteCalls();

// Content on the other side of a conversation.
class KyLobStateNetwork : public KyLobState {
 public:
  explicit KyLobStateNetwork(void* pConversation) : KyLobState(Network), m_pConversation(pConversation) {}
  ~KyLobStateNetwork() override;
  int GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) override;
  int BeginPut(LONG iPieceSize) override;
  int PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast) override;

  void* GetConversation() const { return m_pConversation; }

 private:
  // A new call of the built-in with the capacity; 0 (error text set) when
  // no remote calls can be made.
  int makeCall(const char* pszBuiltIn, DWORD dwCapacity);
  void dropCall();

  void* m_pConversation;
  KyLobPieceCall* m_pCall = nullptr;  // owned; the transfer in flight
};
