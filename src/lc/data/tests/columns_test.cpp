// Column values as the fields read them: the NULL indicator in the driver's
// form, bounded text copies, the OCI rule for empty VARCHAR texts, numeric
// limits, and a connection's special options.
#include <gtest/gtest.h>

#include <string>

#include "../../app/tests/testapp.h"
#include "KyDatabaseConnection.h"
#include "vioCharacter.h"
#include "vioInteger.h"
#include "vioNumeric.h"

namespace {

TEST(Columns, NullIndicatorByConnectionKind) {
  KyDatabaseConnection odbc(KyDatabaseConnection::KindODBC, "A");
  KyDatabaseConnection oci(KyDatabaseConnection::KindOCI, "B");
  for (KyDatabaseConnection* connection : {&odbc, &oci, static_cast<KyDatabaseConnection*>(nullptr)}) {
    vioCharacter column(connection, 5);
    EXPECT_FALSE(column.IsNull());  // not NULL from the start
    column.SetNull(1);
    EXPECT_TRUE(column.IsNull());
    column.PutText("ab");  // a text keeps the NULL mark
    EXPECT_TRUE(column.IsNull());
    column.SetNull(0);
    EXPECT_FALSE(column.IsNull());
  }
}

TEST(Columns, CharacterTextIsCutToLengthMinusOne) {
  struct Case {
    int length;
    const char* text;
    const char* stored;
  } cases[] = {{5, "abcdefgh", "abcd"}, {5, "ab", "ab"}, {1, "abc", ""}, {0, "abc", ""}, {5, nullptr, ""}};
  for (const Case& c : cases) {
    vioCharacter column(nullptr, c.length);
    column.PutText(c.text);
    EXPECT_STREQ(column.GetText(), c.stored) << c.length;
  }
}

TEST(Columns, OracleVarCharEmptyTextFollowsVarcharEncoding) {
  kytest::ScratchDir dir;
  const auto ini = dir.path() / "APP.INI";
  kytest::TestApp app(ini);
  KyDatabaseConnection oci(KyDatabaseConnection::KindOCI, "ORA");
  struct Case {
    const char* setting;  // null: no setting
    const char* stored;
  } cases[] = {{nullptr, "    "}, {"Allocate", " "}, {"empty", ""}, {"SQL", "    "}};
  for (const Case& c : cases) {
    kytest::writeFile(ini, c.setting ? std::string("[ORACLE Settings]\nVarchar Encoding=") + c.setting + "\n" : "");
    vioVarChar column(&oci, 5);
    column.PutText("");
    EXPECT_STREQ(column.GetText(), c.stored) << (c.setting ? c.setting : "(none)");
  }
  vioVarChar padded(&oci, 5);
  padded.PutText("ab");
  EXPECT_STREQ(padded.GetText(), "ab  ");
  KyDatabaseConnection odbc(KyDatabaseConnection::KindODBC, "ODBC");
  vioVarChar plain(&odbc, 5);
  plain.PutText("");
  EXPECT_STREQ(plain.GetText(), "");
}

TEST(Columns, NumericLimitText) {
  struct Case {
    int length;
    int scale;
    int sign;
    const char* limit;
  } cases[] = {
      // NUMERIC(5,2) and NUMERIC(3): what the column takes, not a digit more.
      {8, 2, 8, "999.99"}, {8, 2, 2, "-999.99"}, {6, 0, 8, "999"}, {6, 0, 2, "-999"},
      {5, 3, 8, ".099"},  // NUMERIC(2,3)
      {1, 0, 8, ""},       {3, 0, 2, ""},
  };
  for (const Case& c : cases) {
    vioNumeric column(nullptr, c.length, c.scale);
    column.SetLimitText(c.sign);
    EXPECT_STREQ(column.GetText(), c.limit) << c.length << "," << c.scale << "," << c.sign;
  }
  vioMoney money(nullptr, 22);
  EXPECT_EQ(money.GetScale(), 4);
  EXPECT_EQ(money.GetType(), vioTypeMoney);
}

TEST(Columns, NumericAndScalarValues) {
  vioNumeric numeric(nullptr, 10, 2);
  numeric.PutText("1234.5");
  EXPECT_EQ(static_cast<double>(numeric), 1234.5);
  numeric.SetNull(1);
  EXPECT_EQ(static_cast<double>(numeric), 0.0);

  vioSmallInt small(nullptr);
  small.PutText("70000");  // clamped, never wrapped
  EXPECT_EQ(small.GetValue(), 32767);
  EXPECT_STREQ(small.GetText(), "32767");
  vioBigInt big(nullptr, -9223372036854775807LL - 1);
  EXPECT_STREQ(big.GetText(), "-9223372036854775808");
  vioFloat single(nullptr, 0.5);
  EXPECT_EQ(single.GetLength(), 10);
  EXPECT_EQ(single.GetScale(), 3);
  EXPECT_STREQ(single.GetText(), "0.5");
}

TEST(Columns, ConnectionSpecialOptions) {
  KyDatabaseConnection connection(KyDatabaseConnection::KindODBC, "DB");
  EXPECT_STREQ(connection.pszGetSPOption(32), "");
  connection.SetSPOption(32, "Z");
  connection.SetSPOption(55, "x");
  connection.SetSPOption(27, "ignored");
  connection.SetSPOption(40, nullptr);
  EXPECT_STREQ(connection.pszGetSPOption(32), "Z");
  EXPECT_STREQ(connection.pszGetSPOption(55), "x");
  EXPECT_STREQ(connection.pszGetSPOption(27), "");
  EXPECT_STREQ(connection.pszGetSPOption(40), "");
  EXPECT_STREQ(connection.pszGetSPOption(1000), "");
  EXPECT_STREQ(connection.GetConnectionName(), "DB");
}

}  // namespace
