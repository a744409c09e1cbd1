// KyString with double-byte text: host measure, the safe cut and the blank
// that replaces half a character. The program runs in code page 932 (set
// before anything asks) with Japanese regional settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyString.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

// Two Shift-JIS characters, and one whose trail byte is a backslash.
#define D1 "\x82\xa0"
#define D2 "\x82\xa2"
#define DBACKSLASH "\x95\x5c"

class KyStringDbcs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    ASSERT_EQ(GetACP(), 932u);
    kytest::writeWinIni("[intl]\nsLanguage=JPN\n");
    context_ = app_.CreateContext();
    ASSERT_TRUE(context_->GetLocale()->IsDoubleByte());
  }
  void TearDown() override { app_.EndContext(); }

  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "APP.INI"};
  KyAppContext* context_ = nullptr;
};

TEST_F(KyStringDbcs, HostLengthCountsEachRunOnce) {
  struct Case {
    const char* text;
    int host;
  } cases[] = {
      {"", 0}, {"abc", 3}, {D1, 4}, {D1 D2, 6}, {"a" D1 "b" D2, 10}, {D1 "a" D2, 9}, {"a" D1 D2, 7},
      {"a\x82", 2},  // a lead byte at the end is a character of its own
  };
  for (const Case& c : cases) EXPECT_EQ(KyString(c.text).GetHostLength(), c.host) << c.text;
}

TEST_F(KyStringDbcs, HostFitNeverSplitsACharacter) {
  struct Case {
    const char* text;
    int limit;
    int bytes;
  } cases[] = {
      {"", 5, 0},         {"abc", 2, 2},       {D1, 3, 0},        {D1, 4, 2},        {"a" D1 D2, 6, 3},
      {"a" D1 D2, 7, 5},  {"a" D1 "b", 5, 3},  {"a" D1 "b", 6, 4}, {D1 "a", 4, 2},    {"ab", 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(KyString(c.text).HostFitLength(c.limit), c.bytes) << c.text << " " << c.limit;
}

TEST_F(KyStringDbcs, Cutting) {
  struct Case {
    const char* text;
    int hostMixed;
    int max;
    int safeCut;
    std::string expected;
  } cases[] = {
      {"a" D1 D2, 1, 6, 1, "a" D1},          // host 7 > 6: keeps host 5
      {"a" D1, 0, 2, 1, "a "},               // half a character becomes a blank
      {"a" D1 D2, 0, 3, 1, "a" D1},          // the first double-byte character whole
      {"a" D1, 0, 2, 0, "a\x82"},            // no safe cut: bytes
      {"a" D1 D2, 1, 7, 1, "a" D1 D2},       // fits
      {D1 D2, 1, 5, 1, D1},
      {"ab", 1, 1, 1, "a"},
  };
  for (const Case& c : cases) {
    KyString s(c.text);
    s.Init(c.hostMixed, c.max, c.safeCut);
    EXPECT_EQ(std::string(s.c_str(), s.GetLength()), c.expected) << c.text << " max " << c.max;
    EXPECT_LE(c.hostMixed ? s.GetHostLength() : s.GetLength(), c.max);
  }
}

TEST_F(KyStringDbcs, SubstringsBlankHalfCharacters) {
  struct Case {
    const char* text;
    int first;
    int count;
    std::string expected;
  } cases[] = {
      {"a" D1 "b", 2, 2, " b"},  {"a" D1 "b", 0, 2, "a "}, {"a" D1 "b", 1, 2, D1},
      {"a" D1 "b", 2, 1, " "},   {D1 D2, 1, 2, "  "},      {"a" D1 "b", 1, 10, D1 "b"},
  };
  for (const Case& c : cases) {
    KyString result = KyString(c.text).Mid(c.first, c.count);
    EXPECT_EQ(std::string(result.c_str(), result.GetLength()), c.expected) << c.first << " " << c.count;
  }
  EXPECT_EQ(KyString("a" D1 "b").Mid(2), " b");
  EXPECT_EQ(KyString("ab" D1 "c").SingleBytePrefix(), "ab");
  EXPECT_EQ(KyString(D1).SingleBytePrefix(), "");
}

// In host measure counts are host positions; Right finds its start by
// characters instead of using a host count as a byte offset.
TEST_F(KyStringDbcs, HostMixedSubstrings) {
  KyString text(D1 D2);
  text.Init(1, -1, 0);
  struct Case {
    int count;
    std::string mid;
  } mids[] = {{3, ""}, {4, D1}, {5, D1}, {6, D1 D2}, {20, D1 D2}};
  for (const Case& c : mids) EXPECT_EQ(text.Mid(0, c.count), c.mid.c_str()) << c.count;
  EXPECT_EQ(text.Mid(0, 4).IsHostMixed(), 1);

  KyString mixed("ab" D1);
  mixed.Init(1, -1, 0);
  struct Side {
    int count;
    const char* right;
  } sides[] = {{3, ""}, {4, D1}, {5, "b" D1}, {6, "ab" D1}, {10, "ab" D1}, {0, ""}};
  for (const Side& c : sides) EXPECT_EQ(mixed.Right(c.count), c.right) << c.count;
  KyString runs(D1 "a" D2);  // host 9
  runs.Init(1, -1, 0);
  EXPECT_EQ(runs.Right(5), "a" D2);
  EXPECT_EQ(runs.Right(8), "a" D2);
  EXPECT_EQ(runs.Right(9), D1 "a" D2);
}

TEST_F(KyStringDbcs, ReplaceCharLeavesTrailBytes) {
  KyString path(DBACKSLASH "\\x");
  path.ReplaceChar('\\', '/');
  EXPECT_EQ(path, DBACKSLASH "/x");
}

TEST_F(KyStringDbcs, ThreadWithoutContextCutsBytes) {
  std::string result;
  std::thread([&] {
    KyString s("a" D1);
    s.Init(0, 2, 1);  // no regional settings on this thread: no safe cut
    result.assign(s.c_str(), s.GetLength());
  }).join();
  EXPECT_EQ(result, "a\x82");
}

}  // namespace
