// KyCallMgr: dispatch of calls by location type, the location lookup, the
// local call and the clean-up of lockable resources.
#include "KyCallMgr.h"

#include <cstring>
#include <mutex>

#include "KyAppContext.h"
#include "KyDatabaseConnection.h"
#include "KyWrapperList.h"
#include "KyFncMessage.h"
#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "KyProfile.h"
#include "KyWinClientApp.h"

namespace {

constexpr int kOptionFailoverSwitching = 60;
const char kStatusOk[] = " ";
const char kStatusFailed[] = "*Failed";

KyCallServices& services() { return KyGetCallServices(); }

}  // namespace

// --- location list ---

KyLocationList::~KyLocationList() {
  for (KyListNode* pNode = GetHead(); pNode; pNode = pNode->GetNext()) delete static_cast<KyString*>(pNode->GetCurrent());
}

void KyLocationList::Push(const char* pszName, void* pszLocation) {
  const char* location = static_cast<const char*>(pszLocation);
  if (KyListNode* pNode = FindNode(pszName, nullptr)) {
    *static_cast<KyString*>(pNode->GetCurrent()) = location;
    return;
  }
  auto* pNode = new KyListNode(pszName);
  pNode->SetCurrent(new KyString(location));
  Add(pNode);
}

const char* KyLocationList::GetLocation(const char* pszFullName) {
  auto* pLocation = static_cast<KyString*>(Find(pszFullName));
  return pLocation ? pLocation->c_str() : nullptr;
}

void KyLocationList::Load() {
  for (const KyString& key : KyGetProfileKeyNames("Function Location")) {
    const KyString value = KyGetProfileString("Function Location", key, "");
    if (!value.IsEmpty()) Push(key, const_cast<char*>(value.c_str()));
  }
}

// --- call manager ---

struct KyCallMgr::Request {
  KyString implementation;
  KyString library;
  KyString location;
  KyString connection;
  KyString display;
  char language = 'W';
  char type = 'E';
  char system = 'L';
};

KyCallMgr::KyCallMgr() { m_LocationList.Load(); }

KyCallMgr::~KyCallMgr() {
  // Functions still alive end leaf first as their locks drop; what stays
  // locked is left to its holders.
  size_t before;
  do {
    before = m_LockableList.size();
    CleanUp(0);
  } while (m_LockableList.size() < before);
  CleanUp(0);
  // Views and stored procedures close their statements on their
  // connections, which go after them.
  for (KyListNode* node = m_CallList.GetHead(); node; node = node->GetNext())
    if (auto* pCall = static_cast<KyCall*>(node->GetCurrent())) pCall->DeleteStoredProcedure();
  delete m_pWrapperList;
  m_pWrapperList = nullptr;
  m_pDefaultOCIConnection = m_pDefaultODBCConnection = nullptr;
  delete m_pConnectionList;
  m_pConnectionList = nullptr;
}

KyDatabaseConnection* KyCallMgr::GetDatabaseConnectionList(int iKind) const {
  if (iKind == KyDatabaseConnection::KindOCI) return m_pDefaultOCIConnection;
  if (iKind == KyDatabaseConnection::KindODBC) return m_pDefaultODBCConnection;
  return nullptr;
}

KyDatabaseConnectionList* KyCallMgr::GetConnectionList() {
  if (!m_pConnectionList) m_pConnectionList = new KyDatabaseConnectionList;
  return m_pConnectionList;
}

KyWrapperList* KyCallMgr::GetWrapperList() {
  if (!m_pWrapperList) m_pWrapperList = new KyWrapperList;
  return m_pWrapperList;
}

KyCallMgr* KyCallMgr::GetCallMgr(BOOL fCreate) {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->GetCallMgr(fCreate) : nullptr;
}

void KyCallMgr::SetReturnedStatus(KyFunctionData* pCaller, const char* pszText) {
  if (!pCaller) return;
  pCaller->GetLocals()->m_CallStatus.PutText(pszText);
}

