#include <mscrt.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

TEST(FloatConversion, FcvtDigitsAfterThePoint) {
  struct Case { double value; int count; const char* digits; int point; int sign; } cases[] = {
      {0.1, 2, "10", 0, 0},
      {3.14159, 3, "3142", 1, 0},
      {1234.5678, 4, "12345678", 4, 0},
      {0.006, 2, "1", -1, 0},    // rounds up into the second place
      {0.001, 2, "", -2, 0},     // rounds to nothing
      {0.0004, 2, "", -3, 0},
      {9.96, 1, "100", 2, 0},    // the carry moves the point
      {-12.5, 0, "13", 2, 1},    // decimal half-up
      {0.0, 3, "000", 0, 0},
      {1e20, 2, "10000000000000000000000", 21, 0},
      {0.1, 20, "10000000000000001000", 0, 0},  // 17 significant digits, then zeros
  };
  for (const auto& c : cases) {
    int point = 99, sign = 99;
    EXPECT_STREQ(_fcvt(c.value, c.count, &point, &sign), c.digits) << c.value << " " << c.count;
    EXPECT_EQ(point, c.point) << c.value << " " << c.count;
    EXPECT_EQ(sign, c.sign) << c.value;
  }
}

TEST(FloatConversion, EcvtSignificantDigits) {
  struct Case { double value; int count; const char* digits; int point; int sign; } cases[] = {
      {3.14159, 3, "314", 1, 0}, {9.99, 2, "10", 2, 0},    {0.0, 4, "0000", 0, 0},
      {-1e-5, 3, "100", -4, 1},  {123.0, 5, "12300", 3, 0}, {2.5, 1, "3", 1, 0},
  };
  for (const auto& c : cases) {
    int point = 99, sign = 99;
    EXPECT_STREQ(_ecvt(c.value, c.count, &point, &sign), c.digits) << c.value << " " << c.count;
    EXPECT_EQ(point, c.point) << c.value;
    EXPECT_EQ(sign, c.sign) << c.value;
  }
}

TEST(FloatConversion, CvtBufferBelongsToTheThread) {
  int point, sign;
  char* first = _fcvt(1.5, 1, &point, &sign);
  char* second = _ecvt(2.25, 3, &point, &sign);
  EXPECT_EQ(first, second);  // one buffer, rewritten by the next call
  EXPECT_STREQ(second, "225");
}

TEST(FloatConversion, GcvtInMicrosoftForms) {
  struct Case { double value; int digits; const char* text; } cases[] = {
      {-1234567890.123, 12, "-1234567890.12"},
      {-12345678901.23, 12, "-12345678901.2"},
      {-123456789012.3, 12, "-123456789012."},
      {-1234567890123.0, 12, "-1.23456789012e+012"},
      {-12.3456789012, 12, "-12.3456789012"},
      {-0.123456789012, 12, "-0.123456789012"},
      {-0.0123456789012, 12, "-1.23456789012e-002"},
      {1.0, 12, "1."},
      {0.0, 5, "0."},
      {1e20, 12, "1.e+020"},
      {12.5, 30, "12.5"},
      {0.1, 30, "0.10000000000000001"},
      {100.0, 3, "100."},
      {1000.0, 3, "1.e+003"},
  };
  for (const auto& c : cases) {
    char buffer[_CVTBUFSIZE];
    EXPECT_EQ(_gcvt(c.value, c.digits, buffer), buffer);
    EXPECT_STREQ(buffer, c.text) << c.value << " " << c.digits;
  }
  errno = 0;
  EXPECT_EQ(_gcvt(1.0, 5, nullptr), nullptr);
  EXPECT_EQ(errno, EINVAL);
}

}  // namespace
