// The common part of the test servers that stand in for the remote hosts:
// a listener on 127.0.0.1 and a free port, a thread that serves, and reads
// that give up when the server ends (so a test never hangs on a client
// that stopped talking).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "loopbackserver.h"

namespace kytest {

class PeerServer {
 public:
  PeerServer() { listener_ = listenOnLoopback(&port_); }
  virtual ~PeerServer() { ::close(listener_); }
  uint16_t port() const { return port_; }

 protected:
  // Starts serve() on the server's thread; the derived class calls it last
  // in its constructor and stop() first in its destructor.
  void start() {
    thread_ = std::thread([this] { serve(); });
  }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  virtual void serve() = 0;

  bool readable(int s) {
    while (!stop_) {
      pollfd p{s, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }
  bool readExact(int s, std::string* out, size_t n) {
    while (out->size() < n) {
      if (!readable(s)) return false;
      char buffer[4096];
      const ssize_t got = ::recv(s, buffer, std::min(sizeof buffer, n - out->size()), 0);
      if (got <= 0) return false;
      out->append(buffer, got);
    }
    return true;
  }
  // A text field: the bytes up to a NUL (not kept).
  bool readField(int s, std::string* out) {
    out->clear();
    for (;;) {
      if (!readable(s)) return false;
      char c;
      if (::recv(s, &c, 1, 0) != 1) return false;
      if (c == '\0') return true;
      *out += c;
    }
  }
  int accept() { return readable(listener_) ? ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC) : -1; }
  static void write(int s, const std::string& bytes) { ::send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  static int connectBack(uint16_t port) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return s;
  }
  void stallUntilStopped() {
    while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  static uint32_t big32(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint8_t(bytes[at + 3]);
  }

  std::atomic<bool> stop_{false};
  int listener_ = -1;
  uint16_t port_ = 0;

 private:
  std::thread thread_;
};

}  // namespace kytest