void KyCallMgr::reportStatus(KyFunctionData* pCaller, const char* pszText) {
  if (pCaller) {
    SetReturnedStatus(pCaller, pszText);
  } else if (KyCallMgr* pCallMgr = GetCallMgr(FALSE)) {
    pCallMgr->m_DirectCallStatus = pszText;
  }
}

void KyCallMgr::AddLockableResource(KyLockableResource* pResource) { m_LockableList.push_front(pResource); }

void KyCallMgr::RemoveLockableResource(KyLockableResource* pResource) { m_LockableList.remove(pResource); }

void KyCallMgr::deleteResource(KyLockableResource* pResource) {
  if (pResource->m_fFunctionLibrary) {
    auto* pLibrary = static_cast<KyDLL*>(pResource);
    if (KyCall* pCall = pLibrary->GetOwningCall()) pCall->SetLibrary(nullptr);  // the next call loads it again
  }
  try {
    delete pResource;
  } catch (...) {
    // A destructor that throws loses nothing more than its own object.
  }
}

void KyCallMgr::CleanUp(int fForce) {
  bool changed = true;
  while (changed) {
    changed = false;
    for (auto it = m_LockableList.begin(); it != m_LockableList.end(); ++it) {
      KyLockableResource* pResource = *it;
      if (pResource->GetLockCount() >= 1 && !fForce) continue;
      if (pResource->GetLockCount() < 1 || !fForce) {
        m_LockableList.erase(it);  // before the delete: the destructor looks for itself
        deleteResource(pResource);
      } else {
        pResource->UnLock();
      }
      changed = true;
      break;
    }
  }
}

void* KyCallMgr::findConversation(const char* pszLocation) {
  return services().GetConversation ? services().GetConversation(pszLocation, '*', 0) : nullptr;
}

KyCall* KyCallMgr::makeRemote(const Request& request) {
  auto conversationOf = [](const char* pszLocation) -> void* {
    return services().GetConversation ? services().GetConversation(pszLocation, '*', 1) : nullptr;
  };
  void* pConversation = conversationOf(request.location);
  KyAppContext* pContext = KyAppContext::Current();
  if (!pConversation && pContext && pContext->GetRunOptions()->fGetOption(kOptionFailoverSwitching)) {
    const KyString section = KyString("Location List: ") + request.location;
    for (const KyString& key : KyGetProfileKeyNames(section)) {
      const KyString other = KyGetProfileString(section, key, "");
      if (other.IsEmpty()) continue;
      const KyString opSys = KyGetProfileString(KyRemoteInfo::SectionName(other), "OpSys", "");
      if (KyRemoteInfo::OpSysLetter(opSys) == '?') continue;
      if ((pConversation = conversationOf(other))) break;
    }
  }
  if (!pConversation) {
    KyShowMessageBox(KyFormatMessageId(KyMsgNoConversation));
    return nullptr;
  }
  if (KyCall* pFound = m_CallList.Find(request.implementation, request.location)) return pFound;
  auto* pCall = new KyCall(this, 'R', request.implementation, request.location, nullptr);
  pCall->m_pLocationWord = pConversation;
  pCall->m_pConversation = pConversation;
  return pCall;
}

