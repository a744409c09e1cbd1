// Painting 100 lines of text with DrawTextA into an 800x600 memory bitmap.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <string>

namespace {

std::string hundredLines() {
  std::string text;
  for (int i = 0; i < 100; ++i) {
    text += "Line " + std::to_string(i) + ": The quick brown fox jumps over the lazy dog, &again.\r\n";
  }
  return text;
}

void BM_DrawText100Lines(benchmark::State& state) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(800, 600, 1, 32, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ oldFont = SelectObject(dc, font);
  const std::string text = hundredLines();
  const UINT format = static_cast<UINT>(state.range(0));
  for (auto _ : state) {
    PatBlt(dc, 0, 0, 800, 600, WHITENESS);
    RECT r{0, 0, 800, 600};
    benchmark::DoNotOptimize(DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format));
  }
  state.SetItemsProcessed(state.iterations() * 100);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// Plain lines, then word-wrapped ones.
BENCHMARK(BM_DrawText100Lines)->Arg(DT_LEFT)->Arg(DT_WORDBREAK)->Unit(benchmark::kMicrosecond);

}  // namespace
