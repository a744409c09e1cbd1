// The AS/400 transaction program of the tests behind the layer's
// e32appc.dll, on 127.0.0.1 and a free port: it takes the allocation (TP
// name and user), answers its return code, collects the data records the
// client sends until the client gives the turn, and answers with one data
// record and the turn back (by default the last record as it came), or a
// program error, or nothing (a stall).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "peerserver.h"

namespace kytest {

class AppcPartner : public PeerServer {
 public:
  enum class Reply { Answer, Stall, ProgramError };
  struct Options {
    unsigned char allocationCode = 0;
    Reply reply = Reply::Answer;
    // The reply record from the records received.
    std::function<std::string(const std::vector<std::string>&)> handler;
  };
  explicit AppcPartner(Options options) : options_(std::move(options)) { start(); }
  ~AppcPartner() override {
    stop();
    for (int s : sockets_) ::close(s);
  }
  std::vector<std::string> allocations() {
    std::lock_guard guard(lock_);
    return allocations_;
  }
  std::vector<std::string> records() {
    std::lock_guard guard(lock_);
    return records_;
  }

 private:
  static std::string frame(char type, const std::string& bytes) {
    std::string f(1, type);
    for (int i = 0; i < 4; ++i) f += static_cast<char>(bytes.size() >> (8 * i));
    return f + bytes;
  }
  bool text(int s, std::string* out) {
    std::string length;
    if (!readExact(s, &length, 2)) return false;
    out->clear();
    return readExact(s, out, uint8_t(length[0]) | uint8_t(length[1]) << 8);
  }
  void serve() override {
    for (int s = accept(); s >= 0 && !stop_; s = accept()) {
      sockets_.push_back(s);
      std::string tp, user;
      if (!text(s, &tp) || !text(s, &user)) continue;
      {
        std::lock_guard guard(lock_);
        allocations_.push_back(tp + "|" + user);
      }
      write(s, std::string(1, static_cast<char>(options_.allocationCode)));
      if (options_.allocationCode == 0) session(s);
    }
  }
  void session(int s) {
    std::vector<std::string> pending;
    for (;;) {
      std::string header, bytes;
      if (!readExact(s, &header, 5)) return;
      const uint32_t length = uint32_t(uint8_t(header[1])) | uint32_t(uint8_t(header[2])) << 8 |
                              uint32_t(uint8_t(header[3])) << 16 | uint32_t(uint8_t(header[4])) << 24;
      if (!readExact(s, &bytes, length)) return;
      if (header[0] == 'D') {
        pending.push_back(bytes);
        std::lock_guard guard(lock_);
        records_.push_back(bytes);
        continue;
      }
      switch (options_.reply) {
        case Reply::Answer:
          write(s, frame('D', options_.handler ? options_.handler(pending) : pending.back()) + frame('T', ""));
          break;
        case Reply::Stall:
          return;
        case Reply::ProgramError:
          write(s, frame('E', ""));
          break;
      }
      pending.clear();
    }
  }

  Options options_;
  std::mutex lock_;
  std::vector<std::string> allocations_, records_;
  std::vector<int> sockets_;
};

}  // namespace kytest
