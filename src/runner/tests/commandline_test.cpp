// The runner's command line: splitting, and the main function's library and
// implementation names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KyCommandLine.h"

namespace {

std::vector<std::string> split(const char* line) {
  int argc = KyGetArgc(line);
  char** argv = pKyMakeArgv(line, argc);
  EXPECT_NE(argv, nullptr);
  std::vector<std::string> result;
  for (int i = 0; argv && i < argc; ++i) result.emplace_back(argv[i]);
  if (argv) EXPECT_EQ(argv[argc], nullptr);
  KyFreeArgv(argv);
  return result;
}

TEST(CommandLine, SplitsAsTheCRunTime) {
  struct Case {
    const char* line;
    std::vector<std::string> arguments;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"app.dll Main", {"app.dll", "Main"}},
      {"\"my app.dll\" Main  x", {"my app.dll", "Main", "x"}},
      {"a\\\\\"b c\" d", {"a\\b c", "d"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"/ENV key lib", {"/ENV", "key", "lib"}},
  };
  for (const Case& c : cases) EXPECT_EQ(split(c.line), c.arguments) << c.line;
  EXPECT_EQ(KyGetArgc(nullptr), 0);
}

TEST(CommandLine, MakesNoMoreThanAskedFor) {
  char** argv = pKyMakeArgv("a b c", 2);
  ASSERT_NE(argv, nullptr);
  EXPECT_STREQ(argv[0], "a");
  EXPECT_STREQ(argv[1], "b");
  EXPECT_EQ(argv[2], nullptr);
  KyFreeArgv(argv);
  KyFreeArgv(nullptr);
}

TEST(CommandLine, NamesTheMainFunction) {
  struct Case {
    std::vector<const char*> arguments;
    const char* program;
    const char* library;
    const char* implementation;
  } cases[] = {
      // "/ENV" and its key alone: the library named after the program.
      {{"/ENV", "key"}, "Drumlet", "Drumlet.DLL", "Drumlet"},
      {{}, "Drumlet", "Drumlet.DLL", "Drumlet"},
      {{"app"}, "Drumlet", "APP.DLL", "APP"},
      {{"app.lib"}, "Drumlet", "APP.LIB", "APP"},
      {{"app", "Main", "in1", "in2"}, "Drumlet", "APP.DLL", "Main"},
      {{"/ENV", "key", "lib", "Fn"}, "Drumlet", "LIB.DLL", "Fn"},
      // Matched with case: "/env" is a library name like any other.
      {{"/env", "key"}, "Drumlet", "/ENV.DLL", "key"},
      {{"c:\\apps\\app"}, "Drumlet", "C:\\APPS\\APP.DLL", "APP"},
      // A '.' in a directory is no extension.
      {{"lib.v2/app"}, "Drumlet", "LIB.V2/APP.DLL", "APP"},
      {{"lib.v2/app.x"}, "Drumlet", "LIB.V2/APP.X", "APP"},
      {{"", "Fn"}, "Drumlet", "Drumlet.DLL", "Fn"},
  };
  for (const Case& c : cases) {
    KyMainFunctionName name =
        KyGetMainFunctionName(static_cast<int>(c.arguments.size()), c.arguments.data(), c.program);
    EXPECT_FALSE(name.fRefused);
    EXPECT_STREQ(name.library, c.library) << (c.arguments.empty() ? "" : c.arguments[0]);
    EXPECT_STREQ(name.implementation, c.implementation) << (c.arguments.empty() ? "" : c.arguments[0]);
  }
}

TEST(CommandLine, RemoteCallServerNeedsALibrary) {
  for (const char* program : {"KY721RC", "ky721rc"}) {
    EXPECT_TRUE(KyGetMainFunctionName(0, nullptr, program).fRefused) << program;
    const char* envOnly[] = {"/ENV", "key"};
    EXPECT_TRUE(KyGetMainFunctionName(2, envOnly, program).fRefused) << program;
  }
  const char* withLibrary[] = {"app"};
  KyMainFunctionName name = KyGetMainFunctionName(1, withLibrary, "KY721RC");
  EXPECT_FALSE(name.fRefused);
  EXPECT_STREQ(name.library, "APP.DLL");
}

}  // namespace
