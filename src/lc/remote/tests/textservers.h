// The Unix dispatcher and the Java/.NET server of the tests, on 127.0.0.1
// and a free port, speaking the text-field records of those servers:
//
// UnixDispatcher: reads the message port (connects back to it), the data
// port (connects back), user, password and command, and answers with its
// status (byte 0, or a refusal line); then for each call the 70-byte header
// (data length at bytes 24-27) and the data, answered with the output data.
//
// VMServer: answers the Open record's groups ("C"; the version; the client
// encoding; "Open     ", environment, user) with a status each, then Call
// records (status 0 and the output data) until "Close    ".
//
// Both keep every field received, can refuse (a status line), and can
// stall (the connection stays open, unanswered) or close mid-reply from a
// given call on; then they take the next connection, as a server does.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "peerserver.h"

namespace kytest {

class TextServer : public PeerServer {
 public:
  enum class Reply { Answer, Stall, CloseMidReply };
  struct Options {
    std::string refusal;        // a status line ending in CR refuses the start-up / Open
    size_t refuseAtAnswer = 3;  // VMServer: which Open answer (0-3) refuses
    Reply reply = Reply::Answer;
    int replyFromCall = 1;  // the calls before it are answered
    // The output data of a call from the program name and the data; by
    // default the data comes back as it went.
    std::function<std::string(const std::string&, const std::string&)> handler;
    // Runs on the server's thread when it ends (the handler's clean-up).
    std::function<void()> atEnd;
  };
  explicit TextServer(Options options) : options_(std::move(options)) {}
  ~TextServer() override {
    for (int s : sockets_) ::close(s);
  }
  std::vector<std::string> fields() {
    std::lock_guard guard(lock_);
    return fields_;
  }
  std::vector<std::string> programs() {
    std::lock_guard guard(lock_);
    return programs_;
  }
  int calls() const { return calls_; }
  int sessions() const { return sessions_; }
  bool closed() const { return closed_; }

 protected:
  int keep(int s) {
    sockets_.push_back(s);
    return s;
  }
  bool field(int s, std::string* out) {
    if (!readField(s, out)) return false;
    std::lock_guard guard(lock_);
    fields_.push_back(*out);
    return true;
  }
  // Answers a call as the options say; false when the server is done.
  bool answer(int s, const std::string& program, const std::string& data, const std::string& status) {
    ++calls_;
    {
      std::lock_guard guard(lock_);
      programs_.push_back(program);
    }
    const std::string output = options_.handler ? options_.handler(program, data) : data;
    switch (calls_ < options_.replyFromCall ? Reply::Answer : options_.reply) {
      case Reply::Answer:
        write(s, status + output);
        return true;
      case Reply::Stall:
        return false;
      case Reply::CloseMidReply:
        write(s, status + output.substr(0, output.size() / 2));
        ::shutdown(s, SHUT_RDWR);
        return false;
    }
    return false;
  }

  void serve() override {
    for (int s = accept(); s >= 0 && !stop_; s = accept()) {
      ++sessions_;
      session(keep(s));
    }
    if (options_.atEnd) options_.atEnd();
  }
  // One connection's start-up and calls; returns when it ends.
  virtual void session(int s) = 0;

  Options options_;
  std::atomic<int> calls_{0}, sessions_{0};
  std::atomic<bool> closed_{false};

 private:
  std::mutex lock_;
  std::vector<std::string> fields_, programs_;
  std::vector<int> sockets_;
};

class UnixDispatcher : public TextServer {
 public:
  explicit UnixDispatcher(Options options) : TextServer(std::move(options)) { start(); }
  ~UnixDispatcher() override { stop(); }

 private:
  void session(int control) override {
    std::string text;
    if (!field(control, &text)) return;
    keep(connectBack(uint16_t(std::stoi(text))));
    if (!field(control, &text)) return;
    const int data = keep(connectBack(uint16_t(std::stoi(text))));
    for (int i = 0; i < 3; ++i)
      if (!field(control, &text)) return;
    if (!options_.refusal.empty()) {
      write(control, options_.refusal);
      return;
    }
    write(control, std::string(1, '\0'));
    while (!stop_) {
      std::string header, bytes;
      if (!readExact(data, &header, 70) || !readExact(data, &bytes, big32(header, 24))) return;
      std::string program = header.substr(0, 20);
      program.erase(program.find_last_not_of(' ') + 1);
      if (!answer(data, program, bytes, "")) return;
    }
  }
};

class VMServer : public TextServer {
 public:
  explicit VMServer(Options options) : TextServer(std::move(options)) { start(); }
  ~VMServer() override { stop(); }

 private:
  void session(int s) override {
    std::string text;
    const size_t groups[] = {1, 1, 1, 3};
    for (size_t g = 0; g < 4; ++g) {
      for (size_t i = 0; i < groups[g]; ++i)
        if (!field(s, &text)) return;
      if (!options_.refusal.empty() && g == options_.refuseAtAnswer) {
        write(s, options_.refusal);
        return;
      }
      write(s, std::string(1, '\0'));
    }
    while (!stop_) {
      std::string record, environment, length, program, bytes;
      if (!field(s, &record)) return;
      if (record == "Close    ") {
        closed_ = true;
        write(s, std::string(1, '\0'));
        return;
      }
      if (!field(s, &environment) || !field(s, &length) || !readExact(s, &program, std::stoul(length)) ||
          !field(s, &length) || !readExact(s, &bytes, std::stoul(length)))
        return;
      if (!answer(s, program, bytes, std::string(1, '\0'))) return;
    }
  }
};

}  // namespace kytest
