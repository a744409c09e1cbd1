// KyRemoteCall: one remote call in flight: the call of a generated
// function (its caller's parameters through KySerializableRTDIVar), or the
// raw buffer call of KyCallMgr::KyCall400, each with the call header built
// from the conversation.
//
// Parameter data: for an AS/400 the parameter table (big-endian 32-bit 1,
// the entry count n, then n pairs of length and offset, offsets from the
// table's start, the first 8 + 8n) and the fields in their AS/400 forms
// (KyRPG400Stream); for the other platforms every field's 16-bit state and
// text slot (KyRPCStream), the buffer zeroed first and sent whole.
//
// Call header (big-endian numbers): 0 program name (after its last '.',
// upper-case for AS/400, blank-filled to 20, through the location's
// ToHost), 20 32-bit 1, 24 32-bit data length, 28 user id, 38 job
// description name, 48 job description library (10 each, converted like
// the name), 58 the run-time's version record as six 16-bit numbers
// (2, 7, 2, 1, 0, 0); AS/400 over TCP/IP adds 70 reserved zero and 72 the
// 32-bit length of the data that follows in the same block (76 bytes).
#pragma once

#include <memory>
#include <vector>

#include "KyString.h"

class KyConversation;
class KyFunctionData;
class KyRPCStream;
class KySerializableRTDIVar;

class KyRemoteCall {
 public:
  // The raw form: a program name and the caller's buffer.
  KyRemoteCall(KyConversation* pConversation, const char* pszProgram);
  // The call of a generated function: the caller's variables that belong
  // to the called program.
  KyRemoteCall(KyConversation* pConversation, KyFunctionData* pCaller, const char* pszProgram);
  ~KyRemoteCall();

  // Before each reuse: the caller's current function data, and the
  // location's conversation as the thread's list holds it now (the header
  // is built again for another one).
  void SetParameters(KyFunctionData* pCaller);
  void SetConversation(KyConversation* pConversation);

  // One call of a generated function: allocates the conversation when it
  // is not, writes the parameters, sends header and data, receives the
  // reply whole and only then reads the output fields back. 1 on success;
  // 0 leaves every field as it was.
  int Execute();

  // Sends the buffer and receives the reply into it (iLength bytes); 1 on
  // success, 0 when the conversation is not allocated or any step fails.
  // An AS/400 over TCP/IP gets header and data in one block, its length in
  // bytes 72-75; other platforms get the 70-byte header (none for 'N', 'J'
  // and '#') and then the data.
  int ExecuteBuffer(char* pBuffer, int iLength);

  const std::vector<char>& GetHeader() const { return m_Header; }

 private:
  // Sends header and data (table + data for an AS/400) as the platform
  // wants them; 1 when all went.
  int send(char* pData, int iLength);
  // Whether every state of a reply in the byte-buffer layout is one a
  // field can hold (a damaged reply is refused before any field changes).
  int replyStatesValid(const char* pReply, int iLength) const;
  void buildHeader();
  // The text blank-filled to the width and written through ToHost.
  void putText(size_t at, const char* pszText, int iWidth, bool fUpper);
  void put16(size_t at, unsigned value);
  void put32(size_t at, unsigned long value);

  // The parameter stream of the call, kept with it: built again only when
  // the entry lengths (another caller's variables) or the conversation
  // change. An AS/400 stream's table is laid anew before each call, since
  // the reply overwrites it.
  KyRPCStream* parameterStream(bool fAS400);

  KyConversation* m_pConversation;
  KyString m_strProgram;
  std::vector<char> m_Header;  // empty for Windows RPC and Java
  std::unique_ptr<KySerializableRTDIVar> m_pSerializer;
  std::unique_ptr<KyRPCStream> m_pStream;
  bool m_fStreamAS400 = false;
  std::vector<int> m_StreamLengths, m_EntryLengths;
  std::vector<char> m_Table;
  // Rooms a repeated call reuses: the one block of an AS/400 call over
  // TCP/IP, and the reply taken whole before any field changes.
  std::vector<char> m_Block, m_Reply;
};
