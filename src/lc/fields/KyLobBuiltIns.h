// The built-in functions that answer a peer's large-object transfer, one
// piece per call, through the thread's remote-call buffer:
// "*KyGetLobPiece" (the peer fetches the next piece of the content this
// side holds under the empty name of the thread's KyLobManagerList) and
// "*KyPutLobPiece" (the peer hands over the next piece; the content goes
// into a temporary file and is put under the empty name).
//
// One object serves every piece of a transfer; a piece shorter than its
// capacity is the last, and the next call starts a new transfer.
#pragma once

#include "KyCall.h"
#include "KySerializablePiece.h"

class KyLobManager;
class KyLobManagerList;

class KyFncLobPiece : public KyBuiltInFunction {
 public:
  ~KyFncLobPiece() override;
  // The object for a built-in name (compared exactly), null for any other.
  static KyBuiltInFunction* Create(const char* pszName);
  // One call: 1 for success, 0 for failure.
  virtual int Execute() = 0;
  int Run(KyFunctionData*, KyParamVariable*, KyParamVariable*) override { return Execute(); }

  KyLobManager* GetManager() const { return m_pManager; }
  const KySerializablePiece& GetPiece() const { return m_Piece; }

 protected:
  KyFncLobPiece() = default;
  // The thread's LOB list; null without a call manager.
  static KyLobManagerList* lobList();
  // Reads the caller's piece from the remote-call buffer, lets fill act
  // on it, then writes the piece back as the reply. 1 or 0.
  template <class Fill>
  int exchange(const char* pszName, Fill fill);
  void dropManager();

  KyLobManager* m_pManager = nullptr;  // one reference held
  KySerializablePiece m_Piece;
};

class KyFncGetLobPiece : public KyFncLobPiece {
 public:
  int Execute() override;
};

class KyFncPutLobPiece : public KyFncLobPiece {
 public:
  int Execute() override;
};
