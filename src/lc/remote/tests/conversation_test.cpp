// Conversations and the TCP/IP transport against servers of the tests on
// loopback: whole buffers both ways, a server that stalls (the wait ends
// with the time-out), one that closes mid-record, one that refuses, the
// message connection's text, Winsock kept per conversation, the length
// header, the factory and the list that owns its conversations.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyConversationList.h"
#include "KyFncMessage.h"
#include "KyTcpipConversation.h"
#include "loopbackserver.h"
#include "remoteenv.h"

namespace {

using kytest::LoopbackServer;

// A conversation that connects to loopback servers: first the message
// connection (when asked for), then the data connection.
class LoopbackConversation : public KyTcpipConversation {
 public:
  LoopbackConversation(uint16_t port, bool withMessages)
      : KyTcpipConversation("LOOP", 'U'), port_(port), withMessages_(withMessages) {}
  void Init() override {
    const USHORT port = static_cast<USHORT>(port_ << 8 | port_ >> 8);  // network byte order
    if (withMessages_) m_Message = Connect("127.0.0.1", port);
    m_Data = Connect("127.0.0.1", port);
    m_fAllocated = m_Data != kNoSocket;
  }

 private:
  uint16_t port_;
  bool withMessages_;
};

// The base conversation's own slots, without a transport.
class BareConversation : public KyConversation {
 public:
  explicit BareConversation(int* destroyed = nullptr) : KyConversation("BARE", 'U'), destroyed_(destroyed) {}
  ~BareConversation() override {
    if (destroyed_) ++*destroyed_;
  }
  int Send() override { return 1; }
  int Receive() override { return 1; }
  int Bind() override { return 1; }
  void QueryUserId() override {}
  void QueryJobDescription() override {}
  int fDoAllocate() override { return 1; }
  int ReceiveImmediate() override { return 0; }
  int PrepareToReceive() override { return 1; }
  const std::vector<char>& buffer() const { return m_Buffer; }

