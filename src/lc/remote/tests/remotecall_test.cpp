// The raw remote call of the call manager (KyCall400) through the AS/400
// conversation to the test server on loopback: one block of header and
// data, the reply in the caller's buffer, "*Failed" when the server breaks
// the call, and no use of a conversation that a retry has ended.
#include <gtest/gtest.h>

#include <string>

#include "KyCallMgr.h"
#include "KyRemote400Info.h"
#include "KyRemoteCall.h"
#include "as400server.h"
#include "remoteenv.h"

namespace {

using kytest::As400Server;

class RemoteCall : public kytest::RemoteEnv {
 protected:
  // The default AS/400 location on the server's port.
  void locate(uint16_t port) {
    for (auto [key, value] : {std::pair<const char*, std::string>{"System", "127.0.0.1"},
                              {"UserId", "joe"},
                              {"Port", std::to_string(port)},
                              {"Timeout", "1"},
                              {"Job Description", "QGPL/JOBD"}})
      WritePrivateProfileStringA("Remote", key, value.c_str(), ini_.c_str());
    WritePrivateProfileStringA("Message Box", "AS400connection", "False", ini_.c_str());
    static_cast<KyRemote400Info*>(KyRemoteInfo::Create("Remote", 'A', 0))->SetPassword("secret", 0, 0);
  }
  KyCallMgr* callMgr() { return context_->GetCallMgr(); }
};

TEST_F(RemoteCall, ABufferCallTravelsAsOneBlockAndTakesTheReply) {
  std::string header, data;
  As400Server::Options options;
  options.handler = [&](const std::string& h, const std::string& d) {
    header = h;
    data = d;
    return std::string("REPLY-") + d.substr(6);
  };
  As400Server server(options);
  locate(server.port());
  ASSERT_EQ(callMgr()->AllocateConnection(nullptr, "LIB.PGMCALL", 1), 1);
  char buffer[] = "input-0123456789";
  ASSERT_EQ(callMgr()->KyCall400("LIB.PGMCALL", buffer, 16, nullptr), 1);
  EXPECT_EQ(std::string(buffer, 16), "REPLY-0123456789");
  EXPECT_EQ(callMgr()->GetDirectCallStatus(), " ");
  EXPECT_EQ(data, "input-0123456789");
  ASSERT_EQ(header.size(), 76u);
  EXPECT_EQ(header.substr(0, 20), ebcdic("PGMCALL" + std::string(13, ' ')));
  EXPECT_EQ(header.substr(20, 8), std::string("\0\0\0\x01\0\0\0\x10", 8));
  EXPECT_EQ(header.substr(28, 10), ebcdic("JOE       "));
  EXPECT_EQ(header.substr(38, 10), ebcdic("JOBD      "));
  EXPECT_EQ(header.substr(48, 10), ebcdic("QGPL      "));
  EXPECT_EQ(header.substr(58, 12), std::string("\0\x02\0\x07\0\x02\0\x01\0\0\0\0", 12));
  EXPECT_EQ(header.substr(70, 6), std::string("\0\0\0\0\0\x10", 6));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(RemoteCall, ABrokenCallFailsAndAnEndedConversationIsNotUsed) {
  As400Server::Options options;
  options.reply = As400Server::Reply::CloseMidReply;
  As400Server server(options);
  locate(server.port());
  ASSERT_EQ(callMgr()->AllocateConnection(nullptr, "PGM", 1), 1);
  char buffer[8] = "abcdefg";
  EXPECT_EQ(callMgr()->KyCall400("PGM", buffer, 8, nullptr), 0);
  EXPECT_EQ(callMgr()->GetDirectCallStatus(), "*Failed");
  callMgr()->GetConversationList()->Pop("Remote");  // the conversation ends; the record still points at it
  EXPECT_EQ(callMgr()->KyCall400("PGM", buffer, 8, nullptr), 0);
  EXPECT_EQ(callMgr()->GetDirectCallStatus(), "*Failed");
  EXPECT_EQ(callMgr()->KyCall400("NOSUCH", buffer, 8, nullptr), 0);
  boxes();
}

}  // namespace
