// A list box with a hundred thousand items: adding them (unsorted, sorted,
// with LB_INITSTORAGE room made first) against the bare limit of the same
// work (a std::vector<std::string> appended to, or kept sorted through
// std::lower_bound), scrolling to the end and painting there, a paint of a
// list of a thousand against one of a hundred thousand items (the paint must
// cost the same), and a find in a sorted list of 100,000 against 1,000.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <strings.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

HWND frame() {
  static HWND f = CreateWindowExA(0, "Static", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr,
                                  nullptr, nullptr);
  return f;
}

HWND makeList(DWORD style) {
  return CreateWindowExA(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 0, 0, 300, 300, frame(),
                         (HMENU)1, nullptr, nullptr);
}

// The item texts in a scrambled order (every key once), so sorted adds land all over the list.
const std::vector<std::string>& keys(int count) {
  static std::vector<std::string> texts;
  if ((int)texts.size() != count) {
    texts.clear();
    texts.reserve((size_t)count);
    for (int i = 0; i < count; ++i) {
      char key[32];
      snprintf(key, sizeof key, "Item %06d", (int)((i * 7919LL) % count));
      texts.emplace_back(key);
    }
  }
  return texts;
}

void addAll(HWND lb, int count) {
  for (const std::string& k : keys(count)) benchmark::DoNotOptimize(SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)k.c_str()));
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

void AddUnsorted(benchmark::State& state) {
  int count = (int)state.range(0);
  keys(count);
  for (auto _ : state) {
    HWND lb = makeList(0);
    addAll(lb, count);
    state.PauseTiming();
    DestroyWindow(lb);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AddUnsorted)->Arg(100000)->Unit(benchmark::kMillisecond);

void AddSorted(benchmark::State& state) {
  int count = (int)state.range(0);
  keys(count);
  for (auto _ : state) {
    HWND lb = makeList(LBS_SORT);
    addAll(lb, count);
    state.PauseTiming();
    DestroyWindow(lb);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AddSorted)->Arg(100000)->Unit(benchmark::kMillisecond);

// Sorted adds of texts that arrive in order (a sorted query's rows).
void AddSortedInOrder(benchmark::State& state) {
  int count = (int)state.range(0);
  std::vector<std::string> ordered(keys(count));
  std::sort(ordered.begin(), ordered.end());
  for (auto _ : state) {
    HWND lb = makeList(LBS_SORT);
    for (const std::string& k : ordered) benchmark::DoNotOptimize(SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)k.c_str()));
    state.PauseTiming();
    DestroyWindow(lb);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AddSortedInOrder)->Arg(100000)->Unit(benchmark::kMillisecond);

void AddWithInitStorage(benchmark::State& state) {
  int count = (int)state.range(0);
  keys(count);
  for (auto _ : state) {
    HWND lb = makeList(0);
    SendMessageA(lb, LB_INITSTORAGE, count, count * 12);
    addAll(lb, count);
    state.PauseTiming();
    DestroyWindow(lb);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AddWithInitStorage)->Arg(100000)->Unit(benchmark::kMillisecond);

// Scrolling from the top to the end and painting what shows there.
void ScrollToEndAndPaint(benchmark::State& state) {
  int count = (int)state.range(0);
  HWND lb = makeList(0);
  SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
  addAll(lb, count);
  SendMessageA(lb, WM_SETREDRAW, TRUE, 0);
  pump();
  for (auto _ : state) {
    SendMessageA(lb, LB_SETTOPINDEX, 0, 0);
    SendMessageA(lb, WM_VSCROLL, SB_BOTTOM, 0);
    UpdateWindow(lb);
  }
  DestroyWindow(lb);
}
BENCHMARK(ScrollToEndAndPaint)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One full repaint of the list scrolled to its middle.
void PaintMiddle(benchmark::State& state) {
  int count = (int)state.range(0);
  HWND lb = makeList(0);
  SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
  addAll(lb, count);
  SendMessageA(lb, WM_SETREDRAW, TRUE, 0);
  SendMessageA(lb, LB_SETTOPINDEX, count / 2, 0);
  pump();
  for (auto _ : state) {
    InvalidateRect(lb, nullptr, TRUE);
    UpdateWindow(lb);
  }
  DestroyWindow(lb);
}
BENCHMARK(PaintMiddle)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The limits of adding: the texts appended to a vector, or inserted in
// case-insensitive order found by binary search.
void BaselineVectorAppend(benchmark::State& state) {
  int count = (int)state.range(0);
  keys(count);
  for (auto _ : state) {
    std::vector<std::string> items;
    for (const std::string& k : keys(count)) items.push_back(k);
    benchmark::DoNotOptimize(items.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BaselineVectorAppend)->Arg(100000)->Unit(benchmark::kMillisecond);

void BaselineVectorSortedInsert(benchmark::State& state) {
  int count = (int)state.range(0);
  keys(count);
  const auto less = [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; };
  for (auto _ : state) {
    std::vector<std::string> items;
    for (const std::string& k : keys(count)) items.insert(std::upper_bound(items.begin(), items.end(), k, less), k);
    benchmark::DoNotOptimize(items.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BaselineVectorSortedInsert)->Arg(100000)->Unit(benchmark::kMillisecond);

// LB_FINDSTRINGEXACT and LB_FINDSTRING of texts spread over a sorted list:
// 100,000 items against 1,000 (by halves: a few more comparisons).
void FindInSorted(benchmark::State& state) {
  int count = (int)state.range(0);
  HWND lb = makeList(LBS_SORT);
  SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
  addAll(lb, count);
  std::vector<std::string> sought;
  for (int i = 1; i < 8; ++i) {
    char key[32];
    snprintf(key, sizeof key, "item %06d", count * i / 8);
    sought.emplace_back(key);
  }
  for (auto _ : state) {
    for (const std::string& k : sought) {
      benchmark::DoNotOptimize(SendMessageA(lb, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)k.c_str()));
      benchmark::DoNotOptimize(SendMessageA(lb, LB_FINDSTRING, (WPARAM)-1, (LPARAM)k.c_str()));
    }
  }
  if (SendMessageA(lb, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)sought[0].c_str()) == LB_ERR)
    state.SkipWithError("a text of the list was not found");
  DestroyWindow(lb);
}
BENCHMARK(FindInSorted)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
