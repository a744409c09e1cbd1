// KyRPCConversation: binding of the RPC libraries, opening the dispatcher
// and calls.
#include "KyRPCConversation.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "KyAppContext.h"
#include "KyDLL.h"
#include "KyFncMessage.h"
#include "KyLocale.h"
#include "KyMessage.h"
#include "KyProfile.h"
#include "KyRPC.h"
#include "KyRemoteWinNTInfo.h"

namespace {

constexpr UINT kMsgNoLibraries = 57444, kMsgNoEntry = 57437, kMsgNoEntryDetail = 57440, kMsgNoDispatcher = 57414;
constexpr int kOptionQuiet = 60;

// The process's binding of the two libraries, under the RPC lock.
struct Libraries {
  std::mutex lock;
  HMODULE runtime = nullptr, nameService = nullptr;
  KyRPCEntries entries;
  bool bound = false;
  int live = 0;

  void release() {
    if (runtime) FreeLibrary(runtime);
    if (nameService) FreeLibrary(nameService);
    runtime = nameService = nullptr;
    entries = KyRPCEntries();
    bound = false;
  }
};
Libraries& libraries() {
  static Libraries l;
  return l;
}

bool option(int n) {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext && pContext->GetRunOptions()->fGetOption(n);
}

}  // namespace

KyRPCConversation::KyRPCConversation(const char* pszLocation) : KyConversation(pszLocation, 'N') {
  std::lock_guard guard(libraries().lock);
  m_cProtocol = 'N';
  ++libraries().live;
  m_fUsable = 1;
}

KyRPCConversation::~KyRPCConversation() {
  Libraries& l = libraries();
  std::lock_guard guard(l.lock);
  Deallocate();
  if (--l.live == 0) l.release();  // the next conversation binds again
}

int KyRPCConversation::LiveCount() {
  std::lock_guard guard(libraries().lock);
  return libraries().live;
}

KyRemoteWinNTInfo* KyRPCConversation::record() const { return dynamic_cast<KyRemoteWinNTInfo*>(m_pRemoteInfo); }

int KyRPCConversation::Bind() {
  // Called under the RPC lock.
  Libraries& l = libraries();
  if (l.bound) return 1;
  l.runtime = KyLoadLibraryQuietly("RPCRT4.DLL");
  l.nameService = KyLoadLibraryQuietly("RPCNS4.DLL");
  if (!l.runtime || !l.nameService) {
    l.release();
    KyShowMessageBox(KyFormatMessageId(kMsgNoLibraries));
    return 0;
  }
  const std::string missing = l.entries.Resolve(l.runtime, l.nameService);
  if (!missing.empty()) {
    l.release();
    KyString text = KyFormatMessageId(kMsgNoEntry);
    text += KyFormatMessageId(kMsgNoEntryDetail, {missing.c_str()});
    KyShowMessageBox(text, MB_ICONINFORMATION);
    return 0;
  }
  l.bound = true;
  return 1;
}

void KyRPCConversation::Init() {
  KyRemoteWinNTInfo* info = record();
  if (!info) return;
  const KyString section = info->GetSection();
  auto copy = [&](const char* key, std::string* target, const char* fallback) {
    *target = KyGetProfileString(section, key, fallback).c_str();
  };
  copy("RpcProtocol", &m_strRpcProtocol, info->m_strRpcProtocol);
  copy("RpcEndPoint", &m_strRpcEndPoint, info->m_strRpcEndPoint);
  copy("RpcOptions", &m_strRpcOptions, info->m_strRpcOptions);
  copy("Environment", &m_strEnvironment, info->m_strEnvironment);
  copy("Program", &m_strProgram, info->m_strProgram);
  copy("UseSecurity", &m_strUseSecurity, info->m_fUseSecurity ? "True" : "False");
  copy("SecurityLevel", &m_strSecurityLevel, std::to_string(info->m_iSecurityLevel).c_str());
  copy("RpcBindDynamic", &m_strRpcBindDynamic, info->m_strRpcBindDynamic);
  setText(m_szSystem, info->m_strSystem);
  const int timeout = KyGetProfileInt(section, "Timeout", 60);
  m_iTimeout = timeout > 0 ? timeout : 60;
}

