// The grid, each figure beside its baseline in the same run:
// - a repaint of a virtual grid over 100 against 100,000 rows, scrolled to
//   the middle (painting touches the visible rows only);
// - scrolling a virtual grid of 100,000 rows from its top to its end;
// - loading 100,000 rows of ten 32-bit cells through the HG exports (four
//   grids of 25,000 rows: a grid holds at most 32,760) against building the
//   same cells in a std::vector;
// - sorting a grid of 32,760 rows (the most it holds) by one key against
//   std::stable_sort of the same keys;
// - the file store paging 100 MB out and back in 4 KB row buffers (each
//   written out once and read back once) against plain write and read of
//   the same pieces.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "grid.h"
#include "gridstore.h"
#include "ravlets.h"

namespace {

HWND frame() {
  static HWND f = [] {
    RavletsInit("KYWA721");
    return CreateWindowExA(0, "Static", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                           nullptr);
  }();
  return f;
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

HWND makeGrid(int columns, DWORD options = HGO_TITLES | HGO_ROWHEADER) {
  HWND grid = CreateWindowExA(0, "KYWA721Grid", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | options, 0, 0, 600, 400,
                              frame(), reinterpret_cast<HMENU>(1), nullptr, nullptr);
  for (int c = 0; c < columns; ++c) {
    const std::string title = "C" + std::to_string(c);
    HGField* field = HGFieldCreate(title.c_str(), 0, 55, 100, 'i', 'l', 'i', 'l', 0, 'e', 0, "");
    SendMessageA(grid, KYM_GRIDADDFIELD, 0, reinterpret_cast<LPARAM>(field));
  }
  return grid;
}

LONG CALLBACK rowsByNumber(HWND, int operation, LONG argument, void* values) {
  if (operation != HGV_FETCH) return 1;
  for (int c = 0; c < 4; ++c) {
    const int32_t value = argument * 10 + c;
    std::memcpy(static_cast<BYTE*>(values) + 4 * c, &value, 4);
  }
  return 1;
}

HWND makeVirtual(LONG rows) {
  HWND grid = makeGrid(4);
  SendMessageA(grid, KYM_GRIDSETCALLBACK, 0, reinterpret_cast<LPARAM>(&rowsByNumber));
  SendMessageA(grid, KYM_GRIDSETVROWCOUNT, 0, rows);
  return grid;
}

void RepaintVirtualGrid(benchmark::State& state) {
  const auto rows = static_cast<LONG>(state.range(0));
  HWND grid = makeVirtual(rows);
  SendMessageA(grid, KYM_GRIDSETTOPROW, static_cast<WPARAM>(rows / 2), 0);
  pump();
  for (auto _ : state) {
    InvalidateRect(grid, nullptr, TRUE);
    UpdateWindow(grid);
  }
  DestroyWindow(grid);
  pump();
}
BENCHMARK(RepaintVirtualGrid)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

void ScrollVirtualGridToTheEnd(benchmark::State& state) {
  HWND grid = makeVirtual(100000);
  for (auto _ : state) {
    SendMessageA(grid, KYM_GRIDSETTOPROW, 100000, 0);
    state.PauseTiming();
    SendMessageA(grid, KYM_GRIDSETTOPROW, 0, 0);
    state.ResumeTiming();
  }
  DestroyWindow(grid);
  pump();
}
BENCHMARK(ScrollVirtualGridToTheEnd)->Unit(benchmark::kMicrosecond);

constexpr int kLoadRows = 100000;
constexpr int kRowsPerGrid = 25000;
constexpr int kColumns = 10;

void LoadBaselineVector(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::array<int32_t, kColumns>> cells;
    for (int r = 0; r < kLoadRows; ++r) {
      cells.emplace_back();
      for (int c = 0; c < kColumns; ++c) cells.back()[static_cast<size_t>(c)] = r * kColumns + c;
    }
    benchmark::DoNotOptimize(cells.data());
  }
  state.SetItemsProcessed(state.iterations() * kLoadRows);
}
BENCHMARK(LoadBaselineVector)->Unit(benchmark::kMillisecond);

void LoadThroughTheExports(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<HWND> grids;
    for (int r = 0; r < kLoadRows; ++r) {
      if (r % kRowsPerGrid == 0) grids.push_back(makeGrid(kColumns, 0));
      HWND grid = grids.back();
      const int row = static_cast<int>(SendMessageA(grid, KYM_GRIDAPPENDROW, 0, 0)) - 1;
      for (int c = 0; c < kColumns; ++c) {
        const int32_t value = r * kColumns + c;
        HGSetCellData(grid, c, row, &value);
      }
    }
    state.PauseTiming();
    for (HWND grid : grids) DestroyWindow(grid);
    pump();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLoadRows);
}
BENCHMARK(LoadThroughTheExports)->Unit(benchmark::kMillisecond);

