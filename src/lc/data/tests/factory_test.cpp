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

// A block of rows: the factory's multi-row values bind the whole block and
// walk it row by row; the row the program changes goes back into the block.
TEST(ColumnFactory, MultiRowValuesWalkTheirBlock) {
  KyDatabaseConnection odbc(KyDatabaseConnection::KindODBC, "A");
  for (VIO_TYPE type : {vioTypeCharacter, vioTypeVarChar, vioTypeNumeric, vioTypeInteger, vioTypeSmallInt, vioTypeFloat,
                        vioTypeDate, vioTypeTime, vioTypeTimeStamp, vioTypeMoney, vioTypeBigInt}) {
    SCOPED_TRACE(type);
    std::unique_ptr<vioType> value(vioFactory(&odbc, type, 10, 2, 3));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->GetRowCount(), 3);
    EXPECT_NE(value->GetDataPointer(), value->GetValuePointer());  // the block, and the current row
  }
  EXPECT_EQ(vioFactory(&odbc, vioTypeBlob, 10, 0, 3), nullptr);
  std::unique_ptr<vioType> real(vioFactory(&odbc, vioTypeFloat, 8, 2, 3));
  EXPECT_EQ(real->GetLength(), 11);  // a block float keeps its description
  EXPECT_EQ(real->GetScale(), 2);
  std::unique_ptr<vioType> text(vioFactory(&odbc, vioTypeCharacter, 6, 0, 3));
  const char* rows[] = {"one", "two", "three"};
  text->SetFirst();
  for (int row = 0; row < 3; ++row, text->SetNext()) {
    text->PutText(rows[row]);
    text->SetNull(row == 1);
    text->StoreRow();
  }
  // The block holds each row where a column-wise binding puts it.
  const char* block = static_cast<const char*>(text->GetDataPointer());
  const SQLLEN* indicators = static_cast<const SQLLEN*>(text->GetIndicatorPointer());
  for (int row = 0; row < 3; ++row) {
    EXPECT_STREQ(block + 6 * row, rows[row]);
    EXPECT_EQ(indicators[row] == SQL_NULL_DATA, row == 1);
  }
  text->SetFirst();
  text->SetNext();
  EXPECT_TRUE(text->IsNull());
  text->SetNext();
  EXPECT_STREQ(text->GetText(), "three");
  text->SetNext();  // beyond the block: nothing changes
  EXPECT_STREQ(text->GetText(), "three");
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
