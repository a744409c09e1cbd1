// The Unix, Java and .NET conversations against the test servers on
// loopback: the start-up and Open records field by field, a call of a
// generated function with parameters in and out, the Close record, a
// refusal (shown, or quiet for .NET under run option 60), and a server that
// stalls or dies mid-reply (the time-out, one retry, "*Failed", the output
// fields untouched).
#include <gtest/gtest.h>

#include <string>

#include "KyCallMgr.h"
#include "KyConversationList.h"
#include "KyFncMessage.h"
#include "KyUnixTcpipConversation.h"
#include "KyVMTcpipConversation.h"
#include "remotecaller.h"
#include "remoteenv.h"
#include "textservers.h"

namespace {

using kytest::TextServer;

struct Platform {
  char language;  // of the called function: chooses the system
  const char* location;
  const char* opSys;
  bool unix;
};
const Platform kUnix{'H', "RemoteUnix", "HPUX", true}, kJava{'J', "RemoteJava", "JAVAVM", false},
    kDotNet{'#', "RemoteCSharp", "WINCLR", false};

class TextConversations : public kytest::RemoteEnv {
 protected:
  std::string iniText() override { return "[Message Box]\nAS400connection=False\n"; }
  void locate(const Platform& p, uint16_t port) {
    const std::pair<const char*, std::string> keys[] = {
        {"System", "127.0.0.1"}, {"Port", std::to_string(port)}, {"Timeout", "1"},   {"UserId", "joe"},
        {"Password", "pw"},      {"Path", "/opt/app"},           {"Environment", "Prod"},
        {"OpSys", p.opSys}};
    for (auto [key, value] : keys) WritePrivateProfileStringA(p.location, key, value.c_str(), ini_.c_str());
  }
  std::unique_ptr<TextServer> serve(const Platform& p, TextServer::Options options) {
    if (p.unix) return std::make_unique<kytest::UnixDispatcher>(std::move(options));
    return std::make_unique<kytest::VMServer>(std::move(options));
  }
  // A caller of LIB.PGM with one text in and one text in and out.
  std::unique_ptr<kytest::Caller> caller(const Platform& p) {
    auto c = std::make_unique<kytest::Caller>("Pgm", "LIB.PGM", 'E', p.language);
    c->add({"Parms", 'P', "Pgm", 0, {{&input, 'c', 'c', 0, 3, 0, 'B'}, {&output, 'c', 'c', 0, 5, 0, 'B'}}});
    return c;
  }
  void call(kytest::Caller& c) { KyCallMgr::Call(&c, nullptr, nullptr, 1, "LIB.PGM", ""); }
  // The server's answer: the second field's slot says "new".
  static std::string answer(const std::string&, const std::string& data) {
    std::string reply = data;
    if (reply.size() == 14) reply.replace(6, 8, std::string("\0\0new\0\0\0", 8));
    return reply;
  }
  KyConversationList* conversations() { return context_->GetCallMgr()->GetConversationList(); }
  static std::string user() {
    char name[256] = {};
    DWORD size = sizeof name;
    GetUserNameA(name, &size);
    return name;
  }

