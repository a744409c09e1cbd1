// KyAppcConversation: binding of e32appc.dll, allocation, sending and
// receiving, and the error handler.
#include "KyAppcConversation.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>
#include <thread>

#include "KyErr400.h"
#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemote400Info.h"

namespace {

constexpr UINT kMsgAllocateFailed = 0xE009, kMsgStatusFailed = 0xE00A, kMsgSendFailed = 0xE00B,
               kMsgReceiveFailed = 0xE00C, kMsgPurging = 0xE00D, kMsgNoTp = 0xE00E, kMsgNoProgram = 0xE00F,
               kMsgPrepareFailed = 0xE010, kMsgNoLibrary = 57351, kMsgNoEntry = 57477;
constexpr USHORT kCodeUnbound = 99;
// The handler's answer that gives up: No of the box (KyMessage::Box answers
// 1 for Yes, 2 for No), Cancel of the dialog.
constexpr int kGiveUp = 2;
// A record of another length than the reply's buffer (the partner's
// reply does not fit the call): taken as a truncation.
constexpr USHORT kCodeWrongLength = 3;

// The process's binding of e32appc.dll, under its lock.
struct Verbs {
  EHNAPPC_AllocateFn allocate = nullptr;
  EHNAPPC_DeallocateFn deallocate = nullptr;
  EHNAPPC_PrepareToReceiveFn prepareToReceive = nullptr;
  EHNAPPC_ReceiveFn receiveAndWait = nullptr;
  EHNAPPC_ReceiveFn receiveImmediate = nullptr;
  EHNAPPC_SendDataFn sendData = nullptr;
  EHNAPPC_FlushFn flush = nullptr;
  EHNAPPC_GetDefaultSystemFn getDefaultSystem = nullptr;
  EHNAPPC_QueryUserIdFn queryUserId = nullptr;
};
struct Library : Verbs {
  std::mutex lock;
  HMODULE module = nullptr;
  bool bound = false;
  int instances = 0;

