// The field model on the character field: state codes, the collation of
// states, value lists, built-in special values, copies and assignments.
#include <gtest/gtest.h>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCharFld.h"

namespace {

class FieldState : public ::testing::Test {
 protected:
  void SetUp() override { context_ = app_.CreateContext(); }
  void TearDown() override { app_.EndContext(); }

  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "APP.INI"};
  KyAppContext* context_ = nullptr;
};

// A field whose state code is set directly: state 4 is never stored by a
// real field, but collation must still place it.
struct StateOnly : KyRTType {
  explicit StateOnly(int state) { m_bFieldState = static_cast<BYTE>(state); }
  CString strGetText() const override { return ""; }
  void PutText(const char*) override {}
  CString strGetMaskedText(const char*) const override { return ""; }
};

TEST_F(FieldState, CollationOrdersNullLowEmptyValueHigh) {
  const int order[] = {1, 2, 4, 0, 8};  // 0 (a value) between empty and high
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j) {
      if (order[i] == 0 && order[j] == 0) continue;
      const int expected = i < j ? -1 : (i > j ? 1 : 0);
      EXPECT_EQ(CollateFieldStates(StateOnly(order[i]), StateOnly(order[j]), 99), expected)
          << order[i] << " vs " << order[j];
    }
  // Two values: the caller's value result, unchanged.
  for (int result : {-7, 0, 42}) EXPECT_EQ(CollateFieldStates(StateOnly(0), StateOnly(0), result), result);
}

TEST_F(FieldState, SetFieldStateStoresEveryCodeButEmpty) {
  struct Case {
    int before;
    short code;
    int after;
    const char* text;
  } cases[] = {
      {0, 1, 1, ""},   {0, 2, 2, ""},    {0, 8, 8, "zzz"}, {0, 0, 0, "abc"},
      {1, 4, 1, ""},   // 4 loads the empty value and keeps the stored code
      {8, 4, 8, ""},   {0, 4, 0, ""},
      {0, 16, 16, ""},  // an unknown code is stored; its value is the empty text
  };
  for (const Case& c : cases) {
    KyCharFld field(3, 0, 0, 0, "", "", "", "", 0);
    field = "abc";
    if (c.before) field.SetFieldState(static_cast<short>(c.before));
    if (c.before) field = "abc";  // text back, state kept by the text assignment
    field.SetFieldState(c.code);
    EXPECT_EQ(field.GetFieldState(), c.after) << c.before << "->" << c.code;
    EXPECT_STREQ(field.c_str(), c.text) << c.before << "->" << c.code;
  }
}

