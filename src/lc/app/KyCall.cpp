// KyCall: one function location, and the call list.
#include "KyCall.h"

#include "KyDLL.h"
#include "KyProfile.h"
#include "KyRemoteInfo.h"

KyCallServices& KyGetCallServices() {
  static KyCallServices services;
  return services;
}

KyCall::KyCall(KyCallMgr* pOwner, int iType, const char* pszImplementationName, const char* pszLocationName,
               const char* pszLibraryName)
    : m_pOwner(pOwner), m_ImplementationName(pszImplementationName), m_iType(iType),
      m_LocationName(pszLocationName), m_LibraryName(pszLibraryName) {}

KyCall::KyCall(const KyCall& location, int iType, const char* pszImplementationName, const char* pszLibraryName)
    : m_pLocationWord(location.m_pLocationWord), m_pOwner(location.m_pOwner), m_fSecondForm(1),
      m_ImplementationName(pszImplementationName), m_iType(iType), m_LocationName(location.m_LocationName),
      m_LibraryName(pszLibraryName) {}

KyCall::~KyCall() {
  // The library is the call manager's lockable resource: it goes with the
  // clean-up, which clears this pointer first when it deletes it.
  if (m_pLibrary && m_pLibrary->GetOwningCall() == this) m_pLibrary->SetOwningCall(nullptr);
  delete m_pBuiltIn;
  if (m_pRemoteCall && KyGetCallServices().DeleteRemoteCall) KyGetCallServices().DeleteRemoteCall(m_pRemoteCall);
  DeleteStoredProcedure();
}

void KyCall::DeleteStoredProcedure() {
  if (m_pStoredProcedure && KyGetCallServices().DeleteStoredProcedure)
    KyGetCallServices().DeleteStoredProcedure(m_pStoredProcedure);
  m_pStoredProcedure = nullptr;
}

void KyCall::Parse() {
  if (m_iType == 'C') {
    const KyString section = KyRemoteInfo::SectionName(m_LocationName.IsEmpty() ? "RemoteWinNT" : m_LocationName);
    const KyString transaction = KyGetProfileString(section, "Transaction", "No");
    m_cTransaction = transaction == "New" ? 'W' : transaction == "Required" ? 'R' : transaction == "Supported" ? 'S' : 'N';
    m_Environment = KyGetProfileString(section, "Environment", "");
    m_System = KyGetProfileString(section, "System", "");
    m_fRefused = 1;
    return;
  }
  m_fRefused = 0;
  LoadLibrary();
}

void KyCall::LoadLibrary() {
  if (m_LibraryName.IsEmpty()) return;
  KyString fileName(m_LibraryName);
  // ".DLL" is added unless the name has it already, in any case: "app.dll"
  // names APP.DLL, not APP.DLL.DLL.
  KyString upper(fileName);
  upper.MakeUpper();
  if (upper.Find(".DLL") < 0) fileName += ".DLL";
  m_pLibrary = new KyDLL(fileName, nullptr);
  m_pLibrary->m_fFunctionLibrary = 1;
  m_pLibrary->ResolveEntry(m_ImplementationName, m_ImplementationName);
  m_pLibrary->SetOwningCall(this);
}

void KyCallNode::Replace(KyCall* pCall) {
  KyCall* pOld = GetCall();
  SetCurrent(pCall);
  if (pOld != pCall) delete pOld;
}

void KyCallList::Delete(const char* pszName) {
  for (KyListNode* pNode = GetHead(); pNode; pNode = pNode->GetNext())
    if (pNode == m_pLastFound && pNode->GetName()->Compare(pszName ? pszName : "") == 0) m_pLastFound = nullptr;
  RemoveExact(pszName);
}

KyCall* KyCallList::Find(const char* pszImplementationName, const char* pszLocationName) {
  auto matches = [&](KyListNode* pNode) {
    const KyCall* pCall = static_cast<KyCallNode*>(pNode)->GetCall();
    return pCall && pCall->GetImplementationName() == pszImplementationName &&
           pCall->GetLocationName() == (pszLocationName ? pszLocationName : "");
  };
  if (m_pLastFound && matches(m_pLastFound)) return m_pLastFound->GetCall();
  for (KyListNode* pNode = GetHead(); pNode; pNode = pNode->GetNext()) {
    if (matches(pNode)) {
      m_pLastFound = static_cast<KyCallNode*>(pNode);
      return m_pLastFound->GetCall();
    }
  }
  return nullptr;
}

void KyCallList::Store(KyCall* pCall) {
  const KyString& name = pCall->GetImplementationName();
  auto* pNode = static_cast<KyCallNode*>(FindNode(name, nullptr));
  if (pNode) {
    pNode->Replace(pCall);
  } else {
    pNode = new KyCallNode(name, pCall);
    Add(pNode);
  }
  m_pLastFound = pNode;
}

void KyCallList::DropLocation(const char* pszLocationName) {
  const KyString location(pszLocationName);
  bool removed = true;
  while (removed) {
    removed = false;
    for (KyListNode* pNode = GetHead(); pNode; pNode = pNode->GetNext()) {
      const KyCall* pCall = static_cast<KyCallNode*>(pNode)->GetCall();
      if (pCall && pCall->GetLocationName() == location) {
        // Names are unique ignoring case, so the exact name removes this node.
        Delete(KyString(*pNode->GetName()));
        removed = true;
        break;
      }
    }
  }
}
