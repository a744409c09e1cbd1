// The conversation class of a platform letter, constructed for a location:
// '#' .NET, 'J' Java, 'N' Windows RPC, 'U' Unix, 'A' AS/400 over TCP/IP.
// Null for a letter whose conversation this run-time does not have.
#pragma once

#include <memory>

class KyConversation;

std::unique_ptr<KyConversation> KyMakeConversation(const char* pszLocation, char cPlatform);
