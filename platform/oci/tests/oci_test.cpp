// The layer's OCI.DLL over SQLite database files: logon, statements with
// binds and defines of each external type, row ids, Oracle's transactions
// and errors, the NUMBER conversions, and stale handles refused.
#include <oci.h>

#include <internal/scratchdir.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One logged-on session with an error handle and a statement.
class Session {
 public:
  // The logon steps the run-time takes: server, service context, session.
  explicit Session(const std::string& path, const char* user = "scott") {
    OCIEnvCreate(&env, 0, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
    OCIHandleAlloc(env, reinterpret_cast<void**>(&error), OCI_HTYPE_ERROR, 0, nullptr);
    OCIHandleAlloc(env, reinterpret_cast<void**>(&server), OCI_HTYPE_SERVER, 0, nullptr);
    OCIHandleAlloc(env, reinterpret_cast<void**>(&context), OCI_HTYPE_SVCCTX, 0, nullptr);
    OCIHandleAlloc(env, reinterpret_cast<void**>(&session), OCI_HTYPE_SESSION, 0, nullptr);
    OCIHandleAlloc(env, reinterpret_cast<void**>(&statement), OCI_HTYPE_STMT, 0, nullptr);
    logon = OCIServerAttach(server, error, reinterpret_cast<const OraText*>(path.c_str()),
                            static_cast<sb4>(path.size()), OCI_DEFAULT);
    if (logon != OCI_SUCCESS) return;
    OCIAttrSet(context, OCI_HTYPE_SVCCTX, server, 0, OCI_ATTR_SERVER, error);
    OCIAttrSet(session, OCI_HTYPE_SESSION, const_cast<char*>(user), static_cast<ub4>(std::strlen(user)),
               OCI_ATTR_USERNAME, error);
    OCIAttrSet(session, OCI_HTYPE_SESSION, const_cast<char*>("tiger"), 5, OCI_ATTR_PASSWORD, error);
    OCIAttrSet(context, OCI_HTYPE_SVCCTX, session, 0, OCI_ATTR_SESSION, error);
    logon = OCISessionBegin(context, error, session, OCI_CRED_RDBMS, OCI_DEFAULT);
  }
  ~Session() {
    OCIHandleFree(statement, OCI_HTYPE_STMT);
    if (logon == OCI_SUCCESS) OCISessionEnd(context, error, session, OCI_DEFAULT);
    OCIServerDetach(server, error, OCI_DEFAULT);
    OCIHandleFree(session, OCI_HTYPE_SESSION);
    OCIHandleFree(context, OCI_HTYPE_SVCCTX);
    OCIHandleFree(server, OCI_HTYPE_SERVER);
    OCIHandleFree(error, OCI_HTYPE_ERROR);
    OCIHandleFree(env, OCI_HTYPE_ENV);
  }
  sword prepare(const char* text) {
    return OCIStmtPrepare(statement, error, reinterpret_cast<const OraText*>(text), static_cast<ub4>(std::strlen(text)),
                          OCI_NTV_SYNTAX, OCI_DEFAULT);
  }
  sword run(const char* text, ub4 mode = OCI_DEFAULT) {
    const sword rc = prepare(text);
    return rc != OCI_SUCCESS ? rc : execute(mode);
  }
  sword execute(ub4 mode = OCI_DEFAULT, ub4 iters = 1) {
    return OCIStmtExecute(context, statement, error, iters, 0, nullptr, nullptr, mode);
  }
  sword fetch() { return OCIStmtFetch(statement, error, 1, OCI_FETCH_NEXT, OCI_DEFAULT); }
  // The handle and piece the statement waits for.
  struct Piece {
    sword rc;
    void* handle;
    ub4 type;
    ub1 piece;
  };
  Piece pendingPiece() {
    Piece p{OCI_ERROR, nullptr, 0, 0};
    ub4 iteration = 0, index = 0;
    ub1 direction = 0;
    p.rc = OCIStmtGetPieceInfo(statement, error, &p.handle, &p.type, &direction, &iteration, &index, &p.piece);
    return p;
  }
  std::string message() {
    char text[512] = {};
    sb4 code = 0;
    return OCIErrorGet(error, 1, nullptr, &code, reinterpret_cast<OraText*>(text), sizeof text, OCI_HTYPE_ERROR) ==
                   OCI_SUCCESS
               ? text
               : "";
  }
  OCIEnv* env = nullptr;
  OCIError* error = nullptr;
  OCIServer* server = nullptr;
  OCISvcCtx* context = nullptr;
  OCISession* session = nullptr;
  OCIStmt* statement = nullptr;
  sword logon = OCI_ERROR;
};

class OciStandIn : public ::testing::Test {
 protected:
  std::string path() const { return (dir_.path() / "orcl.db").string(); }
  kytest::ScratchDir dir_;
};

// Rows counted by a session of its own (what another user sees).
long long rowsSeenByAnother(const std::string& path, const char* table) {
  Session other(path);
  long long rows = -1;
  sb2 indicator = 0;
  OCIDefine* define = nullptr;
  if (other.prepare((std::string("SELECT COUNT(*) FROM ") + table).c_str()) != OCI_SUCCESS) return -1;
  OCIDefineByPos(other.statement, &define, other.error, 1, &rows, sizeof rows, SQLT_INT, &indicator, nullptr, nullptr,
                 OCI_DEFAULT);
  return other.execute() == OCI_SUCCESS ? rows : -1;
}

TEST_F(OciStandIn, LogonNeedsADatabaseFileAndAUser) {
  EXPECT_EQ(Session(path()).logon, OCI_SUCCESS);
  Session noUser(path(), "");
  EXPECT_EQ(noUser.logon, OCI_ERROR);
  EXPECT_EQ(noUser.message().rfind("ORA-01017", 0), 0u) << noUser.message();
  Session noFile((dir_.path() / "missing" / "x.db").string());
  EXPECT_EQ(noFile.logon, OCI_ERROR);
  EXPECT_EQ(noFile.message().rfind("ORA-12154", 0), 0u) << noFile.message();
}

TEST_F(OciStandIn, ValuesOfEveryExternalTypeRoundTrip) {
  Session s(path());
  ASSERT_EQ(s.run("CREATE TABLE t (k INTEGER, c CHAR(8), v VARCHAR(20), n NUMERIC(9,2), f FLOAT, d DATE, b BIGINT)"),
            OCI_SUCCESS)
      << s.message();
  ASSERT_EQ(s.prepare("INSERT INTO t VALUES (:k, :c, :v, :n, :f, :d, :b)"), OCI_SUCCESS);
  sb4 k = 7;
  char c[9] = "abc";
  char v[21] = "variable text";
  char n[16] = "-1234.5";
  double f = 0.25;
  OCIDate d{};
  d.OCIDateYYYY = 2024, d.OCIDateMM = 2, d.OCIDateDD = 29, d.OCIDateTime = {23, 59, 58};
  OCINumber b{};
  const long long big = -9007199254740993LL;
  ASSERT_EQ(OCINumberFromInt(s.error, &big, sizeof big, OCI_NUMBER_SIGNED, &b), OCI_SUCCESS);
  sb2 nullV = -1, notNull = 0;
  OCIBind* bind = nullptr;
  auto byName = [&](const char* name, void* value, sb4 size, ub2 type, sb2* indicator) {
    return OCIBindByName(s.statement, &bind, s.error, reinterpret_cast<const OraText*>(name), -1, value, size, type,
                         indicator, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  };
  ASSERT_EQ(byName(":k", &k, sizeof k, SQLT_INT, &notNull), OCI_SUCCESS);
  ASSERT_EQ(byName(":c", c, sizeof c, SQLT_AVC, &notNull), OCI_SUCCESS);
  ASSERT_EQ(byName(":v", v, 20, SQLT_CHR, &nullV), OCI_SUCCESS);  // NULL by its indicator
  ASSERT_EQ(byName(":n", n, sizeof n, SQLT_AVC, &notNull), OCI_SUCCESS);
  ASSERT_EQ(byName(":f", &f, sizeof f, SQLT_FLT, &notNull), OCI_SUCCESS);
  ASSERT_EQ(byName(":d", &d, 7, SQLT_ODT, &notNull), OCI_SUCCESS);
  ASSERT_EQ(byName(":b", &b, sizeof b, SQLT_VNU, &notNull), OCI_SUCCESS);
  ASSERT_EQ(s.execute(OCI_COMMIT_ON_SUCCESS), OCI_SUCCESS) << s.message();

  ASSERT_EQ(s.prepare("SELECT k, c, v, n, f, d, b FROM t"), OCI_SUCCESS);
  sb4 k2 = 0;
  char c2[4] = {};  // room for three characters: "abc" fits exactly
  char v2[21] = "stale";
  OCINumber n2{};
  double f2 = 0;
  OCIDate d2{};
  OCINumber b2{};
  sb2 ind[7] = {};
  OCIDefine* define = nullptr;
  auto at = [&](ub4 position, void* value, sb4 size, ub2 type) {
    return OCIDefineByPos(s.statement, &define, s.error, position, value, size, type, &ind[position - 1], nullptr,
                          nullptr, OCI_DEFAULT);
  };
  ASSERT_EQ(at(1, &k2, sizeof k2, SQLT_INT), OCI_SUCCESS);
  ASSERT_EQ(at(2, c2, sizeof c2, SQLT_AVC), OCI_SUCCESS);
  ASSERT_EQ(at(3, v2, sizeof v2, SQLT_AVC), OCI_SUCCESS);
  ASSERT_EQ(at(4, &n2, sizeof n2, SQLT_VNU), OCI_SUCCESS);
  ASSERT_EQ(at(5, &f2, sizeof f2, SQLT_FLT), OCI_SUCCESS);
  ASSERT_EQ(at(6, &d2, 7, SQLT_ODT), OCI_SUCCESS);
  ASSERT_EQ(at(7, &b2, sizeof b2, SQLT_VNU), OCI_SUCCESS);
  ASSERT_EQ(s.execute(), OCI_SUCCESS) << s.message();  // the first row comes with the execute
  EXPECT_EQ(k2, 7);
  EXPECT_STREQ(c2, "abc");
  EXPECT_EQ(ind[2], -1);
  long long n2Int = 0;
  EXPECT_EQ(OCINumberToInt(s.error, &n2, sizeof n2Int, OCI_NUMBER_SIGNED, &n2Int), OCI_SUCCESS);
  EXPECT_EQ(n2Int, -1234);  // -1234.5 towards zero
  EXPECT_EQ(f2, 0.25);
  EXPECT_EQ(std::memcmp(&d2, &d, 7), 0);
  long long big2 = 0;
  EXPECT_EQ(OCINumberToInt(s.error, &b2, sizeof big2, OCI_NUMBER_SIGNED, &big2), OCI_SUCCESS);
  EXPECT_EQ(big2, big);
  EXPECT_EQ(s.fetch(), OCI_NO_DATA);
}

TEST_F(OciStandIn, TextTooLongForItsDefineIsCutAndReported) {
  Session s(path());
  ASSERT_EQ(s.run("CREATE TABLE t (c VARCHAR(20))"), OCI_SUCCESS);
  ASSERT_EQ(s.run("INSERT INTO t VALUES ('abcdefgh')"), OCI_SUCCESS);
  ASSERT_EQ(s.prepare("SELECT c FROM t"), OCI_SUCCESS);
  char text[4] = {};
  sb2 indicator = 0;
  ub2 returnCode = 0;
  OCIDefine* define = nullptr;
  OCIDefineByPos(s.statement, &define, s.error, 1, text, sizeof text, SQLT_STR, &indicator, nullptr, &returnCode,
                 OCI_DEFAULT);
  EXPECT_EQ(s.execute(), OCI_SUCCESS_WITH_INFO);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(indicator, 8);
  EXPECT_EQ(returnCode, 1406);
}

TEST_F(OciStandIn, WorkLastsUntilCommitAndRollbackUndoesIt) {
  Session s(path());
  ASSERT_EQ(s.run("CREATE TABLE t (k INTEGER)"), OCI_SUCCESS);
  ASSERT_EQ(s.run("INSERT INTO t VALUES (1)"), OCI_SUCCESS);
  EXPECT_EQ(rowsSeenByAnother(path(), "t"), 0);
  ASSERT_EQ(OCITransCommit(s.context, s.error, 0), OCI_SUCCESS);
  EXPECT_EQ(rowsSeenByAnother(path(), "t"), 1);
  ASSERT_EQ(s.run("INSERT INTO t VALUES (2)"), OCI_SUCCESS);
  ASSERT_EQ(OCITransRollback(s.context, s.error, 0), OCI_SUCCESS);
  ASSERT_EQ(s.run("INSERT INTO t VALUES (3)", OCI_COMMIT_ON_SUCCESS), OCI_SUCCESS);
  EXPECT_EQ(rowsSeenByAnother(path(), "t"), 2);
  ASSERT_EQ(s.run("UPDATE t SET k = 4 WHERE k > 100"), OCI_SUCCESS);
  ub4 rows = 99;
  ASSERT_EQ(OCIAttrGet(s.statement, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_ROW_COUNT, s.error), OCI_SUCCESS);
  EXPECT_EQ(rows, 0u);
}

TEST_F(OciStandIn, RowIdOfAFetchedRowNamesItInAnUpdate) {
  Session s(path());
  ASSERT_EQ(s.run("CREATE TABLE t (k INTEGER, v VARCHAR(10))"), OCI_SUCCESS);
  for (const char* insert : {"INSERT INTO t VALUES (1, 'a')", "INSERT INTO t VALUES (2, 'b')"})
    ASSERT_EQ(s.run(insert), OCI_SUCCESS);
  OCIRowid* rowid = nullptr;
  ASSERT_EQ(OCIDescriptorAlloc(s.env, reinterpret_cast<void**>(&rowid), OCI_DTYPE_ROWID, 0, nullptr), OCI_SUCCESS);
  ASSERT_EQ(s.prepare("SELECT k FROM t WHERE k = 2 FOR UPDATE"), OCI_SUCCESS);
  sb4 k = 0;
  OCIDefine* define = nullptr;
  OCIDefineByPos(s.statement, &define, s.error, 1, &k, sizeof k, SQLT_INT, nullptr, nullptr, nullptr, OCI_DEFAULT);
  ASSERT_EQ(s.execute(), OCI_SUCCESS) << s.message();
  ASSERT_EQ(OCIAttrGet(s.statement, OCI_HTYPE_STMT, rowid, nullptr, OCI_ATTR_ROWID, s.error), OCI_SUCCESS);
  ASSERT_EQ(s.prepare("UPDATE t SET v = 'x' WHERE ROWID = :m_rowid"), OCI_SUCCESS);
  OCIBind* bind = nullptr;
  ASSERT_EQ(OCIBindByName(s.statement, &bind, s.error, reinterpret_cast<const OraText*>(":m_rowid"), 8, rowid, 4,
                          SQLT_RDD, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(s.execute(), OCI_SUCCESS) << s.message();
  ub4 rows = 0;
  OCIAttrGet(s.statement, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_ROW_COUNT, s.error);
  EXPECT_EQ(rows, 1u);
  ASSERT_EQ(s.prepare("SELECT v FROM t WHERE k = 2"), OCI_SUCCESS);
  char v[11] = {};
  OCIDefineByPos(s.statement, &define, s.error, 1, v, sizeof v, SQLT_STR, nullptr, nullptr, nullptr, OCI_DEFAULT);
  ASSERT_EQ(s.execute(), OCI_SUCCESS);
  EXPECT_STREQ(v, "x");
  OCIDescriptorFree(rowid, OCI_DTYPE_ROWID);
}

TEST_F(OciStandIn, FailuresAnswerOracleErrors) {
  Session s(path());
  ASSERT_EQ(s.run("CREATE TABLE t (k INTEGER PRIMARY KEY)"), OCI_SUCCESS);
  ASSERT_EQ(s.run("INSERT INTO t VALUES (1)"), OCI_SUCCESS);
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"INSERT INTO t VALUES (1)", "ORA-00001"},
      {"SELECT * FROM missing", "ORA-00942"},
      {"SELECT no_column FROM t", "ORA-00904"},
      {"BEGIN proc(:a); END;", "ORA-06550"},
      {"INSERT INTO t VALUES (:unbound)", "ORA-01008"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(s.prepare(c.text), OCI_SUCCESS);
    if (std::strstr(c.text, ":unbound")) {
      OCIBind* bind = nullptr;
      OCIBindByPos(s.statement, &bind, s.error, 1, nullptr, 4, SQLT_INT, nullptr, nullptr, nullptr, 0, nullptr,
                   OCI_DEFAULT);
    }
    EXPECT_EQ(s.execute(), OCI_ERROR);
    EXPECT_EQ(s.message().rfind(c.error, 0), 0u) << s.message();
  }
}

TEST_F(OciStandIn, NumbersConvertExactlyAndRefuseWhatDoesNotFit) {
  OCIEnv* env = nullptr;
  OCIEnvCreate(&env, 0, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
  OCIError* error = nullptr;
  OCIHandleAlloc(env, reinterpret_cast<void**>(&error), OCI_HTYPE_ERROR, 0, nullptr);
  for (long long value : std::initializer_list<long long>{0, 1, -1, 99, 100, -101, 123456789, INT64_MAX, INT64_MIN}) {
    OCINumber number{};
    ASSERT_EQ(OCINumberFromInt(error, &value, sizeof value, OCI_NUMBER_SIGNED, &number), OCI_SUCCESS);
    long long back = 42;
    EXPECT_EQ(OCINumberToInt(error, &number, sizeof back, OCI_NUMBER_SIGNED, &back), OCI_SUCCESS) << value;
    EXPECT_EQ(back, value);
    sb2 narrow = 0;
    const bool fits = value >= -32768 && value <= 32767;
    EXPECT_EQ(OCINumberToInt(error, &number, sizeof narrow, OCI_NUMBER_SIGNED, &narrow), fits ? OCI_SUCCESS : OCI_ERROR)
        << value;
  }
  // Oracle's own bytes for 1, 100, 123 and -1.
  struct Bytes {
    long long value;
    std::vector<ub1> bytes;
  } known[] = {{1, {2, 0xC1, 0x02}}, {100, {2, 0xC2, 0x02}}, {123, {3, 0xC2, 0x02, 0x18}}, {-1, {3, 0x3E, 0x64, 0x66}}};
  for (const Bytes& k : known) {
    OCINumber number{};
    OCINumberFromInt(error, &k.value, sizeof k.value, OCI_NUMBER_SIGNED, &number);
    EXPECT_EQ(std::vector<ub1>(number.OCINumberPart, number.OCINumberPart + k.bytes.size()), k.bytes) << k.value;
  }
  OCINumber zero{};
  OCINumberSetZero(error, &zero);
  sb4 z = 5;
  EXPECT_EQ(OCINumberToInt(error, &zero, sizeof z, OCI_NUMBER_SIGNED, &z), OCI_SUCCESS);
  EXPECT_EQ(z, 0);
  OCIHandleFree(error, OCI_HTYPE_ERROR);
  OCIHandleFree(env, OCI_HTYPE_ENV);
}

TEST_F(OciStandIn, FreedAndForeignHandlesAreRefused) {
  OCIEnv* env = nullptr;
  OCIEnvCreate(&env, 0, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
  OCIStmt* statement = nullptr;
  ASSERT_EQ(OCIHandleAlloc(env, reinterpret_cast<void**>(&statement), OCI_HTYPE_STMT, 0, nullptr), OCI_SUCCESS);
  EXPECT_EQ(OCIHandleFree(statement, OCI_HTYPE_ERROR), OCI_INVALID_HANDLE);  // the wrong type
  ASSERT_EQ(OCIHandleFree(statement, OCI_HTYPE_STMT), OCI_SUCCESS);
  EXPECT_EQ(OCIHandleFree(statement, OCI_HTYPE_STMT), OCI_INVALID_HANDLE);
  int notAHandle = 0;
  EXPECT_EQ(OCIStmtPrepare(reinterpret_cast<OCIStmt*>(&notAHandle), nullptr, reinterpret_cast<const OraText*>("x"), 1,
                           OCI_NTV_SYNTAX, OCI_DEFAULT),
            OCI_INVALID_HANDLE);
  OCIHandleFree(env, OCI_HTYPE_ENV);
}

// Long raw values: a bind for data at execution takes its pieces before the
// insert runs; a define for dynamic fetch hands the column out in pieces of
// the caller's buffer, a full piece always followed by another.
TEST_F(OciStandIn, LongValuesMovePiecewiseBothWays) {
  Session s(path());
  ASSERT_EQ(s.logon, OCI_SUCCESS) << s.message();
  ASSERT_EQ(s.run("CREATE TABLE raw (k INTEGER, body BLOB)"), OCI_SUCCESS) << s.message();
  const std::vector<std::string> contents = {"", "abc", "abcdefgh", "abcdefghijklmnopq", std::string("a\0b\0c", 5)};
  constexpr ub4 kPiece = 4;
  for (size_t k = 0; k < contents.size(); ++k) {
    const std::string& content = contents[k];
    const std::string text = "INSERT INTO raw (k, body) VALUES (" + std::to_string(k) + ", :1)";
    ASSERT_EQ(s.prepare(text.c_str()), OCI_SUCCESS);
    OCIBind* bind = nullptr;
    sb2 indicator = 0;
    ASSERT_EQ(OCIBindByPos(s.statement, &bind, s.error, 1, nullptr, 1 << 20, SQLT_LBI, &indicator, nullptr, nullptr,
                           0, nullptr, OCI_DATA_AT_EXEC),
              OCI_SUCCESS);
    sword rc = s.execute(OCI_COMMIT_ON_SUCCESS);
    size_t sent = 0;
    while (rc == OCI_NEED_DATA) {
      const Session::Piece pending = s.pendingPiece();
      ASSERT_EQ(pending.rc, OCI_SUCCESS);
      EXPECT_EQ(pending.handle, bind);
      EXPECT_EQ(pending.type, static_cast<ub4>(OCI_HTYPE_BIND));
      EXPECT_EQ(pending.piece, sent == 0 ? OCI_FIRST_PIECE : OCI_NEXT_PIECE);
      ub4 length = static_cast<ub4>(std::min<size_t>(kPiece, content.size() - sent));
      const bool last = sent + length == content.size();
      ASSERT_EQ(OCIStmtSetPieceInfo(pending.handle, pending.type, s.error, content.data() + sent, &length,
                                    last ? OCI_LAST_PIECE : OCI_NEXT_PIECE, nullptr, nullptr),
                OCI_SUCCESS);
      sent += length;
      rc = s.execute(OCI_COMMIT_ON_SUCCESS);
    }
    ASSERT_EQ(rc, OCI_SUCCESS) << content.size() << " " << s.message();
  }
  ASSERT_EQ(s.prepare("SELECT body FROM raw ORDER BY k"), OCI_SUCCESS);
  OCIDefine* define = nullptr;
  ASSERT_EQ(OCIDefineByPos(s.statement, &define, s.error, 1, nullptr, 1 << 20, SQLT_LBI, nullptr, nullptr, nullptr,
                           OCI_DYNAMIC_FETCH),
            OCI_SUCCESS);
  sword rc = s.execute(OCI_DEFAULT, 0);
  ASSERT_EQ(rc, OCI_SUCCESS);
  for (const std::string& content : contents) {
    rc = s.fetch();
    std::string read;
    int pieces = 0;
    while (rc == OCI_NEED_DATA) {
      const Session::Piece pending = s.pendingPiece();
      ASSERT_EQ(pending.rc, OCI_SUCCESS);
      EXPECT_EQ(pending.handle, define);
      char buffer[kPiece];
      ub4 length = kPiece;
      sb2 indicator = 5;
      ASSERT_EQ(OCIStmtSetPieceInfo(pending.handle, pending.type, s.error, buffer, &length, pending.piece, &indicator,
                                    nullptr),
                OCI_SUCCESS);
      rc = s.fetch();
      EXPECT_EQ(indicator, 0);
      read.append(buffer, length);
      ++pieces;
    }
    ASSERT_EQ(rc, OCI_SUCCESS) << s.message();
    EXPECT_EQ(read, content);
    EXPECT_EQ(pieces, static_cast<int>(content.size() / kPiece + 1)) << content.size();
  }
  EXPECT_EQ(s.fetch(), OCI_NO_DATA);
}

TEST_F(OciStandIn, PiecesOutOfTurnAreRefused) {
  Session s(path());
  ASSERT_EQ(s.logon, OCI_SUCCESS) << s.message();
  ASSERT_EQ(s.run("CREATE TABLE raw (body BLOB)"), OCI_SUCCESS);
  EXPECT_EQ(s.pendingPiece().rc, OCI_ERROR);  // nothing waits for a piece
  ASSERT_EQ(s.prepare("INSERT INTO raw (body) VALUES (:1)"), OCI_SUCCESS);
  OCIBind* bind = nullptr;
  ASSERT_EQ(OCIBindByPos(s.statement, &bind, s.error, 1, nullptr, 100, SQLT_LBI, nullptr, nullptr, nullptr, 0, nullptr,
                         OCI_DATA_AT_EXEC),
            OCI_SUCCESS);
  ASSERT_EQ(s.execute(), OCI_NEED_DATA);
  // Executing again without naming a piece's buffer writes nothing.
  EXPECT_EQ(s.execute(), OCI_ERROR);
  EXPECT_NE(s.message().find("ORA-03129"), std::string::npos) << s.message();
  // A define that was not made for dynamic fetch takes no pieces.
  ASSERT_EQ(s.prepare("SELECT body FROM raw"), OCI_SUCCESS);
  OCIDefine* define = nullptr;
  char buffer[8];
  ASSERT_EQ(OCIDefineByPos(s.statement, &define, s.error, 1, buffer, sizeof buffer, SQLT_LBI, nullptr, nullptr,
                           nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ub4 length = sizeof buffer;
  EXPECT_EQ(OCIStmtSetPieceInfo(define, OCI_HTYPE_DEFINE, s.error, buffer, &length, OCI_FIRST_PIECE, nullptr, nullptr),
            OCI_ERROR);
}

// PL/SQL as the run-time sends it: procedures made with CREATE PROCEDURE
// and called from an anonymous block with placeholders, IN values going
// in, OUT and IN OUT values coming back in the binds' types.
TEST_F(OciStandIn, BlocksCallProceduresWithInAndOutParameters) {
  Session s(path());
  ASSERT_EQ(s.logon, OCI_SUCCESS) << s.message();
  ASSERT_EQ(s.run("CREATE TABLE moves (item VARCHAR2(10), qty NUMBER)"), OCI_SUCCESS) << s.message();
  ASSERT_EQ(s.run("CREATE OR REPLACE PROCEDURE book(p_item IN VARCHAR2, p_qty IN OUT NUMBER, p_total OUT NUMBER) IS\n"
                  "BEGIN\n"
                  "  INSERT INTO moves (item, qty) VALUES (p_item, p_qty);\n"
                  "  p_qty := p_qty + 1;\n"
                  "  SELECT SUM(qty) INTO p_total FROM moves WHERE item = p_item;\n"
                  "END book;"),
            OCI_SUCCESS)
      << s.message();
  struct Case {
    const char* item;
    sb4 qty;
    sb4 qtyAfter;
    sb4 total;
  } cases[] = {{"bolt", 5, 6, 5}, {"bolt", 7, 8, 12}, {"nut", -2, -1, -2}};
  for (const Case& c : cases) {
    ASSERT_EQ(s.prepare("BEGIN book(:item, :qty, :total); END;"), OCI_SUCCESS);
    char item[11] = {};
    std::strncpy(item, c.item, sizeof item - 1);
    sb4 qty = c.qty, total = 0;
    sb2 qtyIndicator = 0, totalIndicator = 0;
    OCIBind *b1 = nullptr, *b2 = nullptr, *b3 = nullptr;
    ASSERT_EQ(OCIBindByName(s.statement, &b1, s.error, reinterpret_cast<const OraText*>(":item"), -1, item, sizeof item,
                            SQLT_STR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
              OCI_SUCCESS);
    ASSERT_EQ(OCIBindByName(s.statement, &b2, s.error, reinterpret_cast<const OraText*>(":qty"), -1, &qty, sizeof qty,
                            SQLT_INT, &qtyIndicator, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
              OCI_SUCCESS);
    ASSERT_EQ(OCIBindByName(s.statement, &b3, s.error, reinterpret_cast<const OraText*>(":total"), -1, &total,
                            sizeof total, SQLT_INT, &totalIndicator, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
              OCI_SUCCESS);
    ASSERT_EQ(s.execute(OCI_COMMIT_ON_SUCCESS), OCI_SUCCESS) << c.item << " " << s.message();
    EXPECT_EQ(qty, c.qtyAfter) << c.item;
    EXPECT_EQ(total, c.total) << c.item;
  }
}

TEST_F(OciStandIn, BlocksThatCannotRunAreRefusedAndUndoTheirWork) {
  Session s(path());
  ASSERT_EQ(s.logon, OCI_SUCCESS) << s.message();
  ASSERT_EQ(s.run("CREATE TABLE moves (item VARCHAR2(10), qty NUMBER)"), OCI_SUCCESS);
  ASSERT_EQ(s.run("CREATE PROCEDURE take(p_item IN VARCHAR2, p_qty OUT NUMBER) AS BEGIN "
                  "INSERT INTO moves VALUES (p_item, 1); SELECT qty INTO p_qty FROM moves WHERE item = 'none'; END;"),
            OCI_SUCCESS)
      << s.message();
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"CREATE PROCEDURE take AS BEGIN NULL; END;", "ORA-00955"},  // exists: OR REPLACE needed
      {"BEGIN missing(1); END;", "PLS-00201"},
      {"BEGIN take('x'); END;", "PLS-00306"},
      {"BEGIN take('x', 5); END;", "PLS-00363"},  // an OUT argument must be a placeholder
      {"BEGIN take('x', :out); END;", "ORA-01403"},  // no data found: the insert is undone
      {"DECLARE n NUMBER; BEGIN NULL; END;", "ORA-06550"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(s.prepare(c.text), OCI_SUCCESS);
    sb4 out = 0;
    sb2 indicator = 0;
    OCIBind* bind = nullptr;
    OCIBindByName(s.statement, &bind, s.error, reinterpret_cast<const OraText*>(":out"), -1, &out, sizeof out, SQLT_INT,
                  &indicator, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
    EXPECT_EQ(s.execute(OCI_COMMIT_ON_SUCCESS), OCI_ERROR) << c.text;
    EXPECT_NE(s.message().find(c.error), std::string::npos) << c.text << ": " << s.message();
  }
  ASSERT_EQ(s.prepare("SELECT COUNT(*) FROM moves"), OCI_SUCCESS);
  sb4 rows = -1;
  OCIDefine* define = nullptr;
  ASSERT_EQ(OCIDefineByPos(s.statement, &define, s.error, 1, &rows, sizeof rows, SQLT_INT, nullptr, nullptr, nullptr,
                           OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(s.execute(), OCI_SUCCESS);
  EXPECT_EQ(rows, 0);
}

}  // namespace