KyCall* KyCallMgr::lookUp(KyFunctionData* pCaller, const Request& request, bool* pfMade) {
  const bool local = (request.location.IsEmpty() && request.language == 'W') || request.location == "*Local";
  const bool builtIn = !request.implementation.IsEmpty() && request.implementation[0] == '*';
  *pfMade = false;
  if (KyCall* pCall = m_CallList.Find(request.implementation, request.location)) {
    if (local && !builtIn && pCall->GetType() == 'E') {
      if (!pCall->GetLibrary())
        pCall->LoadLibrary();
      else
        pCall->GetLibrary()->Lock();
    }
    return pCall;
  }

  KyCall* pCall = nullptr;
  if (local && builtIn) {
    pCall = new KyCall(this, 'B', request.implementation, request.location, nullptr);
    if (services().MakeBuiltIn) pCall->m_pBuiltIn = services().MakeBuiltIn(request.implementation);
  } else if (local) {
    KyCall* pCallerLocation = pCaller ? pCaller->GetLocation() : nullptr;
    pCall = pCallerLocation ? new KyCall(*pCallerLocation, 'E', request.implementation, request.library)
                            : new KyCall(this, 'E', request.implementation, request.location, request.library);
    pCall->Parse();
    KyDLL* pLibrary = pCall->GetLibrary();
    if (!pCallerLocation && (!pLibrary || !pLibrary->GetModule())) {
      // The failed library holds the lock of this call: let the clean-up
      // free it with the record.
      if (pLibrary) pLibrary->UnLock();
      delete pCall;
      return nullptr;
    }
  } else if (request.type == 'D') {
    pCall = new KyCall(this, 'D', request.implementation, request.location, nullptr);
    pCall->m_ConnectionName = request.connection;
    pCall->m_iConnectionKind = (request.language == 'O' || request.language == 'D') ? KyDatabaseConnection::KindOCI
                                                                                 : KyDatabaseConnection::KindODBC;
  } else {
    const KyString protocol = KyGetProfileString(KyRemoteInfo::SectionName(request.location), "Protocol", "");
    if (protocol.CompareNoCase("COM") == 0) {
      pCall = new KyCall(this, 'C', request.implementation, request.location, request.library);
      pCall->Parse();
    } else {
      pCall = makeRemote(request);
      if (!pCall) return nullptr;
      if (m_CallList.Find(request.implementation, request.location) == pCall) return pCall;
    }
  }
  *pfMade = true;
  m_CallList.Store(pCall);
  return pCall;
}

void KyCallMgr::Call(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, int iCallIndex,
                     const char* pszImplementationName, const char* pszLibraryName) {
  KyCallMgr* pCallMgr = GetCallMgr();
  if (!pCallMgr) {
    reportStatus(pCaller, kStatusFailed);
    return;
  }
  // A caller-less call reports here; a built-in reports nothing.
  if (!pCaller) pCallMgr->m_DirectCallStatus.Empty();
  Request request;
  request.implementation = pszImplementationName;
  request.library = pszLibraryName;
  if (iCallIndex != 0 && pCaller) {
    if (KyRTDIFnc* pRecord = pCaller->GetFunctionTable()->At(iCallIndex)) {
      if (pRecord->m_cType == 'I') {
        LocalCall(pCaller, pIn, pOut, reinterpret_cast<KyEntryProc>(pRecord->m_pCallerPointer),
                  pRecord->m_pszDesignName, pRecord->m_pszLibraryName, pRecord->m_pszImplementationName, nullptr);
        return;
      }
      request.type = pRecord->m_cType;
      request.language = pRecord->m_cLanguage;
      request.system = pRecord->m_cSystem;
      request.connection = pRecord->m_ConnectionName;
      request.display = pRecord->m_pszDesignName;
      if (pRecord->m_pszImplementationName) request.implementation = pRecord->m_pszImplementationName;
      if (pRecord->m_pszLibraryName) request.library = pRecord->m_pszLibraryName;
      if (request.language != 'W' && request.type != 'D' && pRecord->m_LocationName.IsEmpty())
        pRecord->m_LocationName = pCallMgr->m_ConversationList.GetDefaultLocation(request.system);
      request.location = pRecord->m_LocationName;
    }
  }

  bool made = false;
  KyCall* pCall = pCallMgr->lookUp(pCaller, request, &made);
  if (!pCall) {
    reportStatus(pCaller, kStatusFailed);
    pCallMgr->CleanUp(0);  // a library that failed to load goes now
    return;
  }
  if (pCall->GetType() == 'D') {
    const int ok = services().CallStoredProcedure &&
                   services().CallStoredProcedure(&pCall->m_pStoredProcedure, pCaller, pCall->GetImplementationName(),
                                                  pCall->m_ConnectionName, pCall->m_iConnectionKind);
    reportStatus(pCaller, ok ? kStatusOk : kStatusFailed);
  } else if (pCall->IsRefused()) {
    KyShowMessageBox(KyFormatMessageId(KyMsgTransactionRefused, {request.implementation, request.library}));
    reportStatus(pCaller, kStatusFailed);
  } else if (pCall->GetType() == 'E') {
    LocalCall(pCaller, pIn, pOut, nullptr, request.display, request.library, request.implementation, pCall);
  } else if (pCall->GetType() == 'R') {
    pCallMgr->dispatchRemote(pCaller, pIn, pOut, pCall, made, request);
  } else if (pCall->GetType() == 'B') {
    // A built-in reports its own success; a failure is a failed call.
    if (!pCall->m_pBuiltIn || !pCall->m_pBuiltIn->Run(pCaller, pIn, pOut)) reportStatus(pCaller, kStatusFailed);
  } else {
    reportStatus(pCaller, kStatusFailed);
  }
}

