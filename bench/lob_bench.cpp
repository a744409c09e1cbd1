// Large objects moved in pieces against plain read/write of the same bytes
// in pieces of the same size: a 100 MB file copied to another file through
// KyLobManager::SetFile, and into an SQLite BLOB column through PutToDB
// (ODBC data at execution), against a loop of read() and write() and
// against bare SQLPutData of read() pieces. The ratio to report is the
// baseline's time over the large object's (throughput ratio).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlext.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyDBHandles.h"
#include "KyLobManager.h"
#include "KyODBCConnection.h"
#include "KyWinClientApp.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kSize = 100u << 20;
constexpr LONG kPiece = 64 * 1024;

struct Setup {
  Setup() {
    char pattern[] = "/tmp/ky_lobbench_XXXXXX";
    dir = mkdtemp(pattern);
    source = dir + "/source.bin";
    std::vector<char> chunk(1 << 20);
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 7);
    std::ofstream out(source, std::ios::binary);
    for (size_t written = 0; written < kSize; written += chunk.size()) out.write(chunk.data(), chunk.size());
    out.close();
    std::ofstream(dir + "/APP.INI") << "[ODBC-CON: Bench]\nDSN=lobbench\nPassword=NOT_REQUIRED\n";
    std::ofstream(dir + "/odbc.ini") << "[lobbench]\nDriver=SQLite3\nDatabase=" << dir << "/bench.sqlite\n";
    setenv("ODBCINI", (dir + "/odbc.ini").c_str(), 1);
    app = std::make_unique<KyWinClientApp>("LobBench");
    app->m_pszProfileName = strdup((dir + "/APP.INI").c_str());
    app->CreateContext();
    KySetLobPieceSize(kPiece);
  }
  ~Setup() {
    app->EndContext();
    fs::remove_all(dir);
  }
  std::string dir, source;
  std::unique_ptr<KyWinClientApp> app;
};

Setup& setup() {
  static Setup s;
  return s;
}

void PlainReadWrite(benchmark::State& state) {
  const std::string target = setup().dir + "/plain.bin";
  std::vector<char> buffer(kPiece);
  for (auto _ : state) {
    const int in = open(setup().source.c_str(), O_RDONLY);
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ssize_t n;
    while ((n = read(in, buffer.data(), buffer.size())) > 0) {
      if (write(out, buffer.data(), static_cast<size_t>(n)) != n) state.SkipWithError("write failed");
    }
    close(in);
    close(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(PlainReadWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void LobFileToFile(benchmark::State& state) {
  const std::string target = setup().dir + "/lob.bin";
  for (auto _ : state) {
    KyLobManager manager;
    manager.AttachFile(setup().source.c_str());
    if (!manager.SetFile(target.c_str())) state.SkipWithError("copy failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(LobFileToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A fresh insert of the one row whose body is sent at execution; the token
// and length stay the caller's, as the driver reads them at SQLExecute.
std::unique_ptr<KyDBStmtHandle> insertAtExecution(KyODBCConnection& connection, int* token, SQLLEN* atExecution) {
  std::unique_ptr<KyDBStmtHandle> s(KyDBStmtHandle::Create(connection.GetConnHandle()));
  s->Alloc();
  s->ExecDirect("DELETE FROM docs");
  s->Prepare("INSERT INTO docs (id, body) VALUES (1, ?)");
  s->BindParam(1, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, 0, 0, token, 0, nullptr, atExecution);
  return s;
}

void LobFileToSQLiteColumn(benchmark::State& state) {
  setup();  // the context and the data source
  KyODBCConnection connection("Bench");
  if (connection.Connect("", "u", "", "", "") != 0) return state.SkipWithError("no connection");
  std::unique_ptr<KyDBStmtHandle> create(KyDBStmtHandle::Create(connection.GetConnHandle()));
  create->Alloc();
  create->ExecDirect("DROP TABLE IF EXISTS docs");
  create->ExecDirect("CREATE TABLE docs (id INTEGER, body BLOB)");
  for (auto _ : state) {
    SQLLEN atExecution = SQL_LEN_DATA_AT_EXEC(static_cast<SQLLEN>(kSize));
    int token = 1;
    auto s = insertAtExecution(connection, &token, &atExecution);
    if (s->Execute() != SQL_NEED_DATA) return state.SkipWithError("no data at execution");
    KyLobManager manager;
    manager.AttachFile(setup().source.c_str());
    if (!manager.PutToDB(s.get(), 1, static_cast<WORD>(SQL_C_BINARY))) state.SkipWithError("put failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(LobFileToSQLiteColumn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same column filled by bare ODBC: read() pieces handed to SQLPutData
// on the same statement handle kind, so that the driver's own cost is seen
// apart from the large object's.
void BareFileToSQLiteColumn(benchmark::State& state) {
  setup();  // the context and the data source
  KyODBCConnection connection("Bench");
  if (connection.Connect("", "u", "", "", "") != 0) return state.SkipWithError("no connection");
  std::vector<char> buffer(kPiece);
  for (auto _ : state) {
    SQLLEN atExecution = SQL_LEN_DATA_AT_EXEC(static_cast<SQLLEN>(kSize));
    int token = 1;
    auto s = insertAtExecution(connection, &token, &atExecution);
    if (s->Execute() != SQL_NEED_DATA || s->ParamData() != SQL_NEED_DATA) return state.SkipWithError("no data");
    const int in = open(setup().source.c_str(), O_RDONLY);
    ssize_t n;
    while ((n = read(in, buffer.data(), buffer.size())) > 0) s->PutData(buffer.data(), n, TRUE);
    close(in);
    if (s->ParamData() != SQL_SUCCESS) state.SkipWithError("insert failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BareFileToSQLiteColumn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
