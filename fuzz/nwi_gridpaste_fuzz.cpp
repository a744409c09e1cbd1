// Pasting arbitrary text into a grid of texts, numbers and dates, with an
// arbitrary selection. Beyond "no crash, no sanitizer report" it checks that
// the grid keeps its rows and columns, that every cell still reads back as
// text within its bounds, and that copying what was pasted and pasting it
// again over the same range changes no cell.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "grid.h"
#include "ravlets.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void putOnClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

std::vector<std::string> cells(HWND grid, int rows, int columns) {
  std::vector<std::string> all;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      char text[300];
      std::memset(text, 0x7F, sizeof text);
      const int length = HGGetCellText(grid, c, r, text, 258);
      require(length >= 0 && length < 258 && text[length] == '\0');
      all.emplace_back(text);
    }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = RavletsInit("FUZZ");
  if (!ready || size < 4) return 0;
  HWND grid = CreateWindowExA(0, "FUZZGrid", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  require(grid != nullptr);
  const struct {
    char type, storage;
    int length;
    const char* picture;
  } kColumns[] = {{'s', 's', 6, ""}, {'i', 'l', 0, ""}, {'n', 'd', 0, "#.00"}, {'d', 'l', 0, ""}, {'s', 's', 12, "#.0"}};
  for (const auto& c : kColumns)
    SendMessageA(grid, KYM_GRIDADDFIELD, 0,
                 reinterpret_cast<LPARAM>(HGFieldCreate("T", 0, 40, 40, c.type, c.storage, c.type, c.storage, c.length,
                                                        'e', 0, c.picture)));
  constexpr int kRows = 6, kColumnCount = 5;
  for (int r = 0; r < kRows; ++r) SendMessageA(grid, KYM_GRIDAPPENDROW, 0, 0);
  HGridRecord* r = HGRecordOf(grid);
  require(r != nullptr);
  const int c1 = data[0] % kColumnCount, r1 = data[1] % kRows, c2 = data[2] % kColumnCount, r2 = data[3] % kRows;
  SendMessageA(grid, KYM_GRIDSETCURSEL, 0, MAKELONG(c1, r1));
  SendMessageA(grid, KYM_GRIDSETCURSEL, 1, MAKELONG(c2, r2));
  putOnClipboard(grid, std::string(reinterpret_cast<const char*>(data + 4), size - 4).c_str());
  HGPaste(r);
  require(SendMessageA(grid, KYM_GRIDROWCOUNT, 0, 0) == kRows);
  require(SendMessageA(grid, KYM_GRIDCOLUMNCOUNT, 0, 0) == kColumnCount);
  const std::vector<std::string> pasted = cells(grid, kRows, kColumnCount);
  SendMessageA(grid, KYM_GRIDSETCURSEL, 0, MAKELONG(c1, r1));
  SendMessageA(grid, KYM_GRIDSETCURSEL, 1, MAKELONG(c2, r2));
  HGCopy(r);
  SendMessageA(grid, KYM_GRIDSETCURSEL, 0, MAKELONG(c1, r1));
  SendMessageA(grid, KYM_GRIDSETCURSEL, 1, MAKELONG(c2, r2));
  HGPaste(r);
  require(cells(grid, kRows, kColumnCount) == pasted);
  DestroyWindow(grid);
  // The clipboard's block is freed by emptying it: none is left for the leak check at exit.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  return 0;
}
