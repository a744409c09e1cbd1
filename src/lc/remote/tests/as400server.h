// The AS/400 remote-call server of the tests, on 127.0.0.1 and a free port:
// it answers the sign-on as the AS/400's server does (first byte: 0 for one
// connection, else it calls back on the two ports the client names, first
// messages, then data), keeps what the client sent, and answers each call
// (a 76-byte header with the data length at bytes 72-75, then the data)
// with the reply its handler makes. It can refuse the sign-on with a
// status line, stall, close mid-reply or answer garbage.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
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

#include "peerserver.h"

namespace kytest {

class As400Server : public PeerServer {
 public:
  enum class Reply { Answer, Stall, CloseMidReply, Garbage, StatusLine };
  struct Options {
    bool twoConnections = false;
    std::string signOnStatus = std::string(1, '\0');  // one byte 0, or an EBCDIC line ending in CR
    // How many sign-ons get signOnStatus; the later ones are accepted. A
    // refused sign-on's connection closes and the server takes the next.
    int refusedSignOns = 1 << 30;
    Reply reply = Reply::Answer;
    int replyFromCall = 1;  // the calls before it are answered (counted over all sessions)
    // Sessions served one after the other: a session ends when its
    // connection breaks or the reply cuts it.
    int sessions = 1;
    // The output data of a call from its header and data; by default the
    // data comes back as it went.
    std::function<std::string(const std::string&, const std::string&)> handler;
  };

  explicit As400Server(Options options) : options_(std::move(options)) { start(); }
  ~As400Server() override {
    stop();
    for (int s : {control_, message_, data_})
      if (s >= 0) ::close(s);
  }
  // The first sign-on record as received (fields 1 to 6), and all of them.
  std::string signOn() {
    std::lock_guard guard(lock_);
    return signOns_.empty() ? std::string() : signOns_[0];
  }
  std::vector<std::string> signOns() {
    std::lock_guard guard(lock_);
    return signOns_;
  }
  int calls() const { return calls_; }
  // Sends a status line on the message connection (two-connection mode).
  void failOnMessages(const std::string& line) { messageLine_ = line; }

 private:
  // A port field: EBCDIC digits (0xF0-0xF9), zero-padded.
  static uint16_t portOf(const std::string& field) {
    unsigned port = 0;
    for (unsigned char c : field)
      if (c >= 0xF0 && c <= 0xF9) port = port * 10 + (c - 0xF0);
    return static_cast<uint16_t>(port);
  }
  // Takes sign-ons until one is accepted; false when the server ends first.
  bool signedOn() {
    for (int attempt = 0;; ++attempt) {
      control_ = accept();
      if (control_ < 0) return false;
      write(control_, std::string(1, options_.twoConnections ? '\1' : '\0'));
      std::string record;
      if (!readExact(control_, &record, 19 + 10 + 320 + 320 + 2)) return false;
      if (record[record.size() - 2] != 0 || record[record.size() - 1] != 0) {  // a new password: 640 bytes
        if (!readExact(control_, &record, record.size() + 638)) return false;
      }
      if (!readExact(control_, &record, record.size() + 29)) return false;
      {
        std::lock_guard guard(lock_);
        signOns_.push_back(record);
      }
      const std::string accepted(1, '\0');
      const std::string& status = attempt < options_.refusedSignOns ? options_.signOnStatus : accepted;
      write(control_, status);
      if (status == accepted) return true;
      ::close(control_);
      control_ = -1;
    }
  }
  void serve() override {
    for (int session = 0; session < options_.sessions && !stop_; ++session) {
      if (!signedOn()) return;
      serveSession();
      for (int* s : {&control_, &message_, &data_}) {
        if (*s >= 0 && (s == &control_ || *s != control_)) ::close(*s);
      }
      control_ = message_ = data_ = -1;
    }
  }
  void serveSession() {
    if (options_.twoConnections) {
      std::string address, first, second;
      if (!readExact(control_, &address, 50) || !readExact(control_, &first, 10)) return;
      message_ = connectBack(portOf(first));
      if (!readExact(control_, &second, 10)) return;
      data_ = connectBack(portOf(second));
      write(control_, std::string(1, '\0'));
    } else {
      data_ = control_;
    }
    while (!stop_) {
      std::string header, data;
      if (!readExact(data_, &header, 76)) return;
      const uint32_t length = big32(header, 72);
      if (!readExact(data_, &data, length)) return;
      ++calls_;
      const std::string output = options_.handler ? options_.handler(header, data) : data;
      const std::string status = options_.twoConnections ? "" : std::string(1, '\0');
      switch (calls_ < options_.replyFromCall ? Reply::Answer : options_.reply) {
        case Reply::Answer: write(data_, status + output); break;
        case Reply::Stall: stallUntilStopped(); return;
        case Reply::CloseMidReply:
          write(data_, status + output.substr(0, output.size() / 2));
          ::shutdown(data_, SHUT_RDWR);
          return;
        case Reply::Garbage: write(data_, std::string(7, '\x5A')); ::shutdown(data_, SHUT_RDWR); return;
        case Reply::StatusLine:
          write(options_.twoConnections ? message_ : data_, messageLine_);
          break;
      }
    }
  }

  Options options_;
  std::mutex lock_;
  std::vector<std::string> signOns_;
  std::string messageLine_ = "\xC3\xD7\xC6\xF9\xF8\xF0\xF1\r";  // "CPF9801" in EBCDIC
  std::atomic<int> calls_{0};
  int control_ = -1, message_ = -1, data_ = -1;
};

}  // namespace kytest
