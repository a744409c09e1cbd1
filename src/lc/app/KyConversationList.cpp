// KyConversationList.
#include "KyConversationList.h"

#include <memory>

void KyConversationList::Push(const char* pszName, void* pConversation) {
  auto pNode = std::make_unique<KyListNode>(pszName);
  pNode->SetCurrent(pConversation);
  Add(pNode.release());
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
