// Connections: settings from INI sections with defaults and passwords, the
// connect-string quoting, special values kept apart from settings, failed
// logons that stay disconnected, the option-name table and the error
// collector's records.
#include "databases.h"

#include "KyDBHandles.h"
#include "KyODBCConnection.h"
#include "KyODBCOptionTable.h"

#include <cstring>

namespace {

using dbtest::DataTest;

class Connections : public DataTest {};

TEST_F(Connections, SectionSettingsWinOverCallerAndRunOptions) {
  struct Case {
    const char* ini;
    const char* name;
    const char* dataSource;  // passed by the caller
    const char* connectedTo;
  } cases[] = {
      // The section's DSN, even though the user passes a user of his own.
      {"[ODBC-CON: Orders]\nDSN=sqlite\nPassword=NOT_REQUIRED\n", "Orders", "", "sqlite"},
      // No section: the connection's name is the data source.
      {"", "sqlite", "", "sqlite"},
      // A data source passed by the caller is used as given.
      {"[ODBC-CON: Orders]\nDSN=nosuch\n", "Orders", "sqlite", "sqlite"},
      // The run option [ODBC Settings] DSN for a default connection.
      {"[ODBC Settings]\nDSN=sqlite\n", "", "", "sqlite"},
  };
  for (const Case& c : cases) {
    setIni(c.ini);
    KyODBCConnection connection(c.name);
    EXPECT_EQ(connection.Connect(c.dataSource, "someone", "", "", ""), 0) << c.ini;
    EXPECT_TRUE(connection.IsConnected());
    EXPECT_STREQ(connection.GetDataSourceName(), c.connectedTo) << c.ini;
    EXPECT_STREQ(connection.GetDBMSName(), "SQLite");
    // A connected connection refuses a second connect and stays connected.
    EXPECT_EQ(connection.Connect(c.dataSource, "", "", "", ""), -1);
    EXPECT_TRUE(connection.IsConnected());
  }
}

// A password holding ';' and '=' cannot add attributes to the connect
// string: unquoted, it would point the driver at a database that does not
// exist. (PostgreSQL's driver reads quoted values as ODBC defines them.)
TEST_F(Connections, PasswordsAreQuotedInTheConnectString) {
  ASSERT_TRUE(dbtest::PostgresServer::Get().running());
  setIni("[ODBC-CON: Quoted]\nDSN=pg\nPassword=x;Database=no_such_database;PWD={y}\n");
  KyODBCConnection connection("Quoted");
  // No user: the driver's connect string carries data source and password.
  ASSERT_EQ(connection.Connect("", "", "", "", ""), 0) << (log().empty() ? "" : log().back());
  EXPECT_STREQ(connection.GetDatabaseName(), "postgres");
}

TEST_F(Connections, ConnectFailureLeavesTheConnectionDisconnectedAndLogged) {
  setIni("[ODBC-CON: Broken]\nDSN=no_such_source\nUserid=u\nPassword=p\n");
  KyODBCConnection connection("Broken");
  EXPECT_EQ(connection.Connect("", "", "", "", ""), -1);
  EXPECT_FALSE(connection.IsConnected());
  ASSERT_FALSE(log().empty());
  EXPECT_NE(log().back().find("The connection to the database failed."), std::string::npos) << log().back();
  // Connecting again tries again (and fails again the same way).
  EXPECT_EQ(connection.Connect("", "", "", "", ""), -1);
}

// Without an Oracle client a logon fails; the connection does not count as
// connected, so a later connect tries again instead of answering -1 blindly.
TEST_F(Connections, FailedOracleLogonStaysDisconnected) {
  KyOCIConnection connection("ORA");
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(connection.Connect("/no/such/directory/x.db", "scott", "tiger"), -1);
    EXPECT_FALSE(connection.IsConnected());
  }
}

// The data source's special values (32-43) fall back to the DBMS's
// (44-55), never to a setting such as the Oracle SID or the ODBC "Default
// Connect" that share those numbers in the settings.
TEST_F(Connections, SpecialValuesAreKeptApartFromSettings) {
  setIni(
      "[ODBC-CON: Shop]\nDSN=sqlite\nDefault Connect=True\nPassword=NOT_REQUIRED\n"
      "[ODBC-DSN: sqlite]\nDate High Value=2999-12-31\n"
      "[ODBC-DBMS: SQLite]\nTime Empty Value=12:00:00\n"
      "[ORA-CON: Ora]\nSID=orcl\nUserid=scott\nPassword=tiger\n");
  KyODBCConnection odbc("Shop");
  ASSERT_EQ(odbc.Connect("", "u", "", "", ""), 0);
  EXPECT_STREQ(odbc.pszGetSPOption(35), "2999-12-31");
  EXPECT_STREQ(odbc.pszGetSPOption(40 + 12), "12:00:00");
  EXPECT_STREQ(odbc.pszGetSPOption(43 + 12), "");  // not "True": Default Connect is a setting
  EXPECT_STREQ(odbc.pszGetSetting(KyDatabaseConnection::SettingDefaultConnect), "True");
  KyOCIConnection oci("Ora");
  ASSERT_EQ(oci.ReadConnectionSettings("Ora"), 1);
  for (int id = 38; id <= 43; ++id) EXPECT_STREQ(oci.pszGetSPOption(id + 12), "") << id;
  EXPECT_STREQ(oci.pszGetSetting(KyDatabaseConnection::SettingSID), "orcl");
}

