// KyRemoteCall: one remote call in flight. This is its raw form (the
// buffer call of KyCallMgr::KyCall400): the call header, built once from
// the conversation, and ExecuteBuffer.
//
// Call header (big-endian numbers): 0 program name (after its last '.',
// upper-case for AS/400, blank-filled to 20, through the location's
// ToHost), 20 32-bit 1, 24 32-bit data length, 28 user id, 38 job
// description name, 48 job description library (10 each, converted like
// the name), 58 the run-time's version record as six 16-bit numbers
// (2, 7, 2, 1, 0, 0); AS/400 over TCP/IP adds 70 reserved zero and 72 the
// 32-bit length of the data that follows in the same block (76 bytes).
#pragma once

#include <vector>

#include "KyString.h"

class KyConversation;

class KyRemoteCall {
 public:
  KyRemoteCall(KyConversation* pConversation, const char* pszProgram);

  // Sends the buffer and receives the reply into it (iLength bytes); 1 on
  // success, 0 when the conversation is not allocated or any step fails.
  // An AS/400 over TCP/IP gets header and data in one block, its length in
  // bytes 72-75; other platforms get the 70-byte header (none for 'N', 'J'
  // and '#') and then the data.
  int ExecuteBuffer(char* pBuffer, int iLength);

  const std::vector<char>& GetHeader() const { return m_Header; }

 private:
  void buildHeader();
  // The text blank-filled to the width and written through ToHost.
  void putText(size_t at, const char* pszText, int iWidth, bool fUpper);
  void put16(size_t at, unsigned value);
  void put32(size_t at, unsigned long value);

  KyConversation* m_pConversation;
  KyString m_strProgram;
  std::vector<char> m_Header;  // empty for Windows RPC and Java
};
