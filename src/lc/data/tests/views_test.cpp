// Views read and written the way generated functions do, against SQLite and
// PostgreSQL: connections from INI sections, columns of every kind with NULL,
// select with a maximum, positioned update and delete, commit control, and
// the status texts and error getters.
#include "databases.h"

#include "KyCallMgr.h"
#include "KyCharFld.h"
#include "KyDatabaseConnection.h"
#include "KyDBHandles.h"
#include "KyFunctionData.h"
#include "KyViewIO.h"

#include <cstring>

namespace {

using dbtest::DataTest;
using dbtest::PostgresServer;

// The generated column table of the test view.
constexpr vioFieldInfo kItems[] = {
    {"k", vioTypeInteger, 4, 0, 0, 0},        {"name", vioTypeCharacter, 11, 0, 0, 0},
    {"note", vioTypeVarChar, 21, 0, 0, 0},    {"price", vioTypeNumeric, 7, 2, 0, 0},
    {"qty", vioTypeSmallInt, 2, 0, 0, 0},     {"ratio", vioTypeFloat, 8, 0, 0, 0},
    {"day", vioTypeDate, 10, 0, 0, 0},        {"at", vioTypeTime, 8, 0, 0, 0},
    {"stamp", vioTypeTimeStamp, 19, 0, 0, 0}, {"big", vioTypeBigInt, 8, 0, 0, 0},
};
constexpr unsigned short kItemKeys[] = {0};
constexpr int kColumns = static_cast<int>(std::size(kItems));
constexpr const char* kCreate =
    "CREATE TABLE items (k INTEGER PRIMARY KEY, name CHAR(10), note VARCHAR(20), price NUMERIC(7,2), qty SMALLINT, "
    "ratio FLOAT, day DATE, at TIME, stamp TIMESTAMP, big BIGINT)";
constexpr const char* kSelect = "SELECT k, name, note, price, qty, ratio, day, at, stamp, big FROM items";
constexpr const char* kInsert =
    "INSERT INTO items (k, name, note, price, qty, ratio, day, at, stamp, big) VALUES (?,?,?,?,?,?,?,?,?,?)";

class Views : public DataTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    if (isPostgres()) ASSERT_TRUE(PostgresServer::Get().running()) << "the PostgreSQL test cluster did not start";
    if (isOracle()) {
      // OCI.DLL over a database file of the test program; "oci-rowid" views
      // update and delete by the row id.
      const std::string rowid = std::strcmp(GetParam(), "oci-rowid") == 0 ? "[VIEW: ITEMS]\nPositioned Update=True\n" : "";
      setIni("[ORA-CON: Shop]\nSID=" + dbtest::programDir() + "/ora.db\nUserid=scott\nPassword=tiger\n" + rowid);
    } else {
      // "-block" views fetch three rows at a time and update through the
      // block (positioned update on).
      const std::string block = isBlock() ? "[VIEW: ITEMS]\nPositioned Update=True\n" : "";
      setIni(std::string("[ODBC-CON: Shop]\nDSN=") + dataSource() + "\nUserid=postgres\nPassword=NOT_REQUIRED\n" +
             block);
    }
    view_ = open("Items");
    ASSERT_NE(view_, nullptr);
    // "Default Connect" (on unless set) connected the view when it was made.
    ASSERT_TRUE(view_->GetConnection()->IsConnected()) << (log().empty() ? "" : log().front());
    view_->ExecSql("DROP TABLE IF EXISTS items");
    view_->ExecSql(kCreate);
    ASSERT_EQ(view_->GetStatus(), KyViewIO::StatusOK) << view_->GetErrorMsg();
  }
  void TearDown() override {
    descriptions_.clear();
    DataTest::TearDown();
  }
  bool isPostgres() const { return std::strncmp(GetParam(), "pg", 2) == 0; }
  bool isBlock() const { return std::strstr(GetParam(), "-block") != nullptr; }
  std::string dataSource() const { return isPostgres() ? "pg" : "sqlite"; }
  bool isOracle() const { return std::strncmp(GetParam(), "oci", 3) == 0; }
  int kind() const { return isOracle() ? KyDatabaseConnection::KindOCI : KyDatabaseConnection::KindODBC; }

  KyViewIO* open(const char* wrapper) {
    auto description = std::make_unique<KyViewDescription>("ITEMS", kColumns, 1, kItems, kItemKeys);
    description->SetDatabaseConnectionName("Shop", kind());
    if (isBlock()) description->SetRowCount(3);
    KyViewIO* view = description->GetWrapper(nullptr, wrapper);
    descriptions_.push_back(std::move(description));
    return view;
  }
  // Fills the view's values from texts (null: NULL) and inserts them.
  int insert(KyViewIO* view, const std::vector<const char*>& texts) {
    for (int i = 0; i < kColumns; ++i) {
      vioType* column = view->GetColumn(i + 1);
      column->SetNull(0);
      column->PutText(texts[static_cast<size_t>(i)] ? texts[static_cast<size_t>(i)] : "");
      if (!texts[static_cast<size_t>(i)]) column->SetNull(1);
    }
    KySQLStatement statement(kInsert);
    return view->Insert(&statement);
  }
  static bool succeeded(int rc) { return rc == 0 || rc == 1; }
  int countRows(KyViewIO* view) {
    KySQLStatement all(kSelect);
    int rows = 0;
    for (int rc = view->SelectAndFetch(&all, vioOpGreater, 0); rc == 0 || rc == 1; rc = view->FetchNext(0)) ++rows;
    return rows;
  }

  std::vector<std::unique_ptr<KyViewDescription>> descriptions_;
  KyViewIO* view_ = nullptr;
};

