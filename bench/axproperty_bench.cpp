// A property of a hosted control set and read through its text form
// (KyActiveXControl::SetProperty and GetProperty, the type information
// choosing the form) against the bare IDispatch::Invoke put and get of the
// same property. Reported as the ratio of the text form's time to the
// bare time; the colour property takes the longest text road.
#include <afxwin.h>
#include <benchmark/benchmark.h>
#include <ole2.h>

#include <cstdlib>
#include <string>

#include "gaugehost.h"

namespace {

// One registered gauge on a host window for the whole run.
using Hosted = kybench::HostedGauge;

Hosted& hosted() {
  static Hosted* instance = new Hosted;  // lives for the run
  return *instance;
}

void invoke(IDispatch* dispatch, DISPID id, WORD flags, VARIANT* arg, VARIANT* result) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{arg, arg ? &named : nullptr, arg ? 1u : 0u, arg ? 1u : 0u};
  dispatch->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

void BareInvokeColor(benchmark::State& state) {
  IDispatch* dispatch = hosted().control.GetControlSite()->m_pDispatch;
  VARIANT value, result;
  VariantInit(&value);
  VariantInit(&result);
  ULONG color = 0x80000005;
  for (auto _ : state) {
    value.vt = VT_UI4;
    value.ulVal = color;
    invoke(dispatch, KYGAUGE_BACKCOLOR, DISPATCH_PROPERTYPUT, &value, nullptr);
    invoke(dispatch, KYGAUGE_BACKCOLOR, DISPATCH_PROPERTYGET, nullptr, &result);
    benchmark::DoNotOptimize(result.ulVal);
    VariantClear(&result);
    color ^= 1;
  }
}
BENCHMARK(BareInvokeColor);

void TextFormColor(benchmark::State& state) {
  KyActiveXControl& control = hosted().control;
  CString text;
  const char* colors[] = {"0x80000005", "0x80000004"};
  int turn = 0;
  for (auto _ : state) {
    control.SetProperty("BackColor", colors[turn ^= 1]);
    control.GetProperty("BackColor", text);
    benchmark::DoNotOptimize(text.GetLength());
  }
}
BENCHMARK(TextFormColor);

void BareInvokeNumber(benchmark::State& state) {
  IDispatch* dispatch = hosted().control.GetControlSite()->m_pDispatch;
  VARIANT value, result;
  VariantInit(&value);
  VariantInit(&result);
  LONG number = 0;
  for (auto _ : state) {
    value.vt = VT_I4;
    value.lVal = ++number & 0xFF;
    invoke(dispatch, KYGAUGE_VALUE, DISPATCH_PROPERTYPUT, &value, nullptr);
    invoke(dispatch, KYGAUGE_VALUE, DISPATCH_PROPERTYGET, nullptr, &result);
    benchmark::DoNotOptimize(result.lVal);
    VariantClear(&result);
  }
}
BENCHMARK(BareInvokeNumber);

void TextFormNumber(benchmark::State& state) {
  KyActiveXControl& control = hosted().control;
  CString text;
  const char* numbers[] = {"17", "42"};
  int turn = 0;
  for (auto _ : state) {
    control.SetProperty("Value", numbers[turn ^= 1]);
    control.GetProperty("Value", text);
    benchmark::DoNotOptimize(text.GetLength());
  }
}
BENCHMARK(TextFormNumber);

}  // namespace
