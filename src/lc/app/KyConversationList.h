// KyConversationList: the thread's open conversations by location name, and
// the default location name of each platform (the list's own, so that one
// thread's SetDefault leaves the others' alone). Nodes own their
// conversation: removing a node (Delete, Pop) or ending the list destroys it.
#pragma once

#include <array>

#include "KyList.h"
#include "KyString.h"

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

  // The platform's default location: until changed "Remote" for 'A',
  // "RemoteUnix" for 'U', "RemoteWinNT" for 'N', "RemoteJava" for 'J',
  // "RemoteCSharp" for '#'; "" for any other letter.
  const char* GetDefaultLocation(char cPlatform) const;
  // Makes the location the platform's default; false (nothing changed) for
  // a letter that has none.
  bool SetDefaultLocation(char cPlatform, const char* pszLocation);

 private:
  static constexpr char kPlatforms[] = "AUNJ#";
  static int platformIndex(char cPlatform);
  std::array<KyString, 5> m_DefaultLocations{"Remote", "RemoteUnix", "RemoteWinNT", "RemoteJava", "RemoteCSharp"};
};
