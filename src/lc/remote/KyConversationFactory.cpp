// The conversation classes by platform letter.
#include "KyConversationFactory.h"

#include "KyAS400TcpipConversation.h"
#include "KyConversation.h"
#include "KyRPCConversation.h"
#include "KyUnixTcpipConversation.h"
#include "KyVMTcpipConversation.h"

std::unique_ptr<KyConversation> KyMakeConversation(const char* pszLocation, char cPlatform) {
  switch (cPlatform) {
    case '#': return std::make_unique<KyCSharpTcpipConversation>(pszLocation);
    case 'A': return std::make_unique<KyAS400TcpipConversation>(pszLocation);
    case 'J': return std::make_unique<KyJavaTcpipConversation>(pszLocation);
    case 'N': return std::make_unique<KyRPCConversation>(pszLocation);
    case 'U': return std::make_unique<KyUnixTcpipConversation>(pszLocation);
    default: return nullptr;
  }
}
