// A value through a variant field (field to VARIANT, then PopulateField
// into a field of another type) against the bare VariantChangeType of the
// same change on a VARIANT of the same type. Reported as the ratio of the
// field's time to the bare time.
#include <benchmark/benchmark.h>
#include <oleauto.h>

#include "KyCharFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyVariantFld.h"

namespace {

void BareDoubleToLong(benchmark::State& state) {
  VARIANT source, target;
  VariantInit(&source);
  VariantInit(&target);
  double value = 1234.25;
  for (auto _ : state) {
    source.vt = VT_R8;
    source.dblVal = value;
    VariantChangeType(&target, &source, 0, VT_I8);
    benchmark::DoNotOptimize(target.llVal);
    value += 1;
  }
}
BENCHMARK(BareDoubleToLong);

void FieldDoubleToLong(benchmark::State& state) {
  KyDblFld source(1234.25, 0);
  KyLongFld target;
  KyVariantFld v;
  for (auto _ : state) {
    v = source;
    v.PopulateField(target);
    benchmark::DoNotOptimize(target.GetValue());
    source.SetValue(source.GetValue() + 1);
  }
}
BENCHMARK(FieldDoubleToLong);

void BareTextToLong(benchmark::State& state) {
  VARIANT source, target;
  VariantInit(&source);
  VariantInit(&target);
  for (auto _ : state) {
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(u"123456");
    VariantChangeType(&target, &source, 0, VT_I8);
    benchmark::DoNotOptimize(target.llVal);
    VariantClear(&source);
  }
}
BENCHMARK(BareTextToLong);

void FieldTextToLong(benchmark::State& state) {
  KyCharFld source("123456");
  KyLongFld target;
  KyVariantFld v;
  for (auto _ : state) {
    v = source;
    v.PopulateField(target);
    benchmark::DoNotOptimize(target.GetValue());
  }
}
BENCHMARK(FieldTextToLong);

}  // namespace
