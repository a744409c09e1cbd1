#include <winbase.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

// Runs `body` with stderr sent to a file and answers what it wrote.
template <class Body>
std::string capturedStderr(Body body) {
  char path[] = "/tmp/ky-debug-test-XXXXXX";
  int file = mkstemp(path);
  std::fflush(stderr);
  int saved = dup(2);
  dup2(file, 2);
  body();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::string text;
  char buffer[256];
  lseek(file, 0, SEEK_SET);
  for (ssize_t n; (n = read(file, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(file);
  unlink(path);
  return text;
}

TEST(DebugOutput, GoesToStderrWithAPrefixOneLineEach) {
  struct Case {
    const char* text;
    const char* written;
  } cases[] = {
      {"hello\n", "[debug] hello\n"},
      {"no line end", "[debug] no line end\n"},
      {"", "[debug] \n"},
  };
  for (const auto& c : cases) EXPECT_EQ(capturedStderr([&] { OutputDebugStringA(c.text); }), c.written) << c.text;
  EXPECT_EQ(capturedStderr([] { OutputDebugStringA(nullptr); }), "");
}

// Under ctest no tracer is attached; the trap then ends the process with
// SIGTRAP, as an unhandled breakpoint ends a Windows process.
TEST(DebugBreakDeathTest, WithoutADebuggerTheTrapEndsTheProcess) {
  EXPECT_FALSE(IsDebuggerPresent());
  EXPECT_EXIT(DebugBreak(), testing::KilledBySignal(SIGTRAP), "");
}

}  // namespace
