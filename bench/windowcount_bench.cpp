// Costs that must not grow with the number of windows of the process:
// - an empty PeekMessageA (nothing posted, nothing to paint) with 10,000
//   painted windows against 10: the ratio to watch is at most 1.5;
// - a child created and destroyed beside 10,000 siblings against beside
//   none: at most 1.5. The siblings stand apart from the child's place;
//   a hidden child and a shown one (which must still look at the siblings
//   above it to find what of it shows).
#include <windows.h>

#include <benchmark/benchmark.h>

namespace {

// Pumps until nothing is left (every window painted).
void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// A shown top-level window with `children` shown children in its lower part, all painted.
struct Crowd {
  HWND top = nullptr;
  explicit Crowd(int children) {
    top = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
    for (int i = 0; i < children; ++i)
      CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, (i % 40) * 10, 100 + (i / 40) % 20 * 10, 8, 8, top,
                      nullptr, nullptr, nullptr);
    pump();
  }
  ~Crowd() { DestroyWindow(top); }
  Crowd(const Crowd&) = delete;
  Crowd& operator=(const Crowd&) = delete;
};

void EmptyPeekMessage(benchmark::State& state) {
  Crowd crowd(static_cast<int>(state.range(0)));
  MSG m;
  for (auto _ : state) benchmark::DoNotOptimize(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) state.SkipWithError("the queue was not empty");
  state.SetLabel("windows of the process");
}
BENCHMARK(EmptyPeekMessage)->Arg(10)->Arg(10000);

// range(0): siblings; range(1): 1 for a shown child.
void CreateDestroyChild(benchmark::State& state) {
  Crowd crowd(static_cast<int>(state.range(0)));
  const DWORD style = WS_CHILD | (state.range(1) ? WS_VISIBLE : 0);
  for (auto _ : state) {
    HWND child = CreateWindowExA(0, "Static", "x", style, 20, 20, 30, 10, crowd.top, nullptr, nullptr, nullptr);
    if (!child || !DestroyWindow(child)) state.SkipWithError("no child");
  }
  pump();
  state.SetLabel(state.range(1) ? "siblings, shown child" : "siblings, hidden child");
}
BENCHMARK(CreateDestroyChild)->ArgsProduct({{0, 10000}, {0, 1}});

}  // namespace
