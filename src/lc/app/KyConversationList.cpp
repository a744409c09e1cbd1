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

const char* KyConversationList::GetDefaultLocation(char cPlatform) {
  switch (cPlatform) {
    case 'A': return "Remote";
    case 'U': return "RemoteUnix";
    case 'N': return "RemoteWinNT";
    case 'J': return "RemoteJava";
    case '#': return "RemoteCSharp";
    default: return "";
  }
}
