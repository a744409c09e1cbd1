// KyString against std::string doing the same work: assignment (from a
// string and from a C string), appending pieces to a growing text, and
// comparison ignoring case. KyString runs unlimited (maximum -1) and with a
// maximum that the texts stay within, which adds the length check.
#include <benchmark/benchmark.h>

#include <strings.h>

#include <string>

#include "KyString.h"

namespace {

const char kText[] = "CUSTOMER-NAME: Jonathan Q. Public, Springfield";  // 46 characters
const char kPiece[] = "0123456789abcdef";                                 // 16 characters
constexpr int kPieces = 64;

void BM_KyStringAssign(benchmark::State& state) {
  const KyString source(kText);
  KyString target(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    target = source;
    benchmark::DoNotOptimize(target.c_str());
  }
}
BENCHMARK(BM_KyStringAssign)->Arg(-1)->Arg(100);

void BM_StdStringAssign(benchmark::State& state) {
  const std::string source(kText);
  std::string target;
  for (auto _ : state) {
    target = source;
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_StdStringAssign);

void BM_KyStringAssignCString(benchmark::State& state) {
  KyString target(static_cast<int>(state.range(0)));
  const char* volatile text = kText;
  for (auto _ : state) {
    target = text;
    benchmark::DoNotOptimize(target.c_str());
  }
}
BENCHMARK(BM_KyStringAssignCString)->Arg(-1)->Arg(100);

void BM_StdStringAssignCString(benchmark::State& state) {
  std::string target;
  const char* volatile text = kText;
  for (auto _ : state) {
    target = text;
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_StdStringAssignCString);

// A fresh string each round, so that growth is part of the cost.
void BM_KyStringAppend(benchmark::State& state) {
  for (auto _ : state) {
    KyString text(static_cast<int>(state.range(0)));
    for (int i = 0; i < kPieces; ++i) text += kPiece;
    benchmark::DoNotOptimize(text.c_str());
  }
  state.SetBytesProcessed(state.iterations() * kPieces * 16);
}
BENCHMARK(BM_KyStringAppend)->Arg(-1)->Arg(2048);

void BM_StdStringAppend(benchmark::State& state) {
  for (auto _ : state) {
    std::string text;
    for (int i = 0; i < kPieces; ++i) text += kPiece;
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * kPieces * 16);
}
BENCHMARK(BM_StdStringAppend);

void BM_KyStringCompareNoCase(benchmark::State& state) {
  const KyString a(kText);
  KyString b(kText);
  b.MakeLower();
  for (auto _ : state) benchmark::DoNotOptimize(a.CompareNoCase(b));
}
BENCHMARK(BM_KyStringCompareNoCase);

void BM_KyiCompString(benchmark::State& state) {
  const KyString a(kText);
  KyString b(kText);
  b.MakeLower();
  for (auto _ : state) benchmark::DoNotOptimize(iKyiCompString(a, b));
}
BENCHMARK(BM_KyiCompString);

void BM_StdStringCompareNoCase(benchmark::State& state) {
  const std::string a(kText);
  std::string b(kText);
  for (char& c : b) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  for (auto _ : state) benchmark::DoNotOptimize(::strcasecmp(a.c_str(), b.c_str()));
}
BENCHMARK(BM_StdStringCompareNoCase);

}  // namespace
