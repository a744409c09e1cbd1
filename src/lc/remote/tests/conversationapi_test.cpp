// KyConversationAPI's members that reach the remote records and the
// network provider: the login name from MPR.DLL, an AS/400 password stored
// in its scattered form with the user id, the thread's default locations,
// and the host and user of the last sign-on.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyRemote400Info.h"
#include "KyStaticAPI.h"
#include "as400server.h"
#include "remoteenv.h"

namespace {

class ConversationApi : public kytest::RemoteEnv {
 protected:
  std::string iniText() override { return "[RMT_LOC: SYS400]\nSystem=host\nOpSys=AS400\n"; }
};

TEST_F(ConversationApi, LoginNameIsTheNetworkProvidersUser) {
  char expected[256] = {};
  DWORD size = sizeof expected;
  ASSERT_TRUE(GetUserNameA(expected, &size));
  CString name("old");
  EXPECT_EQ(KyConversationAPI::GetLoginName(name), 1);
  EXPECT_STREQ(name, expected);
}

TEST_F(ConversationApi, AS400PasswordIsStoredScatteredWithTheUser) {
  EXPECT_EQ(KyConversationAPI::SetAS400Password("NOWHERE", "secret", "joe"), 0);
  EXPECT_EQ(ini("RMT_LOC: NOWHERE", "Password"), "");
  auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("SYS400", 'A', 0));
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(KyConversationAPI::SetAS400Password("SYS400", "secret", "joe"), 1);
  const std::string stored = ini("RMT_LOC: SYS400", "Password");
  EXPECT_EQ(stored.size(), 640u);  // the scattered form, never the text
  EXPECT_EQ(stored.find("secret"), std::string::npos);
  EXPECT_EQ(stored, std::string(info->GetPassword(1, 0)));
  EXPECT_EQ(ini("RMT_LOC: SYS400", "UserId"), "joe");
  EXPECT_STREQ(info->m_strUserId, "joe");
}

// SetDefault changes the default of its letter only; a conversation asked
// for without a location then opens the new default, whose sign-on
// publishes its host and user.
TEST_F(ConversationApi, DefaultLocationTakesConversationsWithoutALocation) {
  KyConversationList* list = KyCallMgr::GetCallMgr()->GetConversationList();
  const std::string letters = "AUNJ#X";
  for (char letter : letters) {
    std::vector<std::string> before;
    for (char other : letters) before.push_back(list->GetDefaultLocation(other));
    CString location("AS1");
    KyConversationAPI::SetDefault(location, letter);
    for (size_t i = 0; i < letters.size(); ++i)
      EXPECT_EQ(list->GetDefaultLocation(letters[i]),
                letters[i] == letter && letter != 'X' ? std::string("AS1") : before[i])
          << letter << " " << letters[i];
  }
  kytest::As400Server server({});
  const std::string section = "RMT_LOC: AS1";
  for (auto [key, value] : {std::pair<const char*, std::string>{"System", "127.0.0.1"},
                            {"OpSys", "AS400"},
                            {"UserId", "joe"},
                            {"Port", std::to_string(server.port())},
                            {"Timeout", "1"}})
    WritePrivateProfileStringA(section.c_str(), key, value.c_str(), ini_.c_str());
  static_cast<KyRemote400Info*>(KyRemoteInfo::Create("AS1", 'A', 0))->SetPassword("secret", 0, 0);
  CString none;
  ASSERT_EQ(KyConversationAPI::Connect(none, 'A'), 1) << (boxes().empty() ? "" : boxes()[0]);
  EXPECT_NE(KyConversation::GetConversation("AS1", 'A', 0), nullptr);
  EXPECT_EQ(KyConversation::GetConversation("Remote", 'A', 0), nullptr);
  CString host, user;
  KyConversationAPI::GetSystemName(host);
  KyConversationAPI::GetUserId(user);
  EXPECT_STREQ(host, "127.0.0.1");
  EXPECT_STREQ(user, "joe");
  KyConversationAPI::Disconnect(none, 'A');
  EXPECT_EQ(KyConversation::GetConversation("AS1", 'A', 0), nullptr);
}

}  // namespace
