// Large objects through a conversation: a content sent to a peer and
// fetched back, one call of a built-in piece function per piece, the peer
// being a run-time of its own (its thread's context and call manager)
// that answers through KyAnswerRemoteCall.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyLobManager.h"
#include "KyRemoteLobCall.h"
#include "remoteenv.h"
#include "textservers.h"

namespace {

using kytest::TextServer;

class RemoteLob : public kytest::RemoteEnv {
 protected:
  std::string iniText() override { return "[Message Box]\nAS400connection=False\n"; }
  void SetUp() override {
    kytest::RemoteEnv::SetUp();
    ::setenv("TMP", dir_.str().c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("TMP");
    kytest::RemoteEnv::TearDown();
  }
  // The peer: each call answered by the run-time on the server's thread.
  TextServer::Options peer() {
    TextServer::Options options;
    options.handler = [this](const std::string& program, const std::string& data) {
      if (!KyAppContext::Current()) app_->CreateContext();
      std::string reply = data;
      if (!KyAnswerRemoteCall(program.c_str(), reply.data(), static_cast<int>(reply.size())))
        reply = std::string("\0\0ERR", 5);
      reply.resize(data.size());
      return reply;
    };
    options.atEnd = [this] {
      if (KyAppContext::Current()) app_->EndContext();
    };
    return options;
  }
};

TEST_F(RemoteLob, ContentTravelsToThePeerAndBackInPieces) {
  std::string content(12000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + 3);
  struct Case {
    const char* location;
    const char* opSys;
    bool unix;
  } cases[] = {{"RemoteJava", "JAVAVM", false}, {"RemoteUnix", "HPUX", true}};
  for (const Case& c : cases) {
    std::unique_ptr<TextServer> server;
    if (c.unix)
      server = std::make_unique<kytest::UnixDispatcher>(peer());
    else
      server = std::make_unique<kytest::VMServer>(peer());
    for (auto [key, value] : {std::pair<const char*, std::string>{"System", "127.0.0.1"},
                              {"Port", std::to_string(server->port())},
                              {"Timeout", "2"},
                              {"UserId", "joe"},
                              {"Password", "pw"},
                              {"OpSys", c.opSys}})
      WritePrivateProfileStringA(c.location, key, value.c_str(), ini_.c_str());
    KyConversation* conversation = KyConversation::GetConversation(c.location, c.unix ? 'U' : 'J', 1);
    ASSERT_NE(conversation, nullptr) << c.location;

    KyLobManager sent;
    sent.SetData(static_cast<LONG>(content.size()), content.data());
    ASSERT_EQ(sent.PutToNetwork(conversation), 1) << c.location;
    KyLobManager fetched;
    fetched.AttachNetwork(conversation);
    ASSERT_EQ(fetched.SetFile(nullptr), 1) << c.location;  // network content comes by way of a file
    ASSERT_EQ(fetched.GetLength(), static_cast<LONG>(content.size()));
    EXPECT_EQ(std::memcmp(fetched.GetData(), content.data(), content.size()), 0);
    const std::vector<std::string> programs = server->programs();
    EXPECT_EQ(programs, (std::vector<std::string>{"*KyPutLobPiece", "*KyPutLobPiece", "*KyPutLobPiece",
                                                  "*KyGetLobPiece", "*KyGetLobPiece", "*KyGetLobPiece"}));
    // Nothing more lies at the peer: a further fetch fails and the content stays.
    KyLobManager again;
    again.AttachNetwork(conversation);
    EXPECT_EQ(again.SetFile(nullptr), 0);
    fetched.Clear();
    server.reset();
    context_->GetCallMgr()->GetConversationList()->Delete(c.location);
    boxes();
  }
}

}  // namespace