int32_t scrambled(int i) { return static_cast<int32_t>((i * 7919LL) % kHGMaxRows); }

void SortBaselineStableSort(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int32_t> keys(kHGMaxRows);
    for (int i = 0; i < kHGMaxRows; ++i) keys[static_cast<size_t>(i)] = scrambled(i);
    state.ResumeTiming();
    std::stable_sort(keys.begin(), keys.end());
    benchmark::DoNotOptimize(keys.data());
  }
}
BENCHMARK(SortBaselineStableSort)->Unit(benchmark::kMillisecond);

void SortGridByOneKey(benchmark::State& state) {
  HWND grid = makeGrid(1, 0);
  for (int i = 0; i < kHGMaxRows; ++i) SendMessageA(grid, KYM_GRIDAPPENDROW, 0, 0);
  const HGSortKey key{0, 1};
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < kHGMaxRows; ++i) {
      const int32_t value = scrambled(i);
      HGSetCellData(grid, 0, i, &value);
    }
    state.ResumeTiming();
    SendMessageA(grid, KYM_GRIDSORT, 1, reinterpret_cast<LPARAM>(&key));
  }
  DestroyWindow(grid);
  pump();
}
BENCHMARK(SortGridByOneKey)->Unit(benchmark::kMillisecond);

constexpr size_t kPagedBytes = 100u << 20;
constexpr DWORD kPiece = 4096;

void PagingBaselineWriteRead(benchmark::State& state) {
  std::vector<BYTE> piece(kPiece, 0x5A);
  for (auto _ : state) {
    char name[] = "/tmp/gridbenchXXXXXX";
    const int fd = mkstemp(name);
    for (size_t at = 0; at < kPagedBytes; at += kPiece) benchmark::DoNotOptimize(write(fd, piece.data(), kPiece));
    lseek(fd, 0, SEEK_SET);
    for (size_t at = 0; at < kPagedBytes; at += kPiece) benchmark::DoNotOptimize(read(fd, piece.data(), kPiece));
    close(fd);
    unlink(name);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPagedBytes * 2));
}
BENCHMARK(PagingBaselineWriteRead)->Unit(benchmark::kMillisecond);

void PagingThroughTheStore(benchmark::State& state) {
  for (auto _ : state) {
    GridStorePtr store(GridStoreCreate(1000));  // 1 MB in memory: the rest goes out
    std::vector<GridMemoryObject*> objects;
    for (size_t at = 0; at < kPagedBytes; at += kPiece) {
      GridMemoryObject* object = GridObjectCreate(store.get(), kPiece);
      std::memset(GridObjectLock(object), 0x5A, kPiece);
      GridObjectUnlock(object);
      objects.push_back(object);
    }
    // Back in, each once: a row read back and let go.
    for (GridMemoryObject* object : objects) {
      benchmark::DoNotOptimize(GridObjectLock(object));
      GridObjectUnlock(object);
      GridObjectFree(object);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPagedBytes * 2));
}
BENCHMARK(PagingThroughTheStore)->Unit(benchmark::kMillisecond);

}  // namespace
