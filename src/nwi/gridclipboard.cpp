// Copy and paste of cell ranges as text: cells separated by tabs, rows
// ended by "\r\n", a null cell written NULL. A cell whose text holds a tab,
// a line end or a double quote, or is the text NULL itself, is written in
// double quotes (a quote inside doubled), so that every cell comes back as
// it went: a text "NULL" stays a text and a multi-line text stays one cell.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "grid.h"

namespace {

struct PastedCell {
  std::string text;
  bool null;
};
struct PastedLine {
  std::vector<PastedCell> cells;
  bool endsWithTab = false;  // its cells do not repeat: the rest are empty
};

bool needsQuotes(const std::string& text) {
  return text == "NULL" || text.find_first_of("\t\r\n\"") != std::string::npos || (!text.empty() && text[0] == '"');
}

void appendCell(std::string& out, const std::string& text) {
  if (!needsQuotes(text)) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// The shown display positions from `first` to `last`.
std::vector<int> shownPositions(const HGridRecord* r, int first, int last) {
  std::vector<int> positions;
  for (int p = std::max(first, 0); p <= last && p < HGColumnCount(r->data); ++p)
    if (!(HGColumnAtPosition(r->data, p)->flags & HGC_HIDDEN)) positions.push_back(p);
  return positions;
}

struct Range {
  std::vector<int> rows;
  std::vector<int> positions;
};

Range selectedRange(const HGridRecord* r) {
  Range range;
  if (r->data->options & HGO_ROWSELECT) {
    for (int row = 0; row < HGRowCount(r->data); ++row)
      if (r->data->rows[static_cast<size_t>(row)].flags & HGR_SELECTED) range.rows.push_back(row);
    range.positions = shownPositions(r, 0, HGColumnCount(r->data) - 1);
    return range;
  }
  const int a = HGPositionOfColumn(r->data, r->anchorColumn), c = HGPositionOfColumn(r->data, r->currentColumn);
  const bool whole = r->anchorColumn < 0 || r->currentColumn < 0;
  range.positions = whole ? shownPositions(r, 0, HGColumnCount(r->data) - 1)
                          : shownPositions(r, std::min(a, c), std::max(a, c));
  const int top = std::max(std::min(r->anchorRow, r->currentRow), 0);
  const int bottom = std::max(r->anchorRow, r->currentRow) < 0 ? HGRowCount(r->data) - 1
                                                                : std::max(r->anchorRow, r->currentRow);
  for (int row = top; row <= bottom && row < HGRowCount(r->data); ++row) range.rows.push_back(row);
  return range;
}

// Splits pasted text into lines of cells. A line end is one CR and/or one
// LF; quoted cells may hold tabs and line ends.
std::vector<PastedLine> parse(const char* p) {
  std::vector<PastedLine> lines(1);
  while (*p != '\0') {
    PastedCell cell{"", false};
    const bool quoted = *p == '"';
    if (quoted) {
      for (++p; *p != '\0'; ++p) {
        if (*p == '"' && p[1] != '"') {
          ++p;
          break;
        }
        if (*p == '"') ++p;  // a doubled quote stands for one
        cell.text += *p;
      }
    }
    while (*p != '\0' && *p != '\t' && *p != '\r' && *p != '\n') cell.text += *p++;
    cell.null = !quoted && cell.text == "NULL";
    lines.back().cells.push_back(cell);
    if (*p == '\t') {
      ++p;
      if (*p == '\0' || *p == '\r' || *p == '\n') {
        lines.back().cells.push_back({"", false});
        lines.back().endsWithTab = true;
      } else {
        continue;
      }
    }
    if (*p == '\r' || *p == '\n') {
      if (*p == '\r' && p[1] == '\n') ++p;
      ++p;
      if (*p != '\0') lines.emplace_back();
    }
  }
  if (lines.back().cells.empty()) lines.pop_back();
  return lines;
}

std::string clipboardText(HWND owner) {
  std::string text;
  if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      text.assign(bytes, strnlen(bytes, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool writable(const HGridRecord* r, int position) {
  const HGField* f = HGColumnAtPosition(r->data, position);
  return f != nullptr && !(f->flags & (HGC_HIDDEN | HGC_READONLY));
}

}  // namespace

void HGCopy(HGridRecord* r) {
  const Range range = selectedRange(r);
  std::string out;
  for (int row : range.rows) {
    for (size_t i = 0; i < range.positions.size(); ++i) {
      const int column = HGColumnAtPositionIndex(r->data, range.positions[i]);
      HGCellState state{};
      HGGetCellState(r->head.window, range.positions[i], row, &state);
      if (state.marks & HGM_NULL) {
        out += "NULL";
      } else {
        char text[258] = "";
        HGCellText(r, column, row, text, sizeof text);
        appendCell(out, text);
      }
      out += i + 1 < range.positions.size() ? "\t" : "\r\n";
    }
  }
  if (!OpenClipboard(r->head.window)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, out.size() + 1);
  char* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (bytes != nullptr) {
    std::memcpy(bytes, out.c_str(), out.size() + 1);
    GlobalUnlock(block);
    if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
  } else if (block != nullptr) {
    GlobalFree(block);
  }
  CloseClipboard();
}

void HGPaste(HGridRecord* r) {
  if (r->data->options & HGO_READONLY) {
    MessageBeep(0);
    return;
  }
  const std::vector<PastedLine> lines = parse(clipboardText(r->head.window).c_str());
  if (lines.empty()) return;
  Range range = selectedRange(r);
  if (range.rows.empty() || range.positions.empty()) return;
  // First walk: check the cell counts and size the range.
  size_t widest = 1;
  for (const PastedLine& line : lines) {
    const size_t count = line.cells.size();
    if (range.positions.size() > 1 && count != 1 && count != range.positions.size()) {
      MessageBeep(0);
      return;
    }
    widest = std::max(widest, count);
  }
  if (widest > range.positions.size()) {
    std::vector<int> wider = shownPositions(r, range.positions.front(), HGColumnCount(r->data) - 1);
    wider.resize(std::min(wider.size(), widest));
    range.positions = wider;
  }
  if (range.rows.size() == 1 && lines.size() > 1)
    for (int row = range.rows.front() + 1;
         row < HGRowCount(r->data) && range.rows.size() < lines.size(); ++row)
      range.rows.push_back(row);
  // Second walk: the block repeats to fill the range.
  HWND window = r->head.window;
  for (size_t i = 0; i < range.rows.size(); ++i) {
    const PastedLine& line = lines[i % lines.size()];
    for (size_t j = 0; j < range.positions.size(); ++j) {
      const int position = range.positions[j];
      if (!writable(r, position)) continue;
      static const PastedCell kEmpty{"", false};
      const PastedCell& cell = j >= line.cells.size() && line.endsWithTab ? kEmpty : line.cells[j % line.cells.size()];
      const int column = HGColumnAtPositionIndex(r->data, position);
      const int stored = cell.null ? HGSetCell(r, column, range.rows[i], nullptr)
                                   : HGSetCellFromText(r, column, range.rows[i], cell.text.c_str());
      if (HGRecordOf(window) != r) return;
      if (stored == 0) {
        MessageBeep(0);
        InvalidateRect(window, nullptr, FALSE);
        return;
      }
    }
  }
  if (!(r->data->options & HGO_ROWSELECT)) {
    r->anchorRow = range.rows.front();
    r->currentRow = range.rows.back();
    r->anchorColumn = HGColumnAtPositionIndex(r->data, range.positions.front());
    r->currentColumn = HGColumnAtPositionIndex(r->data, range.positions.back());
    if (range.rows.size() > 1 || range.positions.size() > 1) r->head.flags |= HGF_RANGESELECTED;
  }
  HGLoadField(r);
  InvalidateRect(window, nullptr, FALSE);
}