void KyCallMgr::dispatchRemote(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, KyCall* pCall,
                               bool fMade, const Request& request) {
  auto execute = [&](KyCall* pRecord) {
    return services().ExecuteRemoteCall &&
           services().ExecuteRemoteCall(&pRecord->m_pRemoteCall, pRecord->m_pConversation, pCaller, pIn, pOut,
                                        pRecord->GetImplementationName());
  };
  const KyString location(pCall->GetLocationName());  // the record may go with a drop
  bool ok = execute(pCall);
  if (!ok && !fMade) {
    // A cached record may hold a conversation that died: drop what belongs
    // to the location and try once on a fresh one.
    forgetLocation(location, pCall->m_pConversation);
    bool madeAgain = false;
    pCall = lookUp(pCaller, request, &madeAgain);
    ok = pCall && execute(pCall);
  }
  // A conversation whose call failed is broken: none stays listed, so that
  // the next call or Connect opens a fresh one.
  if (!ok) forgetLocation(location, pCall ? pCall->m_pConversation : nullptr);
  reportStatus(pCaller, ok ? kStatusOk : kStatusFailed);
}

void KyCallMgr::forgetLocation(const KyString& location, const void* pConversation) {
  KyString listed(location);
  for (KyListNode* pNode = m_ConversationList.GetHead(); pNode && pConversation; pNode = pNode->GetNext())
    if (pNode->GetCurrent() == pConversation) listed = *pNode->GetName();
  m_CallList.DropLocation(location);
  if (void* pListed = findConversation(listed)) {
    if (services().DeallocateConversation) services().DeallocateConversation(pListed);
  }
  m_ConversationList.Pop(listed);
}

void KyCallMgr::LocalCall(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, KyEntryProc pEntry,
                          const char* pszDisplayName, const char* pszLibraryName, const char* pszImplementationName,
                          KyCall* pCall) {
  auto* pParameter = pCaller ? new KyFncParameter(pCaller, pIn, pOut, pCall) : new KyFncParameter(pCall);
  bool ok = false;
  KyDLL* pLibrary = nullptr;
  if (pEntry) {
    pEntry(pParameter);
    ok = true;
  } else if (pCall) {
    if (!pCall->GetLibrary()) pCall->LoadLibrary();
    pLibrary = pCall->GetLibrary();
    if (!pLibrary || !pLibrary->GetModule()) {
      const char* pszName = (pszDisplayName && *pszDisplayName)               ? pszDisplayName
                            : (pszImplementationName && *pszImplementationName) ? pszImplementationName
                                                                                 : pszLibraryName;
      KyShowMessageBox(KyFormatMessageId(KyMsgCallNotLoaded, {pszName, pszLibraryName}));
    } else if (pLibrary->GetEntry()) {
      pParameter->m_pLibrary = pLibrary;
      pLibrary->GetEntry()(pParameter);
      ok = true;
    }
  }
  // An entry whose function refused to run (wrong generator build or
  // parameter counts, panel library missing, parameters unreadable) showed
  // why; its caller must not go on as if it had run.
  if (pParameter->m_fCalleeRefused) ok = false;
  reportStatus(pCaller, ok ? kStatusOk : kStatusFailed);

  if (KyFunctionData* pCallee = pParameter->m_pCallee) {
    // The callee's function data outlived its entry: its clean-up owner is
    // now the call manager.
    pCallee->ClearParameter();
    if (!pCallee->GetPanel()) {
      NameApplication(pCaller ? pCaller->pszGetName() : nullptr);
    }
    pCallee->UnLock();
  }
  // The lookup locked the library for this call; the callee's function
  // data releases that lock when it ends. When no function data took it
  // (the library failed, or the entry made none), release it here.
  if (pLibrary && !pParameter->m_fCalleeMade) pLibrary->UnLock();
  delete pParameter;
  if (KyCallMgr* pCallMgr = GetCallMgr(FALSE)) pCallMgr->CleanUp(0);
}

