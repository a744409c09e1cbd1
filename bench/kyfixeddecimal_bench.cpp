// KyFixedDecimal +, -, *, / and comparison against the same decNumber calls
// made directly, with the same 34-digit context and operands, in one run.
// The wrapper's cost is the result object (context copy) and its state and
// decimal places; no text is made on this path.
#include <benchmark/benchmark.h>

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

}  // namespace
