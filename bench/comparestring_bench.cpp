// CompareStringA on the texts a sorted list box compares: short ASCII
// words differing late, early, only in case, and through a word-sort
// hyphen; and a text with an accented letter, which takes the full path.
// The limits in the same run: strcmp and strcasecmp of the same pairs.
#include <benchmark/benchmark.h>
#include <strings.h>
#include <windows.h>

#include <cstring>

namespace {

struct Pair {
  const char* a;
  const char* b;
};

constexpr Pair kPairs[] = {
    {"Item 004711", "Item 004712"},  // the list box bench's keys: decided late
    {"apple", "Banana"},             // decided at once
    {"Customer", "customer"},        // decided by case
    {"co-op", "coop"},               // decided by the hyphen
};

void CompareAscii(benchmark::State& state) {
  const DWORD flags = (DWORD)state.range(0);
  for (auto _ : state)
    for (const Pair& p : kPairs) benchmark::DoNotOptimize(CompareStringA(LOCALE_USER_DEFAULT, flags, p.a, -1, p.b, -1));
  state.SetItemsProcessed(state.iterations() * (int64_t)std::size(kPairs));
}
BENCHMARK(CompareAscii)->Arg(0)->Arg(NORM_IGNORECASE);

void BaselineStrcmp(benchmark::State& state) {
  for (auto _ : state)
    for (const Pair& p : kPairs) benchmark::DoNotOptimize(std::strcmp(p.a, p.b));
  state.SetItemsProcessed(state.iterations() * (int64_t)std::size(kPairs));
}
BENCHMARK(BaselineStrcmp);

void BaselineStrcasecmp(benchmark::State& state) {
  for (auto _ : state)
    for (const Pair& p : kPairs) benchmark::DoNotOptimize(strcasecmp(p.a, p.b));
  state.SetItemsProcessed(state.iterations() * (int64_t)std::size(kPairs));
}
BENCHMARK(BaselineStrcasecmp);

void CompareAccented(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "caf\xE9 au lait", -1, "cafe noir", -1));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CompareAccented);

}  // namespace

BENCHMARK_MAIN();
