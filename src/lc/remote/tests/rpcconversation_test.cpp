// The RPC conversation against the test dispatcher on the layer's RPC
// run-time: a call of a generated function by string binding over TCP and
// over a named pipe, through the name service (bindings whose servers do
// not answer passed over, a named-pipe address that names the wanted
// server accepted), security that no provider can give, the server name
// as each protocol sequence wants it, and a dispatcher that goes away.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "KyCallMgr.h"
#include "KyConversationList.h"
#include "KyFncMessage.h"
#include "KyRPC.h"
#include "KyRPCConversation.h"
#include "loopbackserver.h"
#include "remotecaller.h"
#include "remoteenv.h"
#include "rpcdispatcher.h"

namespace {

std::string computerName() {
  char name[256] = {};
  DWORD size = sizeof name;
  GetComputerNameA(name, &size);
  return name;
}

// The endpoint of a string binding "protseq:address[endpoint]".
std::string endpointOf(const std::string& binding) {
  const size_t open = binding.find('['), close = binding.find(']');
  return binding.substr(open + 1, close - open - 1);
}

class RpcConversations : public kytest::RemoteEnv {
 protected:
  std::string iniText() override { return "[RemoteWinNT]\nOpSys=WINNT\nTimeout=2\n"; }
  void SetUp() override {
    kytest::RemoteEnv::SetUp();
    ::setenv("KY_RPC_NAMESERVICE", (dir_.str() + "/RPCNS.INI").c_str(), 1);
    ::setenv("KY_RPC_PIPES", (dir_.str() + "/pipes").c_str(), 1);
  }
  void TearDown() override {
    context_->GetCallMgr()->GetConversationList()->Delete("RemoteWinNT");
    kytest::RemoteEnv::TearDown();
    ::unsetenv("KY_RPC_NAMESERVICE");
    ::unsetenv("KY_RPC_PIPES");
  }
  void set(const char* key, const std::string& value) {
    WritePrivateProfileStringA("RemoteWinNT", key, value.c_str(), ini_.c_str());
  }
  std::unique_ptr<kytest::Caller> caller() {
    auto c = std::make_unique<kytest::Caller>("Pgm", "LIB.PGM", 'E', 'N');
    c->add({"Parms", 'P', "Pgm", 0, {{&input, 'c', 'c', 0, 3, 0, 'B'}, {&output, 'c', 'c', 0, 5, 0, 'B'}}});
    return c;
  }
  void call(kytest::Caller& c) { KyCallMgr::Call(&c, nullptr, nullptr, 1, "LIB.PGM", ""); }
  // The dispatcher's answer: the second field's slot says "new".
  static BYTE answer(const std::string&, std::string& data) {
    if (data.size() == 14) data.replace(6, 8, std::string("\0\0new\0\0\0", 8));
    return 1;
  }
  void forget() {
    context_->GetCallMgr()->GetConversationList()->Delete("RemoteWinNT");
    context_->GetCallMgr()->GetRemoteInfoList()->Delete("RemoteWinNT");
  }

