#include <mscrt.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string format(const char* f, ...) {
  va_list args;
  va_start(args, f);
  va_list again;
  va_copy(again, args);
  const int n = _vscprintf(f, args);
  va_end(args);
  EXPECT_GE(n, 0) << f;
  std::vector<char> buffer(static_cast<size_t>(std::max(n, 0)) + 1, '\x7f');
  const int written = _vsnprintf(buffer.data(), buffer.size(), f, again);
  va_end(again);
  EXPECT_EQ(written, n) << f;
  return std::string(buffer.data(), static_cast<size_t>(std::max(written, 0)));
}

const double kInf = std::numeric_limits<double>::infinity();
const double kQuietNan = std::numeric_limits<double>::quiet_NaN();
// What 0/0 gives on x86: the negative quiet NaN without payload.
const double kIndefinite = -std::numeric_limits<double>::quiet_NaN();

TEST(Format, Integers) {
  struct Case { const char* format; int value; const char* expected; } cases[] = {
      {"%d", 42, "42"},          {"%5d", 42, "   42"},     {"%-5d|", 42, "42   |"},
      {"%05d", -42, "-0042"},    {"%+d", 42, "+42"},        {"% d", 42, " 42"},
      {"%.3d", 42, "042"},       {"%08.3d", 42, "     042"}, {"%.0d", 0, ""},
      {"%x", 255, "ff"},         {"%#x", 255, "0xff"},      {"%#X", 255, "0XFF"},
      {"%#x", 0, "0"},           {"%o", 8, "10"},           {"%#o", 8, "010"},
      {"%u", -1, "4294967295"},  {"%ld", -5, "-5"},         {"%lu", -1, "4294967295"},
      {"%hd", 70000, "4464"},    {"%hu", -1, "65535"},      {"%i", INT32_MIN, "-2147483648"},
      {"%I32d", -7, "-7"},       {"%c", 'x', "x"},          {"%3c|", 'x', "  x|"},
      {"%-3c|", 'x', "x  |"},    {"%*d", 5, "    5"},       {"[%%]", 0, "[%]"},
  };
  for (const auto& c : cases) {
    if (std::strchr(c.format, '*')) EXPECT_EQ(format(c.format, 5, c.value), c.expected) << c.format;
    else EXPECT_EQ(format(c.format, c.value), c.expected) << c.format;
  }
}

TEST(Format, SixtyFourBitIntegers) {
  struct Case { const char* format; int64_t value; const char* expected; } cases[] = {
      {"%I64d", INT64_MIN, "-9223372036854775808"},
      {"%I64u", -1, "18446744073709551615"},
      {"%I64x", 0x123456789ABCDEF0, "123456789abcdef0"},
      {"%016I64X", 0xABC, "0000000000000ABC"},
      {"%lld", -3, "-3"},
      {"%Id", -1, "-1"},
      {"%08I64d", 20240131, "20240131"},
      {"%06I64d", 93005, "093005"},
  };
  for (const auto& c : cases) EXPECT_EQ(format(c.format, c.value), c.expected) << c.format;
}

// For the integer conversions Microsoft's output is the C standard's, so the
// C library's bounded snprintf serves as the reference over a matrix of
// flags, widths, precisions and values (32-bit and 64-bit).
TEST(Format, IntegerConversionsMatchTheStandardForms) {
  const char* flags[] = {"", "-", "+", " ", "#", "0", "-0", "+ ", "#0", "-#"};
  const char* widths[] = {"", "1", "6", "13"};
  const char* precisions[] = {"", ".0", ".3", ".12"};
  const char conversions[] = {'d', 'i', 'u', 'o', 'x', 'X'};
  const int32_t values32[] = {0, 1, -1, 42, -12345, INT32_MIN, INT32_MAX};
  const int64_t values64[] = {0, -1, INT64_MIN, INT64_MAX, 0x1234567890LL};
  for (const char* flag : flags)
    for (const char* width : widths)
      for (const char* precision : precisions)
        for (char conversion : conversions) {
          const std::string prefix = std::string("%") + flag + width + precision;
          for (int32_t v : values32) {
            const std::string ours = prefix + conversion, theirs = prefix + conversion;
            char expected[64];
            std::snprintf(expected, sizeof expected, theirs.c_str(), v);
            EXPECT_EQ(format(ours.c_str(), v), expected) << ours << " " << v;
          }
          for (int64_t v : values64) {
            const std::string ours = prefix + "I64" + conversion, theirs = prefix + "ll" + conversion;
            char expected[64];
            std::snprintf(expected, sizeof expected, theirs.c_str(), static_cast<long long>(v));
            EXPECT_EQ(format(ours.c_str(), v), expected) << ours << " " << v;
          }
        }
}

