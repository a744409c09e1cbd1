// Index checks (a bad index ends the program with a failure code after its
// box), the debug print and COM error descriptions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "KyAppContext.h"
#include "KyAppServices.h"
#include "KyCommandLine.h"
#include "KyGlobalFunctions.h"
#include "testapp.h"

namespace {

class GlobalFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[Settings]\n");
    app_ = std::make_unique<kytest::TestClientApp>("Globals", ini_);
    app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    ASSERT_NE(language_->module(), nullptr);
  }
  void TearDown() override {
    language_.reset();
    app_->EndContext();
  }
  std::string text(UINT id) { return KyGetMessageText(id); }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "globals.ini";
  std::unique_ptr<kytest::TestClientApp> app_;
  std::unique_ptr<kytest::LanguageLibrary> language_;
};

TEST_F(GlobalFunctions, GoodIndexesComeBack) {
  EXPECT_EQ(KyIx(5, 4), 4);
  EXPECT_EQ(KyIx(5, 0), 0);
  KyString name("Rows");
  EXPECT_EQ(KyMIx(3, 2, name), 2);
}

// The box is written to stderr (quiet mode off in the child) and the
// program ends with the failure code.
void failIndex(int count, int index, const char* name) {
  unsetenv("KY_MESSAGEBOX_QUIET");
  if (name) {
    KyString text(name);
    KyMIx(count, index, text);
  } else {
    KyIx(count, index);
  }
}

TEST_F(GlobalFunctions, BadIndexesEndTheProgramAsAFailure) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    int count, index;
    const char* name;
    UINT message;
    std::string tail;
  } cases[] = {
      {5, 5, nullptr, 59174, "5"},
      {5, -1, nullptr, 59175, ""},
      {2, 9, "Orders", 59172, "2\n Orders"},
      {2, -3, "Orders", 59173, "\n Orders"},
  };
  for (const Case& c : cases) {
    const std::string expected = text(c.message) + c.tail;
    ASSERT_FALSE(text(c.message).empty());
    EXPECT_EXIT(failIndex(c.count, c.index, c.name), ::testing::ExitedWithCode(kKyIndexErrorExitCode),
                ::testing::HasSubstr(expected))
        << c.count << " " << c.index;
  }
}

TEST_F(GlobalFunctions, PrintfWritesOneCutLine) {
  ::testing::internal::CaptureStderr();
  int length = KyPrintf("value %d of %s", 7, "x");
  std::string out = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(length, static_cast<int>(std::string("value 7 of x\n").size()));
  EXPECT_NE(out.find("value 7 of x\n"), std::string::npos);

  const std::string longText(2000, 'w');
  ::testing::internal::CaptureStderr();
  length = KyPrintf("%s", longText.c_str());
  out = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(length, 511);
  EXPECT_NE(out.find(std::string(510, 'w') + "\n"), std::string::npos);
  EXPECT_EQ(out.find(std::string(511, 'w')), std::string::npos);
}

TEST_F(GlobalFunctions, TranslateCodeNamesSeverityFacilityAndText) {
  struct Case {
    long code;
    UINT severity, facility;
    DWORD systemCode;
  } cases[] = {
      {static_cast<long>(0x80070005), 59165, 59157, 5},  // access denied, Win32
      {0x00040000, 59164, 59161, 0},
      {static_cast<long>(0x80040154), 59165, 59161, 0x154},
      {static_cast<long>(0x8FFF0002), 59165, 59168, 2},
  };
  for (const Case& c : cases) {
    char* system = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, c.systemCode, 0, reinterpret_cast<LPSTR>(&system), 0, nullptr);
    const std::string expected = text(59150) + text(c.severity) + "\n" + text(59151) + text(c.facility) + "\n" +
                                 text(59152) + (system ? system : "");
    LocalFree(system);
    CString result;
    TranslateCode(c.code, result);
    EXPECT_EQ(std::string(result), expected) << std::hex << c.code;
  }
}

// The argument vector is sized from the arguments found, and ends with a
// null entry however many there are.
TEST(ArgumentVector, EndsWithNullAtAnyCount) {
  std::string line;
  for (int i = 0; i < 14; ++i) line += "a" + std::to_string(i) + " ";
  const int argc = KyGetArgc(line.c_str());
  ASSERT_EQ(argc, 14);
  for (int asked : {argc, argc + 5, 3}) {
    char** argv = pKyMakeArgv(line.c_str(), asked);
    ASSERT_NE(argv, nullptr);
    const int made = std::min(asked, argc);
    for (int i = 0; i < made; ++i) EXPECT_EQ(std::string(argv[i]), "a" + std::to_string(i));
    EXPECT_EQ(argv[made], nullptr) << asked;
    KyFreeArgv(argv);
  }
  // The quoted stretch of a line keeps its blanks.
  char** argv = pKyMakeArgv("  a \"b c\"  d", 3);
  ASSERT_NE(argv, nullptr);
  EXPECT_STREQ(argv[0], "a");
  EXPECT_STREQ(argv[1], "b c");
  EXPECT_STREQ(argv[2], "d");
  EXPECT_EQ(argv[3], nullptr);
  KyFreeArgv(argv);
}

}  // namespace
