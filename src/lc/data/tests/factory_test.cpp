// Column values made by kind, type letters, equality, and the checked
// column slots and key look-ups of a view description.
#include <gtest/gtest.h>

#include "KyAccessor.h"
#include "KyDatabaseConnection.h"
#include "KyViewDescription.h"
#include "vioNumeric.h"

#include <memory>

namespace {

TEST(ColumnFactory, TypeLettersAndKindsMakeTheirValues) {
  KyDatabaseConnection odbc(KyDatabaseConnection::KindODBC, "A");
  struct Case {
    char letter;
    VIO_TYPE type;
    bool made;
    int length;  // of the value made with length 5, scale 2
  } cases[] = {{'C', vioTypeCharacter, true, 5}, {'v', vioTypeVarChar, true, 5}, {'n', vioTypeNumeric, true, 8},
               {'i', vioTypeInteger, true, 4},   {'s', vioTypeSmallInt, true, 2}, {'f', vioTypeFloat, true, 10},
               {'d', vioTypeDate, true, 6},      {'t', vioTypeTime, true, 6},     {'p', vioTypeTimeStamp, true, 16},
               {'m', vioTypeMoney, true, 5},     {'B', vioTypeBigInt, true, 8},   {'x', vioTypeNone, false, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(vioTypeFromLetter(c.letter), c.type) << c.letter;
    std::unique_ptr<vioType> value(vioFactory(&odbc, c.type, 5, 2, 1));
    ASSERT_EQ(value != nullptr, c.made) << c.letter;
    if (value) EXPECT_EQ(value->GetLength(), c.length) << c.letter;
  }
}

TEST(ColumnFactory, EqualityByKindNullAndValue) {
  KyDatabaseConnection odbc(KyDatabaseConnection::KindODBC, "A");
  struct Case {
    VIO_TYPE type;
    const char* a;  // null: NULL
    const char* b;
    bool equal;
  } cases[] = {{vioTypeCharacter, "ab  ", "ab", true}, {vioTypeCharacter, "ab", "ac", false},
               {vioTypeNumeric, "1.50", "1.5", true},  {vioTypeNumeric, "1.5", "1.6", false},
               {vioTypeInteger, "7", "7", true},       {vioTypeInteger, nullptr, nullptr, true},
               {vioTypeInteger, nullptr, "0", false}};
  for (const Case& c : cases) {
    std::unique_ptr<vioType> a(vioFactory(&odbc, c.type, 10, 2, 1)), b(vioFactory(&odbc, c.type, 10, 2, 1));
    a->PutText(c.a ? c.a : "");
    b->PutText(c.b ? c.b : "");
    a->SetNull(c.a == nullptr);
    b->SetNull(c.b == nullptr);
    EXPECT_EQ(a->Equals(*b), c.equal) << (c.a ? c.a : "NULL") << " / " << (c.b ? c.b : "NULL");
  }
  std::unique_ptr<vioType> text(vioFactory(&odbc, vioTypeCharacter, 10, 0, 1));
  std::unique_ptr<vioType> number(vioFactory(&odbc, vioTypeInteger, 10, 0, 1));
  EXPECT_FALSE(text->Equals(*number));
}

TEST(ViewDescription, ColumnSlotsAndKeyLookupsAreChecked) {
  KyViewDescription view("V", vioAccessRead, 2, 1, "");
  KySQLCol first, second, outside, zero;
  EXPECT_TRUE(first.Init(&view, "t", "a", vioTypeInteger, 4, 0, 1, 0, 1));
  EXPECT_TRUE(second.Init(&view, "t", "b", vioTypeInteger, 4, 0, 0, 0, 2));
  EXPECT_FALSE(outside.Init(&view, "t", "c", vioTypeInteger, 4, 0, 0, 0, 3));  // beyond the two columns
  EXPECT_FALSE(zero.Init(&view, "t", "d", vioTypeInteger, 4, 0, 0, 0, 0));
  EXPECT_EQ(view.GetColumn(0), &first);
  EXPECT_EQ(view.GetColumn(1), &second);
  EXPECT_EQ(view.GetColumn(2), nullptr);
  EXPECT_STREQ(first.GetCorrelatedName(), "t.a");
  EXPECT_EQ(view.GetKeyColumn(0), &first);  // key 1 found by its sequence
  EXPECT_EQ(view.GetKeyColumn(1), nullptr);
}

}  // namespace
