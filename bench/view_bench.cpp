// A view against bare ODBC over the same table of 100,000 rows of 10
// columns, on SQLite and on PostgreSQL (a cluster of this program):
// fetching every row through KyViewIO against a bare SQLFetch loop with
// bound columns, and inserting every row through KyViewIO against a bare
// prepared SQLExecute with bound parameters. Both sides of a pair use the
// same driver, table, C types and transaction.
#include <mscrt.h>

#include <benchmark/benchmark.h>
#include <sqlext.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "../src/lc/data/tests/pgcluster.h"
#include "KyAppContext.h"
#include "KyDatabaseConnection.h"
#include "KyViewIO.h"
#include "KyWinClientApp.h"
#include "vioInteger.h"

namespace {

constexpr int kRows = 100000;
constexpr vioFieldInfo kColumns[] = {
    {"k", vioTypeInteger, 4, 0, 0, 0},     {"c1", vioTypeCharacter, 11, 0, 0, 0}, {"c2", vioTypeCharacter, 11, 0, 0, 0},
    {"v1", vioTypeVarChar, 21, 0, 0, 0},   {"v2", vioTypeVarChar, 21, 0, 0, 0},   {"i1", vioTypeInteger, 4, 0, 0, 0},
    {"i2", vioTypeInteger, 4, 0, 0, 0},    {"s1", vioTypeSmallInt, 2, 0, 0, 0},   {"f1", vioTypeFloat, 8, 0, 0, 0},
    {"d1", vioTypeDate, 10, 0, 0, 0},
};
constexpr unsigned short kKeys[] = {0};
constexpr const char* kCreate =
    "CREATE TABLE bench (k INTEGER PRIMARY KEY, c1 CHAR(10), c2 CHAR(10), v1 VARCHAR(20), v2 VARCHAR(20), i1 INTEGER, "
    "i2 INTEGER, s1 SMALLINT, f1 FLOAT, d1 DATE)";
constexpr const char* kSelect = "SELECT k, c1, c2, v1, v2, i1, i2, s1, f1, d1 FROM bench";
constexpr const char* kInsert = "INSERT INTO bench (k, c1, c2, v1, v2, i1, i2, s1, f1, d1) VALUES (?,?,?,?,?,?,?,?,?,?)";

// The row buffers of the bare side, bound once.
struct BareRow {
  SQLINTEGER k = 0, i1 = 7, i2 = 8;
  char c1[11] = "alpha", c2[11] = "beta", v1[21] = "gamma", v2[21] = "delta";
  SQLSMALLINT s1 = 3;
  double f1 = 2.5;
  DATE_STRUCT d1 = {2024, 5, 17};
  SQLLEN length[10] = {};
  // Binds as result columns or as parameters.
  void bind(SQLHSTMT statement, bool asParameters) {
    struct Column {
      SQLSMALLINT cType, sqlType;
      void* buffer;
      SQLLEN size;
      SQLULEN columnSize;
    } columns[] = {{SQL_C_LONG, SQL_INTEGER, &k, 4, 10},       {SQL_C_CHAR, SQL_CHAR, c1, 11, 10},
                   {SQL_C_CHAR, SQL_CHAR, c2, 11, 10},         {SQL_C_CHAR, SQL_VARCHAR, v1, 21, 20},
                   {SQL_C_CHAR, SQL_VARCHAR, v2, 21, 20},      {SQL_C_LONG, SQL_INTEGER, &i1, 4, 10},
                   {SQL_C_LONG, SQL_INTEGER, &i2, 4, 10},      {SQL_C_SHORT, SQL_SMALLINT, &s1, 2, 5},
                   {SQL_C_DOUBLE, SQL_DOUBLE, &f1, 8, 15},     {SQL_C_DATE, SQL_DATE, &d1, 6, 10}};
    for (SQLUSMALLINT i = 0; i < 10; ++i) {
      const Column& c = columns[i];
      length[i] = c.cType == SQL_C_CHAR ? SQL_NTS : c.size;
      if (asParameters)
        SQLBindParameter(statement, i + 1, SQL_PARAM_INPUT, c.cType, c.sqlType, c.columnSize, 0, c.buffer, c.size,
                         &length[i]);
      else
        SQLBindCol(statement, i + 1, c.cType, c.buffer, c.size, &length[i]);
    }
  }
};

std::string sqliteFile() {
  // Removed with the program's statics at its end.
  struct File {
    std::string path = "/tmp/ky_view_bench_" + std::to_string(getpid()) + ".sqlite";
    ~File() { std::filesystem::remove(path); }
  };
  static const File file;
  return file.path;
}

std::string connectString(bool postgres) {
  if (postgres) return dbtest::PostgresServer::Get().connectString();
  return "DRIVER={SQLite3};Database=" + sqliteFile() + ";";
}

// A bare ODBC connection with autocommit off.
struct BareConnection {
  SQLHENV env = nullptr;
  SQLHDBC dbc = nullptr;
  explicit BareConnection(bool postgres) {
    SQLAllocHandle(SQL_HANDLE_ENV, nullptr, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    const std::string text = connectString(postgres);
    SQLDriverConnect(dbc, nullptr, (SQLCHAR*)text.c_str(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    SQLSetConnectAttr(dbc, SQL_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
  }
  ~BareConnection() {
    SQLTransact(env, dbc, SQL_COMMIT);  // a driver keeps a connection with an open transaction
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
  void exec(const char* text) {
    SQLHSTMT statement = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement);
    SQLExecDirect(statement, (SQLCHAR*)text, SQL_NTS);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLTransact(env, dbc, SQL_COMMIT);
  }
  void insertAll() {
    SQLHSTMT statement = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement);
    SQLPrepare(statement, (SQLCHAR*)kInsert, SQL_NTS);
    BareRow row;
    row.bind(statement, true);
    for (int i = 0; i < kRows; ++i) {
      row.k = i;
      SQLExecute(statement);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLTransact(env, dbc, SQL_COMMIT);
  }
  void refill() {
    exec("DROP TABLE IF EXISTS bench");
    exec(kCreate);
    insertAll();
  }
};

// The run-time side: an application context and a view on the table.
class ViewSide {
 public:
  explicit ViewSide(bool postgres) {
    ini_ = std::filesystem::temp_directory_path() / ("view_bench_" + std::to_string(getpid()) + ".ini");
    std::ofstream(ini_) << "[ODBC Settings]\nDefault Connect=False\nErrorlog=False\n";
    app_ = std::make_unique<KyWinClientApp>("ViewBench");
    app_->m_pszProfileName = _strdup(ini_.c_str());
    app_->m_iStartMode = 5;
    app_->CreateContext();
    description_ = std::make_unique<KyViewDescription>("BENCH", 10, 1, kColumns, kKeys);
    description_->SetDatabaseConnectionName(postgres ? "BenchPG" : "BenchLite", KyDatabaseConnection::KindODBC);
    view_ = description_->GetWrapper(nullptr, "Bench");
    view_->Connect(nullptr, nullptr, nullptr, connectString(postgres).c_str(), nullptr);
    KyDatabaseConnection::BeginCommitControl(*description_);
  }
  ~ViewSide() {
    description_.reset();
    app_->EndContext();
    app_.reset();
    std::filesystem::remove(ini_);
  }
  KyViewIO* view() { return view_; }
  KyViewDescription& description() { return *description_; }

 private:
  std::filesystem::path ini_;
  std::unique_ptr<KyWinClientApp> app_;
  std::unique_ptr<KyViewDescription> description_;
  KyViewIO* view_ = nullptr;
};

void BareFetch(benchmark::State& state) {
  const bool postgres = state.range(0) != 0;
  BareConnection connection(postgres);
  connection.refill();
  for (auto _ : state) {
    SQLHSTMT statement = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, connection.dbc, &statement);
    SQLPrepare(statement, (SQLCHAR*)kSelect, SQL_NTS);
    BareRow row;
    row.bind(statement, false);
    SQLExecute(statement);
    int rows = 0;
    while (SQL_SUCCEEDED(SQLFetch(statement))) ++rows;
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLTransact(connection.env, connection.dbc, SQL_COMMIT);
    if (rows != kRows) state.SkipWithError("bare fetch lost rows");
  }
}

void ViewFetch(benchmark::State& state) {
  const bool postgres = state.range(0) != 0;
  BareConnection(postgres).refill();
  ViewSide side(postgres);
  KySQLStatement select(kSelect);
  for (auto _ : state) {
    int rows = 0;
    for (int rc = side.view()->SelectAndFetch(&select, vioOpGreater, 0); rc == 0 || rc == 1;
         rc = side.view()->FetchNext(0))
      ++rows;
    if (rows != kRows) state.SkipWithError("view fetch lost rows");
  }
}

void BareInsert(benchmark::State& state) {
  const bool postgres = state.range(0) != 0;
  BareConnection connection(postgres);
  for (auto _ : state) {
    state.PauseTiming();
    connection.exec("DROP TABLE IF EXISTS bench");
    connection.exec(kCreate);
    state.ResumeTiming();
    connection.insertAll();
  }
}

void ViewInsert(benchmark::State& state) {
  const bool postgres = state.range(0) != 0;
  BareConnection connection(postgres);
  ViewSide side(postgres);
  KyViewIO* view = side.view();
  const char* texts[] = {nullptr, "alpha", "beta", "gamma", "delta", "7", "8", "3", "2.5", "2024-05-17"};
  for (int i = 1; i < 10; ++i) view->GetColumn(i + 1)->PutText(texts[i]);
  auto* key = static_cast<vioInteger*>(view->GetColumn(1));
  KySQLStatement insert(kInsert);
  for (auto _ : state) {
    state.PauseTiming();
    connection.exec("DROP TABLE IF EXISTS bench");
    connection.exec(kCreate);
    view->Close();
    state.ResumeTiming();
    for (int i = 0; i < kRows; ++i) {
      key->SetValue(i);
      view->Insert(&insert);
    }
    KyDatabaseConnection::Commit(side.description());
  }
}

// Argument: 0 SQLite, 1 PostgreSQL.
BENCHMARK(BareFetch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ViewFetch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BareInsert)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ViewInsert)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
