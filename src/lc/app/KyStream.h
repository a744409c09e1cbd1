// KyStream: the parameter stream through which a function started from
// outside (command line, automation client, remote thread, database
// procedure) reads its input fields in Entry and writes its parameters in
// Exit. KyCreateParameterStream picks the stream by the start mode.
#pragma once

#include <windows.h>

#include "KyRTType.h"

class KyFunctionData;
class KyRTDIFld;

// One field as a stream sees it: the field, its type letter and fixed
// length from the design information, and the class of its variable
// ('I' input, 'O' output ...). The remote calls also give the field's
// design record and its usage in the variable ('I' input only ...).
struct KyStreamField {
  KyRTType* pField = nullptr;
  char cType = 'c';
  int iLength = 0;
  char cVarClass = 'I';
  const KyRTDIFld* pRecord = nullptr;
  char cUsage = 0;
};

// What a large-object field gives the byte-buffer streams: the 32-bit
// handle of its data (the layer's handle table maps it to the object).
// The large-object field implements it.
class KyLobHandleField {
 public:
  virtual DWORD GetLobHandle() const = 0;
  virtual void SetLobHandle(DWORD dwHandle) = 0;

 protected:
  ~KyLobHandleField() = default;
};

class KyStream {
 public:
  virtual ~KyStream() = default;
  // Clears the position counters.
  virtual void BeginRead() {}
  // Sets the direction to writing.
  virtual void BeginWrite() { m_fWriting = 1; }
  // 1 when the field was read / written.
  virtual int Get(const KyStreamField& field) = 0;
  virtual int Put(const KyStreamField& field) = 0;
  // The large-object transfer of a field of type 'b' (a no-op where the
  // stream carries the data itself).
  virtual int LargeObject(const KyStreamField& field) { return 1; }
  // The byte-buffer streams' data and its end; null for the others.
  virtual char* GetData() { return nullptr; }
  virtual char* GetDataEnd() { return nullptr; }

  int IsWriting() const { return m_fWriting; }
  // A failure (of a COM call) that ends the read or write.
  int HasFailed() const { return m_fFailed; }

 protected:
  int m_fWriting = 0;
  int m_fFailed = 0;
};

// The stream of a start mode: 0 or 1 command line, 2 remote-call buffer,
// 3 automation arrays; null for the others (mode 4's COM transaction
// stream comes with the transaction server; 5 does not stream).
KyStream* KyCreateParameterStream(int iStartMode);

// Stores a state code (1 null, 2 low, 8 high, 0 value) into a field
// through its class's setter; false for a class that has none yet.
bool KyStreamSetFieldState(KyRTType& field, int iState);
