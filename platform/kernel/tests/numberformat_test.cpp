#include <windows.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LCID kUS = 0x0409, kGB = 0x0809, kDE = 0x0407, kFR = 0x040C, kJP = 0x0411;

std::string number(LCID lcid, const char* value, const NUMBERFMTA* format = nullptr, DWORD flags = 0) {
  char buffer[64];
  const int n = GetNumberFormatA(lcid, flags, value, format, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<error " + std::to_string(GetLastError()) + ">";
}

std::string currency(LCID lcid, const char* value, const CURRENCYFMTA* format = nullptr) {
  char buffer[64];
  const int n = GetCurrencyFormatA(lcid, 0, value, format, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<error " + std::to_string(GetLastError()) + ">";
}

TEST(NumberFormat, LocaleNumbers) {
  struct Case { LCID lcid; const char* value; const char* expected; } cases[] = {
      {kUS, "1234567.891", "1,234,567.89"},  {kUS, "-1234567.891", "-1,234,567.89"},
      {kUS, "0.5", "0.50"},                  {kUS, ".5", "0.50"},
      {kUS, "5.", "5.00"},                   {kUS, "0", "0.00"},
      {kUS, "000123", "123.00"},             {kUS, "123", "123.00"},
      {kUS, "1234", "1,234.00"},             {kUS, "9.995", "10.00"},  // the carry runs through
      {kUS, "999999.995", "1,000,000.00"},   {kUS, "1.005", "1.01"},   // rounded as text, half away from zero
      {kUS, "-2.345", "-2.35"},              {kUS, "1.004999", "1.00"},
      {kUS, "-0.001", "0.00"},               // no negative zero
      {kUS, "12345678901234567890123.5", "12,345,678,901,234,567,890,123.50"},
      {kGB, "-1234567.891", "-1,234,567.89"},
      {kDE, "1234567.891", "1.234.567,89"},  {kDE, "-0.5", "-0,50"},
      {kFR, "1234567.891", "1\xa0" "234\xa0" "567,89"},
      {kJP, "1234.5", "1,234.50"},
      {LOCALE_USER_DEFAULT, "1234.5", "1,234.50"},
  };
  for (const auto& c : cases) EXPECT_EQ(number(c.lcid, c.value), c.expected) << std::hex << c.lcid << " " << c.value;
  EXPECT_EQ(number(kUS, "1234.5", nullptr, LOCALE_NOUSEROVERRIDE), "1,234.50");
}

TEST(NumberFormat, CallersFormat) {
  char dot[] = ".", comma[] = ",", open[] = "<>", under[] = "__";
  struct Case { NUMBERFMTA format; const char* value; const char* expected; } cases[] = {
      {{3, 0, 3, dot, comma, 0}, "-0.5", "(.500)"},
      {{3, 1, 3, dot, comma, 0}, "-0.5", "(0.500)"},
      {{0, 0, 3, dot, comma, 1}, "0.4", "0"},
      {{0, 1, 3, dot, comma, 1}, "1234.5", "1,235"},
      {{0, 1, 32, dot, comma, 1}, "123456789", "12,34,56,789"},  // 3;2;0
      {{0, 1, 2, dot, comma, 1}, "1234567", "1,23,45,67"},      // 2;0
      {{2, 1, 0, dot, comma, 1}, "1234567", "1234567.00"},      // no groups
      {{1, 1, 3, open, under, 1}, "1234567.25", "1__234__567<>3"},
      {{9, 1, 3, dot, comma, 1}, "0.1234567891", "0.123456789"},
      // The negative orders: (1.1) -1.1 - 1.1 1.1- 1.1 -
      {{1, 1, 3, dot, comma, 0}, "-1.1", "(1.1)"},
      {{1, 1, 3, dot, comma, 1}, "-1.1", "-1.1"},
      {{1, 1, 3, dot, comma, 2}, "-1.1", "- 1.1"},
      {{1, 1, 3, dot, comma, 3}, "-1.1", "1.1-"},
      {{1, 1, 3, dot, comma, 4}, "-1.1", "1.1 -"},
  };
  for (const auto& c : cases) EXPECT_EQ(number(kDE, c.value, &c.format), c.expected) << c.value;
}

TEST(NumberFormat, LocaleCurrency) {
  struct Case { LCID lcid; const char* value; const char* expected; } cases[] = {
      {kUS, "1234.5", "$1,234.50"},          {kUS, "-1234.5", "($1,234.50)"},
      {kUS, "0.004", "$0.00"},               {kUS, "-0.004", "$0.00"},
      {kGB, "1234.5", "\xa3" "1,234.50"},     {kGB, "-1234.5", "-\xa3" "1,234.50"},
      {kDE, "1234.5", "1.234,50 \x80"},      {kDE, "-1234.5", "-1.234,50 \x80"},
      {kFR, "-1234.5", "-1\xa0" "234,50 \x80"},
      {kJP, "1234.5", "\\1,235"},            {kJP, "-1234.4", "-\\1,234"},  // yen in 932 is 0x5C
  };
  for (const auto& c : cases) EXPECT_EQ(currency(c.lcid, c.value), c.expected) << std::hex << c.lcid << " " << c.value;
  WCHAR wide[32];
  ASSERT_GT(GetCurrencyFormatW(kJP, 0, u"1234.5", nullptr, wide, 32), 0);
  EXPECT_EQ(std::u16string(wide), u"\u00a51,235");
}

TEST(NumberFormat, CurrencyOrders) {
  char dot[] = ".", comma[] = ",", dollar[] = "$";
  const char* negative[16] = {"($1.1)", "-$1.1",  "$-1.1",  "$1.1-",  "(1.1$)", "-1.1$", "1.1-$",   "1.1$-",
                              "-1.1 $", "-$ 1.1", "1.1 $-", "$ 1.1-", "$ -1.1", "1.1- $", "($ 1.1)", "(1.1 $)"};
  for (UINT order = 0; order < 16; ++order) {
    const CURRENCYFMTA format = {1, 1, 3, dot, comma, order, 0, dollar};
    EXPECT_EQ(currency(kUS, "-1.1", &format), negative[order]) << order;
  }
  const char* positive[4] = {"$1.1", "1.1$", "$ 1.1", "1.1 $"};
  for (UINT order = 0; order < 4; ++order) {
    const CURRENCYFMTA format = {1, 1, 3, dot, comma, 0, order, dollar};
    EXPECT_EQ(currency(kUS, "1.1", &format), positive[order]) << order;
  }
}

TEST(NumberFormat, RefusesBadValues) {
  for (const char* value : {"", "-", ".", "-.", "1.2.3", "1e5", " 12", "12 ", "+12", "12a", "1,000", "--1", "1-"}) {
    SetLastError(0);
    char buffer[32];
    EXPECT_EQ(GetNumberFormatA(kUS, 0, value, nullptr, buffer, sizeof buffer), 0) << value;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << value;
    EXPECT_EQ(GetCurrencyFormatA(kUS, 0, value, nullptr, buffer, sizeof buffer), 0) << value;
  }
}

TEST(NumberFormat, RefusesBadArguments) {
  char dot[] = ".", comma[] = ",", buffer[32];
  const NUMBERFMTA good = {2, 1, 3, dot, comma, 1};
  struct Case { const char* what; LCID lcid; DWORD flags; const char* value; NUMBERFMTA format; bool withFormat;
                char* out; int size; DWORD error; } cases[] = {
      {"null value", kUS, 0, nullptr, good, false, buffer, 32, ERROR_INVALID_PARAMETER},
      {"unknown locale", 0x0419, 0, "1", good, false, buffer, 32, ERROR_INVALID_PARAMETER},
      {"negative size", kUS, 0, "1", good, false, buffer, -1, ERROR_INVALID_PARAMETER},
      {"no buffer", kUS, 0, "1", good, false, nullptr, 32, ERROR_INVALID_PARAMETER},
      {"unknown flag", kUS, 0x1, "1", good, false, buffer, 32, ERROR_INVALID_FLAGS},
      {"no override with a format", kUS, LOCALE_NOUSEROVERRIDE, "1", good, true, buffer, 32, ERROR_INVALID_FLAGS},
      {"ten digits", kUS, 0, "1", {10, 1, 3, dot, comma, 1}, true, buffer, 32, ERROR_INVALID_PARAMETER},
      {"leading zero 2", kUS, 0, "1", {2, 2, 3, dot, comma, 1}, true, buffer, 32, ERROR_INVALID_PARAMETER},
      {"grouping 10", kUS, 0, "1", {2, 1, 10, dot, comma, 1}, true, buffer, 32, ERROR_INVALID_PARAMETER},
      {"negative order 5", kUS, 0, "1", {2, 1, 3, dot, comma, 5}, true, buffer, 32, ERROR_INVALID_PARAMETER},
      {"no decimal", kUS, 0, "1", {2, 1, 3, nullptr, comma, 1}, true, buffer, 32, ERROR_INVALID_PARAMETER},
      {"no thousand", kUS, 0, "1", {2, 1, 3, dot, nullptr, 1}, true, buffer, 32, ERROR_INVALID_PARAMETER},
      {"too small", kUS, 0, "1234", good, false, buffer, 8, ERROR_INSUFFICIENT_BUFFER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetNumberFormatA(c.lcid, c.flags, c.value, c.withFormat ? &c.format : nullptr, c.out, c.size), 0)
        << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  char symbol[] = "$";
  const CURRENCYFMTA badCurrency[] = {
      {2, 1, 3, dot, comma, 16, 0, symbol}, {2, 1, 3, dot, comma, 0, 4, symbol}, {2, 1, 3, dot, comma, 0, 0, nullptr}};
  for (const auto& format : badCurrency) {
    SetLastError(0);
    EXPECT_EQ(GetCurrencyFormatA(kUS, 0, "1", &format, buffer, sizeof buffer), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(NumberFormat, SizeQueryAndExactBuffer) {
  EXPECT_EQ(GetNumberFormatA(kUS, 0, "1234", nullptr, nullptr, 0), 9);  // "1,234.00" and the terminator
  char buffer[9];
  EXPECT_EQ(GetNumberFormatA(kUS, 0, "1234", nullptr, buffer, 9), 9);
  EXPECT_STREQ(buffer, "1,234.00");
  EXPECT_EQ(GetCurrencyFormatA(kDE, 0, "1", nullptr, nullptr, 0), 7);  // "1,00 €"
  EXPECT_EQ(GetCurrencyFormatW(kDE, 0, u"1", nullptr, nullptr, 0), 7);
  WCHAR wide[16];
  EXPECT_EQ(GetNumberFormatW(kFR, 0, u"-1234.5", nullptr, wide, 16), 10);
  EXPECT_EQ(std::u16string(wide), u"-1\u00a0234,50");
}

}  // namespace