TEST_F(Connections, ErrorCollectorRecordsFailuresOnly) {
  setIni("[ODBC-CON: Shop]\nDSN=sqlite\nPassword=NOT_REQUIRED\n");
  KyODBCConnection connection("Shop");
  ASSERT_EQ(connection.Connect("", "u", "", "", ""), 0);
  KyDBError* error = connection.GetError();
  error->SetLogSwitch(1);
  std::unique_ptr<KyDBStmtHandle> statement(KyDBStmtHandle::Create(connection.GetConnHandle()));
  ASSERT_EQ(statement->Alloc(), 0);
  log().clear();
  struct Case {
    const char* text;
    int code;
    int records;
    size_t logLines;
  } cases[] = {{"SELECT 1", 0, 0, 0}, {"SELECT * FROM no_such_table", -1, 1, 1}};
  for (const Case& c : cases) {
    const int rc = statement->ExecDirect(c.text);
    EXPECT_EQ(rc, c.code) << c.text;
    EXPECT_EQ(error->GetRecordCount(), c.records) << c.text;
    EXPECT_EQ(log().size(), c.logLines) << c.text;
  }
  EXPECT_NE(log().back().find("SQLExecDirect returned -1"), std::string::npos) << log().back();
  // No data (100) is no failure: nothing is gathered, nothing logged.
  EXPECT_EQ(statement->Check(100, "SQLFetch"), 100);
  EXPECT_EQ(error->GetRecordCount(), 0);
  EXPECT_EQ(log().size(), 1u);
}

TEST(OptionTable, ResolvesNamesValuesAndNumbers) {
  struct Case {
    KyODBCOptionTable::Kind kind;
    const char* name;
    const char* value;
    bool resolved;
    int id;
    long number;
    bool isText;
  } cases[] = {
      {KyODBCOptionTable::ODBC2Options, "SQL_CURSOR_TYPE", "SQL_CURSOR_DYNAMIC", true, 6, 2, false},
      {KyODBCOptionTable::ODBC2Options, "SQL_CURSOR_TYPE", "sql_cursor_dynamic", true, 6, 0, false},
      {KyODBCOptionTable::ODBC2Options, "SQL_LOGIN_TIMEOUT", "30", true, 103, 30, false},
      {KyODBCOptionTable::ODBC2Options, "SQL_OPT_TRACEFILE", "/tmp/t.log", true, 105, 0, true},
      {KyODBCOptionTable::ODBC3Attributes, "SQL_ATTR_TXN_ISOLATION", "SQL_TRANSACTION_SERIALIZABLE", true, 108, 8, false},
      {KyODBCOptionTable::ODBC3Attributes, "SQL_ATTR_ROW_ARRAY_SIZE", "SQL_ROWSET_SIZE_DEFAULT", true, 27, 1, false},
      {KyODBCOptionTable::ODBC2Options, "Driver option #1224", "1", true, 1224, 1, false},
      {KyODBCOptionTable::ODBC2Options, "1225", "text value", true, 1225, 0, true},
      {KyODBCOptionTable::ODBC2Options, "#1224", "1", false, 0, 0, false},
      {KyODBCOptionTable::ODBC2Options, "SQL_NO_SUCH_OPTION", "1", false, 0, 0, false},
  };
  for (const Case& c : cases) {
    KyODBCOptionTable table(c.kind);
    KyODBCResolvedOption option;
    ASSERT_EQ(table.Resolve(c.name, c.value, &option), c.resolved) << c.name;
    if (!c.resolved) continue;
    EXPECT_EQ(option.id, c.id) << c.name;
    EXPECT_EQ(option.isText, c.isText) << c.name;
    if (!c.isText) EXPECT_EQ(option.number, c.number) << c.name << " " << c.value;
  }
  int odbc2 = 0;
  KyODBCOptionTable attributes(KyODBCOptionTable::ODBC3Attributes);
  EXPECT_TRUE(attributes.GetODBC2Id(27, &odbc2));
  EXPECT_EQ(odbc2, 9);  // SQL_ATTR_ROW_ARRAY_SIZE is SQL_ROWSET_SIZE to an ODBC 2 driver
  EXPECT_FALSE(attributes.GetODBC2Id(22, &odbc2));  // SQL_ATTR_PARAMSET_SIZE has no ODBC 2 form
  EXPECT_EQ(attributes.GetLengthIndicator("SQL_ATTR_TRACEFILE"), SQL_NTS);
  EXPECT_EQ(attributes.GetLengthIndicator("SQL_NO_SUCH"), -1);
}

}  // namespace
