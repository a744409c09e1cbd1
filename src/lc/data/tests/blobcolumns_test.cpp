// Long binary columns of views (vioBlob) read and written the way generated
// functions do, against SQLite and PostgreSQL through ODBC and through the
// OCI road: contents of every size moved in pieces, NULL, two long columns
// in one row, updates of the current row, and an empty content refused.
#include "databases.h"

#include "KyBlobFld.h"
#include "KyDatabaseConnection.h"
#include "KyLobManager.h"
#include "KyViewIO.h"
#include "vioBlob.h"

#include <cstring>
#include <optional>

namespace {

using dbtest::DataTest;
using dbtest::PostgresServer;

constexpr LONG kPiece = 4096;

constexpr vioFieldInfo kDocs[] = {
    {"k", vioTypeInteger, 4, 0, 0, 0},
    {"name", vioTypeCharacter, 11, 0, 0, 0},
    {"body", vioTypeBlob, kPiece, 0, 0, 0},
    {"thumb", vioTypeBlob, kPiece, 0, 0, 0},
};
constexpr unsigned short kDocKeys[] = {0};
constexpr const char* kSelect = "SELECT k, name, body, thumb FROM docs";
constexpr const char* kInsert = "INSERT INTO docs (k, name, body, thumb) VALUES (?,?,?,?)";
constexpr const char* kUpdate = "UPDATE docs SET k = ?, name = ?, body = ?, thumb = ? WHERE k = ?";

// Bytes no two sizes share a prefix pattern of.
std::string pattern(size_t size, int seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251 + static_cast<size_t>(seed)) & 0xFF);
  return bytes;
}

class BlobColumns : public DataTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    const std::string param = GetParam();
    oracle_ = param.rfind("oci", 0) == 0;
    const bool pg = param == "pg";
    if (pg) ASSERT_TRUE(PostgresServer::Get().running()) << "the PostgreSQL test cluster did not start";
    if (oracle_) {
      const std::string rowid = param == "oci-rowid" ? "[VIEW: DOCS]\nPositioned Update=True\n" : "";
      setIni("[ORA-CON: Shop]\nSID=" + dbtest::programDir() + "/blob.db\nUserid=scott\nPassword=tiger\n" + rowid);
    } else {
      setIni(std::string("[ODBC-CON: Shop]\nDSN=") + param + "\nUserid=postgres\nPassword=NOT_REQUIRED\n");
    }
    KySetLobPieceSize(kPiece);
    description_ = std::make_unique<KyViewDescription>("DOCS", 4, 1, kDocs, kDocKeys);
    description_->SetDatabaseConnectionName("Shop", oracle_ ? KyDatabaseConnection::KindOCI
                                                            : KyDatabaseConnection::KindODBC);
    view_ = description_->GetWrapper(nullptr, "Docs");
    ASSERT_NE(view_, nullptr);
    ASSERT_TRUE(view_->GetConnection()->IsConnected()) << (log().empty() ? "" : log().front());
    view_->ExecSql("DROP TABLE IF EXISTS docs");
    view_->ExecSql(pg ? "CREATE TABLE docs (k INTEGER PRIMARY KEY, name CHAR(10), body BYTEA, thumb BYTEA)"
                      : "CREATE TABLE docs (k INTEGER PRIMARY KEY, name CHAR(10), body BLOB, thumb BLOB)");
    ASSERT_EQ(view_->GetStatus(), KyViewIO::StatusOK) << view_->GetErrorMsg();
  }
  void TearDown() override {
    description_.reset();
    DataTest::TearDown();
  }

  vioBlob& blob(int column) { return static_cast<vioBlob&>(*view_->GetColumn(column)); }
  // A long column from a field of the content (none: a null field).
  void setBlob(int column, const std::optional<std::string>& content) {
    KyBlobFld field;
    if (content)
      field = KyBlobFld(reinterpret_cast<const BYTE*>(content->data()), static_cast<LONG>(content->size()));
    else
      field.SetFieldState(1);
    blob(column) = field;
  }
  // The long column as a field sees it (none: the field is null).
  std::optional<std::string> getBlob(int column) {
    KyBlobFld field;
    field = blob(column);
    if (field.GetFieldState() == 1) return std::nullopt;
    BYTE* data = field.GetBlobData();
    return data ? std::string(reinterpret_cast<char*>(data), static_cast<size_t>(field.GetBlobBufSize()))
                : std::string();
  }
  int insert(int key, const std::optional<std::string>& body, const std::optional<std::string>& thumb) {
    view_->GetColumn(1)->PutText(std::to_string(key).c_str());
    view_->GetColumn(2)->PutText("doc");
    setBlob(3, body);
    setBlob(4, thumb);
    KySQLStatement statement(kInsert);
    return view_->Insert(&statement);
  }
  int selectKey(int key) {
    KySQLStatement byKey(std::string(kSelect).append(" WHERE (k = ?)").c_str());
    view_->GetColumn(1)->PutText(std::to_string(key).c_str());
    return view_->SelectAndFetch(&byKey, vioOpEqual, 1);
  }
  static bool succeeded(int rc) { return rc == 0 || rc == 1; }

  bool oracle_ = false;
  std::unique_ptr<KyViewDescription> description_;
  KyViewIO* view_ = nullptr;
};

