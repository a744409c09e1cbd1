// Creating and painting a thousand buttons of the custom control library
// against a thousand of the window system's standard "Button" class with the
// same captions, in one panel each time. The custom ones should cost at most
// twice as much.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ravlets.h"

namespace {

constexpr int kButtons = 1000;

const std::vector<std::string>& captions() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (int i = 0; i < kButtons; ++i) t.push_back("Button " + std::to_string(i));
    return t;
  }();
  return texts;
}

// Custom buttons get the push definition in front of their caption.
void createAndPaint(benchmark::State& state, const char* className, const char* prefix) {
  RavletsInit("KYWA721");
  std::vector<std::string> texts;
  for (const std::string& c : captions()) texts.push_back(prefix + c);
  for (auto _ : state) {
    state.PauseTiming();
    HWND panel = CreateWindowExA(0, "KYWA721Stat", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1000, 800,
                                 nullptr, nullptr, nullptr, nullptr);
    state.ResumeTiming();
    for (int i = 0; i < kButtons; ++i) {
      HWND b = CreateWindowExA(0, className, texts[i].c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, (i % 10) * 100,
                               (i / 10) * 8, 96, 24, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                               nullptr, nullptr);
      if (b == nullptr) state.SkipWithError("a button was not created");
      UpdateWindow(b);
    }
    state.PauseTiming();
    DestroyWindow(panel);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kButtons);
}

void StandardButtons(benchmark::State& state) { createAndPaint(state, "Button", ""); }
BENCHMARK(StandardButtons)->Unit(benchmark::kMillisecond);

void CustomButtons(benchmark::State& state) { createAndPaint(state, "KYWA721Butt", "441;"); }
BENCHMARK(CustomButtons)->Unit(benchmark::kMillisecond);

}  // namespace
