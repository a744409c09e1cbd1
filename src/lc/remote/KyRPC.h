// The binding support of the RPC conversation: a protocol sequence with
// its endpoint (KyProtSeqEndPoint), one with network options that binds to
// a server by a string binding (KyClientProtSeq), the name of an entry
// with its interface and protocol sequences (KyRPC), and the client that
// binds statically or imports bindings from the name service and sets
// their security (KyRPCClient).
#pragma once

#include <rpc.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "KyRPCStub.h"

class KyProtSeqEndPoint {
 public:
  KyProtSeqEndPoint(const char* pszProtSeq, const char* pszEndPoint, DWORD dwValue = 0)
      : m_strProtSeq(pszProtSeq ? pszProtSeq : ""), m_strEndPoint(pszEndPoint ? pszEndPoint : ""), m_dwValue(dwValue) {}
  virtual ~KyProtSeqEndPoint() = default;
  const std::string& GetProtSeq() const { return m_strProtSeq; }

 protected:
  std::string m_strProtSeq;
  std::string m_strEndPoint;
  DWORD m_dwValue;
};

class KyClientProtSeq : public KyProtSeqEndPoint {
 public:
  KyClientProtSeq(const char* pszProtSeq, const char* pszEndPoint, const char* pszOptions)
      : KyProtSeqEndPoint(pszProtSeq, pszEndPoint), m_strOptions(pszOptions ? pszOptions : "") {}
  // Composes the string binding to the server and binds it; 1 with the
  // binding, 0 (status in *pStatus) otherwise.
  int Bind(const KyRPCEntries& rpc, const char* pszServer, RPC_BINDING_HANDLE* phBinding, RPC_STATUS* pStatus);

 private:
  std::string m_strOptions;
};

class KyRPC {
 public:
  KyRPC(const KyRPCEntries& rpc, const char* pszEntry, const RPC_CLIENT_INTERFACE* pInterface);
  virtual ~KyRPC() = default;
  virtual int Bind() = 0;
  virtual int Unbind() = 0;
  // Adds at the head of the list.
  virtual void AddProtSeq(KyClientProtSeq* pProtSeq);

  const std::string& GetEntryName() const { return m_strEntry; }
  const std::string& GetNameServiceName() const { return m_strNameServiceEntry; }

 protected:
  const KyRPCEntries& m_Rpc;
  std::string m_strEntry;
  std::string m_strNameServiceEntry;  // "/.:/" + entry
  const RPC_CLIENT_INTERFACE* m_pInterface;
  std::list<std::unique_ptr<KyClientProtSeq>> m_ProtSeqs;
};

class KyRPCClient : public KyRPC {
 public:
  static constexpr int kMaxBindings = 32;

  // A static client's wanted server name is normalised: with "ncacn_np" or
  // no protocol sequence, a name other than "*ANY" or empty gets a leading
  // "\\"; with another protocol sequence a leading "\\" goes.
  KyRPCClient(const KyRPCEntries& rpc, const char* pszEntry, const RPC_CLIENT_INTERFACE* pInterface,
              const char* pszServer, const char* pszProtSeq, bool fDynamic, bool fSecurity, int iSecurityLevel,
              DWORD dwTimeoutMs);
  ~KyRPCClient() override;

  // BindAny, then the security of the bindings; 1 or 0 (messages shown).
  int Bind() override;
  // Frees every binding; 1 when all were freed.
  int Unbind() override;
  int BindAny();
  int BindStatic();
  int ImportBindings();
  // Whether an imported binding names the wanted server.
  int AcceptBinding(RPC_BINDING_HANDLE hBinding);
  // Makes imported binding i the current one.
  void SelectBinding(int iIndex);

  int GetBindingCount() const { return static_cast<int>(m_Imported.size()); }
  RPC_BINDING_HANDLE GetBinding() const { return m_hCurrent; }
  const std::string& GetServer() const { return m_strServer; }
  int GetSecurityLevel() const { return m_iSecurityLevel; }
  bool IsDynamic() const { return m_fDynamic; }

 private:
  int setSecurity(RPC_BINDING_HANDLE hBinding);
  void setTimeout(RPC_BINDING_HANDLE hBinding);

  std::string m_strServer;
  bool m_fDynamic;
  bool m_fSecurity;
  int m_iSecurityLevel;
  DWORD m_dwTimeoutMs;
  RPC_BINDING_HANDLE m_hCurrent = nullptr;
  bool m_fCurrentOwned = false;  // a static binding; an imported one is freed with the list
  std::vector<RPC_BINDING_HANDLE> m_Imported;
};