TEST_F(FieldState, BuiltInHighFollowsTheMaximumLength) {
  KyCharFld three(3, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
  three.SetFieldState(8);
  EXPECT_STREQ(three.c_str(), "zzz");

  KyCharFld unlimited;
  unlimited.SetFieldState(8);
  EXPECT_EQ(unlimited.GetLength(), 256);
  EXPECT_STREQ(unlimited.c_str(), CString('z', 256));

  KyCharFld none(0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
  none.SetFieldState(8);  // no room: the text stays (empty, the maximum is 0)
  EXPECT_STREQ(none.c_str(), "");
  EXPECT_EQ(none.GetFieldState(), 8);

  context_->GetRunOptions()->SetStrOption(KyOptCharHigh, "HIGH");  // first character only
  KyCharFld two(2, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
  two.SetFieldState(8);
  EXPECT_STREQ(two.c_str(), "HH");
}

TEST_F(FieldState, ValueListEntriesAreSelectedByTheMask) {
  struct Case {
    WORD mask;
    int code;
    const char* entry;  // null: none
    BOOL nonEmpty;
  } cases[] = {
      {0xF, 8, "H", TRUE},  {0xF, 2, "L", TRUE},   {0xF, 1, "N", TRUE},    {0xF, 4, "E", TRUE},
      {0xF, 3, nullptr, TRUE},  // two codes at once: no single entry
      {0x8, 2, nullptr, FALSE}, {0x8, 8, "H", TRUE}, {0x9, 9, nullptr, TRUE}, {0x6, 4, "E", TRUE},
      {0, 8, nullptr, FALSE},   // mask 0: no list at all
  };
  for (const Case& c : cases) {
    KyCharFld field(10, 0, 0, 0xB, "E", "N", "L", "H", c.mask);
    const KyString* entry = field.GetLP(c.code);
    if (c.entry) {
      ASSERT_NE(entry, nullptr) << c.mask << "/" << c.code;
      EXPECT_STREQ(entry->c_str(), c.entry);
    } else {
      EXPECT_EQ(entry, nullptr) << c.mask << "/" << c.code;
    }
    EXPECT_EQ(field.fHasNonEmptyLP(c.code), c.nonEmpty) << c.mask << "/" << c.code;
  }
}

TEST_F(FieldState, ListEntriesStandForTheBuiltInValues) {
  KyCharFld field(10, 0, 0, 0xB, "E", "N", "L", "H", 0xF);
  // The full constructor empties the field before the list exists: it holds
  // the built-in empty text, which is not the list's empty value.
  EXPECT_STREQ(field.c_str(), "");
  EXPECT_FALSE(field.IfEmpty());
  field.SetEmpty();
  EXPECT_STREQ(field.c_str(), "E");
  EXPECT_TRUE(field.IfEmpty());
  EXPECT_EQ(field.GetAllowedStates(), 0xB);
  const struct {
    short code;
    const char* text;
  } cases[] = {{1, "N"}, {2, "L"}, {8, "H"}, {4, "E"}};
  for (const auto& c : cases) {
    field.SetFieldState(c.code);
    EXPECT_STREQ(field.c_str(), c.text) << c.code;
  }
  field = "x";
  EXPECT_FALSE(field.IfEmpty());
  field = "E ";  // the list's empty entry matches exactly
  EXPECT_FALSE(field.IfEmpty());
}

TEST_F(FieldState, EmptyIsOnlyTheEmptyTextByDefault) {
  KyCharFld field("   ");
  EXPECT_FALSE(field.IfEmpty());  // "CharacterTrimSpaces" is FALSE by default
  field = "";
  EXPECT_TRUE(field.IfEmpty());
}

TEST_F(FieldState, CopyTakesTheBuiltInValueOfTheState) {
  KyCharFld source(5, 0, 0, 0xB, "E", "N", "L", "H", 0xF);
  source.SetFieldState(1);
  ASSERT_STREQ(source.c_str(), "N");
  KyCharFld copy(source);
  EXPECT_STREQ(copy.c_str(), "");  // the built-in null value, before the list came
  EXPECT_EQ(copy.GetFieldState(), 1);
  EXPECT_EQ(copy.GetAllowedStates(), 0);
  EXPECT_EQ(copy.GetMaxLength(), -1);
  ASSERT_NE(copy.GetLP(8), nullptr);  // the list is copied deeply
  EXPECT_STREQ(copy.GetLP(8)->c_str(), "H");

  KyCharFld high(source);
  high.SetFieldState(8);
  EXPECT_STREQ(high.c_str(), "H");
}

TEST_F(FieldState, AssignmentKeepsTheTargetsLimitsAndList) {
  KyCharFld target(3, 0, 0, 0x1, "", "NUL", "", "TOP", 0x9);
  KyCharFld value("abcdef");
  target = value;
  EXPECT_STREQ(target.c_str(), "abc");
  EXPECT_EQ(target.GetFieldState(), 0);

  KyCharFld null("xyz", 1);
  target = null;  // a null source: empty first, then state 1 with the list's null
  EXPECT_STREQ(target.c_str(), "NUL");
  EXPECT_EQ(target.GetFieldState(), 1);

  KyCharFld plain;
  plain = null;
  EXPECT_STREQ(plain.c_str(), "");
  EXPECT_EQ(plain.GetFieldState(), 1);

  KyCharFld high("zz", 8);
  target = high;
  EXPECT_STREQ(target.c_str(), "TOP");
  EXPECT_EQ(target.GetFieldState(), 8);
  EXPECT_EQ(target.GetMaxLength(), 3);
}

TEST_F(FieldState, ConstructCopiesEverything) {
  KyCharFld source(4, 1, 1, 0x3, "E", "N", "L", "H", 0x6);
  source = "ab";
  source.SetFieldState(2);
  KyCharFld target("old", 8);
  target.Construct(source);
  EXPECT_STREQ(target.c_str(), "L");
  EXPECT_EQ(target.GetFieldState(), 2);
  EXPECT_EQ(target.GetAllowedStates(), 0x3);
  EXPECT_EQ(target.GetMaxLength(), 4);
  EXPECT_EQ(target.IsSafeCut(), 1);
  EXPECT_EQ(target.IsHostMixed(), 1);
  ASSERT_NE(target.GetLP(4), nullptr);
  KyCharFld bare;
  target.Construct(bare);  // a source without a list leaves none
  EXPECT_EQ(target.GetLP(4), nullptr);
}

TEST_F(FieldState, EqualityCollatesStatesThenTrimmedTexts) {
  EXPECT_TRUE(KyCharFld("abc") == KyCharFld("abc  "));
  EXPECT_FALSE(KyCharFld("abc") == KyCharFld(" abc"));
  EXPECT_TRUE(KyCharFld("", 1) != KyCharFld(""));  // null is no empty value
  EXPECT_TRUE(KyCharFld("a", 8) == KyCharFld("b", 8));
}

TEST_F(FieldState, TextAndStateConstructorLoadsNoValue) {
  KyCharFld high("abc", 8);
  EXPECT_STREQ(high.c_str(), "abc");
  EXPECT_EQ(high.GetFieldState(), 8);
  KyCharFld empty("abc", 4);  // 4 is never stored
  EXPECT_EQ(empty.GetFieldState(), 0);
}

}  // namespace
