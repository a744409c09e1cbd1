// Repainting a panel's grid control (HGrid::Repaint, then the paint) with
// 100 rows against 100,000 rows. Rows come from the grid's owner (virtual
// mode: a grid holds at most 32,760 rows of its own), standing in the
// middle of the rows. The larger grid should cost at most 1.1 times as much.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "grid.h"
#include "gridpanel.h"

namespace {

// Each cell of a row is made from the row's number, in texts of the same
// length for both grids (what is measured is the count of rows, not the
// count of glyphs).
LONG CALLBACK rowsByNumber(HWND, int operation, LONG argument, void* values) {
  if (operation != HGV_FETCH) return 1;
  BYTE* row = static_cast<BYTE*>(values);
  std::snprintf(reinterpret_cast<char*>(row), 21, "row %06ld", static_cast<long>(argument));
  const int32_t number = argument % 1000;
  std::memcpy(row + 21, &number, sizeof number);
  return 1;
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void RepaintPanelGrid(benchmark::State& state) {
  kybench::GridPanel panel(false);
  HWND grid = panel.grid()->GetWindowHandle();
  const auto rows = static_cast<LONG>(state.range(0));
  SendMessageA(grid, KYM_GRIDSETCALLBACK, 0, reinterpret_cast<LPARAM>(&rowsByNumber));
  SendMessageA(grid, KYM_GRIDSETVROWCOUNT, 0, rows);
  SendMessageA(grid, KYM_GRIDSETTOPROW, static_cast<WPARAM>(rows / 2), 0);
  pump();
  for (auto _ : state) {
    panel.grid()->Repaint();
    UpdateWindow(grid);
  }
}
BENCHMARK(RepaintPanelGrid)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
