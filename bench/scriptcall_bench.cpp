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

#include "KyActiveXContainer.h"
#include "KyActiveXControl.h"
#include "KyActiveXScripter.h"
#include "controls/kygauge.h"
#include "internal/scratchdir.h"

namespace {

class Host : public CWnd, public KyActiveXContainer {};

// One registered gauge named to a scripter on a host window for the run.
struct Hosted {
  Hosted() {
    ::setenv("KY_COM_REGISTRY", (dir / "COMCLASSES.INI").c_str(), 1);
    ::setenv("KY_REGISTRY", (dir / "REGISTRY.DAT").c_str(), 1);
    OleInitialize(nullptr);
    KyActiveXControl::RegisterOCX((std::string(KY_BIN_DIR) + "/" KYGAUGE_LIBRARY).c_str(), nullptr);
    KyActiveXControl::RegisterOCX((std::string(KY_BIN_DIR) + "/JSCRIPT.DLL").c_str(), nullptr);
    host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr);
    control.Create(KYGAUGE_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 50), &host, 1, "", "", nullptr, &host);
    scripter = new KyActiveXScripter(&host, &host);
    scripter->NameControl(&control, "Gauge1");
    scripter->RunScript("Gauge1.Value = 0;", nullptr, "JScript");  // the engine starts here, not in the loop
  }
  kytest::ScratchDir dir;
  Host host;
  KyActiveXControl control;
  KyActiveXScripter* scripter = nullptr;
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
  KyActiveXScripter& scripter = *hosted().scripter;
  for (auto _ : state) benchmark::DoNotOptimize(scripter.RunScript("Gauge1.Step(1);", nullptr, "JScript"));
}
BENCHMARK(ScriptStatementMethod);

}  // namespace