int KyRPCConversation::fDoAllocate() {
  Libraries& l = libraries();
  std::lock_guard guard(l.lock);
  if (m_fAllocated || !Bind()) return m_fAllocated;
  // Anything but "False" binds through the name service.
  const bool dynamic = strcasecmp(m_strRpcBindDynamic.c_str(), "False") != 0;
  const bool security = strcasecmp(m_strUseSecurity.c_str(), "True") == 0 || m_strUseSecurity == "1";
  const std::string protSeq = m_strRpcProtocol.empty() ? "ncacn_np" : m_strRpcProtocol;
  m_pClient = std::make_unique<KyRPCClient>(
      l.entries, m_strProgram.c_str(), &KyRPCStub::Interface(), m_szSystem, m_strRpcProtocol.c_str(), dynamic, security,
      std::atoi(m_strSecurityLevel.c_str()), static_cast<DWORD>(m_iTimeout) * 1000);
  if (!dynamic)
    m_pClient->AddProtSeq(new KyClientProtSeq(protSeq.c_str(), m_strRpcEndPoint.c_str(), m_strRpcOptions.c_str()));
  if (!m_pClient->Bind()) {
    m_pClient.reset();
    return 0;
  }
  WORD codePage = 1252;
  if (KyAppContext* pContext = KyAppContext::Current())
    if (KyLocale* pLocale = pContext->GetLocale()) codePage = static_cast<WORD>(pLocale->GetCodePage());
  // Each imported binding in turn until a dispatcher opens; a static
  // client has its one binding.
  const int candidates = dynamic ? m_pClient->GetBindingCount() : 1;
  for (int i = 0; i < candidates && !m_hContext; ++i) {
    if (dynamic) m_pClient->SelectBinding(i);
    m_hContext = KyRPCStub::Open(l.entries, m_pClient->GetBinding(), codePage, m_strProgram.c_str(), &m_LastStatus);
  }
  if (!m_hContext) {
    if (!option(kOptionQuiet)) KyShowMessageBox(KyFormatMessageId(kMsgNoDispatcher));
    m_pClient.reset();
    return 0;
  }
  m_fAllocated = 1;
  return 1;
}

void KyRPCConversation::Deallocate() {
  // The context is closed while its binding still exists (the close
  // travels on it); the bindings go after. A context whose dispatcher is
  // gone is let go here.
  Libraries& l = libraries();
  if (m_hContext && l.bound) {
    KyRPCStub::Close(l.entries, &m_hContext);
    if (m_hContext && l.entries.RpcSsDestroyClientContext) l.entries.RpcSsDestroyClientContext(&m_hContext);
  }
  m_hContext = nullptr;
  if (m_pClient) m_pClient->Unbind();
  m_pClient.reset();
  m_fAllocated = 0;
}

int KyRPCConversation::SendData(const char* pBuffer, int iLength, const char* pszProgram) {
  m_Reply.clear();
  if (!m_fAllocated || iLength < 0 || (!pBuffer && iLength > 0)) return 0;
  std::string program(pszProgram ? pszProgram : "");
  const size_t dot = program.rfind('.');
  if (dot != std::string::npos) program.erase(0, dot + 1);
  std::vector<char> data(pBuffer, pBuffer + iLength);
  const BYTE status = KyRPCStub::Call(libraries().entries, m_hContext, program.c_str(), static_cast<DWORD>(iLength),
                                      reinterpret_cast<BYTE*>(data.data()), &m_LastStatus);
  if (m_LastStatus != RPC_S_OK) {
    // The dispatcher is out of reach: the conversation is of no more use.
    KyMessage::Log("RPC call failed: %s", static_cast<const char*>(GetErrorCode(m_LastStatus)));
    Deallocate();
    return 0;
  }
  if (status) m_Reply.swap(data);
  return status;
}

int KyRPCConversation::ReceiveData(char* pBuffer, int iLength) {
  if (!m_fAllocated || !pBuffer || iLength < 0 || static_cast<size_t>(iLength) != m_Reply.size()) return 0;
  if (iLength > 0) std::memcpy(pBuffer, m_Reply.data(), static_cast<size_t>(iLength));
  return 1;
}

KyString KyRPCConversation::GetErrorCode(RPC_STATUS status) {
  // The codes the RPC run-time answers: its own (1700-1900) and the
  // general ones it passes on.
  static const RPC_STATUS general[] = {0, 5, 6, 8, 14, 87, 122, 1726};
  const bool rpcCode = (status >= 1700 && status <= 1900) ||
                       std::find(std::begin(general), std::end(general), status) != std::end(general);
  char text[512] = {};
  if (rpcCode && FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(status), 0, text, sizeof text, nullptr)) {
    size_t n = std::strlen(text);
    while (n && (text[n - 1] == '\n' || text[n - 1] == '\r')) text[--n] = '\0';
    return text;
  }
  return "Unknown RPC Error";
}
