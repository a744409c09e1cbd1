// Stored procedures: the call texts of both dialects, and generated-style
// callers whose type 'D' calls run PostgreSQL functions through the call
// manager with input, input/output and output parameters.
#include "databases.h"

#include "KyCallMgr.h"
#include "KyCharFld.h"
#include "KyDBFunction.h"
#include "KyDBHandles.h"
#include "KyODBCConnection.h"
#include "KyFunctionData.h"
#include "KyIntegerFld.h"

#include <cstring>

namespace {

using dbtest::DataTest;
using dbtest::PostgresServer;

// n integer values named ":p1" ... for the builders.
std::unique_ptr<KyAccessorParameters> valuesOf(int n) {
  auto parameters = std::make_unique<KyAccessorParameters>();
  for (int i = 0; i < n; ++i) {
    parameters->Add(vioFactory(nullptr, vioTypeInteger, 4, 0, 1));
    parameters->SetName(i, (":p" + std::to_string(i + 1)).c_str());
  }
  return parameters;
}

TEST(StoredProcedureText, EveryDialectFollowsTheValueCount) {
  enum Dialect { ODBC, OCI, PostgreSQLFunction, PostgreSQLProcedure };
  struct Case {
    Dialect dialect;
    const char* name;
    int values;
    bool withReturn;
    const char* expected;
  } cases[] = {
      {ODBC, "sales.add_item", 3, true, "{?=call add_item(?,?)}"},
      {ODBC, "add_item", 3, false, "{call add_item(?,?)}"},
      {ODBC, "a.b.proc", 1, true, "{?=call proc()}"},
      {ODBC, "proc", 2, true, "{?=call proc(?)}"},
      {ODBC, "proc", 0, false, "{call proc()}"},
      {ODBC, "proc", 5, true, "{?=call proc(?,?,?,?)}"},
      {OCI, "owner.add_item", 3, true, "BEGIN add_item(:p2, :p3); END;"},
      {OCI, "proc", 1, false, "BEGIN proc(); END;"},
      {OCI, "proc", 2, false, "BEGIN proc(:p2); END;"},
      // Every value has its marker, the return value's too.
      {PostgreSQLFunction, "public.bump", 3, true, "{call bump(?,?,?)}"},
      {PostgreSQLFunction, "bump", 1, false, "{call bump(?)}"},
      {PostgreSQLFunction, "bump", 0, true, "{call bump()}"},
      {PostgreSQLProcedure, "public.bump", 3, true, "CALL bump(?,?,?)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::unique_ptr<KyDBFunctionLang> lang;
    if (c.dialect == OCI) {
      lang = std::make_unique<KyDBFunctionLangOCI>();
    } else if (c.dialect == ODBC) {
      lang = std::make_unique<KyDBFunctionLangODBC>();
    } else {
      auto postgres = std::make_unique<KyDBFunctionLangPostgreSQL>();
      postgres->SetProcedure(c.dialect == PostgreSQLProcedure);
      lang = std::move(postgres);
    }
    lang->BuildCallText(c.name, *valuesOf(c.values), c.withReturn);
    EXPECT_STREQ(lang->GetCallText(), c.expected);
  }
}

// A generated-style caller: one call record of type 'D' (index 1) for the
// procedure on connection "Shop", and the procedure's parameter blocks: an
// output block (its field, the first value, takes the return value) and a
// 'P' block of inputs with a skipped field; another block stays out.
class Caller : public KyFunctionData {
 public:
  // cQtyUsage 'D': the quantity goes in and comes back (input/output);
  // cLanguage 'O': the procedure is an Oracle one.
  explicit Caller(const char* pszProcedure, char cQtyUsage = ' ', char cLanguage = 'L')
      : KyFunctionData(new KyLocalVariable, "", "CALLER", "Caller", 721, 0),
        procedure_(pszProcedure),
        qtyUsage_(cQtyUsage),
        language_(cLanguage) {}
  ~Caller() override = default;

  void RegisterFunctions() override {
    KyRTDI::AddFnc(this, 1, 1, "AddItem", procedure_, 'D', language_, nullptr, "", "Shop", 'W', nullptr);
  }
  void RegisterVariables() override {
    KyRTDI::AddVar(this, 0, 2, procedure_, procedure_, 'O', "", 0);
    KyRTDI::AddVar(this, 1, 3, procedure_, procedure_, 'P', "", 0);
    KyRTDI::AddVar(this, 2, 4, "Other", "Other", 'P', "", 0);
  }
  void RegisterFields() override {
    KyRTDI::AddFld(this, 0, 5, "Total", "total", 'i', 'l', 'b', 4, 0, 4, 0);
    KyRTDI::AddFld(this, 1, 6, "Qty", "qty", 'i', 'l', 'b', 4, 0, 4, 0);
    KyRTDI::AddFld(this, 2, 7, "Name", "name", 'c', 'c', 'c', 20, 0, 20, 0);
    KyRTDI::AddFld(this, 3, 8, "Skip", "skip", 's', 'c', 'c', 4, 0, 4, 0);
  }
  void RegisterFunctionVariables() override {
    GetFieldTable();
    GetVariableTable();
    KyRTDI::AddFncVar(this, &out_, 0, 0, 0);
    KyRTDI::AddFncVar(this, &in_, 1, 1, 0);
    KyRTDI::AddFncVar(this, &other_, 2, 2, 0);
    KyRTDI::AddVarFld(&out_, &total, 0, 0, ' ', 0);
    KyRTDI::AddVarFld(&in_, &qty, 0, 1, qtyUsage_, 0);
    KyRTDI::AddVarFld(&in_, &skip, 1, 3, ' ', 0);
    KyRTDI::AddVarFld(&in_, &name, 2, 2, ' ', 0);
    KyRTDI::AddVarFld(&other_, &stranger, 0, 2, ' ', 0);
  }
  const char* status() { return GetLocals()->m_CallStatus.c_str(); }

  KyLongFld total, qty;
  KyCharFld name, skip, stranger;

 private:
  const char* procedure_;
  char qtyUsage_;
  char language_;
  KyParamVariable out_, in_, other_;
};

class StoredProcedures : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    ASSERT_TRUE(PostgresServer::Get().running()) << "the PostgreSQL test cluster did not start";
    setIni("[ODBC-CON: Shop]\nDSN=pg\nUserid=postgres\nPassword=NOT_REQUIRED\n");
    connection_ = KyGetDatabaseConnection("Shop", KyDatabaseConnection::KindODBC);
    ASSERT_NE(connection_, nullptr);
  }
  // Runs SQL on a connection of its own.
  void exec(const char* pszText) {
    KyODBCConnection setup("Shop");
    ASSERT_EQ(setup.Connect(KyString(), KyString(), KyString(), KyString(), KyString()), 0);
    std::unique_ptr<KyDBStmtHandle> statement(KyDBStmtHandle::Create(setup.GetConnHandle()));
    ASSERT_EQ(statement->Alloc(), 0);
    const int rc = statement->ExecDirect(pszText);
    ASSERT_TRUE(rc == 0 || rc == 1) << setup.GetError()->GetErrorMsg();
  }
  KyDatabaseConnection* connection_ = nullptr;
};

