#include <internal/commandline.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

TEST(EnvironmentVariable, BufferRulesAndMissingNames) {
  ASSERT_TRUE(SetEnvironmentVariableA("KY_FILES_VALUE", "abcdef"));
  char buffer[16] = "untouched";
  // Too small: the size needed with the terminator; the buffer is left alone.
  EXPECT_EQ(GetEnvironmentVariableA("KY_FILES_VALUE", buffer, 6), 7u);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(GetEnvironmentVariableA("KY_FILES_VALUE", nullptr, 0), 7u);
  // Enough: the length without the terminator.
  EXPECT_EQ(GetEnvironmentVariableA("KY_FILES_VALUE", buffer, 7), 6u);
  EXPECT_STREQ(buffer, "abcdef");
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariableA("KY_FILES_NEVER_SET", buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
  // An empty value answers 0 as well, with no error.
  ASSERT_TRUE(SetEnvironmentVariableA("KY_FILES_EMPTY", ""));
  SetLastError(0xDEAD);
  EXPECT_EQ(GetEnvironmentVariableA("KY_FILES_EMPTY", buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(buffer, "");
}

TEST(EnvironmentVariable, NamesIgnoreCaseAndNullDeletes) {
  ASSERT_TRUE(SetEnvironmentVariableA("Ky_Files_Mixed", "one"));
  char buffer[16];
  EXPECT_EQ(GetEnvironmentVariableA("KY_FILES_MIXED", buffer, sizeof buffer), 3u);
  EXPECT_STREQ(buffer, "one");
  // Setting in another case replaces the same variable, keeping its spelling.
  ASSERT_TRUE(SetEnvironmentVariableA("ky_files_mixed", "two"));
  ASSERT_NE(std::getenv("Ky_Files_Mixed"), nullptr);
  EXPECT_STREQ(std::getenv("Ky_Files_Mixed"), "two");
  EXPECT_EQ(std::getenv("ky_files_mixed"), nullptr);
  EXPECT_TRUE(SetEnvironmentVariableA("KY_FILES_MIXED", nullptr));
  EXPECT_EQ(std::getenv("Ky_Files_Mixed"), nullptr);
  EXPECT_EQ(GetEnvironmentVariableA("ky_files_mixed", buffer, sizeof buffer), 0u);
  EXPECT_TRUE(SetEnvironmentVariableA("KY_FILES_MIXED", nullptr));  // deleting nothing is no error
  for (const char* bad : {"", "A=B"}) {
    SetLastError(0);
    EXPECT_FALSE(SetEnvironmentVariableA(bad, "x")) << bad;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << bad;
  }
  SetLastError(0);
  EXPECT_FALSE(SetEnvironmentVariableA(nullptr, "x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ExpandEnvironmentStrings, ReplacesKnownNamesOnly) {
  ASSERT_TRUE(SetEnvironmentVariableA("KYDIR", "C:\\Ky"));
  ASSERT_TRUE(SetEnvironmentVariableA("KYEXT", "ini"));
  SetEnvironmentVariableA("KYUNSET", nullptr);
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"%KYDIR%\\app.%KYEXT%", "C:\\Ky\\app.ini"},
      {"%kydir%", "C:\\Ky"},  // names ignore case
      {"%KYUNSET%\\x", "%KYUNSET%\\x"},
      {"100%", "100%"},
      {"50%% off", "50%% off"},
      {"%KYUNSET%KYEXT%", "%KYUNSET%KYEXT%"},
      {"a%KYEXT%%KYEXT%b", "ainiinib"},
      {"%", "%"},
      {"", ""},
  };
  for (const auto& c : cases) {
    char buffer[64];
    const DWORD n = ExpandEnvironmentStringsA(c.in, buffer, sizeof buffer);
    EXPECT_EQ(n, std::strlen(c.out) + 1) << c.in;  // the count includes the terminator
    EXPECT_STREQ(buffer, c.out) << c.in;
  }
  char small[4] = "abc";
  EXPECT_EQ(ExpandEnvironmentStringsA("%KYDIR%", small, sizeof small), 6u);
  EXPECT_EQ(ExpandEnvironmentStringsA("%KYDIR%", nullptr, 0), 6u);
  SetLastError(0);
  EXPECT_EQ(ExpandEnvironmentStringsA(nullptr, small, sizeof small), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(EnvironmentStrings, BlockListsVariablesAndFreesOnce) {
  ASSERT_TRUE(SetEnvironmentVariableA("KY_FILES_BLOCK", "present"));
  LPSTR block = GetEnvironmentStringsA();
  ASSERT_NE(block, nullptr);
  bool found = false;
  size_t count = 0;
  for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
    found = found || std::strcmp(entry, "KY_FILES_BLOCK=present") == 0;
    ++count;
  }
  EXPECT_TRUE(found);
  EXPECT_GT(count, 0u);
  EXPECT_TRUE(FreeEnvironmentStringsA(block));
  char notABlock[4] = {};
  SetLastError(0);
  EXPECT_FALSE(FreeEnvironmentStringsA(notABlock));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CommandLine, QuotesArgumentsTheWindowsWay) {
  using Args = std::vector<std::string>;
  struct Case {
    Args arguments;
    const char* line;
  } cases[] = {
      {{"runner", "/Register"}, "runner /Register"},
      {{"/opt/My App/runner", "a b"}, "\"/opt/My App/runner\" \"a b\""},
      {{"x", ""}, "x \"\""},
      {{"x", "say \"hi\""}, "x \"say \\\"hi\\\"\""},
      {{"x", "C:\\dir\\"}, "x C:\\dir\\"},  // no quoting needed: backslashes stay single
      {{"x", "C:\\my dir\\"}, "x \"C:\\my dir\\\\\""},  // doubled before the closing quote
      {{"x", "a\\\"b"}, "x \"a\\\\\\\"b\""},
  };
  for (const auto& c : cases) EXPECT_EQ(win32::joinCommandLine(c.arguments), c.line) << c.line;
}

TEST(CommandLine, SplitsTheCRunTimeWay) {
  using Args = std::vector<std::string>;
  struct Case {
    const char* line;
    Args arguments;
  } cases[] = {
      {"runner /Register", {"runner", "/Register"}},
      {"  \"C:\\Program Files\\ky\\runner.exe\"  a\tb ", {"C:\\Program Files\\ky\\runner.exe", "a", "b"}},
      {"C:\\dir\\\"x y\" z", {"C:\\dir\\x y", "z"}},  // the program name knows no escapes
      {"p a\\\\b", {"p", "a\\\\b"}},                        // backslashes not before a quote stay
      {"p a\\\\\"b c\"", {"p", "a\\b c"}},                  // 2n backslashes: n, and the quote groups
      {"p a\\\"b", {"p", "a\"b"}},                              // 2n+1: n and a literal quote
      {"p \"\"", {"p", ""}},
      {"p \"a\"\"b\"", {"p", "a\"b"}},                         // "" inside quotes
      {"p x\"y z\"w", {"p", "xy zw"}},                            // quotes inside an argument
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(win32::splitCommandLine(c.line), c.arguments) << c.line;
  // Joining and splitting give the arguments back.
  const Args tricky{"prog", "", "two words", "quote\"inside", "trail\\", "C:\\my dir\\", "\\\"", "tab\there"};
  EXPECT_EQ(win32::splitCommandLine(win32::joinCommandLine(tricky)), tricky);
}

TEST(CommandLine, StartsWithTheProgramAndStaysTheSame) {
  const char* line = GetCommandLineA();
  ASSERT_NE(line, nullptr);
  EXPECT_NE(std::string(line).find("kernel32_environment_test"), std::string::npos) << line;
  EXPECT_EQ(GetCommandLineA(), line);
}
