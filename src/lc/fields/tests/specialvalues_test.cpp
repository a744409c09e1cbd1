// Special values of the INI file and of a connection: the comparison of a
// column's text with them, the database value-to-state step of character
// fields and assignment from character columns.
#include <gtest/gtest.h>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCharFld.h"
#include "KyDatabaseConnection.h"
#include "vioCharacter.h"

namespace {

class SpecialValues : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_,
                      "[Special Field Values]\n"
                      "Character High Value=#\n"
                      "Character Low Value=\n"
                      "Character Empty Value=EMPTY\n"
                      "[ORACLE Settings]\n"
                      "Varchar Encoding=sql\n");
    app_.CreateContext();
  }
  void TearDown() override { app_.EndContext(); }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

TEST_F(SpecialValues, ComparesWithTheRunOptions) {
  struct Case {
    const char* text;
    int option;
    int length;
    BOOL equal;
  } cases[] = {
      {"#####", 32, 5, TRUE},     // one character: repeated to the length
      {"####", 32, 5, FALSE},
      {"#####   ", 32, 5, TRUE},  // trailing blanks do not count
      {"", 33, 5, TRUE},          // an empty low value reads as one blank
      {"   ", 33, 5, TRUE},
      {"x", 33, 5, FALSE},
      {"EMPTY", 34, 9, TRUE},
      {"EMPTYXX", 34, 5, TRUE},   // over the first 5 characters only
      {"EMP", 34, 3, TRUE},
      {"EMP", 34, 9, FALSE},
      {nullptr, 34, 9, FALSE},    // no text
  };
  for (const Case& c : cases)
    EXPECT_EQ(KyRTType::isEQSpecialValFromINI(c.text, nullptr, c.option, c.length), c.equal)
        << (c.text ? c.text : "(null)") << " option " << c.option << " length " << c.length;
}

TEST_F(SpecialValues, ConnectionsOwnValuesComeFirst) {
  KyDatabaseConnection connection(KyDatabaseConnection::KindODBC, "DB");
  vioCharacter column(&connection, 6);
  connection.SetSPOption(32, "H");        // data source's high value
  connection.SetSPOption(34 + 12, "NIL");  // the DBMS's empty value
  // Without its own special values the connection is not asked.
  EXPECT_TRUE(KyRTType::isEQSpecialValFromINI("#####", &column, 32, 5));
  connection.SetOwnSpecialValues(TRUE);
  EXPECT_TRUE(KyRTType::isEQSpecialValFromINI("HHHHH", &column, 32, 5));
  EXPECT_FALSE(KyRTType::isEQSpecialValFromINI("#####", &column, 32, 5));
  EXPECT_TRUE(KyRTType::isEQSpecialValFromINI("NIL", &column, 34, 5));  // option + 12
  EXPECT_TRUE(KyRTType::isEQSpecialValFromINI(" ", &column, 33, 5));    // neither: the run option
}

TEST_F(SpecialValues, ColumnTextGivesTheState) {
  struct Case {
    const char* text;
    BYTE allowed;
    int state;
    const char* after;
  } cases[] = {
      {"#####", 0x8, 8, "#####"},  // column length 6: five characters compared
      {"#####", 0x0, 0, "#####"},  // high not allowed
      {"", 0x2, 2, ""},            // low is one blank, which trims to ""
      {"  ", 0x2, 2, "  "},
      {"", 0x0, 0, ""},
      {"EMPTY", 0xA, 0, ""},       // the empty value: SetEmpty
      {"abc", 0xA, 0, "abc"},
  };
  for (const Case& c : cases) {
    vioCharacter column(nullptr, 6);
    column.PutText(c.text);
    KyCharFld field(20, 0, 0, c.allowed, nullptr, nullptr, nullptr, nullptr, 0);
    field = column;
    EXPECT_EQ(field.GetFieldState(), c.state) << c.text;
    EXPECT_STREQ(field.c_str(), c.after) << c.text;
  }
}

TEST_F(SpecialValues, ValueListEntriesWinOverTheIniValues) {
  vioCharacter column(nullptr, 11);
  KyCharFld field(10, 0, 0, 0xB, "none", "", "bottom", "top", 0xE);
  column.PutText("top   ");
  field = column;
  EXPECT_EQ(field.GetFieldState(), 8);
  column.PutText("bottom");
  field = column;
  EXPECT_EQ(field.GetFieldState(), 2);
  column.PutText("none  ");
  field = column;
  EXPECT_EQ(field.GetFieldState(), 0);
  EXPECT_STREQ(field.c_str(), "none");  // SetEmpty: the exact empty entry
  column.PutText("#####");  // the INI high value is not used when the list has a high entry
  field = column;
  EXPECT_EQ(field.GetFieldState(), 0);
}

TEST_F(SpecialValues, NullColumns) {
  vioCharacter column(nullptr, 11);
  column.PutText("abc");
  column.SetNull(1);
  KyCharFld nullable(10, 0, 0, 0x1, nullptr, nullptr, nullptr, nullptr, 0);
  nullable = "old";
  nullable = column;
  EXPECT_EQ(nullable.GetFieldState(), 1);
  EXPECT_STREQ(nullable.c_str(), "old");  // nothing else happens

  KyCharFld plain("old");
  plain = column;
  EXPECT_EQ(plain.GetFieldState(), 0);
  EXPECT_STREQ(plain.c_str(), "");

  vioVarChar varChar(nullptr, 11);
  varChar.PutText("abc");
  varChar.SetNull(1);
  KyCharFld fromVarChar("old");
  fromVarChar = varChar;  // "Varchar Encoding" is not "Null": the text is stored
  EXPECT_STREQ(fromVarChar.c_str(), "abc");
}

TEST_F(SpecialValues, VarCharTrimsWhenTheConnectionAsks) {
  KyDatabaseConnection connection(KyDatabaseConnection::KindODBC, "DB");
  vioVarChar column(&connection, 11);
  column.PutText("  ab   ");
  KyCharFld field;
  field = column;
  EXPECT_STREQ(field.c_str(), "  ab   ");
  connection.SetTrimVarChar(TRUE);
  field = column;
  EXPECT_STREQ(field.c_str(), "  ab");
}

class SpecialValuesDefault : public ::testing::Test {
 protected:
  void SetUp() override { app_.CreateContext(); }
  void TearDown() override { app_.EndContext(); }
  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "MISSING.INI"};
};

TEST_F(SpecialValuesDefault, TenZsInAColumnOfElevenAreHigh) {
  vioCharacter column(nullptr, 11);
  column.PutText("zzzzzzzzzz");
  KyCharFld field(10, 0, 0, 0x8, nullptr, nullptr, nullptr, nullptr, 0);
  field = column;
  EXPECT_EQ(field.GetFieldState(), 8);
  KyCharFld notAllowed(10, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
  notAllowed = column;
  EXPECT_EQ(notAllowed.GetFieldState(), 0);
}

}  // namespace
