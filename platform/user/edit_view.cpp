// What an edit control shows: its formatting rectangle, the position of
// characters on screen, scrolling, the caret and painting.
#include "control.h"
#include "edit.h"

#include <algorithm>

namespace win32::user::edit {
namespace {

int formatWidth(const Edit& e) { return std::max(1, (int)(e.format.right - e.format.left)); }

bool wrapsLines(const Edit& e) { return e.multiLine() && !(e.style() & (ES_AUTOHSCROLL | WS_HSCROLL)); }

// The indent of a line from ES_CENTER / ES_RIGHT.
int alignOffset(const Edit& e, const Line& line) {
  DWORD style = e.style();
  int room = formatWidth(e) - line.width;
  if (room <= 0) return 0;
  if (style & ES_RIGHT) return room;
  if (style & ES_CENTER) return room / 2;
  return 0;
}

int lineLeft(const Edit& e, const Line& line) { return (int)e.format.left + alignOffset(e, line) - e.xOffset; }

int widestLine(const Edit& e) {
  int widest = 0;
  for (const Line& l : e.lines) widest = std::max(widest, l.width);
  return widest;
}

// Draws the bytes [from, to) of a line, `x` pixels from its start, its left
// edge at `left`, tabs expanded; answers the pixel where the piece ends.
int drawPiece(const Edit& e, HDC dc, size_t from, size_t to, int x, int left, int top, bool selected) {
  if (from >= to) return x;
  std::string shown = displayText(e, from, to - from);
  int startX = x;
  std::string run;
  int runX = x;
  auto flush = [&] {
    if (!run.empty()) TextOutA(dc, left + runX, top, run.c_str(), (int)run.size());
    run.clear();
  };
  for (size_t i = 0, n = 1; i < shown.size(); i += n) {
    int w = advanceAt(e, shown, i, x, n);
    if (shown[i] == '\t' && e.multiLine()) {
      flush();
      runX = x + w;
    } else {
      if (run.empty()) runX = x;
      run.append(shown, i, n);
    }
    x += w;
  }
  if (selected) {
    RECT r{left + startX, top, left + x, top + e.lineHeight};
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  flush();
  return x;
}

// Characters drawn beyond each side of what shows, for glyphs that overhang their advance.
constexpr int kOverhangChars = 2;

}  // namespace

void initMetrics(Edit& e) {
  if (!e.measureDC) e.measureDC = CreateCompatibleDC(nullptr);
  SelectObject(e.measureDC, control::fontOrSystem(e.font));
  TEXTMETRICA tm{};
  GetTextMetricsA(e.measureDC, &tm);
  e.lineHeight = tm.tmHeight > 0 ? tm.tmHeight : 16;
  e.averageCharWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 8;
  e.pairWidths.clear();
  for (int c = 0; c < 256; ++c) {
    char ch = (char)c;
    SIZE size{};
    GetTextExtentPoint32A(e.measureDC, &ch, 1, &size);
    e.charWidths[c] = size.cx;
  }
}

void resetFormatRect(Edit& e) {
  RECT client{};
  GetClientRect(e.hwnd, &client);
  e.format = client;
  e.format.left += e.leftMargin;
  e.format.right -= e.rightMargin;
  if (e.format.right < e.format.left) e.format.right = e.format.left;
  if (!e.multiLine()) {
    // A single line keeps its text at the top, one line high.
    e.format.bottom = std::min(client.bottom, e.format.top + e.lineHeight);
  }
}

int visibleLines(const Edit& e) { return std::max(1, (int)(e.format.bottom - e.format.top) / std::max(1, e.lineHeight)); }

POINT posFromChar(const Edit& e, size_t pos) {
  size_t index = lineFromChar(e, pos);
  const Line& line = e.lines[index];
  int x = lineLeft(e, line) + prefixWidth(e, line, std::min(pos, line.start + line.length) - line.start);
  int y = (int)e.format.top + ((int)index - (int)e.firstLine) * e.lineHeight;
  return POINT{x, y};
}

size_t charFromPoint(const Edit& e, POINT p) {
  long long row = (long long)e.firstLine + (p.y >= e.format.top ? (p.y - e.format.top) / e.lineHeight : -1);
  row = std::clamp<long long>(row, 0, (long long)e.lines.size() - 1);
  const Line& line = e.lines[(size_t)row];
  int along = p.x - lineLeft(e, line);
  int x = 0;
  size_t pos = charAtPixel(e, line, along, x);
  if (pos >= line.start + line.length) return pos;
  size_t next = nextChar(e, pos);
  int w = prefixWidth(e, line, next - line.start) - x;
  return along < x + w / 2 + (w % 2) ? pos : next;
}

bool scrollCaretIntoView(Edit& e) {
  bool scrolled = false;
  if (e.multiLine()) {
    size_t line = lineFromChar(e, e.caret);
    size_t shown = (size_t)visibleLines(e);
    if (line < e.firstLine) {
      e.firstLine = line;
      scrolled = true;
    } else if (line >= e.firstLine + shown) {
      e.firstLine = line - shown + 1;
      scrolled = true;
    }
  }
  bool horizontal = e.multiLine() ? !wrapsLines(e) : (e.style() & ES_AUTOHSCROLL) != 0;
  if (horizontal) {
    const Line& line = e.lines[lineFromChar(e, e.caret)];
    int x = alignOffset(e, line) + prefixWidth(e, line, e.caret - line.start);
    int width = formatWidth(e);
    // The view jumps by a third of its width, as Windows edits do, so typing does not scroll at every key.
    if (x < e.xOffset) {
      e.xOffset = std::max(0, x - width / 3);
      scrolled = true;
    } else if (x >= e.xOffset + width) {
      e.xOffset = x - width + width / 3;
      scrolled = true;
    }
  } else if (e.xOffset) {
    e.xOffset = 0;
    scrolled = true;
  }
  if (scrolled) {
    InvalidateRect(e.hwnd, nullptr, TRUE);
    updateScrollBars(e);
  }
  return scrolled;
}

int scrollLines(Edit& e, long long delta) {
  if (!e.multiLine()) return 0;
  long long last = std::max<long long>(0, (long long)e.lines.size() - 1);
  long long target = std::clamp<long long>((long long)e.firstLine + delta, 0, last);
  int moved = (int)(target - (long long)e.firstLine);
  if (moved) {
    e.firstLine = (size_t)target;
    InvalidateRect(e.hwnd, nullptr, TRUE);
    updateScrollBars(e);
    placeCaret(e);
  }
  return moved;
}

void scrollHorizontally(Edit& e, int pixels) {
  int target = std::clamp(e.xOffset + pixels, 0, std::max(0, widestLine(e)));
  if (target == e.xOffset) return;
  e.xOffset = target;
  InvalidateRect(e.hwnd, nullptr, TRUE);
  updateScrollBars(e);
  placeCaret(e);
}

namespace {

void setBar(HWND hwnd, int bar, int max, int page, int pos) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, max, (UINT)page, pos, 0};
  SetScrollInfo(hwnd, bar, &si, TRUE);
}

}  // namespace

