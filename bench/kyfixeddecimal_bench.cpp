// KyFixedDecimal +, -, *, / and comparison against the same decNumber calls
// made directly, with the same 34-digit context and operands, in one run.
// The wrapper's cost is the result object (context copy) and its state and
// decimal places; no text is made on this path.
//
// Comparison is measured on four pairs, since it orders many pairs without
// decNumber: signs that differ, one sign with magnitudes that differ, equal
// exponents (fields of one scale) and equal magnitudes written with
// different exponents (left to decNumber).
#include <benchmark/benchmark.h>

#include <string>

#include "KyFixedDecimal.h"

namespace {

const char kLeft[] = "12345678901234567.123456789";
const char kRight[] = "-98765.4321";

struct Direct {
  decContext context;
  decNumber a, b, result;
  Direct() {
    decContextDefault(&context, DEC_INIT_BASE);
    context.traps = 0;
    context.digits = 34;
    decNumberFromString(&a, kLeft, &context);
    decNumberFromString(&b, kRight, &context);
  }
};

using Operation = decNumber* (*)(decNumber*, const decNumber*, const decNumber*, decContext*);

template <Operation op>
void BM_DecNumber(benchmark::State& state) {
  Direct d;
  for (auto _ : state) {
    benchmark::DoNotOptimize(op(&d.result, &d.a, &d.b, &d.context));
    benchmark::ClobberMemory();
  }
}

void BM_DecNumberCompare(benchmark::State& state) {
  Direct d;
  for (auto _ : state) {
    decNumberCompare(&d.result, &d.a, &d.b, &d.context);
    int less = decNumberIsNegative(&d.result) && !decNumberIsZero(&d.result);
    benchmark::DoNotOptimize(less);
  }
}

template <char op>
void BM_KyFixedDecimal(benchmark::State& state) {
  const KyFixedDecimal a(kLeft);
  const KyFixedDecimal b(kRight);
  for (auto _ : state) {
    if constexpr (op == '+') {
      KyFixedDecimal r = a + b;
      benchmark::DoNotOptimize(r);
    } else if constexpr (op == '-') {
      KyFixedDecimal r = a - b;
      benchmark::DoNotOptimize(r);
    } else if constexpr (op == '*') {
      KyFixedDecimal r = a * b;
      benchmark::DoNotOptimize(r);
    } else if constexpr (op == '/') {
      KyFixedDecimal r = a / b;
      benchmark::DoNotOptimize(r);
    } else {
      int less = a < b;
      benchmark::DoNotOptimize(less);
    }
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_DecNumber<decNumberAdd>)->Name("Add/decNumber");
BENCHMARK(BM_KyFixedDecimal<'+'>)->Name("Add/KyFixedDecimal");
BENCHMARK(BM_DecNumber<decNumberSubtract>)->Name("Subtract/decNumber");
BENCHMARK(BM_KyFixedDecimal<'-'>)->Name("Subtract/KyFixedDecimal");
BENCHMARK(BM_DecNumber<decNumberMultiply>)->Name("Multiply/decNumber");
BENCHMARK(BM_KyFixedDecimal<'*'>)->Name("Multiply/KyFixedDecimal");
BENCHMARK(BM_DecNumber<decNumberDivide>)->Name("Divide/decNumber");
BENCHMARK(BM_KyFixedDecimal<'/'>)->Name("Divide/KyFixedDecimal");
BENCHMARK(BM_DecNumberCompare)->Name("Less/decNumber");
BENCHMARK(BM_KyFixedDecimal<'<'>)->Name("Less/KyFixedDecimal");

struct ComparedPair {
  const char* name;
  const char* a;
  const char* b;
};
constexpr ComparedPair kComparedPairs[] = {
    {"Signs", kLeft, kRight},
    {"Magnitudes", "12345.67", "987.65"},
    {"SameExponent", "12345678.90", "12345678.91"},
    {"Aligned", "12345678.9", "12345678.91"},
};

void BM_DecNumberLess(benchmark::State& state, ComparedPair pair) {
  Direct d;
  decNumberFromString(&d.a, pair.a, &d.context);
  decNumberFromString(&d.b, pair.b, &d.context);
  for (auto _ : state) {
    decNumberCompare(&d.result, &d.a, &d.b, &d.context);
    int less = decNumberIsNegative(&d.result) && !decNumberIsZero(&d.result);
    benchmark::DoNotOptimize(less);
  }
}

void BM_KyFixedDecimalLess(benchmark::State& state, ComparedPair pair) {
  const KyFixedDecimal a(pair.a);
  const KyFixedDecimal b(pair.b);
  for (auto _ : state) {
    int less = a < b;
    benchmark::DoNotOptimize(less);
    benchmark::ClobberMemory();
  }
}

const bool kComparedPairsRegistered = [] {
  for (const ComparedPair& pair : kComparedPairs) {
    benchmark::RegisterBenchmark((std::string("Less") + pair.name + "/decNumber").c_str(), BM_DecNumberLess, pair);
    benchmark::RegisterBenchmark((std::string("Less") + pair.name + "/KyFixedDecimal").c_str(), BM_KyFixedDecimalLess,
                                 pair);
  }
  return true;
}();

}  // namespace
