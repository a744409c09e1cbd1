// KyRPC, KyRPCClient and KyClientProtSeq: binding to the dispatcher.
#include "KyRPC.h"

#include <strings.h>

#include "KyFncMessage.h"

namespace {

constexpr UINT kMsgNoBinding = 57415, kMsgNoEndpoint = 57416, kMsgImportFailed = 57417, kMsgNoSecurity = 57436;

void information(const KyString& text) { KyShowMessageBox(text, MB_ICONINFORMATION); }

RPC_CSTR cstr(const std::string& s) { return reinterpret_cast<RPC_CSTR>(const_cast<char*>(s.c_str())); }

}  // namespace

int KyClientProtSeq::Bind(const KyRPCEntries& rpc, const char* pszServer, RPC_BINDING_HANDLE* phBinding,
                          RPC_STATUS* pStatus) {
  *phBinding = nullptr;
  RPC_CSTR stringBinding = nullptr;
  const std::string server(pszServer ? pszServer : "");
  *pStatus = rpc.RpcStringBindingComposeA(nullptr, cstr(m_strProtSeq), cstr(server), cstr(m_strEndPoint),
                                          cstr(m_strOptions), &stringBinding);
  if (*pStatus != RPC_S_OK) return 0;
  *pStatus = rpc.RpcBindingFromStringBindingA(stringBinding, phBinding);
  rpc.RpcStringFreeA(&stringBinding);
  return *pStatus == RPC_S_OK;
}

KyRPC::KyRPC(const KyRPCEntries& rpc, const char* pszEntry, const RPC_CLIENT_INTERFACE* pInterface)
    : m_Rpc(rpc),
      m_strEntry(pszEntry ? pszEntry : ""),
      m_strNameServiceEntry("/.:/" + m_strEntry),
      m_pInterface(pInterface) {}

void KyRPC::AddProtSeq(KyClientProtSeq* pProtSeq) { m_ProtSeqs.emplace_front(pProtSeq); }

KyRPCClient::KyRPCClient(const KyRPCEntries& rpc, const char* pszEntry, const RPC_CLIENT_INTERFACE* pInterface,
                         const char* pszServer, const char* pszProtSeq, bool fDynamic, bool fSecurity,
                         int iSecurityLevel, DWORD dwTimeoutMs)
    : KyRPC(rpc, pszEntry, pInterface),
      m_strServer(pszServer ? pszServer : ""),
      m_fDynamic(fDynamic),
      m_fSecurity(fSecurity),
      m_iSecurityLevel(iSecurityLevel > 6 ? 6 : iSecurityLevel),
      m_dwTimeoutMs(dwTimeoutMs) {
  if (m_fDynamic) return;
  const std::string protSeq(pszProtSeq ? pszProtSeq : "");
  const bool pipe = protSeq.empty() || protSeq == "ncacn_np";
  const bool hasSlashes = m_strServer.rfind("\\\\", 0) == 0;
  if (pipe && !m_strServer.empty() && m_strServer != "*ANY" && !hasSlashes) m_strServer = "\\\\" + m_strServer;
  if (!pipe && hasSlashes) m_strServer.erase(0, 2);
}

KyRPCClient::~KyRPCClient() { Unbind(); }

void KyRPCClient::setTimeout(RPC_BINDING_HANDLE hBinding) {
  if (m_Rpc.RpcBindingSetOption) m_Rpc.RpcBindingSetOption(hBinding, RPC_C_OPT_CALL_TIMEOUT, m_dwTimeoutMs);
}

int KyRPCClient::BindStatic() {
  if (m_ProtSeqs.empty()) return 0;
  RPC_STATUS status = RPC_S_OK;
  if (!m_ProtSeqs.front()->Bind(m_Rpc, m_strServer.c_str(), &m_hCurrent, &status)) {
    information(m_strServer.c_str());
    return 0;
  }
  m_fCurrentOwned = true;
  setTimeout(m_hCurrent);
  return 1;
}