TEST_F(StoredProcedures, TypeDCallsRunTheProcedureWithItsParameterFields) {
  exec("CREATE OR REPLACE FUNCTION add_item(qty integer, name varchar) RETURNS integer LANGUAGE sql AS "
       "$$ SELECT qty * 2 + length(name) $$");
  Caller caller("public.add_item");
  caller.qty.SetValue(20);
  caller.name = "four";
  caller.stranger = "untouched";
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "public.add_item", "");
  EXPECT_STREQ(caller.status(), " ") << (log().empty() ? "" : log().back());
  EXPECT_EQ(caller.total.GetValue(), 44);
  EXPECT_EQ(KyString(caller.stranger.strGetText()), KyString("untouched"));
  // The record keeps its prepared procedure: a second call binds anew.
  caller.qty.SetValue(1);
  caller.name = "";
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "public.add_item", "");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(caller.total.GetValue(), 2);
}

// Functions with OUT and INOUT parameters and procedures answer every
// output: the return value's field takes the first, the quantity (an
// input/output field) its new value.
TEST_F(StoredProcedures, OutputAndInputOutputParametersComeBack) {
  struct Case {
    const char* name;
    const char* create;
  } cases[] = {
      {"bump_function",
       "CREATE OR REPLACE FUNCTION bump_function(OUT total integer, INOUT qty integer, name varchar) LANGUAGE sql AS "
       "$$ SELECT qty * 2 + length(name), qty + 1 $$"},
      {"bump_procedure",
       "CREATE OR REPLACE PROCEDURE bump_procedure(OUT total integer, INOUT qty integer, name varchar) "
       "LANGUAGE plpgsql AS $$ BEGIN total := qty * 2 + length(name); qty := qty + 1; END $$"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    exec(c.create);
    Caller caller(c.name, 'D');
    for (int round = 0; round < 2; ++round) {  // prepared once, called again
      const long qty = 20 + round * 10;
      caller.qty.SetValue(qty);
      caller.name = "four";
      KyCallMgr::Call(&caller, nullptr, nullptr, 1, c.name, "");
      EXPECT_STREQ(caller.status(), " ") << (log().empty() ? "" : log().back());
      EXPECT_EQ(caller.total.GetValue(), qty * 2 + 4);
      EXPECT_EQ(caller.qty.GetValue(), qty + 1);
    }
  }
}

TEST_F(StoredProcedures, AMissingProcedureFailsTheCallAndIsLogged) {
  Caller caller("no_such_procedure");
  caller.qty.SetValue(1);
  log().clear();
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "no_such_procedure", "");
  EXPECT_STREQ(caller.status(), "*Failed");
  EXPECT_EQ(caller.total.GetValue(), 0);
  ASSERT_FALSE(log().empty());
  EXPECT_NE(log().back().find("no_such_procedure"), std::string::npos) << ::testing::PrintToString(log());
}