TEST_P(BlobColumns, ContentsOfEverySizeAndNullRoundTripInPieces) {
  struct Row {
    int key;
    std::optional<std::string> body, thumb;
  } rows[] = {
      {1, pattern(1, 1), pattern(10, 2)},
      {2, pattern(kPiece, 3), std::nullopt},  // exactly one piece
      {3, pattern(kPiece * 3, 4), pattern(kPiece - 1, 5)},
      {4, pattern(100000, 6), pattern(kPiece + 1, 7)},
      {5, std::nullopt, std::nullopt},
  };
  for (const Row& row : rows)
    ASSERT_TRUE(succeeded(insert(row.key, row.body, row.thumb))) << row.key << " " << view_->GetErrorMsg();
  for (const Row& row : rows) {
    ASSERT_EQ(selectKey(row.key), 0) << row.key << " " << view_->GetErrorMsg();
    EXPECT_EQ(getBlob(3), row.body) << row.key;
    EXPECT_EQ(getBlob(4), row.thumb) << row.key;
    EXPECT_EQ(blob(3).IsNull() != 0, !row.body.has_value());
  }
  // A walk over all rows gives each row its own contents.
  KySQLStatement all(std::string(kSelect).append(" ORDER BY k").c_str());
  size_t seen = 0;
  for (int rc = view_->SelectAndFetch(&all, vioOpGreater, 0); succeeded(rc); rc = view_->FetchNext(0), ++seen) {
    ASSERT_LT(seen, std::size(rows));
    EXPECT_EQ(getBlob(3), rows[seen].body) << rows[seen].key;
    EXPECT_EQ(getBlob(4), rows[seen].thumb) << rows[seen].key;
  }
  EXPECT_EQ(seen, std::size(rows));
  EXPECT_EQ(view_->GetStatus(), KyViewIO::StatusEndOfView);
}

TEST_P(BlobColumns, AnUpdateOfTheCurrentRowWritesNewContentAndKeepsUnchangedContent) {
  ASSERT_TRUE(succeeded(insert(1, pattern(9000, 1), pattern(300, 2))));
  ASSERT_TRUE(succeeded(insert(2, pattern(500, 3), std::nullopt)));
  struct Case {
    int key;
    std::optional<std::string> body;  // the new body; the thumb is left as fetched
    std::optional<std::string> thumb;  // what the row's thumb is
  } cases[] = {
      {1, pattern(20000, 9), pattern(300, 2)},
      {2, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(selectKey(c.key), 0) << c.key;
    view_->GetColumn(2)->PutText("changed");
    setBlob(3, c.body);
    KySQLStatement update(kUpdate);
    ASSERT_TRUE(succeeded(view_->Update(&update, 0))) << c.key << " " << view_->GetErrorMsg();
  }
  for (const Case& c : cases) {
    ASSERT_EQ(selectKey(c.key), 0) << c.key;
    EXPECT_EQ(KyString(view_->GetColumn(2)->GetText()).TrimRight(' '), KyString("changed"));
    EXPECT_EQ(getBlob(3), c.body) << c.key;
    EXPECT_EQ(getBlob(4), c.thumb) << c.key;
  }
}

TEST_P(BlobColumns, AnEmptyContentThatIsNotNullIsRefusedAndLogged) {
  ASSERT_TRUE(succeeded(insert(1, pattern(10, 1), pattern(10, 2))));
  log().clear();
  // Insert and update alike: nothing is written.
  EXPECT_EQ(insert(2, std::string(), pattern(10, 3)), -1);
  EXPECT_EQ(view_->GetStatus(), KyViewIO::StatusError);
  ASSERT_FALSE(log().empty());
  EXPECT_NE(log().back().find("CheckBlobs"), std::string::npos) << ::testing::PrintToString(log());
  EXPECT_STREQ(view_->GetErrorMsg(), "The long binary value body is empty.");
  ASSERT_EQ(selectKey(1), 0);
  setBlob(4, std::string());
  KySQLStatement update(kUpdate);
  EXPECT_EQ(view_->Update(&update, 0), -1);
  EXPECT_STREQ(view_->GetErrorMsg(), "The long binary value thumb is empty.");
  EXPECT_EQ(selectKey(2), 100);
  ASSERT_EQ(selectKey(1), 0);
  EXPECT_EQ(getBlob(4), pattern(10, 2));
}

TEST_P(BlobColumns, ValuesCompareByContent) {
  struct Case {
    std::optional<std::string> a, b;
    bool equal;
  } cases[] = {
      {pattern(9000, 1), pattern(9000, 1), true},
      {pattern(9000, 1), pattern(9000, 2), false},
      {pattern(9000, 1), pattern(8999, 1), false},
      {std::nullopt, std::nullopt, true},
      {std::nullopt, pattern(1, 1), false},
  };
  for (const Case& c : cases) {
    vioBlob a(view_->GetConnection(), kPiece), b(view_->GetConnection(), kPiece);
    for (auto [value, content] : {std::pair{&a, &c.a}, std::pair{&b, &c.b}}) {
      value->SetNull(content->has_value() ? 0 : 1);
      if (*content) value->GetManager()->SetData(static_cast<LONG>((*content)->size()), (*content)->data());
    }
    EXPECT_EQ(a.Equals(b), c.equal);
    EXPECT_EQ(b.Equals(a), c.equal);
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, BlobColumns, ::testing::Values("sqlite", "pg", "oci", "oci-rowid"));

}  // namespace