TEST_P(Views, EveryColumnKindRoundTripsWithNull) {
  struct Row {
    std::vector<const char*> texts;  // null: NULL
  } rows[] = {
      {{"1", "abc", "variable", "12345.67", "-32768", "0.5", "2024-02-29", "23:59:58", "1999-12-31 12:34:56",
        "-9223372036854775807"}},
      {{"2", "", "", "-0.01", "7", "-1e+100", "0001-01-01", "00:00:00", "9999-12-31 23:59:59", "42"}},
      {{"3", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}},
  };
  for (const Row& row : rows) ASSERT_TRUE(succeeded(insert(view_, row.texts))) << view_->GetErrorMsg();
  KySQLStatement byKey(std::string(kSelect).append(" WHERE (k = ?)").c_str());
  for (const Row& row : rows) {
    view_->GetColumn(1)->PutText(row.texts[0]);
    ASSERT_EQ(view_->SelectAndFetch(&byKey, vioOpEqual, 1), 0) << view_->GetErrorMsg();
    for (int i = 1; i < kColumns; ++i) {
      vioType* column = view_->GetColumn(i + 1);
      const char* expected = row.texts[static_cast<size_t>(i)];
      SCOPED_TRACE(std::string(kItems[i].pszColumnName) + " of row " + row.texts[0]);
      EXPECT_EQ(column->IsNull() != 0, expected == nullptr);
      if (!expected) continue;
      if (kItems[i].type == vioTypeFloat)
        EXPECT_DOUBLE_EQ(static_cast<vioFloat&>(*column).GetValue(), std::atof(expected));
      else if (kItems[i].type == vioTypeCharacter || (isOracle() && kItems[i].type == vioTypeVarChar))
        EXPECT_EQ(KyString(column->GetText()).TrimRight(' '), KyString(expected));  // OCI pads VARCHAR
      else
        EXPECT_STREQ(column->GetText(), expected);
    }
  }
}

