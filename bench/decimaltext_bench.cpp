// HCtlFormatDecimalText laying a decimal digit text into a picture, against
// snprintf writing the same digits with the same point, in one run. Each
// case first checks that both texts are equal.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "numberformat.h"

namespace {

struct Case {
  const char* digits;
  int point;  // digits before the point
  int places;  // fraction places of the picture
  const char* picture;
};

const Case kCases[] = {
    {"1234567", 7, 0, "*0"},
    {"123456789012", 10, 2, "*0.00"},
    {"1234567890123456789012345678901", 27, 4, "*0.0000"},
};

int viaPrintf(const Case& c, char* out, size_t size) {
  return std::snprintf(out, size, "%.*s.%.*s", c.point, c.digits, c.places, c.digits + c.point);
}

int viaPicture(const Case& c, char* out, int size) {
  return HCtlFormatDecimalText(c.digits, c.point, 0, c.picture, out, size, 0);
}

bool sameText(const Case& c) {
  char a[96], b[96];
  viaPrintf(c, a, sizeof a);
  if (c.places == 0) a[c.point] = '\0';  // no point without places
  viaPicture(c, b, sizeof b);
  return std::strcmp(a, b) == 0;
}

void BM_Snprintf(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  char out[96];
  for (auto _ : state) {
    benchmark::DoNotOptimize(viaPrintf(c, out, sizeof out));
    benchmark::ClobberMemory();
  }
  state.SetLabel(c.picture);
}

void BM_DecimalText(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  if (!sameText(c)) {
    state.SkipWithError("the picture's text differs from snprintf's");
    return;
  }
  char out[96];
  for (auto _ : state) {
    benchmark::DoNotOptimize(viaPicture(c, out, sizeof out));
    benchmark::ClobberMemory();
  }
  state.SetLabel(c.picture);
}

BENCHMARK(BM_Snprintf)->DenseRange(0, 2);
BENCHMARK(BM_DecimalText)->DenseRange(0, 2);

}  // namespace
