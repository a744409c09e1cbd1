// The ten most common conversions between field types, each beside the C
// library doing the same text work (strtol, strtod, snprintf).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"

namespace {

// Opens the protected casts.
template <class T>
struct Caster : T {
  using T::T;
  template <class Source>
  void From(const Source& source) {
    this->CastFrom(source);
  }
};

KyFixedDecFld fixedOf(const char* text) {
  KyFixedDecFld field;
  field.SetScale(2);
  field.PutText(text);
  return field;
}

// 1. Character to integer.
void CharToLong(benchmark::State& state) {
  const KyCharFld source("1234567");
  Caster<KyLongFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetValue());
  }
}
void CharToLong_strtol(benchmark::State& state) {
  const char* text = "1234567";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(std::strtol(text, nullptr, 10));
  }
}

// 2. Integer to character.
void LongToChar(benchmark::State& state) {
  const KyLongFld source(1234567, 0);
  Caster<KyCharFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetLength());
  }
}
void LongToChar_snprintf(benchmark::State& state) {
  char text[32];
  int value = 1234567;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%d", value));
  }
}

// 3. Character to fixed decimal.
void CharToFixed(benchmark::State& state) {
  const KyCharFld source("12345.67");
  Caster<KyFixedDecFld> target;
  target.SetScale(2);
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetScale());
  }
}
void CharToFixed_strtod(benchmark::State& state) {
  const char* text = "12345.67";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(std::strtod(text, nullptr));
  }
}

// 4. Fixed decimal to character.
void FixedToChar(benchmark::State& state) {
  const KyFixedDecFld source = fixedOf("12345.67");
  Caster<KyCharFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetLength());
  }
}
void FixedToChar_snprintf(benchmark::State& state) {
  char text[64];
  double value = 12345.67;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.2f", value));
  }
}

// 5. Date to text.
void DateToChar(benchmark::State& state) {
  const KyDateFld source(2017, 2, 28);
  Caster<KyCharFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetLength());
  }
}
void DateToChar_snprintf(benchmark::State& state) {
  char text[32];
  int y = 2017, m = 2, d = 28;
  for (auto _ : state) {
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d));
  }
}

// 6. Text to date.
void CharToDate(benchmark::State& state) {
  const KyCharFld source("2017-02-28");
  Caster<KyDateFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetValue());
  }
}
void CharToDate_strtol(benchmark::State& state) {
  const char* text = "2017-02-28";
  for (auto _ : state) {
    char* end;
    benchmark::DoNotOptimize(text);
    const char* p = text;
    long y = std::strtol(p, &end, 10);
    long m = std::strtol(end + 1, &end, 10);
    long d = std::strtol(end + 1, &end, 10);
    benchmark::DoNotOptimize(y + m + d);
  }
}

// 7. Double to fixed decimal.
void DoubleToFixed(benchmark::State& state) {
  const KyDblFld source(12345.678, 0);
  KyFixedDecFld target = fixedOf("0");
  for (auto _ : state) {
    target = source;
    benchmark::DoNotOptimize(target.GetScale());
  }
}
void DoubleToFixed_snprintf(benchmark::State& state) {
  char text[64];
  double value = 12345.678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%5.9f", value));
  }
}

// 8. Fixed decimal to double.
void FixedToDouble(benchmark::State& state) {
  const KyFixedDecFld source = fixedOf("12345.67");
  KyDblFld target;
  for (auto _ : state) {
    target = source;
    benchmark::DoNotOptimize(target.GetValue());
  }
}
void FixedToDouble_strtod(benchmark::State& state) {
  const char* text = "12345.67";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(std::strtod(text, nullptr));
  }
}

// 9. Double to character.
void DoubleToChar(benchmark::State& state) {
  const KyDblFld source(12345.678, 0);
  Caster<KyCharFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetLength());
  }
}
void DoubleToChar_snprintf(benchmark::State& state) {
  char text[64];
  double value = 12345.678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.15g", value));
  }
}

// 10. Character to double.
void CharToDouble(benchmark::State& state) {
  const KyCharFld source("12345.678");
  Caster<KyDblFld> target;
  for (auto _ : state) {
    target.From(source);
    benchmark::DoNotOptimize(target.GetValue());
  }
}
void CharToDouble_strtod(benchmark::State& state) {
  const char* text = "12345.678";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(std::strtod(text, nullptr));
  }
}

}  // namespace

BENCHMARK(CharToLong);
BENCHMARK(CharToLong_strtol);
BENCHMARK(LongToChar);
BENCHMARK(LongToChar_snprintf);
BENCHMARK(CharToFixed);
BENCHMARK(CharToFixed_strtod);
BENCHMARK(FixedToChar);
BENCHMARK(FixedToChar_snprintf);
BENCHMARK(DateToChar);
BENCHMARK(DateToChar_snprintf);
BENCHMARK(CharToDate);
BENCHMARK(CharToDate_strtol);
BENCHMARK(DoubleToFixed);
BENCHMARK(DoubleToFixed_snprintf);
BENCHMARK(FixedToDouble);
BENCHMARK(FixedToDouble_strtod);
BENCHMARK(DoubleToChar);
BENCHMARK(DoubleToChar_snprintf);
BENCHMARK(CharToDouble);
BENCHMARK(CharToDouble_strtod);

BENCHMARK_MAIN();
