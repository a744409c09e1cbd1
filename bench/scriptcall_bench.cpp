// A JScript statement that calls a method of a hosted control through the
// scripting host (KyActiveXScripter::RunScript: the text handed to the
// engine, parsed, run, the call made through the control's IDispatch)
// against the same IDispatch::Invoke made from C++. Reported as the ratio
// of the script's time to the bare call's.
#include <afxwin.h>
#include <benchmark/benchmark.h>
#include <ole2.h>

#include <cstdlib>
#include <string>

#include "KyActiveXScripter.h"
#include "gaugehost.h"

namespace {

// One registered gauge named to a scripter on a host window for the run.
struct Hosted : kybench::HostedGauge {
  Hosted() : HostedGauge({"JSCRIPT.DLL"}), scripter(&host, &host) {
    scripter.NameControl(&control, "Gauge1");
    scripter.RunScript("Gauge1.Value = 0;", nullptr, "JScript");  // the engine starts here, not in the loop
  }
  KyActiveXScripter scripter;
};

Hosted& hosted() {
  static Hosted* instance = new Hosted;  // lives for the run
  return *instance;
}

void BareInvokeMethod(benchmark::State& state) {
  IDispatch* dispatch = hosted().control.GetControlSite()->m_pDispatch;
  VARIANT by;
  VariantInit(&by);
  for (auto _ : state) {
    by.vt = VT_I4;
    by.lVal = 1;
    DISPPARAMS params{&by, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    dispatch->Invoke(KYGAUGE_STEP, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    VariantClear(&result);
  }
}
BENCHMARK(BareInvokeMethod);

void ScriptStatementMethod(benchmark::State& state) {
  KyActiveXScripter& scripter = hosted().scripter;
  for (auto _ : state) benchmark::DoNotOptimize(scripter.RunScript("Gauge1.Step(1);", nullptr, "JScript"));
}
BENCHMARK(ScriptStatementMethod);

}  // namespace