int KyRPCClient::AcceptBinding(RPC_BINDING_HANDLE hBinding) {
  if (m_strServer.empty() || m_strServer == "*ANY" || m_strServer == " ") return 1;
  RPC_CSTR text = nullptr, protSeq = nullptr, address = nullptr;
  if (m_Rpc.RpcBindingToStringBindingA(hBinding, &text) != RPC_S_OK) return 0;
  int accepted = 0;
  if (m_Rpc.RpcStringBindingParseA(text, nullptr, &protSeq, &address, nullptr, nullptr) == RPC_S_OK) {
    const char* networkAddress = reinterpret_cast<const char*>(address);
    accepted =
        strcasecmp(m_strServer.c_str(), networkAddress) == 0 ||
        (std::string(reinterpret_cast<const char*>(protSeq)) == "ncacn_np" && ("\\\\" + m_strServer) == networkAddress);
    m_Rpc.RpcStringFreeA(&protSeq);
    m_Rpc.RpcStringFreeA(&address);
  }
  m_Rpc.RpcStringFreeA(&text);
  return accepted;
}

int KyRPCClient::ImportBindings() {
  RPC_NS_HANDLE context = nullptr;
  if (m_Rpc.RpcNsBindingImportBeginA(RPC_C_NS_SYNTAX_DEFAULT, cstr(m_strNameServiceEntry),
                                     const_cast<RPC_CLIENT_INTERFACE*>(m_pInterface), nullptr, &context) != RPC_S_OK) {
    information(KyFormatMessageId(kMsgImportFailed));
    return 0;
  }
  RPC_BINDING_HANDLE binding = nullptr;
  while (static_cast<int>(m_Imported.size()) < kMaxBindings &&
         m_Rpc.RpcNsBindingImportNext(context, &binding) == RPC_S_OK) {
    if (AcceptBinding(binding))
      m_Imported.push_back(binding);
    else
      m_Rpc.RpcBindingFree(&binding);
  }
  m_Rpc.RpcNsBindingImportDone(&context);
  if (m_Imported.empty()) {
    information(KyFormatMessageId(kMsgNoBinding, {m_strServer.c_str()}));
    return 0;
  }
  int resolved = 1;
  for (RPC_BINDING_HANDLE hBinding : m_Imported) {
    if (m_Rpc.RpcEpResolveBinding(hBinding, const_cast<RPC_CLIENT_INTERFACE*>(m_pInterface)) != RPC_S_OK) {
      information(KyFormatMessageId(kMsgNoEndpoint, {m_strServer.c_str()}));
      resolved = 0;
    }
    setTimeout(hBinding);
  }
  SelectBinding(0);
  return resolved;
}

void KyRPCClient::SelectBinding(int iIndex) {
  if (iIndex >= 0 && iIndex < static_cast<int>(m_Imported.size())) m_hCurrent = m_Imported[static_cast<size_t>(iIndex)];
}

int KyRPCClient::BindAny() { return m_fDynamic ? ImportBindings() : BindStatic(); }

int KyRPCClient::setSecurity(RPC_BINDING_HANDLE hBinding) {
  const RPC_STATUS status = m_Rpc.RpcBindingSetAuthInfoA(
      hBinding, nullptr, static_cast<unsigned long>(m_iSecurityLevel), RPC_C_AUTHN_WINNT, nullptr, 0);
  if (status == RPC_S_OK) return 1;
  information(KyFormatMessageId(kMsgNoSecurity));
  return 0;
}

int KyRPCClient::Bind() {
  if (!BindAny()) return 0;
  if (!m_fSecurity) return 1;
  if (!m_fDynamic) return setSecurity(m_hCurrent);
  for (RPC_BINDING_HANDLE hBinding : m_Imported)
    if (!setSecurity(hBinding)) return 0;
  return 1;
}

int KyRPCClient::Unbind() {
  int all = 1;
  for (RPC_BINDING_HANDLE& hBinding : m_Imported)
    if (m_Rpc.RpcBindingFree(&hBinding) != RPC_S_OK) all = 0;
  m_Imported.clear();
  if (m_fCurrentOwned && m_hCurrent && m_Rpc.RpcBindingFree(&m_hCurrent) != RPC_S_OK) all = 0;
  m_hCurrent = nullptr;
  m_fCurrentOwned = false;
  return all;
}
