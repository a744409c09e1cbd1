#include "datatypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "datetime.h"

namespace {

TEST(DataTypes, TypeAndStorageTable) {
  const struct {
    char type;
    const char* storages;
    std::vector<int> sizes;
  } table[] = {
      {'a', "DQTmqsu", {10, 8, 8, 36, 4, 16, 8}},
      {'k', "T", {8}},
      {'d', "Aadl", {2, 6, 6, 4}},
      {'t', "Iit", {2, 4, 6}},
      {'b', "hbswiluW", {1, 1, 2, 2, 4, 4, 4, 4}},
      {'c', "hbswiluWfdM", {1, 1, 2, 2, 4, 4, 4, 4, 4, 8, 8}},
      {'n', "hbswiluWfdM", {1, 1, 2, 2, 4, 4, 4, 4, 4, 8, 8}},
      {'i', "hbswiluWfd", {1, 1, 2, 2, 4, 4, 4, 4, 4, 8}},
      {'z', "fd", {4, 8}},
      {'h', "h", {1}},
      {'m', "s", {-1}},
      {'s', "s", {-1}},
  };
  const std::string letters = "hbswiluWfdMADQTmqsuIatl";
  for (const auto& row : table) {
    EXPECT_EQ(HCtlTypeValid(row.type), 1) << row.type;
    for (char storage : letters) {
      const char* at = std::strchr(row.storages, storage);
      EXPECT_EQ(HCtlStorageValid(row.type, storage), at ? 1 : 0) << row.type << storage;
      EXPECT_EQ(HCtlStorageSize(row.type, storage), at ? row.sizes[at - row.storages] : 0) << row.type << storage;
    }
  }
  for (char type : std::string("xyAZ0"))
    EXPECT_EQ(HCtlTypeValid(type), 0) << type;
  EXPECT_EQ(HCtlTypeValid(0), 0);
  EXPECT_EQ(HCtlStorageValid('n', 0), 0);
}

TEST(DataTypes, TypePrefix) {
  const struct {
    const char* text;
    int skipped;
    char type, storage, type2, storage2;
  } cases[] = {
      {"%nlrest", 3, 'n', 'l', 0, 0},
      {"%nl%ssrest", 6, 'n', 'l', 's', 's'},
      {"%ds rest", 0, 's', 's', 0, 0},   // 's' is no date storage
      {"%nl%dsx", 3, 'n', 'l', 0, 0},    // a second pair only when valid
      {"%nl", 3, 'n', 'l', 0, 0},
      {"%nl%s", 3, 'n', 'l', 0, 0},      // under 6 characters: no second pair
      {"%n", 0, 's', 's', 0, 0},
      {"plain", 0, 's', 's', 0, 0},
      {"", 0, 's', 's', 0, 0},
  };
  for (const auto& c : cases) {
    char type = '?', storage = '?', type2 = '?', storage2 = '?';
    EXPECT_EQ(HCtlParsePrefix(c.text, &type, &storage, &type2, &storage2), c.text + c.skipped) << c.text;
    EXPECT_EQ(type, c.type) << c.text;
    EXPECT_EQ(storage, c.storage) << c.text;
    EXPECT_EQ(type2, c.type2) << c.text;
    EXPECT_EQ(storage2, c.storage2) << c.text;
  }
  EXPECT_EQ(HCtlParsePrefix(nullptr, nullptr, nullptr, nullptr, nullptr), nullptr);
  const char* text = "%ak";
  EXPECT_EQ(HCtlParsePrefix(text, nullptr, nullptr, nullptr, nullptr), text);  // 'k' is no storage of 'a'
}

TEST(DataTypes, ValueToDoubleReadsEachStorage) {
  const int8_t h = -5;
  const uint8_t b = 250;
  const int16_t s = -300;
  const uint16_t w = 60000;
  const int32_t l = -70000;
  const uint32_t u = 0xFFFFFFFF;
  const float f = 1.5f;
  const double d = -2.25;
  const int64_t m = int64_t{1} << 40;
  EXPECT_EQ(HCtlValueToDouble(&h, 'h'), -5);
  EXPECT_EQ(HCtlValueToDouble(&b, 'b'), 250);
  EXPECT_EQ(HCtlValueToDouble(&s, 's'), -300);
  EXPECT_EQ(HCtlValueToDouble(&w, 'w'), 60000);
  EXPECT_EQ(HCtlValueToDouble(&l, 'i'), -70000);
  EXPECT_EQ(HCtlValueToDouble(&l, 'l'), -70000);
  EXPECT_EQ(HCtlValueToDouble(&u, 'u'), 4294967295.0);
  EXPECT_EQ(HCtlValueToDouble(&u, 'W'), 4294967295.0);
  EXPECT_EQ(HCtlValueToDouble(&f, 'f'), 1.5);
  EXPECT_EQ(HCtlValueToDouble(&d, 'd'), -2.25);
  EXPECT_EQ(HCtlValueToDouble(&m, 'M'), 1099511627776.0);
  EXPECT_EQ(HCtlValueToDouble(&d, 'x'), 0);
  EXPECT_EQ(HCtlValueToDouble(nullptr, 'd'), 0);
}

TEST(DataTypes, DoubleToValueTruncatesAndRefusesWhatDoesNotFit) {
  const struct {
    char storage;
    double number;
    bool stored;
    double back;
  } cases[] = {
      {'i', -1.9, true, -1},
      {'i', 2147483647.9, true, 2147483647},
      {'i', 2147483648.0, false, 0},
      {'l', 4294967296.0, false, 0},  // once stored as 0
      {'l', -2147483649.0, false, 0},
      {'u', 4294967295.0, true, 4294967295.0},
      {'u', -0.5, true, 0},           // truncates to 0, which fits
      {'u', -1, false, 0},
      {'b', 300, false, 0},           // once stored as its low bits (44)
      {'b', 255.9, true, 255},
      {'h', -128, true, -128},
      {'h', 200, false, 0},
      {'s', 32767, true, 32767},
      {'s', 40000, false, 0},
      {'w', 65535, true, 65535},
      {'w', 70000, false, 0},
      {'M', 9.2e18, true, 9.2e18},
      {'M', 9.3e18, false, 0},
      {'i', std::nan(""), false, 0},
      {'f', 1e39, false, 0},
      {'f', std::numeric_limits<double>::infinity(), true, std::numeric_limits<double>::infinity()},
      {'d', 1e300, true, 1e300},
      {'x', 1, false, 0},
  };
  for (const auto& c : cases) {
    uint8_t value[8];
    std::memset(value, 0x77, sizeof value);
    EXPECT_EQ(HCtlDoubleToValue(value, c.storage, c.number), c.stored ? 1 : 0) << c.storage << " " << c.number;
    if (c.stored) EXPECT_EQ(HCtlValueToDouble(value, c.storage), c.back) << c.storage << " " << c.number;
    else EXPECT_EQ(value[0], 0x77) << c.storage << " " << c.number;  // untouched
  }
}

TEST(DataTypes, CopyAndDiffer) {
  const double a = 1.5, b = 2.5;
  double target = 0;
  EXPECT_EQ(HCtlValueCopy(&target, &a, 'n', 'd', 0), 8);
  EXPECT_EQ(target, 1.5);
  EXPECT_EQ(HCtlValueDiffers(&a, &b, 'n', 'd'), 1);
  EXPECT_EQ(HCtlValueDiffers(&a, &target, 'n', 'd'), 0);
  EXPECT_EQ(HCtlValueDiffers(&a, &b, 'n', 'Q'), 0);  // an invalid pair compares nothing
  EXPECT_EQ(HCtlValueDiffers(&a, nullptr, 'n', 'd'), 0);
  char text[4];
  EXPECT_EQ(HCtlValueCopy(text, "abcdef", 's', 's', sizeof text), 3);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(HCtlValueDiffers("abc", "ABC", 's', 's'), 1);
  EXPECT_EQ(HCtlValueDiffers("abc", "abc", 'm', 's'), 0);
  EXPECT_EQ(HCtlValueCopy(nullptr, &a, 'n', 'd', 0), 0);
}

TEST(DataTypes, BooleanPictureHasOneDefault) {
  for (const char* picture : {static_cast<const char*>(nullptr), ""}) {
    const HCtlBoolTexts texts = HCtlBoolPicture(picture);
    EXPECT_EQ(std::string(texts.trueText, texts.trueLength), "TRUE");
    EXPECT_EQ(std::string(texts.falseText, texts.falseLength), "FALSE");
  }
  const HCtlBoolTexts yes = HCtlBoolPicture("Yes");
  EXPECT_EQ(std::string(yes.trueText, yes.trueLength), "Yes");
  EXPECT_EQ(yes.falseLength, 0);
  const uint32_t high = 0x00010000;
  EXPECT_EQ(HCtlBoolValue(&high, 'l'), 1);
  EXPECT_EQ(HCtlBoolValue(&high, 's'), 0);  // only the low 16 bits are its value
  EXPECT_EQ(HCtlBoolValue(&high, 'd'), 0);
}

template <typename T>
std::vector<T> sortedBy(std::vector<T> values, char type, char storage) {
  const HCtlCompareFn compare = HCtlComparator(type, storage);
  EXPECT_NE(compare, nullptr) << type << storage;
  if (!compare) return values;
  std::sort(values.begin(), values.end(), [&](const T& a, const T& b) { return compare(&a, &b) < 0; });
  return values;
}

TEST(Comparator, NumbersSortByTheirStorage) {
  EXPECT_EQ(sortedBy<int64_t>({4294967296LL, 0, -1}, 'n', 'M'), (std::vector<int64_t>{-1, 0, 4294967296LL}));
  EXPECT_EQ(sortedBy<uint32_t>({0xFFFFFFFF, 1, 0}, 'n', 'u'), (std::vector<uint32_t>{0, 1, 0xFFFFFFFF}));
  EXPECT_EQ(sortedBy<int8_t>({5, -3, 0}, 'c', 'h'), (std::vector<int8_t>{-3, 0, 5}));
  EXPECT_EQ(sortedBy<uint16_t>({60000, 2}, 'b', 'w'), (std::vector<uint16_t>{2, 60000}));
  EXPECT_EQ(sortedBy<double>({2.5, -1.5}, 'n', 'd'), (std::vector<double>{-1.5, 2.5}));
  const double nan = std::nan("");
  const double one = 1;
  EXPECT_EQ(HCtlComparator('n', 'd')(&nan, &one), 0);  // unordered: equal
}

TEST(Comparator, TimeValuesCompareAllSixtyFourBits) {
  // 2038-01-19 03:14:08 UTC has bit 31 set: its low 32 bits are negative.
  const int64_t before = 2147483647, after = 2147483648LL, farther = 4294967296LL + 5;
  const HCtlCompareFn compare = HCtlComparator('a', 'T');
  ASSERT_NE(compare, nullptr);
  EXPECT_EQ(compare(&before, &after), -1);
  EXPECT_EQ(compare(&after, &farther), -1);
  EXPECT_EQ(compare(&farther, &before), 1);
  EXPECT_EQ(HCtlComparator('k', 'T'), compare);
}

TEST(Comparator, DateFormsSortChronologically) {
  // Each form written from three records in a scrambled order must sort
  // back into the records' order.
  const HCtlDateTime records[] = {
      {1999, 12, 31, 23, 59, 58, 0, 0},
      {2017, 2, 3, 0, 0, 0, 0, 0},
      {2017, 2, 3, 0, 1, 0, 0, 0},
  };
  const struct {
    char type;
    char storage;
  } forms[] = {{'a', 'D'}, {'a', 'Q'}, {'a', 'q'}, {'a', 's'}, {'a', 'm'}, {'a', 'u'},
               {'d', 'A'}, {'d', 'a'}, {'d', 'd'}, {'d', 'l'}, {'t', 'I'}, {'t', 'i'}, {'t', 't'}};
  for (const auto& form : forms) {
    const HCtlCompareFn compare = HCtlComparator(form.type, form.storage);
    ASSERT_NE(compare, nullptr) << form.storage;
    uint8_t values[3][40] = {};
    for (int i = 0; i < 3; ++i) ASSERT_EQ(HCtlRecordToStorage(&records[i], values[i], form.storage), 1) << form.storage;
    const bool dateOnly = form.type == 'd', timeOnly = form.type == 't';
    // Dates alone: the second and third are the same day. Times alone: the
    // first is the latest.
    const int expected01 = timeOnly ? 1 : -1;
    const int expected12 = dateOnly ? 0 : -1;
    EXPECT_EQ(compare(values[0], values[1]), expected01) << form.type << form.storage;
    EXPECT_EQ(compare(values[1], values[2]), expected12) << form.type << form.storage;
    EXPECT_EQ(compare(values[2], values[2]), 0) << form.type << form.storage;
  }
}

TEST(Comparator, StringsSortIgnoringCaseAndCharactersByOneByte) {
  const HCtlCompareFn compare = HCtlComparator('s', 's');
  ASSERT_NE(compare, nullptr);
  EXPECT_LT(compare("Alpha", "beta"), 0);
  EXPECT_EQ(compare("alpha", "ALPHA"), 0);
  EXPECT_GT(compare("gamma", "beta"), 0);
  // A 'h' value is one byte without a terminator.
  const char a = 'a', b = 'B';
  const HCtlCompareFn character = HCtlComparator('h', 'h');
  ASSERT_NE(character, nullptr);
  EXPECT_LT(character(&a, &b), 0);
  EXPECT_EQ(HCtlComparator('n', 'Q'), nullptr);
  EXPECT_EQ(HCtlComparator('x', 's'), nullptr);
}

}  // namespace
