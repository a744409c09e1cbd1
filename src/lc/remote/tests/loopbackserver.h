// A server of the tests on 127.0.0.1 and a free port: it accepts its
// connections in order and plays one script per connection: read bytes,
// write bytes, stall (until the server ends), close. The remote tests and
// benchmarks use it in place of the servers outside the system; a script
// can refuse (no listener), stall, close mid-record or answer garbage.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kytest {

// A socket listening on 127.0.0.1 and a free port; the port in host order.
inline int listenOnLoopback(uint16_t* port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(s, 8);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return s;
}

struct ServerStep {
  enum Kind { Read, ReadUntil, Write, Stall, Close, Pause } kind;
  size_t count = 0;        // Read: bytes; Pause: milliseconds
  std::string bytes = {};  // Write: the bytes; ReadUntil: the terminator
};
inline ServerStep readBytes(size_t n) { return {ServerStep::Read, n}; }
inline ServerStep readUntil(std::string end) { return {ServerStep::ReadUntil, 0, std::move(end)}; }
inline ServerStep writeBytes(std::string bytes) { return {ServerStep::Write, 0, std::move(bytes)}; }
inline ServerStep stall() { return {ServerStep::Stall}; }
inline ServerStep closeNow() { return {ServerStep::Close}; }
inline ServerStep pause(size_t ms) { return {ServerStep::Pause, ms}; }

class LoopbackServer {
 public:
  using Script = std::vector<ServerStep>;
  // One script per connection, in the order they are accepted.
  explicit LoopbackServer(std::vector<Script> scripts) : scripts_(std::move(scripts)), received_(scripts_.size()) {
    listener_ = listenOnLoopback(&port_);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }
  // A port on which nobody listens (a listener opened and closed).
  static uint16_t refusingPort() {
    LoopbackServer server({});
    return server.port_;
  }
  uint16_t port() const { return port_; }
  // What connection i read, so far.
  std::string received(size_t i) {
    std::lock_guard guard(lock_);
    return i < received_.size() ? received_[i] : std::string();
  }

 private:
  // Waits for the socket to be readable, in slices, until the server ends.
  bool waitReadable(int s) {
    while (!stop_) {
      pollfd p{s, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }
  // Each accepted connection plays its script on a thread of its own, so
  // that a stalled one holds up no other.
  void serve() {
    std::vector<int> open;
    std::vector<std::thread> players;
    for (size_t i = 0; i < scripts_.size() && !stop_; ++i) {
      if (!waitReadable(listener_)) break;
      const int s = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (s < 0) break;
      open.push_back(s);
      players.emplace_back([this, i, s] { play(i, s); });
    }
    for (std::thread& player : players) player.join();
    while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (int s : open) ::close(s);
  }
  bool play(size_t i, int s) {
    for (const ServerStep& step : scripts_[i]) {
      switch (step.kind) {
        case ServerStep::Read:
        case ServerStep::ReadUntil: {
          size_t got = 0;
          std::string seen;
          while (step.kind == ServerStep::Read ? got < step.count : seen.find(step.bytes) == std::string::npos) {
            if (!waitReadable(s)) return false;
            char buffer[4096];
            const size_t room = step.kind == ServerStep::Read ? std::min(sizeof buffer, step.count - got) : 1;
            const ssize_t n = ::recv(s, buffer, room, 0);
            if (n <= 0) return true;  // the client went away
            got += n;
            seen.append(buffer, n);
            std::lock_guard guard(lock_);
            received_[i].append(buffer, n);
          }
          break;
        }
        case ServerStep::Write:
          if (::send(s, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) < 0) return true;
          break;
        case ServerStep::Stall:
          while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
          return false;
        case ServerStep::Pause:
          std::this_thread::sleep_for(std::chrono::milliseconds(step.count));
          break;
        case ServerStep::Close:
          ::shutdown(s, SHUT_RDWR);
          return true;
      }
    }
    return true;
  }

  std::vector<Script> scripts_;
  std::vector<std::string> received_;
  std::mutex lock_;
  std::atomic<bool> stop_{false};
  int listener_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
};

}  // namespace kytest