TEST_P(Views, SelectWithAMaximumDeliversExactlyThatManyRows) {
  for (int k = 1; k <= 5; ++k) {
    const std::string key = std::to_string(k);
    ASSERT_TRUE(succeeded(insert(view_, {key.c_str(), "n", "v", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00", "1"})));
  }
  KySQLStatement all(std::string(kSelect).append(" ORDER BY k").c_str());
  for (int max : {0, 1, 3, 5, 9}) {
    int rows = 0;
    for (int rc = view_->SelectAndFetch(&all, vioOpGreater, 0, max); rc == 0 || rc == 1; rc = view_->FetchNext(0))
      ++rows;
    EXPECT_EQ(rows, std::min(max, 5)) << "maximum " << max;
  }
}

// Seven rows come in order with their own values, across the blocks of
// three that "-block" views fetch.
TEST_P(Views, RowsComeInOrderWithTheirValues) {
  for (int k = 1; k <= 7; ++k) {
    const std::string key = std::to_string(k), name = "n" + key, big = std::to_string(k * 1000000000LL);
    ASSERT_TRUE(succeeded(insert(view_, {key.c_str(), name.c_str(), k % 2 ? nullptr : "even", "1.25", "1", "0.5",
                                         "2000-01-01", "00:00:01", "2000-01-01 00:00:00", big.c_str()})));
  }
  KySQLStatement all(std::string(kSelect).append(" ORDER BY k").c_str());
  int expected = 1;
  for (int rc = view_->SelectAndFetch(&all, vioOpGreater, 0); rc == 0 || rc == 1; rc = view_->FetchNext(0), ++expected) {
    SCOPED_TRACE(expected);
    EXPECT_EQ(std::atoi(view_->GetColumn(1)->GetText()), expected);
    EXPECT_EQ(KyString(view_->GetColumn(2)->GetText()).TrimRight(' '), KyString(("n" + std::to_string(expected)).c_str()));
    EXPECT_EQ(view_->GetColumn(3)->IsNull() != 0, expected % 2 == 1);
    EXPECT_EQ(std::atoll(view_->GetColumn(10)->GetText()), expected * 1000000000LL);
  }
  EXPECT_EQ(expected, 8);
}

TEST_P(Views, EqualSelectStopsAtTheFirstChangedKey) {
  for (int k = 1; k <= 3; ++k) {
    const std::string key = std::to_string(k);
    ASSERT_TRUE(succeeded(insert(view_, {key.c_str(), "same", "v", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00",
                             "1"})));
  }
  KySQLStatement fromKey(std::string(kSelect).append(" WHERE (k >= ?) ORDER BY k").c_str());
  view_->GetColumn(1)->PutText("1");
  EXPECT_EQ(view_->SelectAndFetch(&fromKey, vioOpEqual, 1), 0);
  EXPECT_EQ(view_->FetchNext(1), 100);  // k changed from 1 to 2
  KyCharFld status(3);
  view_->KySetVioStatus(status);
  EXPECT_STREQ(status.strGetText(), "INF");
}

TEST_P(Views, PositionedUpdateAndDeleteActOnTheFetchedRow) {
  for (int k = 1; k <= 2; ++k) {
    const std::string key = std::to_string(k);
    ASSERT_TRUE(succeeded(insert(view_, {key.c_str(), "old", "v", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00",
                             "1"})));
  }
  KySQLStatement first(std::string(kSelect).append(" WHERE (k = ?)").c_str());
  view_->GetColumn(1)->PutText("1");
  ASSERT_EQ(view_->SelectAndFetch(&first, vioOpEqual, 1), 0);
  // The program changes the key value too: the update still goes to the
  // row it fetched, by the key that row had.
  view_->GetColumn(1)->PutText("9");
  view_->GetColumn(2)->PutText("new");
  KySQLStatement update(
      "UPDATE items SET k = ?, name = ?, note = ?, price = ?, qty = ?, ratio = ?, day = ?, at = ?, stamp = ?, big = ? "
      "WHERE k = ?");
  ASSERT_TRUE(succeeded(view_->Update(&update, 0))) << view_->GetErrorMsg();
  KySQLStatement byKey(std::string(kSelect).append(" WHERE (k = ?)").c_str());
  for (auto [key, name] : {std::pair{"9", "new"}, std::pair{"2", "old"}}) {
    view_->GetColumn(1)->PutText(key);
    ASSERT_EQ(view_->SelectAndFetch(&byKey, vioOpEqual, 1), 0) << key;
    EXPECT_EQ(KyString(view_->GetColumn(2)->GetText()).TrimRight(' '), KyString(name)) << key;
  }
  view_->GetColumn(1)->PutText("1");
  EXPECT_EQ(view_->SelectAndFetch(&byKey, vioOpEqual, 1), 100);
  view_->GetColumn(1)->PutText("9");
  ASSERT_EQ(view_->SelectAndFetch(&byKey, vioOpEqual, 1), 0);
  KySQLStatement remove("DELETE FROM items WHERE k = ?");
  EXPECT_TRUE(succeeded(view_->Delete(&remove, 0, 0)));
  // The row is gone: deleting it again touches nothing and fails.
  EXPECT_EQ(view_->Delete(&remove, 0, 0), -1);
  EXPECT_EQ(countRows(view_), 1);
}

TEST_P(Views, CommitControlKeepsWorkUntilCommitAndRollsBackOtherwise) {
  KyDatabaseConnection* connection = view_->GetConnection();
  KyViewDescription& description = *descriptions_.front();
  KyDatabaseConnection::BeginCommitControl(description);
  EXPECT_TRUE(connection->IsUnderCommitControl());
  ASSERT_TRUE(succeeded(insert(view_, {"1", "a", "b", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00", "1"})));
  KyDatabaseConnection::Rollback(description);
  EXPECT_EQ(countRows(view_), 0);
  ASSERT_TRUE(succeeded(insert(view_, {"2", "a", "b", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00", "1"})));
  KyDatabaseConnection::Commit(description);
  ASSERT_TRUE(succeeded(insert(view_, {"3", "a", "b", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00", "1"})));
  // Ending commit control rolls back what was not committed.
  KyDatabaseConnection::EndCommitControl(description);
  EXPECT_FALSE(connection->IsUnderCommitControl());
  EXPECT_EQ(countRows(view_), 1);
}

TEST_P(Views, StatusTextsAndRefusedOperations) {
  ASSERT_TRUE(succeeded(insert(view_, {"1", "a%d", "b", "1", "1", "1", "2000-01-01", "00:00:01",
                                       "2000-01-01 00:00:00", "1"})));
  KyCharFld status(3);
  KySQLStatement all(kSelect);
  // A '%' in the text is no format: the statement runs as written.
  KySQLStatement likePercent("DELETE FROM items WHERE name LIKE 'a%d%'");
  struct Case {
    std::function<int()> call;
    int code;
    const char* text;
  } cases[] = {
      {[&] { return view_->FetchNext(0); }, 100, "INF"},          // before any select
      {[&] { return view_->Fetch("", 7, 5); }, -1, "ERR"},        // no such operation
      {[&] { return view_->SelectAndFetch(&all, vioOpGreater, 0); }, 0, " "},
      {[&] { return view_->FetchNext(0); }, 100, "EOV"},          // past the last row
      {[&] { return view_->DeleteString(&likePercent); }, 0, "EOV"},  // the status stays
      {[&] { return view_->SelectAndFetch(&all, vioOpGreater, 0); }, 100, "INF"},  // the row is gone
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), c.code);
    view_->KySetVioStatus(status);
    EXPECT_STREQ(status.strGetText(), c.text) << c.text;
  }
}

TEST_P(Views, ErrorsAreLoggedWithTheirCallNames) {
  log().clear();
  KySQLStatement broken("SELECT no_such_column FROM items");
  EXPECT_LT(view_->SelectAndFetch(&broken, vioOpGreater, 0), 0);
  EXPECT_EQ(view_->GetStatus(), KyViewIO::StatusError);
  EXPECT_GT(view_->GetErrorMsgLen(), 0);
  ASSERT_FALSE(log().empty());
  const std::string& line = log().back();
  const char* prepare = isOracle() ? "OCIPrepare" : "SQLPrepare";
  const char* execute = isOracle() ? "OCIExecute" : "SQLExecute";
  EXPECT_TRUE(line.find(prepare) != std::string::npos || line.find(execute) != std::string::npos)
      << ::testing::PrintToString(log());
  EXPECT_NE(line.find(view_->GetSQLState()), std::string::npos) << line;
}

// Generated code asks its function for the view of a wrapper: the view
// registered under the key comes back while it is described; the function's
// connection stands in for an empty name.
TEST_P(Views, AllocateWrapperGivesTheViewOfItsKey) {
  KyFunctionData function(new KyLocalVariable, "", "IMPL", "F", 721, 0);
  function.SetDatabaseConnectionName("Shop", FALSE, kind());
  KyViewIO* made = function.AllocateWrapper("Rows", "ITEMS", kColumns, 1, kItems, kItemKeys);
  ASSERT_NE(made, nullptr);
  EXPECT_NE(made, view_);  // another wrapper name
  EXPECT_EQ(function.AllocateWrapper("Rows", "ITEMS", kColumns, 1, kItems, kItemKeys, "Shop"), made);
  EXPECT_EQ(function.AllocateWrapper("Items", "ITEMS", kColumns, 1, kItems, kItemKeys, "Shop", vioAccessRead), view_);
  ASSERT_TRUE(succeeded(insert(made, {"4", "w", "x", "2.5", "3", "0.5", "2001-02-03", "04:05:06", "2001-02-03 04:05:06",
                                      "7"})))
      << made->GetErrorMsg();
  EXPECT_EQ(countRows(view_), 1);
}

TEST_P(Views, SameKeyGivesTheSameViewAndAnotherConnectionAnother) {
  EXPECT_EQ(open("Items"), view_);
  EXPECT_NE(open("Other"), view_);
}

INSTANTIATE_TEST_SUITE_P(Databases, Views,
                         ::testing::Values("sqlite", "pg", "oci", "oci-rowid", "sqlite-block", "pg-block"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

class ServerLoss : public Views {};

// The server goes away in the middle of a transaction: the view reports the
// error, and nothing of the transaction is in the table afterwards.
TEST_P(ServerLoss, ViewReportsTheErrorAndNothingIsHalfCommitted) {
  KyViewDescription& description = *descriptions_.front();
  KyDatabaseConnection::BeginCommitControl(description);
  ASSERT_TRUE(succeeded(insert(view_, {"1", "a", "b", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00",
                                       "1"})));
  ASSERT_TRUE(PostgresServer::Get().stop());
  const int rc = insert(view_, {"2", "a", "b", "1", "1", "1", "2000-01-01", "00:00:01", "2000-01-01 00:00:00", "1"});
  ASSERT_TRUE(PostgresServer::Get().start());
  EXPECT_LT(rc, 0);
  KyCharFld status(3);
  view_->KySetVioStatus(status);
  EXPECT_STREQ(status.strGetText(), "ERR");
  EXPECT_GT(view_->GetErrorMsgLen(), 0);
  KyDatabaseConnection::Commit(description);
  setIni("[ODBC-CON: Fresh]\nDSN=pg\nUserid=postgres\nPassword=NOT_REQUIRED\n");
  auto fresh = std::make_unique<KyViewDescription>("ITEMS", kColumns, 1, kItems, kItemKeys);
  fresh->SetDatabaseConnectionName("Fresh", KyDatabaseConnection::KindODBC);
  KyViewIO* other = fresh->GetWrapper(nullptr, "Items");
  ASSERT_TRUE(other->GetConnection()->IsConnected());
  EXPECT_EQ(countRows(other), 0);
  descriptions_.push_back(std::move(fresh));
}

INSTANTIATE_TEST_SUITE_P(Databases, ServerLoss, ::testing::Values("pg"));

}  // namespace