  KyCharFld input{"in"}, output{"old"};
};

TEST_F(TextConversations, UnixDispatcherStartsUpAndAnswersACall) {
  TextServer::Options options;
  options.handler = answer;
  auto server = serve(kUnix, options);
  locate(kUnix, server->port());
  auto c = caller(kUnix);
  call(*c);
  ASSERT_STREQ(c->status(), " ");
  EXPECT_STREQ(output, "new");
  EXPECT_STREQ(input, "in");
  const std::vector<std::string> fields = server->fields();
  ASSERT_EQ(fields.size(), 5u);
  // The two ports the host called back on, then user, password, command.
  EXPECT_NE(std::stoi(fields[0]), 0);
  EXPECT_NE(std::stoi(fields[1]), std::stoi(fields[0]));
  EXPECT_EQ(std::vector<std::string>(fields.begin() + 2, fields.end()),
            (std::vector<std::string>{"joe", "pw", "/opt/app/dispatch"}));
  EXPECT_EQ(server->programs(), std::vector<std::string>{"PGM"});
  EXPECT_TRUE(boxes().empty());
}

TEST_F(TextConversations, UnixCommandJoinsPathAndProgram) {
  struct Case {
    const char *path, *program, *command;
  } cases[] = {{"/usr/zunt/bin/", "dispatch", "/usr/zunt/bin/dispatch"},
               {"/opt/app", "dispatch", "/opt/app/dispatch"},
               {"", "dispatch", "/dispatch"}};
  for (const Case& c : cases) EXPECT_EQ(KyUnixTcpipConversation::Command(c.path, c.program), c.command) << c.path;
  const std::string longPath(300, 'p');
  EXPECT_EQ(KyUnixTcpipConversation::Command(longPath.c_str(), "x").size(), 255u);
}

TEST_F(TextConversations, JavaAndDotNetOpenCallAndClose) {
  for (const Platform& p : {kJava, kDotNet}) {
    TextServer::Options options;
    options.handler = answer;
    auto server = serve(p, options);
    locate(p, server->port());
    WritePrivateProfileStringA(p.location, "Client Encoding", "Cp1252", ini_.c_str());
    output.PutText("old");
    auto c = caller(p);
    call(*c);
    ASSERT_STREQ(c->status(), " ") << p.location;
    EXPECT_STREQ(output, "new");
    call(*c);  // the open conversation serves the next call
    EXPECT_STREQ(c->status(), " ");
    conversations()->Delete(p.location);  // the Close record goes with the conversation
    EXPECT_TRUE(server->closed());
    const std::string environment = std::string(28, ' ') + "Prod";
    const std::vector<std::string> expected = {
        "C", "v2721000", std::string(24, ' ') + "Cp1252", "Open     ", environment,
        std::string(255 - user().size(), ' ') + user(),
        "Call     ", environment, "000000007", "000000014",
        "Call     ", environment, "000000007", "000000014",
        "Close    "};
    EXPECT_EQ(server->fields(), expected) << p.location;
    EXPECT_EQ(server->programs(), (std::vector<std::string>{"LIB.PGM", "LIB.PGM"}));
    EXPECT_TRUE(boxes().empty());
    context_->GetCallMgr()->GetRemoteInfoList()->Delete(p.location);
  }
}

TEST_F(TextConversations, RefusalShowsTheServersLineUnlessQuiet) {
  const std::string refusal = "ACCESS DENIED\r";
  struct Case {
    Platform platform;
    bool quiet;
    bool lineShown;
  } cases[] = {{kUnix, false, true}, {kJava, false, true}, {kJava, true, true}, {kDotNet, false, true},
               {kDotNet, true, false}};
  for (const Case& c : cases) {
    context_->GetRunOptions()->SetBoolOption(60, c.quiet);
    TextServer::Options options;
    options.refusal = refusal;
    options.refuseAtAnswer = 2;
    auto server = serve(c.platform, options);
    locate(c.platform, server->port());
    output.PutText("old");
    auto cl = caller(c.platform);
    call(*cl);
    EXPECT_STREQ(cl->status(), "*Failed") << c.platform.location;
    EXPECT_STREQ(output, "old");
    EXPECT_EQ(server->calls(), 0);
    const std::vector<std::string> shown = boxes();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "ACCESS DENIED"), c.lineShown ? 1 : 0)
        << c.platform.location << " quiet " << c.quiet;
    EXPECT_EQ(conversations()->GetCount(), 0);
    context_->GetCallMgr()->GetRemoteInfoList()->Delete(c.platform.location);
  }
}

TEST_F(TextConversations, StalledOrDeadServerFailsAfterOneRetry) {
  context_->GetRunOptions()->SetBoolOption(60, 1);  // the transport's reports stay quiet
  for (const Platform& p : {kUnix, kJava, kDotNet}) {
    for (TextServer::Reply reply : {TextServer::Reply::Stall, TextServer::Reply::CloseMidReply}) {
      TextServer::Options options;
      options.handler = answer;
      options.reply = reply;
      options.replyFromCall = 2;
      auto server = serve(p, options);
      locate(p, server->port());
      output.PutText("old");
      auto c = caller(p);
      call(*c);
      ASSERT_STREQ(c->status(), " ") << p.location;
      output.PutText("before");
      call(*c);  // breaks; the retry opens a new conversation, whose call breaks too
      EXPECT_STREQ(c->status(), "*Failed") << p.location;
      EXPECT_STREQ(output, "before");
      EXPECT_EQ(server->sessions(), 2) << p.location;
      EXPECT_EQ(server->calls(), 3);
      conversations()->Delete(p.location);
      context_->GetCallMgr()->GetRemoteInfoList()->Delete(p.location);
      boxes();
    }
  }
}

}  // namespace