void updateScrollBars(Edit& e) {
  DWORD style = e.style();
  if (!e.multiLine()) return;
  if (style & WS_VSCROLL) setBar(e.hwnd, SB_VERT, std::max(0, (int)e.lines.size() - 1), visibleLines(e), (int)e.firstLine);
  if (style & WS_HSCROLL) setBar(e.hwnd, SB_HORZ, widestLine(e), formatWidth(e), e.xOffset);
}

void placeCaret(Edit& e) {
  if (!e.focused) return;
  POINT p = posFromChar(e, e.caret);
  SetCaretPos(p.x, p.y);
}

void paint(Edit& e, HDC dc) {
  DWORD style = e.style();
  bool enabled = IsWindowEnabled(e.hwnd) != FALSE;
  // Read-only and disabled edits are coloured like statics, as in Windows.
  UINT colorMessage = (!enabled || (style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  int saved = SaveDC(dc);
  SelectObject(dc, control::fontOrSystem(e.font));
  HBRUSH brush = control::colorBrush(e.hwnd, dc, colorMessage);
  RECT client{};
  GetClientRect(e.hwnd, &client);
  FillRect(dc, &client, brush);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  COLORREF normalText = GetTextColor(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, e.format.left, e.format.top, e.format.right, e.format.bottom);
  // Only what the clip shows is measured and drawn: rows and characters outside it are skipped.
  RECT clip{};
  if (GetClipBox(dc, &clip) == NULLREGION) {
    RestoreDC(dc, saved);
    return;
  }
  bool showSelection = e.selStart() != e.selEnd() && (e.focused || (style & ES_NOHIDESEL));
  size_t shownLines = (size_t)visibleLines(e) + 1;
  long long fromRow = std::max<long long>(0, (clip.top - e.format.top) / std::max(1, e.lineHeight));
  for (size_t i = e.firstLine + (size_t)fromRow; i < e.lines.size() && i < e.firstLine + shownLines; ++i) {
    const Line& line = e.lines[i];
    int top = (int)e.format.top + (int)(i - e.firstLine) * e.lineHeight;
    if (top >= clip.bottom) break;
    int left = lineLeft(e, line);
    size_t end = line.start + line.length;
    int x = 0;
    size_t begin = charAtPixel(e, line, clip.left - left, x);
    int unused = 0;
    size_t stop = charAtPixel(e, line, clip.right - left, unused);
    for (int n = 0; n < kOverhangChars && begin > line.start; ++n) begin = prevChar(e, begin);
    for (int n = 0; n <= kOverhangChars && stop < end; ++n) stop = nextChar(e, stop);
    x = prefixWidth(e, line, begin - line.start);
    size_t selFrom = showSelection ? std::clamp(e.selStart(), begin, stop) : stop;
    size_t selTo = showSelection ? std::clamp(e.selEnd(), begin, stop) : stop;
    x = drawPiece(e, dc, begin, selFrom, x, left, top, false);
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    x = drawPiece(e, dc, selFrom, selTo, x, left, top, true);
    SetTextColor(dc, normalText);
    drawPiece(e, dc, selTo, stop, x, left, top, false);
  }
  RestoreDC(dc, saved);
}

}  // namespace win32::user::edit
