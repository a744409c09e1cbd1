// Large objects in database columns, moved in pieces: SQLite BLOBs and
// PostgreSQL bytea through ODBC, read with SQLGetData and written as
// data-at-execution parameters.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "KyDBHandles.h"
#include "KyLobManager.h"
#include "KyODBCConnection.h"
#include "databases.h"

namespace {

using dbtest::DataTest;
using dbtest::PostgresServer;

std::string pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 977) & 0xFF);
  return bytes;
}

class LobColumns : public DataTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    const bool pg = std::string(GetParam()) == "pg";
    if (pg) ASSERT_TRUE(PostgresServer::Get().running()) << "the PostgreSQL test cluster did not start";
    setIni(std::string("[ODBC-CON: Shop]\nDSN=") + GetParam() + "\nUserid=postgres\nPassword=NOT_REQUIRED\n");
    connection_ = std::make_unique<KyODBCConnection>("Shop");
    ASSERT_EQ(connection_->Connect("", "postgres", "", "", ""), 0) << (log().empty() ? "" : log().back());
    ASSERT_EQ(run("DROP TABLE IF EXISTS docs"), 0);
    ASSERT_EQ(run(pg ? "CREATE TABLE docs (id INTEGER, body BYTEA)" : "CREATE TABLE docs (id INTEGER, body BLOB)"), 0);
    KySetLobPieceSize(4096);
  }
  void TearDown() override {
    connection_.reset();
    DataTest::TearDown();
  }
  std::unique_ptr<KyDBStmtHandle> statement() {
    std::unique_ptr<KyDBStmtHandle> s(KyDBStmtHandle::Create(connection_->GetConnHandle()));
    EXPECT_EQ(s->Alloc(), 0);
    return s;
  }
  // 0, or 0 for the driver's success with information (a notice).
  int run(const char* text) {
    const int rc = statement()->ExecDirect(text);
    return rc == 1 ? 0 : rc;
  }

  // Inserts row id with the manager's content through a data-at-execution
  // parameter; 1 when the content was written.
  int insert(int id, KyLobManager& content) {
    auto s = statement();
    const std::string text = "INSERT INTO docs (id, body) VALUES (" + std::to_string(id) + ", ?)";
    EXPECT_EQ(s->Prepare(text.c_str()), 0);
    // The length is announced: the SQLite driver takes binary pieces up to it.
    SQLLEN atExecution = SQL_LEN_DATA_AT_EXEC(static_cast<SQLLEN>(content.GetLength()));
    int token = 1;
    EXPECT_EQ(s->BindParam(1, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, 0, 0, &token, 0, nullptr,
                           &atExecution),
              0);
    if (s->Execute() != SQL_NEED_DATA) return 0;
    return content.PutToDB(s.get(), 1, static_cast<WORD>(SQL_C_BINARY));
  }
  // The body of row id read into a file of the scratch directory.
  std::string read(int id) {
    auto s = statement();
    const std::string text = "SELECT body FROM docs WHERE id = " + std::to_string(id);
    const int executed = s->ExecDirect(text.c_str());
    EXPECT_TRUE(executed == 0 || executed == 1) << executed;
    EXPECT_EQ(s->Fetch(), 0);
    KyLobManager column;
    column.AttachDB(s.get(), 1, static_cast<WORD>(SQL_C_BINARY));
    // Moved into a file at once, so that the statement can go on.
    if (!column.SetFile((dir_ / ("read" + std::to_string(id) + ".bin")).c_str())) return "<failed>";
    BYTE* data = column.GetData();
    return data ? std::string(reinterpret_cast<char*>(data), column.GetLength()) : std::string();
  }

  std::unique_ptr<KyODBCConnection> connection_;
};

TEST_P(LobColumns, ContentGoesIntoColumnsAndComesBackInPieces) {
  struct Case {
    int id;
    size_t size;
  } cases[] = {{1, 1}, {2, 4096}, {3, 4096 * 3}, {4, 100000}};
  for (const Case& c : cases) {
    const std::string bytes = pattern(c.size);
    KyLobManager content;
    content.SetData(static_cast<LONG>(bytes.size()), bytes.data());
    ASSERT_EQ(insert(c.id, content), 1) << c.size << " " << (log().empty() ? "" : log().back());
    EXPECT_EQ(content.GetState()->GetCode(), KyLobState::Memory);  // the state stays
  }
  for (const Case& c : cases) EXPECT_EQ(read(c.id), pattern(c.size)) << c.size;
}

TEST_P(LobColumns, AFileGoesIntoAColumnWithoutBeingInMemory) {
  const std::string bytes = pattern(50000);
  dir_.write("source.bin", bytes);
  KyLobManager content;
  content.AttachFile((dir_ / "source.bin").c_str());
  ASSERT_EQ(insert(7, content), 1);
  EXPECT_EQ(read(7), bytes);
  EXPECT_EQ(content.GetState()->GetCode(), KyLobState::File);
}

TEST_P(LobColumns, TheSameColumnIsNotWrittenAgainButAnotherIs) {
  auto s = statement();
  KyLobManager column;
  column.AttachDB(s.get(), 1, static_cast<WORD>(SQL_C_BINARY));
  EXPECT_EQ(column.PutToDB(s.get(), 1, static_cast<WORD>(SQL_C_BINARY)), 1);  // it is that column
  // Another column of the same statement is a copy: without a statement
  // that waits for data, the copy fails and says why.
  EXPECT_EQ(column.PutToDB(s.get(), 2, static_cast<WORD>(SQL_C_BINARY)), 0);
}

TEST_P(LobColumns, AReadOfAFailedStatementFailsWithItsMessage) {
  auto s = statement();
  EXPECT_NE(s->ExecDirect("SELECT nothing FROM no_such_table"), 0);
  KyLobManager column;
  column.AttachDB(s.get(), 1, static_cast<WORD>(SQL_C_BINARY));
  EXPECT_EQ(column.SetFile((dir_ / "never.bin").c_str()), 0);
  EXPECT_EQ(column.GetState()->GetCode(), KyLobState::Database);  // kept
  EXPECT_FALSE(column.GetState()->GetErrorText().IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Databases, LobColumns, ::testing::Values("sqlite", "pg"));

}  // namespace
