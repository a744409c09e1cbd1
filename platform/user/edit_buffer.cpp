// The text of an edit control: character steps that keep double-byte
// characters and "\r\n" whole, words, lines with their wrapping, and
// replacing the selection with the limit and one level of undo.
#include "edit.h"

#include <internal/codepage.h>

#include <algorithm>

namespace win32::user::edit {
namespace {

bool isBreakAt(const std::string& t, size_t pos) { return pos + 1 < t.size() && t[pos] == '\r' && t[pos + 1] == '\n'; }

// The start of the hard line holding `pos`: character boundaries are found
// by walking from there (a line feed is never a trail byte).
size_t hardLineStart(const std::string& t, size_t pos) {
  size_t nl = pos ? t.rfind('\n', pos - 1) : std::string::npos;
  return nl == std::string::npos ? 0 : nl + 1;
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
      for (size_t i = 0; i < shown.size(); ++i) w += advanceAt(e, shown, i, x + w);
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

int advanceAt(const Edit& e, const std::string& shown, size_t i, int x) {
  if (shown[i] == '\t' && e.multiLine()) {
    for (int stop : e.tabStops)
      if (stop > x) return stop - x;
    int step = 8 * e.averageCharWidth;
    if (e.tabStops.size() == 1) step = e.tabStops[0];
    if (e.tabStops.size() > 1) step = e.tabStops.back() - e.tabStops[e.tabStops.size() - 2];
    step = std::max(step, 1);
    return step - (x % step);
  }
  return e.charWidths[(unsigned char)shown[i]];
}

size_t nextChar(const Edit& e, size_t pos) {
  if (pos >= e.text.size()) return e.text.size();
  return std::min(e.text.size(), pos + charLength(e.text, pos));
}

size_t snapToChar(const Edit& e, size_t pos) {
  pos = std::min(pos, e.text.size());
  size_t at = hardLineStart(e.text, pos);
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
  for (size_t i = 0; i < shown.size(); ++i) x += advanceAt(e, shown, i, x);
  return x;
}

void layout(Edit& e) {
  e.lines.clear();
  if (!e.multiLine()) {
    e.lines.push_back(Line{0, e.text.size(), 0, textWidth(e, displayText(e, 0, e.text.size()))});
    return;
  }
  int width = std::max(1, (int)(e.format.right - e.format.left));
  bool wrap = wraps(e);
  size_t start = 0;
  while (true) {
    size_t br = e.text.find("\r\n", start);
    size_t end = br == std::string::npos ? e.text.size() : br;
    if (wrap) {
      wrapLine(e, start, end, width, e.lines);
    } else {
      e.lines.push_back(Line{start, end - start, 0, textWidth(e, displayText(e, start, end - start))});
    }
    if (br == std::string::npos) break;
    e.lines.back().breakLength = 2;
    start = br + 2;
  }
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
  Undo before{e.text, e.anchor, e.caret};
  e.text.replace(start, end - start, insert);
  e.anchor = e.caret = start + insert.size();
  layout(e);
  if (byUser && !fitsWithoutScrolling(e)) {
    e.text = std::move(before.text);
    e.anchor = before.anchor;
    e.caret = before.caret;
    layout(e);
    truncated = true;
    return false;
  }
  if (undoable) {
    e.undo = std::move(before);
    e.canUndo = true;
  }
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
