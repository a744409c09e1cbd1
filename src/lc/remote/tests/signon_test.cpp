// The AS/400 conversation against the test AS/400 server on loopback: the
// sign-on record, one and two connections, refused and expired sign-ons,
// status lines kept under run option 60, and calls that the server stalls,
// cuts or answers with garbage.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "KyAS400TcpipConversation.h"
#include "KyCallMgr.h"
#include "KyFncMessage.h"
#include "KyRemote400Info.h"
#include "as400server.h"
#include "remoteenv.h"

namespace {

using kytest::As400Server;

class SignOn : public kytest::RemoteEnv {
 protected:
  // An AS/400 location AS1 on the server's port with user joe and a stored
  // password.
  KyRemote400Info* location(uint16_t port, const char* jobDescription = "") {
    KyCallMgr::GetCallMgr()->GetRemoteInfoList()->Delete("AS1");  // read anew with this server's port
    const std::string section = "RMT_LOC: AS1";
    WritePrivateProfileStringA(section.c_str(), "System", "127.0.0.1", ini_.c_str());
    WritePrivateProfileStringA(section.c_str(), "OpSys", "AS400", ini_.c_str());
    WritePrivateProfileStringA(section.c_str(), "UserId", "joe", ini_.c_str());
    WritePrivateProfileStringA(section.c_str(), "Port", std::to_string(port).c_str(), ini_.c_str());
    WritePrivateProfileStringA(section.c_str(), "Timeout", "1", ini_.c_str());
    WritePrivateProfileStringA(section.c_str(), "Job Description", jobDescription, ini_.c_str());
    WritePrivateProfileStringA("Message Box", "AS400connection", "False", ini_.c_str());
    auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("AS1", 'A', 0));
    info->SetPassword("secret", 0, 0);
    return info;
  }
  // A 76-byte call header announcing `data`, then the data.
  static std::string block(const std::string& data) {
    std::string b(76, '\0');
    const uint32_t n = static_cast<uint32_t>(data.size());
    b[72] = char(n >> 24), b[73] = char(n >> 16), b[74] = char(n >> 8), b[75] = char(n);
    return b + data;
  }
  // One call on an allocated conversation: the reply or "" on failure.
  static std::string call(KyConversation* conversation, const std::string& data, size_t replySize) {
    const std::string b = block(data);
    if (!conversation->SendData(b.data(), static_cast<int>(b.size()), "PGM")) return "";
    if (!conversation->PrepareToReceive()) return "";
    std::string reply(replySize, '\0');
    return conversation->ReceiveData(reply.data(), static_cast<int>(replySize)) ? reply : "";
  }
};

TEST_F(SignOn, TheRecordCarriesUserPasswordAndJobDescription) {
  As400Server server({});
  KyRemote400Info* info = location(server.port());
  KyConversation* conversation = KyConversation::GetConversation("AS1", 'A', 1);
  ASSERT_NE(conversation, nullptr) << (boxes().empty() ? "" : boxes()[0]);
  const std::string record = server.signOn();
  ASSERT_EQ(record.size(), 19u + 10 + 320 + 320 + 2 + 29);
  EXPECT_EQ(record.substr(0, 19), ebcdic("          072120000"));
  EXPECT_EQ(record.substr(19, 10), ebcdic("JOE") + std::string(7, '\0'));
  const std::string form = info->GetPassword(0, 0).c_str();
  KyString upperForm(form.c_str());
  upperForm.MakeUpper();
  EXPECT_EQ(record.substr(29, 320), ebcdic(std::string(upperForm.c_str()).substr(0, 320)));
  EXPECT_EQ(record.substr(349, 320), ebcdic(std::string(upperForm.c_str()).substr(320)));
  EXPECT_EQ(record.substr(669, 2), std::string(2, '\0')) << "no new password: two single zero bytes";
  EXPECT_EQ(record.substr(671), ebcdic(" ") + std::string(28, '\0')) << "an empty job description";
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SignOn, OneOrThreeConnectionsCarryCalls) {
  for (bool two : {false, true}) {
    As400Server::Options options;
    options.twoConnections = two;
    options.handler = [](const std::string&, const std::string& data) { return "re:" + data; };
    As400Server server(options);
    location(server.port(), "qgpl/myjobd");
    KyConversation* conversation = KyConversation::GetConversation("AS1", 'A', 1);
    ASSERT_NE(conversation, nullptr) << two;
    auto* as400 = static_cast<KyAS400TcpipConversation*>(conversation);
    EXPECT_EQ(as400->IsSingleConnection(), two ? 0 : 1);
    EXPECT_STREQ(as400->GetJobDescriptionLibrary(), "QGPL");
    EXPECT_STREQ(as400->GetJobDescriptionName(), "MYJOBD");
    EXPECT_EQ(call(conversation, "ping", 7), "re:ping") << two;
    EXPECT_EQ(call(conversation, "more", 7), "re:more") << two;
    EXPECT_EQ(server.calls(), 2);
    KyCallMgr::GetCallMgr()->GetConversationList()->Pop("AS1");
    EXPECT_TRUE(boxes().empty());
  }
}