  KyCharFld input{"in"}, output{"old"};
};

TEST_F(RpcConversations, StringBindingReachesTheDispatcherOverEachProtocolSequence) {
  struct Case {
    const char* protseq;
    std::string system;
  } cases[] = {{"ncacn_ip_tcp", "127.0.0.1"}, {"ncacn_np", computerName()}};
  for (const Case& c : cases) {
    kytest::RpcDispatcher dispatcher({c.protseq});
    dispatcher.handler = answer;
    set("RpcBindDynamic", "False");
    set("RpcProtocol", c.protseq);
    set("RpcEndPoint", endpointOf(dispatcher.bindings().at(0)));
    set("System", c.system);
    output.PutText("old");
    auto cl = caller();
    call(*cl);
    ASSERT_STREQ(cl->status(), " ") << c.protseq;
    EXPECT_STREQ(output, "new");
    EXPECT_STREQ(input, "in");
    EXPECT_EQ(dispatcher.lastVersion, "721");
    EXPECT_EQ(dispatcher.lastCodePage, 1252);
    EXPECT_EQ(dispatcher.lastProgram, "ZUNT_NT_DISPATCHER");
    EXPECT_EQ(dispatcher.lastCallNames, "PGM|PGM");
    forget();  // the conversation closes its context at the dispatcher
    EXPECT_EQ(dispatcher.opens, 1);
    EXPECT_EQ(dispatcher.closes, 1);
    EXPECT_TRUE(boxes().empty());
  }
}

TEST_F(RpcConversations, NameServicePassesOverBindingsThatDoNotOpen) {
  kytest::RpcDispatcher dispatcher({"ncacn_ip_tcp", "ncacn_np"});
  dispatcher.handler = answer;
  ASSERT_EQ(dispatcher.exportTo("/.:/ZUNT_NT_DISPATCHER"), RPC_S_OK);
  // Two bindings whose servers do not answer come before the dispatcher's.
  const std::string file = dir_.str() + "/RPCNS.INI";
  char exported[1024] = {};
  const std::string key = "c57c89c9-d100-4ccd-a560-57479ffbd024";
  GetPrivateProfileStringA("/.:/ZUNT_NT_DISPATCHER", key.c_str(), "", exported, sizeof exported, file.c_str());
  const uint16_t deadPort = kytest::LoopbackServer::refusingPort();
  const std::string bindings = "ncacn_ip_tcp:127.0.0.1[" + std::to_string(deadPort) + "] ncacn_np:\\\\" +
                               computerName() + "[\\pipe\\nobody] " + exported;
  WritePrivateProfileStringA("/.:/ZUNT_NT_DISPATCHER", key.c_str(), bindings.c_str(), file.c_str());
  struct Case {
    const char* dynamic;  // anything but "False" imports
    std::string system;
    int imported;  // bindings that name the wanted server
  } cases[] = {{"no", "", 4}, {"True", "*ANY", 4}, {"True", computerName(), 2}};
  for (const Case& c : cases) {
    set("RpcBindDynamic", c.dynamic);
    set("System", c.system);
    output.PutText("old");
    const int opensBefore = dispatcher.opens;
    auto cl = caller();
    call(*cl);
    ASSERT_STREQ(cl->status(), " ") << c.dynamic << " " << c.system;
    EXPECT_STREQ(output, "new");
    EXPECT_EQ(dispatcher.opens, opensBefore + 1);
    auto* conversation =
        static_cast<KyRPCConversation*>(context_->GetCallMgr()->GetConversationList()->Find("RemoteWinNT"));
    ASSERT_NE(conversation, nullptr);
    EXPECT_EQ(conversation->GetClient()->GetBindingCount(), c.imported);
    forget();
  }
  EXPECT_TRUE(boxes().empty());
}

TEST_F(RpcConversations, NoBindingOrNoDispatcherFailsWithItsMessage) {
  struct Case {
    const char* dynamic;
    const char* protocol;
    const char* endpoint;
    UINT message;
  } cases[] = {{"True", "", "", 57417},                // no entry in the name service
               {"False", "ncacn_ip_tcp", "1", 57414},  // nobody at the endpoint
               {"False", "ncacn_http", "80", 0}};      // a protocol sequence not carried
  for (const Case& c : cases) {
    set("RpcBindDynamic", c.dynamic);
    set("RpcProtocol", c.protocol);
    set("RpcEndPoint", c.endpoint);
    set("System", "127.0.0.1");
    auto cl = caller();
    call(*cl);
    EXPECT_STREQ(cl->status(), "*Failed") << c.protocol;
    const std::vector<std::string> shown = boxes();
    if (c.message) {
      EXPECT_NE(std::find(shown.begin(), shown.end(), message(c.message)), shown.end()) << c.message;
    }
    forget();
  }
}

TEST_F(RpcConversations, SecurityWithoutAProviderIsRefused) {
  kytest::RpcDispatcher dispatcher({"ncacn_ip_tcp"});
  set("RpcBindDynamic", "False");
  set("RpcProtocol", "ncacn_ip_tcp");
  set("RpcEndPoint", endpointOf(dispatcher.bindings().at(0)));
  set("System", "127.0.0.1");
  set("UseSecurity", "True");
  auto cl = caller();
  call(*cl);
  EXPECT_STREQ(cl->status(), "*Failed");
  const std::vector<std::string> shown = boxes();
  EXPECT_NE(std::find(shown.begin(), shown.end(), message(57436)), shown.end());
  EXPECT_EQ(dispatcher.opens, 0);
}

TEST_F(RpcConversations, ServerNameFollowsTheProtocolSequence) {
  KyRPCEntries none;
  struct Case {
    const char *server, *protseq, *wanted;
    int level, levelUsed;
  } cases[] = {{"HOST", "ncacn_np", "\\\\HOST", 9, 6},     {"HOST", "", "\\\\HOST", 3, 3},
               {"\\\\HOST", "ncacn_np", "\\\\HOST", 6, 6}, {"*ANY", "ncacn_np", "*ANY", 1, 1},
               {"\\\\HOST", "ncacn_ip_tcp", "HOST", 1, 1}, {"", "ncacn_np", "", 1, 1}};
  for (const Case& c : cases) {
    KyRPCClient client(none, "ZUNT_NT_DISPATCHER", &KyRPCStub::Interface(), c.server, c.protseq, false, true, c.level,
                       1000);
    EXPECT_EQ(client.GetServer(), c.wanted) << c.server << " " << c.protseq;
    EXPECT_EQ(client.GetSecurityLevel(), c.levelUsed);
    EXPECT_EQ(client.GetNameServiceName(), "/.:/ZUNT_NT_DISPATCHER");
  }
}

TEST_F(RpcConversations, DispatcherThatGoesAwayFailsTheCallAfterOneRetry) {
  auto dispatcher = std::make_unique<kytest::RpcDispatcher>(std::vector<std::string>{"ncacn_ip_tcp"});
  dispatcher->handler = answer;
  set("RpcBindDynamic", "False");
  set("RpcProtocol", "ncacn_ip_tcp");
  set("RpcEndPoint", endpointOf(dispatcher->bindings().at(0)));
  set("System", "127.0.0.1");
  auto cl = caller();
  call(*cl);
  ASSERT_STREQ(cl->status(), " ");
  dispatcher.reset();
  output.PutText("before");
  call(*cl);
  EXPECT_STREQ(cl->status(), "*Failed");
  EXPECT_STREQ(output, "before");
  boxes();
}

TEST_F(RpcConversations, ErrorTextsAreTheSystemsOrUnknown) {
  for (RPC_STATUS code : {RPC_STATUS(1722), RPC_STATUS(87), RPC_STATUS(5), RPC_STATUS(42), RPC_STATUS(123456)}) {
    char text[512] = {};
    const bool systemText = ((code >= 1700 && code <= 1900) || code == 87 || code == 5) &&
                            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                           static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string expected = systemText ? text : "Unknown RPC Error";
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
    EXPECT_EQ(std::string(KyRPCConversation::GetErrorCode(code)), expected) << code;
  }
}

}  // namespace