  void release() {
    if (module) FreeLibrary(module);
    module = nullptr;
    bound = false;
    static_cast<Verbs&>(*this) = Verbs{};
  }
};
Library& library() {
  static Library l;
  return l;
}

// The names of the return codes, in runs of consecutive codes (a table of
// 100 entries, the others empty).
const char* const kGeneral[] = {"OK",
                                "DEALLOCNORMAL",
                                "PROGRAMERRNOTRUNCATION",
                                "PROGRAMERRTRUNCATION",
                                "PROGRAMERRPURGING",
                                "RESOURCEFAILURERETRY",
                                "RESOURCEFAILURENORETRY",
                                "UNSUCCESSFUL",
                                "APPCBUSY"};
const char* const kParameterChecks[] = {
    "PARMCHKINVALIDVERB",   "PARMCHKINVALIDCONVERID", "PARMCHKBUFFERCROSSSEG", "PARMCHKTPNAMELENGTH",
    "PARMCHKINVCONVERTYPE", "PARMCHKBADSYNCLVLALLOC", "PARMCHKBADRETURNCTRL",  "PARMCHKPIPTOOLONG",
    "PARMCHKBADPARTNERNAME", "PARMCHKCONFNOTALLOWED", "PARMCHKBADDEALLOCTYPE", "PARMCHKPREPTORCVTYPE",
    "PARMCHKBADFILLTYPE",   "PARMCHKRECMAXLEN",       "PARMCHKUNKNOWNSECTYPE", "PARMCHKRESFLDNOTZERO"};
const char* const kStateChecks[] = {"STATECHKNOTINCONFSTAT", "STATECHKNOTINRECEIVE", "STATECHKREQSNDBADSTAT",
                                    "STATECHKSNDINBADSTATE", "STATECHKSNDERRBADSTAT"};
const char* const kAllocationErrors[] = {"ALLOCERRNORETRY",       "ALLOCERRRETRY",        "ALLOCERRPGMNOTAVAILNR",
                                         "ALLOCERRTPNNOTRECOG",   "ALLOCERRPGMNOTAVAILR", "ALLOCERRSECNOTVALID",
                                         "ALLOCERRCONVTYP",       "ALLOCERRPIPNOTALLOWED", "ALLOCERRPIPNOTCORRECT",
                                         "ALLOCERRSYNCHLEVEL"};
const char* const kResourceErrors[] = {"DEALLOCABENDPROGRAM", "INSUFFICIENTMEMORY", "MEMORYALLOCERROR",
                                       "TOOMANYCONVERSATIONS", "CONVTABLEFULL",     "ROUTERNOTINSTALLED",
                                       "ROUTERWRONGLEVEL",   "PCSWINNOTLOADED",    "PCSWINOUTOFMEMORY",
                                       "INVALIDUSERIDLEN",   "INVALIDPASSWORDLEN", "INVALIDLUNAME"};
const char* const kUndefined[] = {"UNDEFINED"};
struct CodeRun {
  USHORT first;
  const char* const* names;
  size_t count;
};
template <size_t N>
constexpr CodeRun run(USHORT first, const char* const (&names)[N]) {
  return {first, names, N};
}
const CodeRun kCodeRuns[] = {run(0, kGeneral),          run(20, kParameterChecks), run(40, kStateChecks),
                             run(50, kAllocationErrors), run(70, kResourceErrors),  run(99, kUndefined)};

std::string upper(const char* text) {
  std::string s(text ? text : "");
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

const char* KyAppcConversation::CodeName(USHORT usCode) {
  for (const CodeRun& r : kCodeRuns)
    if (usCode >= r.first && usCode < r.first + r.count) return r.names[usCode - r.first];
  return "";
}

KyAppcConversation::KyAppcConversation(const char* pszLocation) : KyConversation(pszLocation, 'A') {
  std::lock_guard guard(library().lock);
  m_cProtocol = 'A';
  m_hWindow = m_hOwner;
  const int timeout = KyGetProfileInt(KyRemoteInfo::SectionName(m_strLocation), "Timeout", 60);
  m_iTimeout = timeout > 0 ? timeout : 60;
  m_fUsable = Bind();
  ++library().instances;
}

KyAppcConversation::~KyAppcConversation() {
  Library& l = library();
  std::lock_guard guard(l.lock);
  Deallocate();
  if (--l.instances == 0) l.release();
}

KyRemote400Info* KyAppcConversation::record() const { return dynamic_cast<KyRemote400Info*>(m_pRemoteInfo); }

int KyAppcConversation::Bind() {
  // Called under the library's lock.
  Library& l = library();
  if (l.bound) return 1;
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  l.module = LoadLibraryA("e32appc.dll");
  SetErrorMode(previous);
  if (!l.module) {
    HandleError(KyFormatMessageId(kMsgNoLibrary), kCodeUnbound);
    return 0;
  }
  struct Entry {
    const char* name;
    void** slot;
  } entries[] = {{"EHNAPPC_Allocate", (void**)&l.allocate},
                 {"EHNAPPC_Deallocate", (void**)&l.deallocate},
                 {"EHNAPPC_PrepareToReceive", (void**)&l.prepareToReceive},
                 {"EHNAPPC_ReceiveAndWait", (void**)&l.receiveAndWait},
                 {"EHNAPPC_ReceiveImmediate", (void**)&l.receiveImmediate},
                 {"EHNAPPC_SendData", (void**)&l.sendData},
                 {"EHNAPPC_Flush", (void**)&l.flush},
                 {"EHNAPPC_GetDefaultSystem", (void**)&l.getDefaultSystem},
                 {"EHNAPPC_QueryUserId", (void**)&l.queryUserId}};
  bool complete = true;
  for (const Entry& e : entries) {
    *e.slot = reinterpret_cast<void*>(GetProcAddress(l.module, e.name));
    complete = complete && *e.slot;
  }
  if (!complete) {
    l.release();
    HandleError(KyFormatMessageId(kMsgNoEntry), kCodeUnbound);
    return 0;
  }
  l.bound = true;
  return 1;
}

void KyAppcConversation::QueryUserId() {
  char user[11] = {};
  if (library().bound) library().queryUserId(m_hWindow, m_strHost.c_str(), user);
  setText(m_szUserId, user);
}

void KyAppcConversation::QueryJobDescription() {
  KyRemote400Info* info = record();
  splitJobDescription(info ? info->m_strJobDescription.c_str() : "");
}

void KyAppcConversation::Init() {
  KyRemote400Info* info = record();
  m_strHost.clear();
  m_strTpName.clear();
  setText(m_szUserId, "");
  setText(m_szJobDescriptionName, "");
  setText(m_szJobDescriptionLibrary, "");
  if (!info || !library().bound) return;
  const std::string system = upper(info->m_strSystem);
  if (system.empty()) {
    char host[9] = {};
    library().getDefaultSystem(m_hWindow, host);
    m_strHost = host;
  } else {
    m_strHost = system.substr(0, 9);
  }
  setText(m_szSystem, m_strHost.c_str());
  m_ulBufferBytes = static_cast<ULONG>(std::max(info->m_iBufferSize, 1)) * 1024;
  info->InitTranslation();
  m_strTpName = std::string(info->m_strLibrary.c_str()) + "/" + info->m_strProgram.c_str();
  setText(m_szProgramPath, m_strTpName.c_str());
  QueryUserId();
  QueryJobDescription();
}

int KyAppcConversation::HandleError(const char* pszText, USHORT usCode) {
  Deallocate();
  if (KyGetProfileBool("Message Box", "AS400 Connection", 1)) {
    KyString text(pszText ? pszText : "");
    text += " Error: ";
    text += CodeName(usCode);
    // Yes tries again, No (2) gives up: an OK-only box could never end
    // the retries.
    return KyShowMessageBox(text, MB_YESNO | MB_ICONSTOP);
  }
  KyErr400 dialog;
  dialog.SetConnection(this, pszText, CodeName(usCode));
  return static_cast<int>(dialog.DoModal());
}

int KyAppcConversation::fDoAllocate() {
  Library& l = library();
  m_iAttempts = 0;
  while (l.bound) {
    if (m_fAllocated) Deallocate();
    publishHost(m_strHost.c_str(), m_szUserId);
    ++m_iAttempts;
    ULONG id = 0;
    USHORT code = l.allocate(m_hWindow, m_ulBufferBytes, 1, 0, m_strHost.c_str(), m_strTpName.c_str(), 0, nullptr, &id);
    if (code == APPC_OK) {
      m_ulConversationId = id;
      m_fAllocated = 1;
      code = l.flush(m_hWindow, id);
      if (code == APPC_OK) return 1;
    }
    if (HandleError(KyFormatMessageId(kMsgAllocateFailed), code) == kGiveUp || m_iAttempts >= kMaxAllocations) break;
    Init();
  }
  return 0;
}

void KyAppcConversation::Deallocate() {
  publishHost("", "");
  if (!m_fAllocated) return;
  m_fAllocated = 0;
  if (library().bound) library().deallocate(m_hWindow, m_ulConversationId, 0);
  m_ulConversationId = 0;
}

int KyAppcConversation::Send() {
  if (!m_fAllocated) return 0;
  const USHORT code = library().sendData(m_hWindow, m_ulConversationId, static_cast<USHORT>(m_Buffer.size()),
                                         m_Buffer.data(), &m_bRequestToSend);
  if (code == APPC_OK) return 1;
  HandleError(KyFormatMessageId(kMsgSendFailed), code);
  return 0;
}

int KyAppcConversation::PrepareToReceive() {
  if (!m_fAllocated) return 0;
  const USHORT code = library().prepareToReceive(m_hWindow, m_ulConversationId);
  if (code == APPC_OK) return 1;
  HandleError(KyFormatMessageId(kMsgPrepareFailed), code);
  return 0;
}

int KyAppcConversation::ReceiveImmediate() {
  if (!m_fAllocated) return 0;
  const USHORT code = library().receiveImmediate(m_hWindow, m_ulConversationId, 1, 0, nullptr, &m_bWhatReceived,
                                                 &m_bRequestToSend, &m_usReceived);
  if (code == APPC_OK) return m_bWhatReceived == APPC_WR_DATA_COMPLETE || m_bWhatReceived == APPC_WR_DATA;
  if (code != APPC_UNSUCCESSFUL) HandleError(KyFormatMessageId(kMsgStatusFailed), code);
  return 0;
}

void KyAppcConversation::Drain() {
  while (m_fAllocated && !Receive()) {
  }
}

USHORT KyAppcConversation::poll(char* pBuffer, USHORT usLength, UCHAR* pbWhat, USHORT* pusReceived) {
  // Nothing yet is answered with a wait that grows to 50 ms, until the
  // location's time-out: never a busy spin, never without end.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_iTimeout);
  int waitMs = 1;
  for (;;) {
    const USHORT code = library().receiveImmediate(m_hWindow, m_ulConversationId, 1, usLength, pBuffer, pbWhat,
                                                   &m_bRequestToSend, pusReceived);
    if (code != APPC_UNSUCCESSFUL || std::chrono::steady_clock::now() >= deadline) return code;
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
    waitMs = std::min(waitMs * 2, 50);
  }
}

USHORT KyAppcConversation::receiveInto(char* pBuffer, USHORT usLength) {
  Library& l = library();
  const bool wait = upper(KyGetProfileString("Remote", "Async", "NO")) == "YES";
  auto once = [&](char* p, USHORT n) {
    m_usReceived = 0;
    return wait ? l.receiveAndWait(m_hWindow, m_ulConversationId, 1, n, p, &m_bWhatReceived, &m_bRequestToSend,
                                   &m_usReceived)
                : poll(p, n, &m_bWhatReceived, &m_usReceived);
  };
  char* p = pBuffer;
  USHORT left = usLength;
  USHORT code = once(p, left);
  while (code == APPC_OK && m_bWhatReceived == APPC_WR_DATA) {
    // A record that goes on when no room is left is longer than the reply.
    if (m_usReceived == 0 || m_usReceived > left) return kCodeWrongLength;
    p += m_usReceived;
    left = static_cast<USHORT>(left - m_usReceived);
    code = once(left ? p : nullptr, left);
  }
  if (code != APPC_OK) return code;
  if (left != 0) return kCodeWrongLength;  // a reply shorter than the call's data
  // The partner's turn to send ends the reply.
  if (m_bWhatReceived != APPC_WR_SEND) code = once(nullptr, 0);
  return code;
}

int KyAppcConversation::Receive() {
  if (!m_fAllocated) return 0;
  const USHORT code = receiveInto(m_Buffer.data(), static_cast<USHORT>(m_Buffer.size() & 0xFFFF));
  if (code == APPC_OK) return 1;
  KyString text = KyFormatMessageId(kMsgReceiveFailed);
  if (code == APPC_PROGRAM_ERROR_PURGING) text += KyFormatMessageId(kMsgPurging);
  if (code == 53) text += KyFormatMessageId(kMsgNoTp, {m_strHost.c_str()});
  if (code == 54) text += KyFormatMessageId(kMsgNoProgram, {m_strHost.c_str()});
  HandleError(text, code);
  return 0;
}
