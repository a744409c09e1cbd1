#include <mscrt.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(StringCase, CompareIgnoringAsciiCase) {
  struct Case { const char* a; const char* b; int expected; } cases[] = {
      {"abc", "ABC", 0}, {"abc", "abd", -1}, {"ABD", "abc", 1}, {"a_", "aB", -1},  // '_' before letters
      {"ab", "abc", -1}, {"", "", 0},        {"\xe9", "\xc9", 1},  // no case beyond ASCII
  };
  for (const auto& c : cases) EXPECT_EQ(sign(_stricmp(c.a, c.b)), c.expected) << c.a << " / " << c.b;
  EXPECT_EQ(_strnicmp("abcX", "ABCy", 3), 0);
  EXPECT_LT(_strnicmp("abcX", "ABCy", 4), 0);
  EXPECT_EQ(_strnicmp("a", "b", 0), 0);
  errno = 0;
  EXPECT_EQ(_stricmp(nullptr, "a"), _NLSCMPERROR);
  EXPECT_EQ(errno, EINVAL);
}

TEST(StringCase, ChangesCaseAndOrderInPlace) {
  char text[] = "MiXed \xe9 1";
  EXPECT_EQ(_strupr(text), text);
  EXPECT_STREQ(text, "MIXED \xe9 1");
  EXPECT_STREQ(_strlwr(text), "mixed \xe9 1");
  char word[] = "abcd";
  EXPECT_STREQ(_strrev(word), "dcba");
  char odd[] = "abc";
  EXPECT_STREQ(_strrev(odd), "cba");
  char empty[] = "";
  EXPECT_STREQ(_strrev(empty), "");
  EXPECT_EQ(_strupr(nullptr), nullptr);
  char* copy = _strdup("dup");
  EXPECT_STREQ(copy, "dup");
  std::free(copy);
}

TEST(IntegerText, ToTextTable) {
  char buffer[70];
  EXPECT_STREQ(_itoa(-5, buffer, 10), "-5");
  EXPECT_STREQ(_itoa(-1, buffer, 16), "ffffffff");  // other radices write the bits
  EXPECT_STREQ(_itoa(255, buffer, 2), "11111111");
  EXPECT_STREQ(_ltoa(INT32_MIN, buffer, 10), "-2147483648");
  EXPECT_STREQ(_ultoa(4294967295u, buffer, 10), "4294967295");
  EXPECT_STREQ(_i64toa(INT64_MIN, buffer, 10), "-9223372036854775808");
  EXPECT_STREQ(_i64toa(-1, buffer, 16), "ffffffffffffffff");
  EXPECT_STREQ(_ui64toa(UINT64_MAX, buffer, 36), "3w5e11264sgsf");
  EXPECT_EQ(std::string(_ui64toa(UINT64_MAX, buffer, 2)), std::string(64, '1'));
  errno = 0;
  EXPECT_STREQ(_itoa(5, buffer, 1), "");
  EXPECT_EQ(errno, EINVAL);
}

TEST(IntegerText, Atoi64Table) {
  struct Case { const char* text; int64_t value; bool range; } cases[] = {
      {" -123abc", -123, false},
      {"+42", 42, false},
      {"\t\n7", 7, false},
      {"9223372036854775807", INT64_MAX, false},
      {"9223372036854775808", INT64_MAX, true},
      {"-9223372036854775808", INT64_MIN, false},
      {"-9223372036854775809", INT64_MIN, true},
      {"99999999999999999999999", INT64_MAX, true},
      {"abc", 0, false},
      {"", 0, false},
  };
  for (const auto& c : cases) {
    errno = 0;
    EXPECT_EQ(_atoi64(c.text), c.value) << c.text;
    EXPECT_EQ(errno == ERANGE, c.range) << c.text;
  }
}

}  // namespace