TEST(Format, StarTakesWidthAndPrecisionFromArguments) {
  EXPECT_EQ(format("%-*d|", 4, 7), "7   |");
  EXPECT_EQ(format("%*d|", -4, 7), "7   |");  // a negative width means left-justified
  EXPECT_EQ(format("%.*f", 2, 1.0), "1.00");
  EXPECT_EQ(format("%.*f", -1, 1.0), "1.000000");  // a negative precision is none
  EXPECT_EQ(format("%*.*s|", 5, 2, "abc"), "   ab|");
}

TEST(Format, FloatingPointInMicrosoftForms) {
  struct Case { const char* format; double value; const char* expected; } cases[] = {
      {"%f", 1.5, "1.500000"},
      {"%5.9f", 1.5, "1.500000000"},
      {"%.2f", 0.125, "0.13"},  // decimal half-up rounding of the digit string
      {"%.2f", 2.675, "2.67"},  // the double lies below 2.675
      {"%.0f", 0.5, "1"},
      {"%.0f", 2.5, "3"},
      {"%#.0f", 2.0, "2."},
      {"%5.1f", -0.05, " -0.1"},
      {"%.20f", 0.1, "0.10000000000000001000"},  // 17 significant digits, then zeros
      {"%f", 1e20, "100000000000000000000.000000"},
      {"%f", 123456789012345678.0, "123456789012345680.000000"},
      {"%010.2f", -3.14159, "-000003.14"},
      {"%+.1f", 2.0, "+2.0"},
      {"%e", 1e17, "1.000000e+017"},
      {"%E", 12345.678, "1.234568E+004"},
      {"%.3e", 1e300, "1.000e+300"},
      {"%e", 0.0, "0.000000e+000"},
      {"%e", 5e-324, "4.940656e-324"},
      {"%.0e", 9.6, "1e+001"},
      {"%g", 1e17, "1e+017"},
      {"%g", 0.0001, "0.0001"},
      {"%g", 0.00001, "1e-005"},
      {"%g", 123456.0, "123456"},
      {"%g", 1234567.0, "1.23457e+006"},
      {"%G", 1e-10, "1E-010"},
      {"%g", 0.0, "0"},
      {"%g", 100.0, "100"},
      {"%g", 9.9999996, "10"},
      {"%#g", 1.0, "1.00000"},
      {"%.3g", 3.14159, "3.14"},
      {"%f", -0.0, "-0.000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(format(c.format, c.value), c.expected) << c.format;
}

// The classic CRT writes infinity and NaN as the digit string "1#INF"
// (and so on) with the point after the 1, then formats and rounds it like
// any digits: "1.#INF00" with six decimals, "1.#J" with two.
TEST(Format, InfinityAndNanInClassicForms) {
  struct Case { const char* format; double value; const char* expected; } cases[] = {
      {"%f", kInf, "1.#INF00"},         {"%f", -kInf, "-1.#INF00"},
      {"%.0f", kInf, "1"},              {"%.1f", kInf, "1.$"},
      {"%.2f", kInf, "1.#J"},           {"%.3f", kInf, "1.#IO"},
      {"%.4f", kInf, "1.#INF"},         {"%e", kInf, "1.#INF00e+000"},
      {"%g", kInf, "1.#INF"},           {"%g", -kInf, "-1.#INF"},
      {"%10g|", kInf, "    1.#INF|"},   {"%-8g|", kInf, "1.#INF  |"},
      {"%g", kQuietNan, "1.#QNAN"},     {"%f", kQuietNan, "1.#QNAN0"},
      {"%g", kIndefinite, "-1.#IND"},   {"%f", kIndefinite, "-1.#IND00"},
      {"%.2f", kIndefinite, "-1.#J"},   {"%+g", kInf, "+1.#INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(format(c.format, c.value), c.expected) << c.format;
}

TEST(Format, StringsCharactersAndPointers) {
  EXPECT_EQ(format("%s", static_cast<const char*>(nullptr)), "(null)");
  EXPECT_EQ(format("%.3s", "abcdef"), "abc");
  EXPECT_EQ(format("%-5s|", "ab"), "ab   |");
  EXPECT_EQ(format("%5s", "ab"), "   ab");
  EXPECT_EQ(format("%05s", "ab"), "000ab");  // Microsoft pads strings with zeros too
  EXPECT_EQ(format("%S", u"wide"), "wide");
  EXPECT_EQ(format("%ls", u"caf\u00e9"), "caf\xe9");
  EXPECT_EQ(format("%hs", "narrow"), "narrow");
  EXPECT_EQ(format("%S", static_cast<const char16_t*>(nullptr)), "(null)");
  EXPECT_EQ(format("%C", static_cast<int>(u'A')), "A");
  EXPECT_EQ(format("%lc", static_cast<int>(u'\u20ac')), "\x80");
  EXPECT_EQ(format("%p", reinterpret_cast<void*>(0x1234)), "0000000000001234");
  EXPECT_EQ(format("%p", reinterpret_cast<void*>(0xDEADBEEFCAFEull)), "0000DEADBEEFCAFE");
  // A precision bounds the read: the text need not be terminated.
  const char unterminated[3] = {'x', 'y', 'z'};
  EXPECT_EQ(format("%.2s", unterminated), "xy");
}

TEST(Format, UnknownLettersAndTrailingPercent) {
  EXPECT_EQ(format("a%yb"), "ayb");
  EXPECT_EQ(format("100%"), "100");
}

TEST(Format, RefusesPercentN) {
  int count = 0;
  char buffer[16];
  errno = 0;
  EXPECT_EQ(_snprintf(buffer, sizeof buffer, "ab%n", &count), -1);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(_scprintf("%n", &count), -1);
}

TEST(Format, TruncationReturnsAndTerminators) {
  struct Case { size_t count; int result; const char* contents; size_t written; } cases[] = {
      {8, 6, "abcdef\0", 7},  // fits: terminated
      {6, 6, "abcdef", 6},    // exact fit: all characters, no terminator
      {4, -1, "abcd", 4},     // too long: cut, no terminator
      {0, -1, "", 0},
  };
  for (const auto& c : cases) {
    char buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(_snprintf(buffer, c.count, "%s", "abcdef"), c.result) << c.count;
    EXPECT_EQ(std::string(buffer, c.written), std::string(c.contents, c.written)) << c.count;
    EXPECT_EQ(buffer[c.written], c.written < 7 ? '#' : buffer[c.written]) << "wrote past the count " << c.count;
  }
  EXPECT_EQ(_snprintf(nullptr, 0, "%d", 12345), 5);  // size query
  errno = 0;
  EXPECT_EQ(_snprintf(nullptr, 4, "x"), -1);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(_scprintf("%d-%s", 12345, "ab"), 8);
}

TEST(Format, SecureFormsAlwaysTerminate) {
  char buffer[4];
  EXPECT_EQ(_snprintf_s(buffer, sizeof buffer, _TRUNCATE, "%s", "abcdef"), -1);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(_snprintf_s(buffer, sizeof buffer, 2, "%s", "abcdef"), -1);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(_snprintf_s(buffer, sizeof buffer, _TRUNCATE, "%d", 12), 2);
  EXPECT_STREQ(buffer, "12");
  errno = 0;
  EXPECT_EQ(sprintf_s(buffer, sizeof buffer, "%s", "abcdef"), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(errno, ERANGE);
  EXPECT_EQ(sprintf_s(buffer, sizeof buffer, "%s", "abc"), 3);
  EXPECT_STREQ(buffer, "abc");
}

TEST(Format, HugeWidthIsCountedNotWritten) {
  char buffer[8];
  EXPECT_EQ(_snprintf(buffer, sizeof buffer, "%100000d", 1), -1);
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(8, ' '));
  EXPECT_EQ(_scprintf("%100000d", 1), 100000);
  EXPECT_EQ(_scprintf("%.100000d", 1), 100000);
}

}  // namespace
