// KyRPCConversation: the conversation with a Windows NT dispatcher through
// RPC (platform letter 'N'). A call is one remote procedure call that takes
// the parameter data out and brings the reply back; the reply is kept in
// the conversation's buffer until ReceiveData hands it out, so that a call
// that breaks off changes none of the caller's data.
//
// RPCRT4.DLL and RPCNS4.DLL are bound by name once per process and released
// with the last RPC conversation. Allocation and construction hold one
// process-wide lock. Every call waits at most the location's "Timeout"
// (seconds, default 60).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KyConversation.h"
#include "KyRPCStub.h"

class KyRPCClient;
class KyRemoteWinNTInfo;

class KyRPCConversation : public KyConversation {
 public:
  explicit KyRPCConversation(const char* pszLocation);
  ~KyRPCConversation() override;

  int Send() override { return 1; }
  int Receive() override { return 1; }
  int Bind() override;
  void QueryUserId() override {}
  void QueryJobDescription() override {}
  int fDoAllocate() override;
  void Deallocate() override;
  void Init() override;
  // Hands out the reply of the last call (iLength must be its length).
  int ReceiveData(char* pBuffer, int iLength) override;
  // Procedure 1 with the program name after its last "."; the status byte
  // (non-zero: the dispatcher ran it), 0 when the call failed.
  int SendData(const char* pBuffer, int iLength, const char* pszProgram) override;
  int ReceiveImmediate() override { return 1; }
  int PrepareToReceive() override { return 1; }

  // The system's text of an RPC status, "Unknown RPC Error" for a code
  // that is not the RPC run-time's or that has no text here.
  static KyString GetErrorCode(RPC_STATUS status);
  // RPC conversations alive in the process.
  static int LiveCount();

  KyRPCClient* GetClient() const { return m_pClient.get(); }
  RPC_STATUS GetLastStatus() const { return m_LastStatus; }

 private:
  KyRemoteWinNTInfo* record() const;

  std::unique_ptr<KyRPCClient> m_pClient;
  NDR_CCONTEXT m_hContext = nullptr;
  std::vector<char> m_Reply;
  RPC_STATUS m_LastStatus = RPC_S_OK;
  // The location's texts, copied by Init.
  std::string m_strRpcProtocol, m_strRpcEndPoint, m_strRpcOptions, m_strEnvironment, m_strProgram, m_strUseSecurity,
      m_strSecurityLevel, m_strRpcBindDynamic;
  int m_iTimeout = 60;
};
