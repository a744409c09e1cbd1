// An X server of its own for a test or a benchmark: Xvfb on a free display
// number (it picks one and says which through -displayfd), stopped and
// waited for when the object goes. The constructor points DISPLAY at it and
// selects the X11 display (KY_DISPLAY=x11), so it must be made before the
// program's first window. No Xvfb is a failure to report, never a skip.
#pragma once

#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kytest {

class XServer {
 public:
  XServer() {
    int fds[2];
    if (pipe(fds) != 0) {
      error_ = "pipe failed";
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      int devnull = open("/dev/null", O_WRONLY);
      if (devnull >= 0) dup2(devnull, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             "-noreset", (char*)nullptr);
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
      error_ = "Xvfb did not start (is the xvfb package installed?)";
      stop();
      return;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("KY_DISPLAY", "x11", 1);
  }
  ~XServer() { stop(); }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool running() const { return !display_.empty() && pid_ > 0; }
  // Why it is not running.
  const std::string& error() const { return error_; }
  const std::string& display() const { return display_; }
  // Ends the server now (a server that goes away).
  void stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string error_;
};

}  // namespace kytest
