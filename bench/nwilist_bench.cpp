// The custom list with a hundred thousand items, each figure beside its
// baseline in the same run: adding the items (HLAddItem) against the
// layer's standard ListBox taking the same texts with LB_ADDSTRING; a
// repaint of the list scrolled to its middle with a thousand against a
// hundred thousand items; and sorting by code after the items are in.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "listcontrol.h"
#include "ravlets.h"

namespace {

HWND frame() {
  static HWND f = [] {
    RavletsInit("KYWA721");
    return CreateWindowExA(0, "Static", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr, nullptr,
                           nullptr);
  }();
  return f;
}

HWND makeStandard() {
  return CreateWindowExA(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 300, 300, frame(),
                         reinterpret_cast<HMENU>(1), nullptr, nullptr);
}

HWND makeCustom(const char* definition) {
  return CreateWindowExA(0, "KYWA721List", definition, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 300, 300, frame(),
                         reinterpret_cast<HMENU>(1), nullptr, nullptr);
}

// The item texts in a scrambled order, every key once.
const std::vector<std::string>& keys(int count) {
  static std::vector<std::string> texts;
  if (static_cast<int>(texts.size()) != count) {
    texts.clear();
    for (int i = 0; i < count; ++i) {
      char key[32];
      std::snprintf(key, sizeof key, "Item %06d", static_cast<int>((i * 7919LL) % count));
      texts.emplace_back(key);
    }
  }
  return texts;
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

template <typename Add>
void addLoop(benchmark::State& state, HWND (*make)(), Add add) {
  const int count = static_cast<int>(state.range(0));
  keys(count);
  for (auto _ : state) {
    HWND list = make();
    for (const std::string& k : keys(count)) benchmark::DoNotOptimize(add(list, k.c_str()));
    state.PauseTiming();
    DestroyWindow(list);
    pump();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}

void AddBaselineListBox(benchmark::State& state) {
  addLoop(state, makeStandard, [](HWND list, const char* text) {
    return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  });
}
BENCHMARK(AddBaselineListBox)->Arg(100000)->Unit(benchmark::kMillisecond);

void AddCustomList(benchmark::State& state) {
  addLoop(state, [] { return makeCustom("%ss"); }, [](HWND list, const char* text) { return HLAddItem(list, text); });
}
BENCHMARK(AddCustomList)->Arg(100000)->Unit(benchmark::kMillisecond);

// One full repaint of the list scrolled to its middle.
void RepaintCustomList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  HWND list = makeCustom("%ss");
  SendMessageA(list, KYM_LISTSETREDRAW, 0, 0);
  for (const std::string& k : keys(count)) HLAddItem(list, k.c_str());
  SendMessageA(list, KYM_LISTSETREDRAW, 1, 1);
  SendMessageA(list, KYM_LISTSETTOP, count / 2, 0);
  pump();
  for (auto _ : state) {
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
  }
  DestroyWindow(list);
}
BENCHMARK(RepaintCustomList)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Items with 32-bit codes added unsorted, then the style asks for the code order.
void SortByCodeAfterTheFact(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const auto& texts = keys(count);
  for (auto _ : state) {
    state.PauseTiming();
    HWND list = makeCustom("%ss%il");
    SendMessageA(list, KYM_LISTSETREDRAW, 0, 0);
    for (int i = 0; i < count; ++i) {
      const int32_t code = static_cast<int32_t>((i * 104729LL) % count);
      HLAddItemEx(list, texts[i].c_str(), &code);
    }
    state.ResumeTiming();
    SendMessageA(list, KYM_SETSTYLE, 0, WS_CHILD | WS_VISIBLE | WS_VSCROLL | HLS_SORTCODE);
    state.PauseTiming();
    DestroyWindow(list);
    pump();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(SortByCodeAfterTheFact)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
