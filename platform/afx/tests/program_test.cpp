// A framework program from start to end: afxmain's `main`, AfxWinMain,
// InitInstance, the loop driven by synthetic input, WM_QUIT's code as the
// program's exit code (tests/sampleapp/sampleapp.cpp says what it does).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

int runSample(const std::string& arguments) {
  std::string command = std::string(KY_BIN_DIR) + "/afx_sampleapp " + arguments;
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Program, RunsItsLoopUntilTheButtonPostsWmQuit) {
  // "hello": 5 characters typed into the edit, and the idle update seen.
  EXPECT_EQ(runSample(""), 51);
}

TEST(Program, AFailedInitInstanceDestroysTheMainWindow) { EXPECT_EQ(runSample("--fail"), 3); }

}  // namespace
