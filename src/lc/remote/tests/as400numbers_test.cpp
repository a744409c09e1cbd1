// AS/400 number forms and state contents: the zoned, packed and binary
// bytes of values, values back from them, refused overflows, and the
// contents of empty, low and high states.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "KyAS400Numbers.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct ToCase {
  char form, pc;
  const char* value;
  int digits, decimals;
  Bytes bytes;
};

TEST(AS400Numbers, ValuesTakeTheirHostForms) {
  const ToCase cases[] = {
      {'p', 'f', "-12.34", 5, 2, {0x01, 0x23, 0x4D}},
      {'z', 'f', "-12.34", 5, 2, {0xF0, 0xF1, 0xF2, 0xF3, 0xD4}},
      {'p', 'd', "-12.34", 5, 2, {0x01, 0x23, 0x4D}},
      {'z', 'l', "42", 4, 0, {0xF0, 0xF0, 0xF4, 0xF2}},
      {'p', 'i', "7", 1, 0, {0x7F}},
      {'p', 'f', "0", 5, 2, {0x00, 0x00, 0x0F}},
      {'p', 'f', "-0.00", 5, 2, {0x00, 0x00, 0x0F}},  // zero has no sign
      {'z', 's', "1.5", 3, 1, {0xF0, 0xF1, 0xF5}},
      {'z', 'f', "3.14159", 3, 2, {0xF3, 0xF1, 0xF4}},  // decimals past the field's are dropped
      {'b', 'i', "-2", 4, 0, {0xFF, 0xFE}},
      {'b', 'l', "100000", 9, 0, {0x00, 0x01, 0x86, 0xA0}},
      {'b', 'L', "-1", 18, 0, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const ToCase& c : cases) {
    Bytes out(c.bytes.size(), 0xAA);
    EXPECT_EQ(KyNumberTo400(c.form, c.pc, c.value, c.digits, c.decimals, out.data()), 1) << c.value << " " << c.form;
    EXPECT_EQ(out, c.bytes) << c.value << " " << c.form;
  }
}

TEST(AS400Numbers, ValuesThatDoNotFitAreRefused) {
  const ToCase cases[] = {
      {'z', 'f', "12345.67", 5, 2, {0xF0, 0xF0, 0xF0, 0xF0, 0xF0}},  // not 345.67
      {'p', 'd', "1e300", 5, 2, {0x00, 0x00, 0x0F}},
      {'p', 'd', "inf", 5, 2, {0x00, 0x00, 0x0F}},
      {'b', 'i', "32768", 4, 0, {0x00, 0x00}},
      {'z', 'f', "abc", 3, 0, {0xF0, 0xF0, 0xF0}},
  };
  for (const ToCase& c : cases) {
    Bytes out(c.bytes.size(), 0xAA);
    EXPECT_EQ(KyNumberTo400(c.form, c.pc, c.value, c.digits, c.decimals, out.data()), 0) << c.value;
    EXPECT_EQ(out, c.bytes) << c.value << ": the empty value's content";
  }
}

TEST(AS400Numbers, HostFormsReadBackAsText) {
  struct Case {
    char form, pc;
    Bytes bytes;
    int digits, decimals;
    const char* text;
  } cases[] = {
      {'p', 'f', {0x01, 0x23, 0x4D}, 5, 2, "-12.34"},
      {'z', 'f', {0xF0, 0xF1, 0xF2, 0xF3, 0xD4}, 5, 2, "-12.34"},
      {'z', 'l', {0xF1, 0xF2, 0xC3}, 3, 0, "-123"},  // a zone of 0xC is negative
      {'z', 'f', {0xF0, 0xF0, 0xF5}, 3, 2, "0.05"},
      {'p', 'l', {0x00, 0x0F}, 3, 0, "0"},
      {'b', 'i', {0xFF, 0xFE}, 4, 0, "-2"},
      {'b', 'l', {0x00, 0x01, 0x86, 0xA0}, 9, 0, "100000"},
  };
  for (const Case& c : cases) {
    int overflow = -1;
    EXPECT_EQ(KyNumberFrom400(c.form, c.pc, c.bytes.data(), c.digits, c.decimals, &overflow), c.text) << c.text;
    EXPECT_EQ(overflow, 0);
  }
}

// Every value that fits comes back from its packed and zoned forms as its
// fixed-decimal text, for odd and even digit counts (a packed form of an
// even count has a leading zero nibble).
TEST(AS400Numbers, ValuesRoundTripThroughPackedAndZonedForms) {
  const char* values[] = {"0", "1", "-1", "123.45", "-9999999.99", "0.01", "-10.5", "1234567.8", "+42"};
  for (char form : {'p', 'z'}) {
    for (auto [digits, decimals] : {std::pair{9, 2}, std::pair{10, 2}, std::pair{12, 0}}) {
      for (const char* value : values) {
        Bytes bytes(static_cast<size_t>(digits) + 1, 0xAA);
        ASSERT_EQ(KyNumberTo400(form, 'f', value, digits, decimals, bytes.data()), 1) << value;
        int overflow = -1;
        EXPECT_EQ(KyNumberFrom400(form, 'f', bytes.data(), digits, decimals, &overflow),
                  KyAS400ValueText('f', value, decimals))
            << value << " " << form << digits << "." << decimals;
        EXPECT_EQ(overflow, 0);
      }
    }
  }
}

TEST(AS400Numbers, SpecialStatesHaveTheirContents) {
  struct Case {
    char type, form, pc;
    int length, state;
    Bytes bytes;
  } cases[] = {
      {'n', 'p', 'f', 7, 8, {0x99, 0x99, 0x99, 0x9F}},
      {'n', 'p', 'f', 7, 2, {0x99, 0x99, 0x99, 0x9D}},
      {'n', 'p', 'f', 7, 1, {0x00, 0x00, 0x00, 0x0F}},
      {'n', 'z', 'l', 3, 2, {0xF9, 0xF9, 0xD9}},
      {'n', 'z', 'l', 3, 8, {0xF9, 0xF9, 0xF9}},
      {'n', 'z', 'l', 3, 4, {0xF0, 0xF0, 0xF0}},
      {'n', 'b', 'i', 4, 2, {0xD8, 0xF1}},                  // -9999
      {'n', 'b', 'l', 9, 8, {0x3B, 0x9A, 0xC9, 0xFF}},      // 999999999
      {'c', 0, 0, 3, 1, {0x40, 0x40, 0x40}},
      {'c', 0, 0, 2, 2, {0x00, 0x00}},
      {'c', 0, 0, 2, 8, {0xFF, 0xFF}},
      {'d', 0, 0, 8, 8, {0xF9, 0xF9, 0xF9, 0xF9, 0xF1, 0xF2, 0xF3, 0xF1}},
      {'t', 0, 0, 6, 8, {0xF2, 0xF3, 0xF5, 0xF9, 0xF5, 0xF9}},
      {'t', 0, 0, 6, 2, {0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0}},
  };
  for (const Case& c : cases) {
    Bytes out(16, 0xAA);
    int length = -1;
    KyAS400StateContent(c.type, c.form, c.pc, c.length, c.state, out.data(), &length);
    ASSERT_EQ(length, static_cast<int>(c.bytes.size())) << c.type << c.form << c.state;
    EXPECT_EQ(Bytes(out.begin(), out.begin() + length), c.bytes) << c.type << c.form << c.state;
  }
  int length = -1;
  uint8_t out[4];
  KyAS400StateContent('n', 'p', 'f', 5, 0, out, &length);
  EXPECT_EQ(length, 0) << "state 0 has no content";
}

}  // namespace
