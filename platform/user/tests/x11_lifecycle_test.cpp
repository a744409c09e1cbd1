// The display a program chooses, and what is left when the program or the
// server goes away: run with the display tests' peer program.
#include "x11_client.h"

#include <internal/xserver.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

kytest::XServer server;

// The peer program running with some environment changes; its stdout and
// stderr are read through pipes.
class Peer {
 public:
  Peer(const char* title, std::vector<std::pair<const char*, const char*>> env) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      for (auto& [name, value] : env) value ? setenv(name, value, 1) : unsetenv(name);
      std::string program = std::string(KY_BIN_DIR) + "/user32_x11_peer";
      execl(program.c_str(), program.c_str(), title, (char*)nullptr);
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_ = fdopen(out[0], "r");
    err_ = err[0];
  }
  ~Peer() {
    end(SIGKILL);
    if (out_) fclose(out_);
    if (err_ >= 0) close(err_);
  }
  // The first line the peer printed.
  std::string line() {
    char buf[64] = {};
    if (!out_ || !fgets(buf, sizeof buf, out_)) return "";
    std::string s(buf);
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
  }
  // Everything it wrote on stderr (after it ended).
  std::string errors() {
    std::string s;
    char buf[256];
    ssize_t n;
    while (err_ >= 0 && (n = read(err_, buf, sizeof buf)) > 0) s.append(buf, (size_t)n);
    return s;
  }
  // Ends it with `signal` (0: waits for it alone); answers the wait status.
  int end(int signal) {
    if (pid_ <= 0) return status_;
    if (signal) kill(pid_, signal);
    waitpid(pid_, &status_, 0);
    pid_ = -1;
    return status_;
  }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int err_ = -1;
  int status_ = 0;
};

TEST(X11Selection, DisplayChosenByEnvironment) {
  ASSERT_TRUE(server.running()) << server.error();
  const std::string shown = server.display();
  struct Case {
    const char* kyDisplay;
    const char* display;
    const char* expected;
    const char* message;  // part of stderr, or nullptr for none
  } cases[] = {
      {nullptr, shown.c_str(), "server", nullptr},
      {"x11", shown.c_str(), "server", nullptr},
      {"headless", shown.c_str(), "headless", nullptr},
      {nullptr, nullptr, "headless", nullptr},
      {"x11", nullptr, "headless", "without DISPLAY"},
      {"x11", ":9999", "headless", "cannot open the X display \":9999\""},
      {"wayland", shown.c_str(), "headless", "KY_DISPLAY=wayland"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kyDisplay ? c.kyDisplay : "(unset)") + " " + (c.display ? c.display : "(unset)"));
    Peer peer("chosen", {{"KY_DISPLAY", c.kyDisplay}, {"DISPLAY", c.display}});
    EXPECT_EQ(peer.line(), c.expected);
    peer.end(SIGTERM);
    std::string errors = peer.errors();
    if (c.message) {
      EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    } else {
      EXPECT_EQ(errors, "");
    }
  }
}

TEST(X11Lifecycle, ProcessThatDiesLeavesNothingOnTheServer) {
  ASSERT_TRUE(server.running()) << server.error();
  test::XClient x(server.display().c_str());
  ASSERT_TRUE(x.connected());
  const size_t before = x.topLevels().size();
  Peer peer("dying", {});
  ASSERT_EQ(peer.line(), "server");
  EXPECT_NE(x.byTitle("dying"), 0u);
  peer.end(SIGKILL);
  EXPECT_TRUE(test::pumpUntil([&] { return x.topLevels().size() == before; }));
  EXPECT_EQ(x.byTitle("dying"), 0u);
}

TEST(X11Lifecycle, ServerThatGoesAwayEndsTheProgramWithAMessage) {
  kytest::XServer doomed;  // a server of this test alone
  ASSERT_TRUE(doomed.running()) << doomed.error();
  Peer peer("orphan", {{"DISPLAY", doomed.display().c_str()}});
  ASSERT_EQ(peer.line(), "server");
  doomed.stop();
  int status = peer.end(0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(peer.errors().find("went away"), std::string::npos);
}

}  // namespace
