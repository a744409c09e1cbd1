// KyConversationList: the thread's open conversations by location name, and
// the default location name of each platform. Nodes own their conversation:
// removing a node (Delete, Pop) or ending the list destroys it.
#pragma once

#include "KyList.h"

class KyConversation;

class KyConversationNode : public KyListNode {
 public:
  KyConversationNode(const char* pszName, KyConversation* pConversation);
  ~KyConversationNode() override;
  KyConversation* GetConversation() const { return static_cast<KyConversation*>(GetCurrent()); }
  // Holds pConversation instead; the one it held is destroyed.
  void Hold(KyConversation* pConversation);
};

class KyConversationList : public KyList {
 public:
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  void Pop(const char* pszName) override { PopFound(pszName); }
  // The node of the name (ignoring case) holds the conversation (a
  // KyConversation*), else a new node is appended.
  void Push(const char* pszName, void* pConversation) override;

  // "Remote" for 'A', "RemoteUnix" for 'U', "RemoteWinNT" for 'N',
  // "RemoteJava" for 'J', "RemoteCSharp" for '#', "" for any other letter.
  static const char* GetDefaultLocation(char cPlatform);
};
