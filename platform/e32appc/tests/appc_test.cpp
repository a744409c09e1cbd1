// e32appc.dll loaded by name against a partner of the test: allocation
// (the partner's return code, a partner that is not configured), a send,
// the turn, and receives that give a record in pieces, its completion and
// the partner's turn, "nothing yet" while nothing whole has come, and the
// end of a partner that goes away.
#include <arpa/inet.h>
#include <e32appc.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

namespace {

template <typename Fn>
Fn bind(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string frame(char type, const std::string& bytes) {
  std::string f(1, type);
  for (int i = 0; i < 4; ++i) f += static_cast<char>(bytes.size() >> (8 * i));
  return f + bytes;
}

// A partner that answers the allocation with `code`, then reads `expect`
// bytes and writes `reply` (in two parts, a moment apart), then closes.
class Partner {
 public:
  Partner(unsigned char code, size_t expect, std::string reply) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([=, this] {
      const int s = ::accept(listener_, nullptr, nullptr);
      char c;
      std::string seen;
      // The allocation record: two texts of a 16-bit length each.
      for (int i = 0; i < 2; ++i) {
        unsigned char n[2];
        ::recv(s, n, 2, MSG_WAITALL);
        std::string text(n[0] | n[1] << 8, '\0');
        if (!text.empty()) ::recv(s, text.data(), text.size(), MSG_WAITALL);
        allocation_ += (i ? "|" : "") + text;
      }
      ::send(s, &code, 1, 0);
      while (seen.size() < expect && ::recv(s, &c, 1, 0) == 1) seen += c;
      received_ = seen;
      const size_t half = reply.size() / 2;
      ::send(s, reply.data(), half, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      ::send(s, reply.data() + half, reply.size() - half, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      ::close(s);
    });
  }
  ~Partner() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }
  uint16_t port() const { return port_; }
  std::string allocation_, received_;

 private:
  int listener_;
  uint16_t port_;
  std::thread thread_;
};

class Appc : public ::testing::Test {
 protected:
  void SetUp() override {
    config_ = std::filesystem::temp_directory_path() / ("appc_test_" + std::to_string(::getpid()) + ".ini");
    ::setenv("KY_APPC_CONFIG", config_.c_str(), 1);
    WritePrivateProfileStringA("Default", "UserId", "tester", config_.c_str());
    WritePrivateProfileStringA("Default", "System", "hosta", config_.c_str());
    WritePrivateProfileStringA("Default", "Timeout", "2", config_.c_str());
    module_ = LoadLibraryA(KY_BIN_DIR "/e32appc.dll");
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    FreeLibrary(module_);
    std::filesystem::remove(config_);
    ::unsetenv("KY_APPC_CONFIG");
  }
  void partner(const char* lu, uint16_t port) {
    WritePrivateProfileStringA("Partners", lu, ("127.0.0.1:" + std::to_string(port)).c_str(), config_.c_str());
  }
  USHORT allocate(const char* lu, ULONG* id) {
    return bind<EHNAPPC_AllocateFn>(module_, "EHNAPPC_Allocate")(nullptr, 1024, 1, 0, lu, "LIB/PGM", 0, nullptr, id);
  }
  USHORT receive(ULONG id, USHORT length, char* buffer, UCHAR* what, USHORT* got, bool wait = false) {
    UCHAR rts = 0;
    return bind<EHNAPPC_ReceiveFn>(module_, wait ? "EHNAPPC_ReceiveAndWait" : "EHNAPPC_ReceiveImmediate")(
        nullptr, id, 1, length, buffer, what, &rts, got);
  }

  std::filesystem::path config_;
  HMODULE module_ = nullptr;
};

TEST_F(Appc, AllocationTakesThePartnersCode) {
  ULONG id = 7;
  EXPECT_EQ(allocate("NOWHERE", &id), APPC_INVALID_LU_NAME);
  EXPECT_EQ(id, 0u);
  Partner refusing(APPC_ALLOCATE_ERROR_TP_NOT_RECOGNISED, 0, "");
  partner("HOSTB", refusing.port());
  EXPECT_EQ(allocate("HOSTB", &id), APPC_ALLOCATE_ERROR_TP_NOT_RECOGNISED);
  char system[9] = {}, user[11] = {};
  EXPECT_EQ(bind<EHNAPPC_GetDefaultSystemFn>(module_, "EHNAPPC_GetDefaultSystem")(nullptr, system), APPC_OK);
  EXPECT_STREQ(system, "HOSTA");
  bind<EHNAPPC_QueryUserIdFn>(module_, "EHNAPPC_QueryUserId")(nullptr, system, user);
  EXPECT_STREQ(user, "TESTER");
}

TEST_F(Appc, RecordsTravelAndReceivesGiveThemInPieces) {
  const std::string sent = frame('D', "hello") + frame('T', "");
  Partner p(APPC_OK, sent.size(), frame('D', "0123456789") + frame('T', ""));
  partner("HOSTA", p.port());
  ULONG id = 0;
  ASSERT_EQ(allocate("HOSTA", &id), APPC_OK);
  UCHAR rts = 0;
  ASSERT_EQ(bind<EHNAPPC_SendDataFn>(module_, "EHNAPPC_SendData")(nullptr, id, 5, "hello", &rts), APPC_OK);
  char buffer[16] = {};
  UCHAR what = 9;
  USHORT got = 0;
  // The partner answers only once it has the turn: nothing has come yet.
  EXPECT_EQ(receive(id, 4, buffer, &what, &got), APPC_UNSUCCESSFUL);
  ASSERT_EQ(bind<EHNAPPC_PrepareToReceiveFn>(module_, "EHNAPPC_PrepareToReceive")(nullptr, id), APPC_OK);
  // The reply comes in two parts; the wait takes the first bytes of it.
  ASSERT_EQ(receive(id, 4, buffer, &what, &got, true), APPC_OK);
  std::string record(buffer, got);
  EXPECT_EQ(record, "0123");
  // No room while bytes of the record remain: data, nothing given.
  EXPECT_EQ(receive(id, 0, buffer, &what, &got, true), APPC_OK);
  EXPECT_EQ(what, APPC_WR_DATA);
  EXPECT_EQ(got, 0);
  // The rest as it comes, then the record's end and the partner's turn.
  while (record.size() < 10 && receive(id, 8, buffer, &what, &got, true) == APPC_OK && what == APPC_WR_DATA && got)
    record.append(buffer, got);
  EXPECT_EQ(record, "0123456789");
  EXPECT_EQ(receive(id, 8, buffer, &what, &got, true), APPC_OK);
  EXPECT_EQ(what, APPC_WR_DATA_COMPLETE);
  EXPECT_EQ(receive(id, 0, buffer, &what, &got, true), APPC_OK);
  EXPECT_EQ(what, APPC_WR_SEND);
  EXPECT_EQ(receive(id, 8, buffer, &what, &got, true), APPC_DEALLOC_NORMAL);  // the partner went away
  EXPECT_EQ(bind<EHNAPPC_DeallocateFn>(module_, "EHNAPPC_Deallocate")(nullptr, id, 0), APPC_OK);
  EXPECT_EQ(bind<EHNAPPC_DeallocateFn>(module_, "EHNAPPC_Deallocate")(nullptr, id, 0),
            APPC_PARM_CHECK_INVALID_CONVERSATION_ID);
  EXPECT_EQ(p.allocation_, "LIB/PGM|TESTER");
  EXPECT_EQ(p.received_, sent);
}

}  // namespace
