// A call through the call manager against a direct call of the same entry:
// 10,000 calls of the trivial function TestNop of the test library
// TESTFN.DLL, whose entry makes, checks, enters and ends its function data.
// With "Cache DLL References" the library stays loaded between calls; by
// default it is freed after each call and loaded again by the next (with
// TestFn, together with its panel library).
#include <mscrt.h>

#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "benchapp.h"

namespace {

using kybench::binDirectory;

// With "Cache DLL References" the library stays loaded between calls.
struct BenchApp : kybench::BenchApp {
  explicit BenchApp(bool cache)
      : kybench::BenchApp("callmgr_bench", "[Settings]\nDLL directory path=" + binDirectory() +
                                               "\nCache DLL References=" + (cache ? "True" : "False") +
                                               "\n[International Settings]\nPNL directory path=" + binDirectory() +
                                               "\n") {}
};

class Caller : public KyFunctionData {
 public:
  Caller() : KyFunctionData(new KyLocalVariable, "", "Caller", "Caller", 721, 0) {}
};

void DirectEntry(benchmark::State& state) {
  BenchApp app(false);
  HMODULE module = LoadLibraryA((binDirectory() + "/TESTFN.DLL").c_str());
  auto entry = reinterpret_cast<KyEntryProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, "TESTNOP")));
  if (!entry) {
    state.SkipWithError("TESTFN.DLL has no TESTNOP");
    return;
  }
  Caller caller;
  for (auto _ : state) {
    KyFncParameter bundle(&caller, nullptr, nullptr, nullptr);
    entry(&bundle);
  }
  FreeLibrary(module);
}

void CallManager(benchmark::State& state, bool cache) {
  BenchApp app(cache);
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestNop", "TESTFN");
  if (std::string(caller.GetLocals()->m_CallStatus) != " ") {
    state.SkipWithError("the call of TestNop failed");
    return;
  }
  for (auto _ : state) KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestNop", "TESTFN");
}

void CallManagerCached(benchmark::State& state) { CallManager(state, true); }
void CallManagerUncached(benchmark::State& state) { CallManager(state, false); }

// TestFn has a panel library, TESTFN.PNL, which its function data loads
// (and, uncached, frees) with it: two libraries per call, and the three
// names read from the panel library's strings.
void CallManagerUncachedWithPanel(benchmark::State& state) {
  BenchApp app(false);
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestFn", "TESTFN");
  if (std::string(caller.GetLocals()->m_CallStatus) != " ") {
    state.SkipWithError("the call of TestFn failed");
    return;
  }
  for (auto _ : state) KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestFn", "TESTFN");
}

// The floor of an uncached call: what mapping and unmapping the library
// costs by itself, straight through the C library's loader and through
// the layer with the contract's three look-ups.
void LoaderOnly(benchmark::State& state) {
  const std::string path = binDirectory() + "/TESTFN.DLL";
  for (auto _ : state) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      state.SkipWithError(::dlerror());
      return;
    }
    ::dlclose(handle);
  }
}

void LoadLibraryAndFree(benchmark::State& state) {
  const std::string path = binDirectory() + "/TESTFN.DLL";
  for (auto _ : state) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module || !GetProcAddress(module, "KyIsZuntFunction") || !GetProcAddress(module, "KyGetVersionInfo") ||
        !GetProcAddress(module, "TESTNOP")) {
      state.SkipWithError("TESTFN.DLL did not load");
      return;
    }
    FreeLibrary(module);
  }
}

// The cached run last: its table keeps TESTFN.DLL loaded for the rest of
// the process, after which an "uncached" call would only count references.
BENCHMARK(LoaderOnly)->Iterations(10000);
BENCHMARK(LoadLibraryAndFree)->Iterations(10000);
BENCHMARK(DirectEntry)->Iterations(10000);
BENCHMARK(CallManagerUncached)->Iterations(10000);
BENCHMARK(CallManagerUncachedWithPanel)->Iterations(10000);
BENCHMARK(CallManagerCached)->Iterations(10000);

}  // namespace
