// The conversation classes by platform letter. Conversations of platforms
// this run-time does not reach yet give none, and the call fails.
#include "KyConversationFactory.h"

#include "KyConversation.h"

std::unique_ptr<KyConversation> KyMakeConversation(const char* pszLocation, char cPlatform) {
  switch (cPlatform) {
    default: return nullptr;
  }
}
