// The conversation classes by platform letter. Conversations of platforms
// this run-time does not reach yet give none, and the call fails.
#include "KyConversationFactory.h"

#include "KyAS400TcpipConversation.h"
#include "KyConversation.h"

std::unique_ptr<KyConversation> KyMakeConversation(const char* pszLocation, char cPlatform) {
  switch (cPlatform) {
    case 'A': return std::make_unique<KyAS400TcpipConversation>(pszLocation);
    default: return nullptr;
  }
}
