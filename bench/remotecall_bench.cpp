// A remote call of ten parameters to the test AS/400 server on loopback,
// through the call manager (KyCall400: header and data in one block, the
// single-connection status, the reply into the buffer), against a bare TCP
// round trip of the same bytes on a connection signed on by hand. The
// figure is RemoteCall / BareRoundTrip.
#include <mscrt.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyRemote400Info.h"
#include "KyWinClientApp.h"
#include "../src/lc/remote/tests/as400server.h"

namespace {

// Ten parameters of a typical call: texts, packed and zoned numbers, a date.
constexpr int kParameterBytes = 10 + 20 + 5 + 8 + 4 + 30 + 7 + 8 + 2 + 16;

std::string binDirectory() {
  return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin").string();
}

class BenchApp : public KyWinClientApp {
 public:
  explicit BenchApp(uint16_t port) : KyWinClientApp("RemoteCallBench") {
    ini_ = std::filesystem::temp_directory_path() / ("remotecall_bench_" + std::to_string(::getpid()) + ".ini");
    std::ofstream(ini_) << "[Remote]\nSystem=127.0.0.1\nUserId=bench\nPort=" << port
                        << "\n[Message Box]\nAS400connection=False\n";
    m_pszProfileName = _strdup(ini_.c_str());
    m_iStartMode = 5;
    const char* path = std::getenv("PATH");
    ::setenv("PATH", (binDirectory() + ":" + (path ? path : "")).c_str(), 1);
    CreateContext();
  }
  ~BenchApp() override {
    EndContext();
    std::filesystem::remove(ini_);
  }

 private:
  std::filesystem::path ini_;
};

void RemoteCall(benchmark::State& state) {
  kytest::As400Server server({});
  BenchApp app(server.port());
  KyCallMgr* callMgr = KyCallMgr::GetCallMgr();
  static_cast<KyRemote400Info*>(KyRemoteInfo::Create("Remote", 'A', 0))->SetPassword("bench", 0, 0);
  if (!callMgr->AllocateConnection(nullptr, "BENCHPGM", 1)) {
    state.SkipWithError("no conversation");
    return;
  }
  std::string buffer(kParameterBytes, 'p');
  for (auto _ : state) {
    if (!callMgr->KyCall400("BENCHPGM", buffer.data(), kParameterBytes, nullptr)) {
      state.SkipWithError("the call failed");
      return;
    }
  }
}

// The same bytes on a socket of its own: the sign-on record once, then per
// call the 76-byte header with the data, the status byte and the reply.
void BareRoundTrip(benchmark::State& state) {
  kytest::As400Server server({});
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(server.port());
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  auto readExact = [s](char* p, size_t n) {
    for (size_t got = 0; got < n;) {
      const ssize_t r = ::recv(s, p + got, n - got, 0);
      if (r <= 0) return false;
      got += static_cast<size_t>(r);
    }
    return true;
  };
  char mode, status;
  readExact(&mode, 1);
  const std::string signOn(19 + 10 + 320 + 320, 'x');
  ::send(s, (signOn + std::string(2, '\0') + std::string(29, '@')).data(), signOn.size() + 31, 0);
  readExact(&status, 1);
  std::string block(76, '\0');
  block[75] = static_cast<char>(kParameterBytes);
  block += std::string(kParameterBytes, 'p');
  std::string reply(kParameterBytes + 1, '\0');
  for (auto _ : state) {
    ::send(s, block.data(), block.size(), 0);
    if (!readExact(reply.data(), reply.size())) {
      state.SkipWithError("the server closed");
      break;
    }
  }
  ::close(s);
}

}  // namespace

BENCHMARK(BareRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(RemoteCall)->Unit(benchmark::kMicrosecond)->UseRealTime();
