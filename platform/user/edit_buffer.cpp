// The text of an edit control: character steps that keep double-byte
// characters and "\r\n" whole, words, lines with their wrapping, and
// replacing the selection with the limit and one level of undo.
#include "edit.h"

#include <internal/codepage.h>

#include <algorithm>

namespace win32::user::edit {
namespace {

bool isBreakAt(const std::string& t, size_t pos) { return pos + 1 < t.size() && t[pos] == '\r' && t[pos + 1] == '\n'; }

// A character boundary at or before `pos`, near it: just after the nearest
// byte that cannot lead a double-byte character (that byte ends a character
// of its own or a pair), and never between the two bytes of "\r\n".
size_t knownBoundary(const std::string& t, size_t pos) {
  size_t at = pos;
  while (at > 0 && win32::isAnsiLeadByte((unsigned char)t[at - 1])) --at;
  if (at > 0 && at < t.size() && t[at - 1] == '\r' && t[at] == '\n') --at;
  return at;
}

size_t charLength(const std::string& t, size_t pos) {
  if (isBreakAt(t, pos)) return 2;
  return win32::ansiCharLength(t.c_str() + pos);
}

enum class CharClass { space, lineBreak, word };

CharClass classAt(const std::string& t, size_t pos) {
  char c = t[pos];
  if (c == '\r' || c == '\n') return CharClass::lineBreak;
  if (c == ' ' || c == '\t') return CharClass::space;
  return CharClass::word;
}

bool wraps(const Edit& e) {
  return e.multiLine() && !(e.style() & (ES_AUTOHSCROLL | WS_HSCROLL));
}

// Splits one hard line [start, end) into display lines no wider than `width`,
// breaking after spaces where possible and between characters otherwise.
void wrapLine(const Edit& e, size_t start, size_t end, int width, std::vector<Line>& out) {
  while (true) {
    int x = 0;
    size_t pos = start, lastBreak = std::string::npos;
    while (pos < end) {
      size_t next = nextChar(e, pos);
      std::string shown = displayText(e, pos, next - pos);
      int w = 0;
      for (size_t i = 0, n = 1; i < shown.size(); i += n) w += advanceAt(e, shown, i, x + w, n);
      bool isSpace = classAt(e.text, pos) == CharClass::space;
      if (x + w > width && !isSpace && pos > start) break;
      x += w;
      pos = next;
      if (isSpace && (pos >= end || classAt(e.text, pos) != CharClass::space)) lastBreak = pos;
    }
    if (pos >= end) {
      out.push_back(Line{start, end - start, 0, x});
      return;
    }
    size_t cut = (lastBreak != std::string::npos && lastBreak > start) ? lastBreak : pos;
    std::string shown = displayText(e, start, cut - start);
    out.push_back(Line{start, cut - start, 0, textWidth(e, shown)});
    start = cut;
  }
}

}  // namespace

int advanceAt(const Edit& e, const std::string& shown, size_t i, int x, size_t& length) {
  length = 1;
  if (shown[i] == '\t' && e.multiLine()) {
    for (int stop : e.tabStops)
      if (stop > x) return stop - x;
    int step = 8 * e.averageCharWidth;
    if (e.tabStops.size() == 1) step = e.tabStops[0];
    if (e.tabStops.size() > 1) step = e.tabStops.back() - e.tabStops[e.tabStops.size() - 2];
    step = std::max(step, 1);
    return step - (x % step);
  }
  const auto c = (unsigned char)shown[i];
  if (!win32::isAnsiLeadByte(c)) return e.charWidths[c];
  // A double-byte character is as wide as the GDI draws it, measured once.
  length = win32::ansiCharLength(shown.data() + i, shown.size() - i);
  if (length == 1) return e.charWidths[c];
  auto [it, added] = e.pairWidths.try_emplace((uint16_t)(c << 8 | (unsigned char)shown[i + 1]), 0);
  if (added) {
    SIZE size{};
    GetTextExtentPoint32A(e.measureDC, shown.data() + i, 2, &size);
    it->second = size.cx;
  }
  return it->second;
}

size_t nextChar(const Edit& e, size_t pos) {
  if (pos >= e.text.size()) return e.text.size();
  return std::min(e.text.size(), pos + charLength(e.text, pos));
}

size_t snapToChar(const Edit& e, size_t pos) {
  pos = std::min(pos, e.text.size());
  size_t at = knownBoundary(e.text, pos);
  while (at < pos) {
    size_t next = at + charLength(e.text, at);
    if (next > pos) break;
    at = next;
  }
  return at;
}

size_t prevChar(const Edit& e, size_t pos) {
  if (pos == 0) return 0;
  pos = std::min(pos, e.text.size());
  if (pos >= 2 && isBreakAt(e.text, pos - 2)) return pos - 2;
  return snapToChar(e, pos - 1);
}

size_t wordRight(const Edit& e, size_t pos) {
  size_t n = e.text.size();
  if (pos >= n) return n;
  if (classAt(e.text, pos) == CharClass::lineBreak) return nextChar(e, pos);
  while (pos < n && classAt(e.text, pos) == CharClass::word) pos = nextChar(e, pos);
  while (pos < n && classAt(e.text, pos) == CharClass::space) pos = nextChar(e, pos);
  return pos;
}

size_t wordLeft(const Edit& e, size_t pos) {
  if (pos == 0) return 0;
  size_t prev = prevChar(e, pos);
  if (classAt(e.text, prev) == CharClass::lineBreak) return prev;
  while (pos > 0 && classAt(e.text, prevChar(e, pos)) == CharClass::space) pos = prevChar(e, pos);
  while (pos > 0 && classAt(e.text, prevChar(e, pos)) == CharClass::word) pos = prevChar(e, pos);
  return pos;
}

size_t lineFromChar(const Edit& e, size_t pos) {
  // The last line starting at or before `pos`; a position at a wrap belongs to the next line.
  auto it = std::upper_bound(e.lines.begin(), e.lines.end(), pos,
                             [](size_t p, const Line& l) { return p < l.start; });
  return it == e.lines.begin() ? 0 : (size_t)(it - e.lines.begin()) - 1;
}

std::string displayText(const Edit& e, size_t start, size_t length) {
  // Multi-line edits have no password form, as in Windows.
  if (!(e.style() & ES_PASSWORD) || !e.passwordChar || e.multiLine()) return e.text.substr(start, length);
  std::string shown;
  for (size_t pos = start; pos < start + length; pos = nextChar(e, pos)) shown += e.passwordChar;
  return shown;
}

int textWidth(const Edit& e, const std::string& shown) {
  int x = 0;
  for (size_t i = 0, n = 1; i < shown.size(); i += n) x += advanceAt(e, shown, i, x, n);
  return x;
}

namespace {

// Lays out the hard lines of [start, end) (`end` at a break or the text's end) into `out`.
void layRange(const Edit& e, size_t start, size_t end, std::vector<Line>& out) {
  int width = std::max(1, (int)(e.format.right - e.format.left));
  bool wrap = wraps(e);
  while (true) {
    size_t br = e.text.find("\r\n", start);
    size_t stop = br == std::string::npos || br >= end ? end : br;
    if (wrap) {
      wrapLine(e, start, stop, width, out);
    } else {
      out.push_back(Line{start, stop - start, 0, textWidth(e, displayText(e, start, stop - start))});
    }
    if (stop == end) break;
    out.back().breakLength = 2;
    start = stop + 2;
  }
  if (end < e.text.size()) out.back().breakLength = 2;
}

constexpr size_t kMarkStep = 256;  // bytes between width marks of a single line

// Adds marks every kMarkStep bytes over [from, to), `x` being the width up to `from`.
void addMarks(Edit& e, size_t from, int x, size_t to, std::vector<WidthMark>& out) {
  size_t last = from;
  for (size_t pos = from; pos < to;) {
    size_t next = nextChar(e, pos);
    x += textWidth(e, displayText(e, pos, next - pos));
    pos = next;
    if (pos - last >= kMarkStep && pos < to) {
      out.push_back(WidthMark{pos, x});
      last = pos;
    }
  }
}

// The single line's marks after [start, start + removed) became `inserted`
// bytes `widthDelta` pixels wider: marks before the change stay, those after
// it move, and the stretch around it is marked again.
void remark(Edit& e, size_t start, size_t removed, size_t inserted, int widthDelta) {
  auto& m = e.marks;
  auto before = std::upper_bound(m.begin(), m.end(), start, [](size_t p, const WidthMark& k) { return p < k.pos; });
  auto after = std::lower_bound(before, m.end(), start + removed, [](const WidthMark& k, size_t p) { return k.pos < p; });
  std::vector<WidthMark> tail(after, m.end());
  for (WidthMark& k : tail) {
    k.pos = k.pos - removed + inserted;
    k.x += widthDelta;
  }
  size_t from = before == m.begin() ? 0 : (before - 1)->pos;
  int x = before == m.begin() ? 0 : (before - 1)->x;
  m.erase(before, m.end());
  addMarks(e, from, x, tail.empty() ? e.text.size() : tail.front().pos, m);
  m.insert(m.end(), tail.begin(), tail.end());
}

// Lays out again only the hard lines the replacement of [start, start +
// removed) by `inserted` bytes touched; `removedWidth` is what the removed
// bytes measured on a single line.
void layoutAfterReplace(Edit& e, size_t start, size_t removed, size_t inserted, int removedWidth) {
  size_t newEnd = start + inserted;
  long long delta = (long long)inserted - (long long)removed;
  if (!e.multiLine()) {
    int widthDelta = textWidth(e, displayText(e, start, inserted)) - removedWidth;
    e.lines[0].length = e.text.size();
    e.lines[0].width += widthDelta;
    remark(e, start, removed, inserted, widthDelta);
    return;
  }
  const std::string& t = e.text;
  // A "\r\n" made or split at an edge of the change: lay everything out again.
  if ((start > 0 && t[start - 1] == '\r') || (newEnd > 0 && t[newEnd - 1] == '\r') ||
      (newEnd < t.size() && t[newEnd] == '\n')) {
    layout(e);
    return;
  }
  size_t first = lineFromChar(e, start);
  // A wrapped paragraph is wrapped again from its first line: a shorter word may move up.
  if (wraps(e))
    while (first > 0 && e.lines[first - 1].breakLength == 0) --first;
  size_t br = t.find("\r\n", newEnd);
  size_t end = br == std::string::npos ? t.size() : br;
  size_t oldEnd = (size_t)((long long)end - delta);
  size_t last = lineFromChar(e, oldEnd);
  std::vector<Line> fresh;
  layRange(e, e.lines[first].start, end, fresh);
  for (size_t i = last + 1; i < e.lines.size(); ++i) e.lines[i].start = (size_t)((long long)e.lines[i].start + delta);
  e.lines.erase(e.lines.begin() + (long long)first, e.lines.begin() + (long long)last + 1);
  e.lines.insert(e.lines.begin() + (long long)first, fresh.begin(), fresh.end());
}

}  // namespace

void layout(Edit& e) {
  e.changedFrom = std::string::npos;
  e.lines.clear();
  e.marks.clear();
  if (!e.multiLine()) {
    e.lines.push_back(Line{0, e.text.size(), 0, textWidth(e, displayText(e, 0, e.text.size()))});
    addMarks(e, 0, 0, e.text.size(), e.marks);
    return;
  }
  layRange(e, 0, e.text.size(), e.lines);
}

int prefixWidth(const Edit& e, const Line& line, size_t offset) {
  size_t target = line.start + offset;
  if (e.multiLine() || e.marks.empty()) return textWidth(e, displayText(e, line.start, offset));
  // One line never expands tabs, so widths add up from the nearest mark.
  auto it = std::upper_bound(e.marks.begin(), e.marks.end(), target,
                             [](size_t p, const WidthMark& k) { return p < k.pos; });
  if (it == e.marks.begin()) return textWidth(e, displayText(e, 0, target));
  --it;
  return it->x + textWidth(e, displayText(e, it->pos, target - it->pos));
}

size_t charAtPixel(const Edit& e, const Line& line, int px, int& x) {
  size_t pos = line.start, end = line.start + line.length;
  x = 0;
  if (!e.multiLine()) {
    auto it = std::upper_bound(e.marks.begin(), e.marks.end(), px,
                               [](int p, const WidthMark& k) { return p < k.x; });
    if (it != e.marks.begin()) {
      --it;
      pos = it->pos;
      x = it->x;
    }
  }
  while (pos < end) {
    size_t next = nextChar(e, pos);
    std::string shown = displayText(e, pos, next - pos);
    int w = 0;
    for (size_t i = 0, n = 1; i < shown.size(); i += n) w += advanceAt(e, shown, i, x + w, n);
    if (x + w > px) break;
    x += w;
    pos = next;
  }
  return pos;
}

std::string applyCase(const Edit& e, std::string text) {
  DWORD style = e.style();
  if (!(style & (ES_UPPERCASE | ES_LOWERCASE))) return text;
  for (size_t i = 0; i < text.size();) {
    size_t n = win32::ansiCharLength(text.c_str() + i);
    if (n == 1) {
      auto c = (unsigned char)text[i];
      text[i] = (char)((style & ES_UPPERCASE) ? win32::ansiToUpper(c) : win32::ansiToLower(c));
    }
    i += n;
  }
  return text;
}

namespace {

// The longest prefix of `text` of at most `room` bytes that ends on a character boundary.
size_t fittingPrefix(const std::string& text, size_t room) {
  size_t at = 0;
  while (at < text.size()) {
    size_t n = isBreakAt(text, at) ? 2 : win32::ansiCharLength(text.c_str() + at);
    if (at + n > room) break;
    at += n;
  }
  return at;
}

// A single-line edit without ES_AUTOHSCROLL and a multi-line edit without
// ES_AUTOVSCROLL take no more than they can show.
bool fitsWithoutScrolling(const Edit& e) {
  DWORD style = e.style();
  if (!e.multiLine()) return (style & ES_AUTOHSCROLL) || e.lines[0].width <= e.format.right - e.format.left;
  if (style & (ES_AUTOVSCROLL | WS_VSCROLL)) return true;
  return (int)e.lines.size() <= std::max(1, visibleLines(e));
}

}  // namespace

bool replaceSelection(Edit& e, std::string insert, bool byUser, bool undoable, bool& truncated) {
  truncated = false;
  size_t start = e.selStart(), end = e.selEnd();
  if (byUser) {
    size_t kept = e.text.size() - (end - start);
    size_t room = kept >= e.limit ? 0 : e.limit - kept;
    if (insert.size() > room) {
      insert.resize(fittingPrefix(insert, room));
      truncated = true;
      if (insert.empty() && start == end) return false;
    }
  }
  size_t oldAnchor = e.anchor, oldCaret = e.caret;
  std::string removed = e.text.substr(start, end - start);
  int removedWidth = e.multiLine() ? 0 : textWidth(e, displayText(e, start, end - start));
  // Only a new step of undo keeps the whole former text.
  Undo before;
  if (undoable) before = Undo{e.text, oldAnchor, oldCaret};
  e.text.replace(start, end - start, insert);
  e.anchor = e.caret = start + insert.size();
  layoutAfterReplace(e, start, removed.size(), insert.size(), removedWidth);
  if (byUser && !fitsWithoutScrolling(e)) {
    int insertedWidth = e.multiLine() ? 0 : textWidth(e, displayText(e, start, insert.size()));
    e.text.replace(start, insert.size(), removed);
    layoutAfterReplace(e, start, insert.size(), removed.size(), insertedWidth);
    e.anchor = oldAnchor;
    e.caret = oldCaret;
    truncated = true;
    return false;
  }
  if (undoable) {
    e.undo = std::move(before);
    e.canUndo = true;
  }
  e.changedFrom = start;
  e.modified = true;
  return true;
}

void setText(Edit& e, std::string text) {
  e.text = applyCase(e, std::move(text));
  e.anchor = e.caret = 0;
  e.canUndo = false;
  e.undo = Undo{};
  e.modified = false;
  e.firstLine = 0;
  e.xOffset = 0;
  layout(e);
}

}  // namespace win32::user::edit
