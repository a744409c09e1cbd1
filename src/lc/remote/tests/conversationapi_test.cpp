// KyConversationAPI's members that reach the remote records and the
// network provider: the login name from MPR.DLL, and an AS/400 password
// stored in its scattered form with the user id.
#include <gtest/gtest.h>

#include <string>

#include "KyCallMgr.h"
#include "KyRemote400Info.h"
#include "KyStaticAPI.h"
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

}  // namespace
