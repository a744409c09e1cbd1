// The name index: a look-up in an index of 1,000,000 names against one in
// an index of 1,000 (a B-tree grows by its height only: the ratio should
// stay within 3), and 1,000,000 inserts against SQLite's B-tree doing the
// same inserts into an indexed table in one transaction (the anchor). Both
// sides get a cache of about 125 MB.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

#include "KyNameIndex.h"

namespace {

constexpr int kCacheNodes = 100000;  // x 1248 bytes

// Names in a scrambled order, every one once.
const std::vector<std::string>& names(int count) {
  static std::vector<std::string> texts;
  if (static_cast<int>(texts.size()) != count) {
    texts.clear();
    for (int i = 0; i < count; ++i) texts.push_back("Customer_" + std::to_string((i * 7919LL) % count));
  }
  return texts;
}

std::string scratch(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + name)).string();
}

void FindEntry(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::string path = scratch("-find.idx");
  auto index = std::make_unique<KyNameIndex>(path.c_str(), kCacheNodes);
  const auto& all = names(count);
  for (int i = 0; i < count; ++i) index->AddEntry(all[i].c_str(), i + 1);
  // 1,024 names spread over the whole index, looked up in turn: the names
  // themselves stay in the processor's cache whatever the index's size.
  std::vector<std::string> sought;
  for (size_t i = 0; i < 1024; ++i) sought.push_back(all[(i * 7877) % all.size()]);
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(index->FindEntry(sought[next].c_str()));
    next = (next + 1) % sought.size();
  }
  index.reset();
  std::filesystem::remove(path);
}
BENCHMARK(FindEntry)->Arg(1000)->Arg(1000000);

void InsertIntoNameIndex(benchmark::State& state) {
  const auto& all = names(1000000);
  std::string path = scratch("-insert.idx");
  for (auto _ : state) {
    KyNameIndex index(path.c_str(), kCacheNodes);
    for (size_t i = 0; i < all.size(); ++i) index.AddEntry(all[i].c_str(), static_cast<LONG>(i));
  }  // the close, which writes every node, is counted too
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * all.size());
}
BENCHMARK(InsertIntoNameIndex)->Unit(benchmark::kMillisecond);

void InsertIntoSQLite(benchmark::State& state) {
  const auto& all = names(1000000);
  std::string path = scratch("-insert.db");
  for (auto _ : state) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA cache_size=-125000; CREATE TABLE names(name TEXT COLLATE NOCASE, value INTEGER);"
                     "CREATE INDEX byname ON names(name, value); BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO names VALUES(?, ?)", -1, &insert, nullptr);
    for (size_t i = 0; i < all.size(); ++i) {
      sqlite3_bind_text(insert, 1, all[i].c_str(), -1, SQLITE_STATIC);
      sqlite3_bind_int(insert, 2, static_cast<int>(i));
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * all.size());
}
BENCHMARK(InsertIntoSQLite)->Unit(benchmark::kMillisecond);

}  // namespace
