// KyConversationList.
#include "KyConversationList.h"

#include "KyConversation.h"

KyConversationNode::KyConversationNode(const char* pszName, KyConversation* pConversation) : KyListNode(pszName) {
  SetCurrent(pConversation);
}

KyConversationNode::~KyConversationNode() { delete GetConversation(); }

void KyConversationNode::Hold(KyConversation* pConversation) {
  KyConversation* pOld = GetConversation();
  SetCurrent(pConversation);
  if (pOld != pConversation) delete pOld;
}

void KyConversationList::Push(const char* pszName, void* pConversation) {
  auto* pConv = static_cast<KyConversation*>(pConversation);
  if (KyListNode* pNode = FindNode(pszName, nullptr)) {
    static_cast<KyConversationNode*>(pNode)->Hold(pConv);
    return;
  }
  Add(new KyConversationNode(pszName, pConv));
}

int KyConversationList::platformIndex(char cPlatform) {
  for (int i = 0; i < 5; ++i)
    if (cPlatform == kPlatforms[i]) return i;
  return -1;
}

const char* KyConversationList::GetDefaultLocation(char cPlatform) const {
  const int index = platformIndex(cPlatform);
  return index < 0 ? "" : static_cast<const char*>(m_DefaultLocations[static_cast<size_t>(index)]);
}

bool KyConversationList::SetDefaultLocation(char cPlatform, const char* pszLocation) {
  const int index = platformIndex(cPlatform);
  if (index < 0) return false;
  m_DefaultLocations[static_cast<size_t>(index)] = pszLocation ? pszLocation : "";
  return true;
}