void KyCallMgr::NameApplication(const char* pszName, const char* pszIfNamed) {
  auto* pApp = KyGetClientApp();
  if (!pApp) return;
  // The compare and the change are one step for the other threads.
  std::lock_guard guard(KyApp::AppNameLock());
  if (pszIfNamed && !(pApp->m_pszAppName && std::strcmp(pApp->m_pszAppName, pszIfNamed) == 0)) return;
  pApp->SetAppName(pszName);
}

void KyCallMgr::KyCallExternalFunction(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                                       const char* pszDisplayName, const char* pszImplementationName,
                                       const char* pszLibraryName, KyProgramInfo*) {
  KyCallMgr* pCallMgr = GetCallMgr();
  if (!pCallMgr) {
    reportStatus(pCaller, kStatusFailed);
    return;
  }
  KyCall* pCall = pCallMgr->m_CallList.Find(pszImplementationName, "");
  if (!pCall) {
    pCall = new KyCall(pCallMgr, 'E', pszImplementationName, "", pszLibraryName);
    pCall->Parse();
    pCallMgr->m_CallList.Store(pCall);
  } else if (!pCall->GetLibrary()) {
    pCall->LoadLibrary();
  } else {
    pCall->GetLibrary()->Lock();
  }
  LocalCall(pCaller, pIn, pOut, nullptr, pszDisplayName, pszLibraryName, pszImplementationName, pCall);
}

void KyCallMgr::KyCallInternalFunction(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                                       KyEntryProc pEntry) {
  LocalCall(pCaller, pIn, pOut, pEntry, nullptr, nullptr, nullptr, nullptr);
}

void KyCallMgr::KyCallRPCFunction(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                                  KyEntryProc pEntry) {
  LocalCall(pCaller, pIn, pOut, pEntry, nullptr, nullptr, nullptr, nullptr);
}

int KyCallMgr::KyCall400(const char* pszProgram, char* pBuffer, int iLength, KyFncParameter* pParameter) {
  auto* pCall = static_cast<KyCall*>(m_CallList.Find(pszProgram));
  const int ok = pCall && pCall->m_pLocationWord && services().ExecuteProgramCall &&
                 services().ExecuteProgramCall(pCall->m_pLocationWord, pszProgram, pBuffer, iLength);
  reportStatus(pParameter ? pParameter->m_pCaller : nullptr, ok ? kStatusOk : kStatusFailed);
  return ok ? 1 : 0;
}

KyCall* KyCallMgr::GetCall(const char* pszName) {
  if (!pszName) {
    AllocateConnection(nullptr, "default", 1);
    pszName = "default";
  }
  return static_cast<KyCall*>(m_CallList.Find(pszName));
}

int KyCallMgr::AllocateConnection(KyFncParameter*, const char* pszName, int iKind) {
  void* pConversation =
      services().GetConversation ? services().GetConversation("", iKind == 1 ? 'A' : 'U', 1) : nullptr;
  if (!pConversation) return 0;
  if (m_CallList.Find(pszName)) return 1;
  auto* pCall = new KyCall(this, 'R', pszName, "", nullptr);
  pCall->m_pLocationWord = pConversation;
  pCall->m_pConversation = pConversation;
  m_CallList.Store(pCall);
  return 1;
}

int AllocateConnection(KyFncParameter* pParameter, const char* pszName, int iKind) {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr();
  return pCallMgr ? pCallMgr->AllocateConnection(pParameter, pszName, iKind) : 0;
}
