// A call through the RPC conversation on the layer's RPC run-time
// (RPCRT4.DLL, the NDR routines of the dispatcher's interface and the test
// dispatcher on loopback TCP), against a bare TCP round trip of the same
// bytes (the request and the response as they travel) to a server that
// only reads and answers. The figure is RpcCall / BareRoundTrip.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "../src/lc/remote/tests/loopbackserver.h"
#include "../src/lc/remote/tests/rpcdispatcher.h"
#include "KyRPCConversation.h"
#include "benchapp.h"

namespace {

constexpr int kDataBytes = 200;
// The call's request (header 36, context 20, the program name "PGM" twice
// as conformant strings of 16, the length and the array's count and bytes)
// and response (header 16, the array's count and bytes, the status byte).
constexpr size_t kRequestBytes = 36 + 20 + 16 + 16 + 4 + 4 + kDataBytes;
constexpr size_t kResponseBytes = 16 + 4 + kDataBytes + 1;

void setPath() {
  const char* path = std::getenv("PATH");
  ::setenv("PATH", (kybench::binDirectory() + ":" + (path ? path : "")).c_str(), 1);
}

bool readExact(int s, char* p, size_t n) {
  for (size_t got = 0; got < n;) {
    const ssize_t r = ::recv(s, p + got, n - got, 0);
    if (r <= 0) return false;
    got += static_cast<size_t>(r);
  }
  return true;
}

void RpcCall(benchmark::State& state) {
  setPath();
  kytest::RpcDispatcher dispatcher({"ncacn_ip_tcp"});
  const std::string binding = dispatcher.bindings().at(0);
  const std::string endpoint = binding.substr(binding.find('[') + 1, binding.find(']') - binding.find('[') - 1);
  kybench::BenchApp app("rpccall_bench",
                        "[RemoteWinNT]\nOpSys=WINNT\nSystem=127.0.0.1\nRpcBindDynamic=False\n"
                        "RpcProtocol=ncacn_ip_tcp\nRpcEndPoint=" +
                            endpoint + "\n");
  KyConversation* conversation = KyConversation::GetConversation("RemoteWinNT", 'N', 1);
  if (!conversation) {
    state.SkipWithError("no conversation");
    return;
  }
  std::string data(kDataBytes, 'p');
  for (auto _ : state) {
    if (!conversation->SendData(data.data(), kDataBytes, "LIB.PGM") ||
        !conversation->ReceiveData(data.data(), kDataBytes)) {
      state.SkipWithError("the call failed");
      return;
    }
  }
}

// The same bytes on a connection of its own to a server that reads each
// request whole and answers with a response of the call's size.
void BareRoundTrip(benchmark::State& state) {
  uint16_t port = 0;
  const int listener = kytest::listenOnLoopback(&port);
  std::thread server([listener] {
    const int s = ::accept(listener, nullptr, nullptr);
    const int on = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::string request(kRequestBytes, '\0'), response(kResponseBytes, 'r');
    while (readExact(s, request.data(), request.size())) ::send(s, response.data(), response.size(), MSG_NOSIGNAL);
    ::close(s);
  });
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  std::string request(kRequestBytes, 'q'), response(kResponseBytes, '\0');
  for (auto _ : state) {
    ::send(s, request.data(), request.size(), MSG_NOSIGNAL);
    if (!readExact(s, response.data(), response.size())) {
      state.SkipWithError("the server closed");
      break;
    }
  }
  ::close(s);
  server.join();
  ::close(listener);
}

}  // namespace

BENCHMARK(BareRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(RpcCall)->Unit(benchmark::kMicrosecond)->UseRealTime();