 private:
  int* destroyed_;
};

class Conversations : public kytest::RemoteEnv {
 protected:
  std::string iniText() override {
    return "[RMT_LOC: LOOP]\nSystem=127.0.0.1\nOpSys=HPUX\nTimeout=1\n"
           "[RMT_LOC: ODD]\nSystem=h\nOpSys=AS400\nProtocol=XYZ\n"
           "[RMT_LOC: APPC1]\nSystem=h\nOpSys=AS400\nProtocol=APPC\n";
  }
  std::string receiveFailed(int code) { return KyFormatMessageId(57490, {code}).c_str() + std::string(" UNSUCCESSFUL"); }
};

TEST_F(Conversations, WholeBuffersTravelBothWays) {
  LoopbackServer server({{kytest::readBytes(5), kytest::writeBytes("world!")}});
  LoopbackConversation conversation(server.port(), false);
  ASSERT_EQ(conversation.Allocate(), 1);
  EXPECT_EQ(conversation.SendData("hello", 5, "PGM"), 1);
  char reply[6];
  ASSERT_EQ(conversation.ReceiveData(reply, sizeof reply), 1);
  EXPECT_EQ(std::string(reply, 6), "world!");
  EXPECT_EQ(server.received(0), "hello");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(Conversations, AStalledServerFailsTheReceiveAfterTheTimeout) {
  LoopbackServer server({{kytest::readBytes(5), kytest::writeBytes("wo"), kytest::stall()}});
  LoopbackConversation conversation(server.port(), false);
  ASSERT_EQ(conversation.Allocate(), 1);
  ASSERT_EQ(conversation.GetTimeout(), 1);
  ASSERT_EQ(conversation.SendData("hello", 5, "PGM"), 1);
  char reply[6];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(conversation.ReceiveData(reply, sizeof reply), 0);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(900));
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_FALSE(conversation.IsAllocated());
  EXPECT_EQ(boxes(), std::vector<std::string>{receiveFailed(10060)});
}

TEST_F(Conversations, ARecordCutByTheServerFailsTheReceive) {
  struct Case {
    const char* what;
    LoopbackServer::Script script;
  } cases[] = {
      {"closed mid-record", {kytest::readBytes(5), kytest::writeBytes("wor"), kytest::closeNow()}},
      {"closed before answering", {kytest::readBytes(5), kytest::closeNow()}},
  };
  for (const Case& c : cases) {
    LoopbackServer server({c.script});
    LoopbackConversation conversation(server.port(), false);
    ASSERT_EQ(conversation.Allocate(), 1) << c.what;
    ASSERT_EQ(conversation.SendData("hello", 5, "PGM"), 1) << c.what;
    char reply[6];
    EXPECT_EQ(conversation.ReceiveData(reply, sizeof reply), 0) << c.what;
    boxes();
  }
}

TEST_F(Conversations, ARefusingHostIsReportedUnlessQuiet) {
  const uint16_t port = LoopbackServer::refusingPort();
  LoopbackConversation conversation(port, false);
  EXPECT_EQ(conversation.Allocate(), 0);
  EXPECT_EQ(boxes(), std::vector<std::string>{"Unable to connect to host [127.0.0.1]"});
  context_->GetRunOptions()->SetBoolOption(60, 1);
  LoopbackConversation quiet(port, false);
  EXPECT_EQ(quiet.Allocate(), 0);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(Conversations, MessageConnectionTextReachesTheTraceWhole) {
  const std::string text(1500, 'm');
  const std::string log = (dir_.path() / "trace.log").string();
  WritePrivateProfileStringA("Message Box", "Always Log", "True", ini_.c_str());
  WritePrivateProfileStringA("Message Box", "Log File", log.c_str(), ini_.c_str());
  context_->GetRunOptions()->SetBoolOption(11, 1);
  LoopbackServer server({{kytest::writeBytes(text), kytest::stall()},
                         // The answer comes well after the message text.
                         {kytest::readBytes(4), kytest::pause(200), kytest::writeBytes("pong")}});
  LoopbackConversation conversation(server.port(), true);
  ASSERT_EQ(conversation.Allocate(), 1);
  ASSERT_EQ(conversation.SendData("ping", 4, "PGM"), 1);
  char reply[4];
  ASSERT_EQ(conversation.ReceiveData(reply, sizeof reply), 1);
  EXPECT_EQ(std::string(reply, 4), "pong");
  const std::string written = kytest::readFile(log);
  EXPECT_EQ(written.substr(0, text.size() + 1), text + "\t") << "one entry with the whole text";
}

TEST_F(Conversations, EachConversationKeepsItsOwnWinsock) {
  LoopbackServer server({{kytest::readBytes(2), kytest::writeBytes("ok")}, {}});
  const int before = KyTcpipConversation::LiveCount();
  auto first = std::make_unique<LoopbackConversation>(server.port(), false);
  auto second = std::make_unique<LoopbackConversation>(server.port(), false);
  ASSERT_EQ(first->Allocate(), 1);
  ASSERT_EQ(second->Allocate(), 1);
  EXPECT_EQ(KyTcpipConversation::LiveCount(), before + 2);
  second.reset();  // its start-up and sockets go; the first's stay
  EXPECT_EQ(KyTcpipConversation::LiveCount(), before + 1);
  ASSERT_EQ(first->SendData("hi", 2, "PGM"), 1);
  char reply[2];
  ASSERT_EQ(first->ReceiveData(reply, 2), 1);
  EXPECT_EQ(std::string(reply, 2), "ok");
}

TEST_F(Conversations, TheBaseBufferCarriesA16BitLengthHeader) {
  BareConversation conversation;
  ASSERT_EQ(conversation.PrepareSend(10), 1);
  const std::vector<char>& b = conversation.buffer();
  ASSERT_EQ(b.size(), 14u);
  EXPECT_EQ(std::string(b.data(), 4), std::string("\x00\x0E\x12\xFF", 4));
  EXPECT_EQ(conversation.PrepareSend(0xFFFF - 4), 1);
  EXPECT_EQ(conversation.PrepareSend(0xFFFF - 3), 0) << "a length that does not fit 16 bits is refused";
}

TEST_F(Conversations, FactoryFindsListedConversationsAndMakesNoneItCannot) {
  EXPECT_EQ(KyConversation::GetConversation("LOOP", 'U', 0), nullptr);
  EXPECT_EQ(KyConversation::GetConversation("ODD", 'A', 1), nullptr);
  EXPECT_TRUE(boxes().empty()) << "another protocol: no conversation, no message";
  EXPECT_EQ(KyConversation::GetConversation("APPC1", '*', 1), nullptr);
  EXPECT_EQ(boxes(), std::vector<std::string>{message(57425)});
  int destroyed = 0;
  auto* listed = new BareConversation(&destroyed);
  KyCallMgr::GetCallMgr()->GetConversationList()->Push("LOOP", listed);
  EXPECT_EQ(KyConversation::GetConversation("LOOP", 'U', 0), listed);
  EXPECT_EQ(KyConversation::GetConversation("loop", '*', 1), listed) << "found, not made again";
  KyCallMgr::GetCallMgr()->GetConversationList()->Pop("LOOP");
  EXPECT_EQ(destroyed, 1) << "the list owns its conversations";
  EXPECT_EQ(KyConversation::LetterOfLocation("NOWHERE"), '?');
  EXPECT_EQ(boxes(), std::vector<std::string>{KyFormatMessageId(57419, {"NOWHERE"}).c_str()});
}

}  // namespace
