// KyWrapperList: views by key; KyFunctionData::AllocateWrapper, through
// which generated functions get their views.
#include "KyWrapperList.h"

#include "KyCallMgr.h"
#include "KyDatabaseConnection.h"
#include "KyFunctionData.h"
#include "KyViewIO.h"

#include <algorithm>
#include <cstring>
#include <memory>

KyWrapperNode::KyWrapperNode(const char* pszName, KyViewIO* pView) : KyListNode(pszName) { SetCurrent(pView); }

KyWrapperNode::~KyWrapperNode() { delete GetView(); }

void KyWrapperNode::CloseCurrentWrapper() {
  if (KyViewIO* view = GetView()) view->Close();
}

void KyWrapperList::Push(const char* pszName, void* pView) {
  auto* view = static_cast<KyViewIO*>(pView);
  if (view) view->SetWrapperList(this);
  Add(new KyWrapperNode(pszName ? pszName : "", view));
}

void KyWrapperList::Pop(const char* pszName) {
  if (LookUp(pszName)) Delete(pszName);
}

KyViewIO* KyWrapperList::LookUp(const char* pszName) {
  for (KyListNode* node = GetHead(); node; node = node->GetNext())
    if (std::strcmp(*node->GetName(), pszName ? pszName : "") == 0) return static_cast<KyViewIO*>(node->GetCurrent());
  return nullptr;
}

void KyWrapperList::CloseAllWrappers(KyDatabaseConnection* pConnection) {
  for (KyListNode* node = GetHead(); node; node = node->GetNext()) {
    auto* wrapper = static_cast<KyWrapperNode*>(node);
    KyViewIO* view = wrapper->GetView();
    if (view && (!pConnection || view->GetConnection() == pConnection)) wrapper->CloseCurrentWrapper();
  }
}

// --- the function data's view wrappers -------------------------------------

KyViewIO* KyFunctionData::AllocateWrapper(const char* pszWrapperName, const char* pszViewName, int iColumns, int iKeys,
                                          const vioFieldInfo* pFields, const unsigned short* pKeyPositions,
                                          const char* pszConnectionName, int iAccess, void**) {
  KyCallMgr* callMgr = KyCallMgr::GetCallMgr();
  if (!callMgr || !pFields || iColumns <= 0) return nullptr;
  // The description names its connection as GetWrapper will: the function's
  // own when none is given, so that the key found is the key registered.
  KyString connection = pszConnectionName && *pszConnectionName ? pszConnectionName : GetDatabaseConnectionName();
  KyString key;
  key.Format("%s_%s_%s", pszViewName ? pszViewName : "", pszWrapperName ? pszWrapperName : "", connection.c_str());
  if (KyViewIO* found = callMgr->GetWrapperList()->LookUp(key); found && found->IsDescribed()) return found;
  auto description = std::make_unique<KyViewDescription>(pszViewName, iColumns, std::max(iKeys, 0), pFields,
                                                         pKeyPositions);
  description->SetAccessType(iAccess == vioAccessRead ? vioAccessRead : vioAccessUpdate);
  // A registered connection of the name keeps its kind; a new one is ODBC.
  const KyDatabaseConnection* registered = callMgr->GetConnectionList()->LookUpByName(connection);
  description->SetDatabaseConnectionName(connection, registered ? registered->GetKind() : KyDatabaseConnection::KindODBC);
  KyViewIO* view = description->GetWrapper(this, pszWrapperName);
  if (view) view->AdoptDescription(std::move(description));
  return view;
}

KyViewIO* KyFunctionData::AllocateWrapper(const char* pszWrapperName, const char* pszViewName, int iColumns, int iKeys,
                                          const vioFieldInfo* pFields, const unsigned short* pKeyPositions,
                                          const char* pszConnectionName, void** ppFunctions) {
  return AllocateWrapper(pszWrapperName, pszViewName, iColumns, iKeys, pFields, pKeyPositions, pszConnectionName,
                         vioAccessUpdate, ppFunctions);
}

KyViewIO* KyFunctionData::AllocateWrapper(const char* pszWrapperName, const char* pszViewName, int iColumns, int iKeys,
                                          const vioFieldInfo* pFields, const unsigned short* pKeyPositions,
                                          void** ppFunctions) {
  return AllocateWrapper(pszWrapperName, pszViewName, iColumns, iKeys, pFields, pKeyPositions, "", ppFunctions);
}