// On an Oracle connection the procedure runs in a PL/SQL block with the
// parameter fields bound by name (the OCI road over the layer's OCI.DLL).
class OracleProcedures : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    setIni("[ORA-CON: Shop]\nSID=" + dbtest::programDir() + "/procedures.db\nUserid=scott\nPassword=tiger\n");
    connection_ = KyGetDatabaseConnection("Shop", KyDatabaseConnection::KindOCI);
    ASSERT_NE(connection_, nullptr);
    ASSERT_EQ(connection_->Connect(KyString(), KyString(), KyString()), 0) << (log().empty() ? "" : log().back());
  }
  int exec(const char* pszText) {
    std::unique_ptr<KyDBStmtHandle> statement(KyDBStmtHandle::Create(connection_->GetConnHandle()));
    int rc = statement->Alloc();
    if (rc == 0) rc = statement->Prepare(pszText);
    return rc == 0 ? statement->Execute() : rc;
  }
  KyDatabaseConnection* connection_ = nullptr;
};

TEST_F(OracleProcedures, TypeDCallsRunABlockAndTakeTheOutputsBack) {
  ASSERT_EQ(exec("CREATE OR REPLACE PROCEDURE bump(qty IN OUT NUMBER, name IN VARCHAR2) AS "
                 "BEGIN qty := qty * 2 + LENGTH(TRIM(name)); END;"),
            0)
      << connection_->GetError()->GetErrorMsg();
  Caller caller("scott.bump", 'D', 'O');
  struct Case {
    long qty;
    const char* name;
  } cases[] = {{20, "four"}, {1, "x"}};
  for (const Case& c : cases) {
    caller.qty.SetValue(c.qty);
    caller.name = c.name;
    KyCallMgr::Call(&caller, nullptr, nullptr, 1, "scott.bump", "");
    EXPECT_STREQ(caller.status(), " ") << (log().empty() ? "" : log().back());
    EXPECT_EQ(caller.qty.GetValue(), c.qty * 2 + static_cast<long>(std::strlen(c.name)));
  }
  // A procedure the database does not have fails the call with its error.
  Caller missing("no_such_procedure", 'D', 'O');
  log().clear();
  KyCallMgr::Call(&missing, nullptr, nullptr, 1, "no_such_procedure", "");
  EXPECT_STREQ(missing.status(), "*Failed");
  ASSERT_FALSE(log().empty());
  EXPECT_NE(log().back().find("PLS-00201"), std::string::npos) << ::testing::PrintToString(log());
}

}  // namespace
