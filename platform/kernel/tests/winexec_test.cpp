#include <winbase.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "scratchdir.h"

namespace fs = std::filesystem;

namespace {

// Waits for the started program's output; the program runs on its own.
bool appears(const fs::path& file) {
  for (int i = 0; i < 500 && !fs::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return fs::exists(file);
}

}  // namespace

TEST(WinExec, StartsAProgramWithItsArguments) {
  ScratchDir dir;
  const std::string out = dir / "out.txt";
  const std::string line = "sh -c \"printf '%s|%s' \\\"$0\\\" \\\"$1\\\" > '" + out + ".tmp' && mv '" + out + ".tmp' '" +
                           out + "'\" \"first arg\" second";
  EXPECT_GT(WinExec(line.c_str(), 1), 31u);
  ASSERT_TRUE(appears(out));
  EXPECT_EQ(dir.read("out.txt"), "first arg|second");
}

TEST(WinExec, WindowsProgramNamesLoseTheirExtension) {
  ScratchDir dir;
  const std::string out = dir / "exe.txt";
  EXPECT_GT(WinExec(("touch.exe \"" + out + "\"").c_str(), 1), 31u);
  EXPECT_TRUE(appears(out));
}

TEST(WinExec, FailuresAnswerTheirCodes) {
  ScratchDir dir;
  dir.write("script.txt", "not a program");
  ::chmod((dir / "script.txt").c_str(), 0644);
  struct Case {
    std::string line;
    UINT result;
  } cases[] = {
      {"no-such-program-here.exe /x", ERROR_FILE_NOT_FOUND},
      {"", ERROR_FILE_NOT_FOUND},
      {windowsSpelling(dir / "missing") + "\\prog.exe", ERROR_PATH_NOT_FOUND},
      {dir / "script.txt", ERROR_BAD_FORMAT},
  };
  for (const auto& c : cases) EXPECT_EQ(WinExec(c.line.c_str(), 1), c.result) << c.line;
  EXPECT_EQ(WinExec(nullptr, 1), 0u);
}
