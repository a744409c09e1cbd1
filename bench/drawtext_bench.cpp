// Painting 100 lines of text with DrawTextA into an 800x600 memory bitmap,
// against the limit: cairo drawing the same lines' glyphs in the same face
// and size into an image surface of the same size.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

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

void BM_CairoShowText100Lines(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  std::vector<std::string> lines;
  std::istringstream in(hundredLines());
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find('\r')));
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    double y = 11;
    for (const std::string& line : lines) {
      cairo_move_to(cr, 0, y);
      cairo_show_text(cr, line.c_str());
      y += 13;
    }
    cairo_surface_flush(surface);
  }
  state.SetItemsProcessed(state.iterations() * 100);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_CairoShowText100Lines)->Unit(benchmark::kMicrosecond);

}  // namespace