TEST_F(SignOn, RefusedAndExpiredSignOnsAreGivenUp) {
  struct Case {
    const char* what;
    std::string status;
    const char* kept;
  } cases[] = {
      {"refused", ebcdic("CPF1120 User not valid") + "\r", "CPF1120 User not valid"},
      {"expired", ebcdic("CPF22E4 Password expired") + "\r", "CPF22E4 Password expired"},
  };
  for (const Case& c : cases) {
    As400Server::Options options;
    options.signOnStatus = c.status;
    As400Server server(options);
    location(server.port());
    KyAS400TcpipConversation conversation("AS1");
    EXPECT_EQ(conversation.Allocate(), 0) << c.what;
    EXPECT_STREQ(conversation.GetLastStatus(), c.kept) << c.what;
    EXPECT_EQ(boxes(), (std::vector<std::string>{c.kept, message(57449) + " UNSUCCESSFUL"})) << c.what;
  }
}

TEST_F(SignOn, RunOption60SilencesTheBoxesButKeepsTheStatus) {
  context_->GetRunOptions()->SetBoolOption(60, 1);
  As400Server::Options options;
  options.signOnStatus = ebcdic("CPF22E4 " + std::string(300, 'x')) + "\r";
  As400Server server(options);
  location(server.port());
  KyAS400TcpipConversation conversation("AS1");
  EXPECT_EQ(conversation.Allocate(), 0);
  EXPECT_EQ(std::string(conversation.GetLastStatus()), ("CPF22E4 " + std::string(300, 'x')).substr(0, 255));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SignOn, CallsThatTheServerBreaksFail) {
  struct Case {
    const char* what;
    As400Server::Reply reply;
    bool two;
  } cases[] = {
      {"stalls", As400Server::Reply::Stall, false},
      {"closes mid-reply", As400Server::Reply::CloseMidReply, false},
      {"answers garbage", As400Server::Reply::Garbage, false},
      {"reports on the message connection", As400Server::Reply::StatusLine, true},
  };
  for (const Case& c : cases) {
    As400Server::Options options;
    options.reply = c.reply;
    options.twoConnections = c.two;
    options.handler = [](const std::string&, const std::string&) { return std::string(64, 'r'); };
    As400Server server(options);
    location(server.port());
    KyConversation* conversation = KyConversation::GetConversation("AS1", 'A', 1);
    ASSERT_NE(conversation, nullptr) << c.what;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(call(conversation, "ping", 64), "") << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.what;
    EXPECT_FALSE(conversation->IsAllocated()) << c.what;
    KyCallMgr::GetCallMgr()->GetConversationList()->Pop("AS1");
    boxes();
  }
}

}  // namespace
