// KyWrapperList: views by key.
#include "KyWrapperList.h"

#include "KyViewIO.h"

#include <cstring>

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
