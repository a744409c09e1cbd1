// KyConversationList: the thread's open conversations by location name, and
// the default location name of each platform.
#pragma once

#include "KyList.h"

class KyConversationList : public KyList {
 public:
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  void Pop(const char* pszName) override { PopFound(pszName); }
  // Adds a node for the conversation; the list does not own the
  // conversation (the conversation subsystem ends it before removal).
  void Push(const char* pszName, void* pConversation) override;

  // "Remote" for 'A', "RemoteUnix" for 'U', "RemoteWinNT" for 'N',
  // "RemoteJava" for 'J', "RemoteCSharp" for '#', "" for any other letter.
  static const char* GetDefaultLocation(char cPlatform);
};
