// DrawTextA of 100 lines of double-byte text (code page 932: kana and
// ideographs, each drawn through the fallback face) against 100 lines of
// single-byte text (text that reads the same in code page 1252) in the same
// run, process and font: lines with as many characters (half as many bytes
// and half the width: the double-byte lines have twice the glyph area to
// blend) and lines with as many bytes (about the same width). The ratios
// Dbcs / SingleByte and Dbcs / SingleByteSameBytes are the figures. The ANSI
// code page comes from KY_ACP, read once per process.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

constexpr size_t kCharacters = 56;  // a line, after its number

std::string singleByteLine(size_t characters) {
  std::string line;
  while (line.size() < characters) line += "The quick brown fox jumps over the lazy dog, and again. ";
  return line.substr(0, characters);
}

// 素早い茶色の狐がのろまな犬を飛び越える、もう一度。 in code page 932, repeated to the same count.
std::string doubleByteLine() {
  const char phrase[] =
      "\x91\x66\x91\x81\x82\xa2\x92\x83\x90\x46\x82\xcc\x8c\xcf\x82\xaa\x82\xcc\x82\xeb\x82\xdc\x82\xc8\x8c\xa2"
      "\x82\xf0\x94\xf2\x82\xd1\x89\x7a\x82\xa6\x82\xe9\x81\x41\x82\xe0\x82\xa4\x88\xea\x93\x78\x81\x42";
  std::string line;
  while (line.size() < 2 * kCharacters) line += phrase;
  return line.substr(0, 2 * kCharacters);
}

std::string hundredLines(const std::string& line) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += std::to_string(i) + ": " + line + "\r\n";
  return text;
}

void drawHundredLines(benchmark::State& state, const std::string& text) {
  if (!kAcpSet || GetACP() != 932) {
    state.SkipWithError("code page 932 is not the ANSI code page");
    return;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(800, 1400, 1, 32, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ oldFont = SelectObject(dc, font);
  const UINT format = static_cast<UINT>(state.range(0));
  for (auto _ : state) {
    PatBlt(dc, 0, 0, 800, 1400, WHITENESS);
    RECT r{0, 0, 800, 1400};
    benchmark::DoNotOptimize(DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format));
  }
  state.SetItemsProcessed(state.iterations() * 100);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void BM_SingleByte100Lines(benchmark::State& state) {
  drawHundredLines(state, hundredLines(singleByteLine(kCharacters)));
}
void BM_SingleByteSameBytes100Lines(benchmark::State& state) {
  drawHundredLines(state, hundredLines(singleByteLine(2 * kCharacters)));
}
void BM_Dbcs100Lines(benchmark::State& state) { drawHundredLines(state, hundredLines(doubleByteLine())); }

// Plain lines, then word-wrapped ones (the double-byte lines wrap nowhere:
// they fit, as the single-byte ones do).
BENCHMARK(BM_SingleByte100Lines)->Arg(DT_LEFT)->Arg(DT_WORDBREAK)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SingleByteSameBytes100Lines)->Arg(DT_LEFT)->Arg(DT_WORDBREAK)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dbcs100Lines)->Arg(DT_LEFT)->Arg(DT_WORDBREAK)->Unit(benchmark::kMicrosecond);

}  // namespace
