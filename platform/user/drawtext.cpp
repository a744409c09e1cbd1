// DrawTextA / DrawTextExA and the tabbed text functions.
//
// Layout in logical units: the text is split at line breaks (CR, LF or CR LF)
// unless DT_SINGLELINE, then at spaces where a line would pass the right
// edge (DT_WORDBREAK; a word wider than the rectangle stays whole), '&'
// prefixes are removed and the marked character underlined, tabs expanded
// to stops, and lines that do not fit shortened with "..." on request.
// Widths add up character by character: this layer's fonts have no kerning.
// Under a double-byte code page a lead byte and its trail byte are one
// character everywhere here (never split by a break, an ellipsis or a
// prefix), and a line of them may break between any two of them, as
// ideographic text has no spaces.
#include <internal/codepage.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawutil.h"

namespace {

constexpr std::string_view kEllipsis = "...";

// Bytes of the character at text[i]: 2 for a double-byte character.
size_t charLength(std::string_view text, size_t i) {
  return win32::ansiCharLength(text.data() + i, text.size() - i);
}

// Character widths and tab stops of one DC.
class Measure {
 public:
  explicit Measure(HDC dc) : dc_(dc) {
    if (!GetCharWidth32A(dc, 0, 255, widths_)) std::fill(std::begin(widths_), std::end(widths_), 0);
    int extra = GetTextCharacterExtra(dc);
    if (extra != static_cast<int>(0x80000000)) extra_ = extra;
    for (int& w : widths_) w += extra_;
    GetTextMetricsA(dc, &tm_);
  }

  const TEXTMETRICA& metrics() const { return tm_; }
  // The width of the character at text[i], its bytes in `length`.
  int charWidth(std::string_view text, size_t i, size_t& length) const {
    const auto c = static_cast<unsigned char>(text[i]);
    length = charLength(text, i);
    if (length == 1) return widths_[c];
    // A double-byte character is measured once per call, as the GDI measures it.
    const UINT code = c << 8 | static_cast<unsigned char>(text[i + 1]);
    auto [it, added] = pairWidths_.try_emplace(static_cast<uint16_t>(code), 0);
    if (added) {
      int w = 0;
      if (GetCharWidth32A(dc_, code, code, &w)) it->second = w + extra_;
    }
    return it->second;
  }

  // Tab stops every `tabWidth` units from the line's start, or at the
  // positions given (then every last interval beyond them).
  void setTabs(int tabWidth) { tabWidth_ = std::max(1, tabWidth); }
  void setStops(std::vector<int> stops) { stops_ = std::move(stops); }
  void setExpandTabs(bool expand) { expandTabs_ = expand; }

  int nextStop(int x) const {
    for (int s : stops_) {
      if (s > x) return s;
    }
    int step = stops_.size() == 1 ? std::max(1, stops_[0]) : tabWidth_;
    if (stops_.size() > 1) {
      int last = stops_.back();
      return last + ((x - last) / step + 1) * step;
    }
    return (x / step + 1) * step;
  }

  // The x after `text` drawn from `x` (relative to the line start).
  int advance(std::string_view text, int x = 0) const {
    for (size_t i = 0, n = 1; i < text.size(); i += n) {
      if (text[i] == '\t' && expandTabs_) {
        x = nextStop(x);
        n = 1;
      } else {
        x += charWidth(text, i, n);
      }
    }
    return x;
  }
  int width(std::string_view text) const { return advance(text, 0); }

 private:
  HDC dc_;
  int widths_[256];
  int extra_ = 0;
  mutable std::unordered_map<uint16_t, int> pairWidths_;
  TEXTMETRICA tm_{};
  int tabWidth_ = 8;
  std::vector<int> stops_;
  bool expandTabs_ = false;
};

struct Line {
  std::string text;
  int underline = -1;  // index of the mnemonic character, -1 for none
};

// Removes '&' prefixes: "&&" is a literal '&', "&x" underlines x.
Line stripPrefix(std::string_view text, bool keepPrefix) {
  Line out;
  if (keepPrefix) {
    out.text = text;
    return out;
  }
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&') out.underline = static_cast<int>(out.text.size());
    } else if (text[i] == '&') {
      break;  // a trailing single '&' shows nothing
    }
    // The marked character is taken whole: a trail byte is never a prefix.
    const size_t n = charLength(text, i);
    out.text.append(text.substr(i, n));
    i += n;
  }
  return out;
}

std::vector<std::string_view> hardLines(std::string_view text, bool single) {
  std::vector<std::string_view> out;
  if (single) {
    out.push_back(text);
    return out;
  }
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  // A break at the very end starts no further line.
  if (start < text.size() || out.empty()) out.push_back(text.substr(start));
  return out;
}

// Breaks one line at spaces, and on either side of a double-byte
// character, so that each piece fits `width`.
void wrap(const Measure& m, const Line& line, int width, bool breakWords, std::vector<Line>& out) {
  const std::string& t = line.text;
  const std::string_view view(t);
  size_t start = 0;
  while (true) {
    int x = 0;
    size_t i = start, n = 1, lastBreak = std::string::npos, lastEnd = std::string::npos;
    bool afterWide = false;
    for (; i < t.size(); i += n) {
      if (t[i] == ' ') {
        // A run of spaces is a break opportunity; it ends the line.
        lastEnd = i;
        while (i + 1 < t.size() && t[i + 1] == ' ') ++i;
        lastBreak = i + 1;
        x = m.advance(view.substr(start, i + 1 - start));
        n = 1;
        afterWide = false;
        continue;
      }
      n = charLength(view, i);
      const bool wide = n == 2;
      if ((wide || afterWide) && i > start) lastEnd = lastBreak = i;
      afterWide = wide;
      int next = m.advance(view.substr(i, n), x);
      if (next > width && i > start) {
        if (lastBreak != std::string::npos) break;
        if (breakWords) {
          lastEnd = lastBreak = i;
          break;
        }
      }
      x = next;
    }
    if (i >= t.size()) {
      Line piece{t.substr(start), -1};
      if (line.underline >= static_cast<int>(start)) piece.underline = line.underline - static_cast<int>(start);
      out.push_back(std::move(piece));
      return;
    }
    Line piece{t.substr(start, lastEnd - start), -1};
    if (line.underline >= static_cast<int>(start) && line.underline < static_cast<int>(lastEnd)) {
      piece.underline = line.underline - static_cast<int>(start);
    }
    out.push_back(std::move(piece));
    start = lastBreak;
    if (start >= t.size()) return;
  }
}

// Shortens `line` to fit `width` with "..." at the end, at a word end, or
// (for a path) in the middle before the last '\' component.
void ellipsize(const Measure& m, Line& line, int width, UINT format) {
  if (m.width(line.text) <= width) return;
  std::string& t = line.text;
  // Where characters start (and the end): a cut is made only there. A
  // backslash is a path separator only where a character starts, never as
  // the trail byte of a double-byte character.
  std::vector<size_t> starts;
  size_t slash = std::string::npos;
  for (size_t i = 0; i < t.size(); i += charLength(t, i)) {
    starts.push_back(i);
    if (t[i] == '\\') slash = i;
  }
  starts.push_back(t.size());
  auto cutBefore = [&](size_t limit, auto fits) {
    size_t k = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), limit) - starts.begin());
    while (k > 1 && !fits(starts[k - 1])) --k;
    return k > 0 && fits(starts[k - 1]) ? starts[k - 1] : 0;
  };
  if ((format & DT_PATH_ELLIPSIS) && slash != std::string::npos && slash > 0) {
    std::string tail = t.substr(slash);
    const int rest = m.width(kEllipsis) + m.width(tail);
    size_t keep = cutBefore(slash, [&](size_t k) { return m.width(std::string_view(t).substr(0, k)) + rest <= width; });
    t = t.substr(0, keep) + std::string(kEllipsis) + tail;
    if (line.underline >= static_cast<int>(keep)) line.underline = -1;
    return;
  }
  const int dots = m.width(kEllipsis);
  size_t keep = cutBefore(t.size(), [&](size_t k) { return m.width(std::string_view(t).substr(0, k)) + dots <= width; });
  if (format & DT_WORD_ELLIPSIS) {
    size_t space = t.find_last_of(' ', keep);
    if (space != std::string::npos && space > 0) keep = space;
  }
  t = t.substr(0, keep) + std::string(kEllipsis);
  if (line.underline >= static_cast<int>(keep)) line.underline = -1;
}

// Draws `text` with tabs expanded, from (x, y), cell tops at y.
void drawExpanded(HDC dc, const Measure& m, int x, int y, std::string_view text) {
  int at = 0;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\t') continue;
    if (i > start) TextOutA(dc, x + at, y, text.data() + start, static_cast<int>(i - start));
    at = m.advance(text.substr(start, i - start), at);
    if (i < text.size()) at = m.nextStop(at);
    start = i + 1;
  }
}

// +1 when logical y grows downwards on the device, -1 otherwise.
int yDirection(HDC dc) {
  POINT p[2] = {{0, 0}, {0, 1000}};
  LPtoDP(dc, p, 2);
  return p[1].y >= p[0].y ? 1 : -1;
}

}  // namespace

extern "C" int WINAPI DrawTextExA(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
  if (!rect || (!text && count != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (GetObjectType(dc) != OBJ_DC && GetObjectType(dc) != OBJ_MEMDC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  const bool terminated = count < 0;
  if (count < 0) count = text ? static_cast<int>(std::strlen(text)) : 0;
  if (params && params->cbSize != sizeof(DRAWTEXTPARAMS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    // The high byte of the low word holds the tab size in characters.
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    format &= ~0xFF00u;
    format |= DT_TABSTOP | DT_EXPANDTABS;
  }
  if (params && params->iTabLength > 0) tabChars = params->iTabLength;

  Measure m(dc);
  const TEXTMETRICA& tm = m.metrics();
  m.setTabs(tabChars * tm.tmAveCharWidth);
  m.setExpandTabs(format & DT_EXPANDTABS);
  const int dir = yDirection(dc);
  const int leftMargin = params ? params->iLeftMargin : 0, rightMargin = params ? params->iRightMargin : 0;
  const int left = rect->left + leftMargin, right = rect->right - rightMargin;
  const int width = right - left;
  const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const bool single = format & DT_SINGLELINE;

  std::vector<Line> lines;
  std::string_view all(text ? text : "", static_cast<size_t>(count));
  for (std::string_view hard : hardLines(all, single)) {
    Line line = stripPrefix(hard, format & DT_NOPREFIX);
    if ((format & DT_WORDBREAK) && !single) {
      wrap(m, line, width, format & DT_EDITCONTROL, lines);
    } else {
      lines.push_back(std::move(line));
    }
  }
  if (count == 0) lines.clear();
  if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
    for (auto& line : lines) ellipsize(m, line, width, format);
    if ((format & DT_MODIFYSTRING) && lines.size() == 1 && text) {
      // Written back within the caller's length: the buffer is known to be
      // no longer than that.
      size_t n = std::min(lines[0].text.size(), static_cast<size_t>(count));
      std::memcpy(text, lines[0].text.data(), n);
      if (terminated || n < static_cast<size_t>(count)) text[n] = 0;
    }
  }

  int maxWidth = 0;
  for (const auto& line : lines) maxWidth = std::max(maxWidth, m.width(line.text));
  const int height = static_cast<int>(lines.size()) * lineHeight;
  int top = rect->top;
  if (single) {
    int boxHeight = (rect->bottom - rect->top) * dir;
    if (format & DT_VCENTER) top = rect->top + dir * ((boxHeight - lineHeight) / 2);
    else if (format & DT_BOTTOM) top = rect->bottom - dir * lineHeight;
  }
  if (params) params->uiLengthDrawn = static_cast<UINT>(count);

  if (format & DT_CALCRECT) {
    rect->right = rect->left + leftMargin + maxWidth + rightMargin;
    if (!single || !(format & (DT_VCENTER | DT_BOTTOM))) rect->bottom = rect->top + dir * height;
    else rect->bottom = top + dir * height;
    return height;
  }

  int saved = 0;
  if (!(format & DT_NOCLIP)) {
    saved = SaveDC(dc);
    IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
  }
  UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP);
  const COLORREF textColor = GetTextColor(dc);
  int y = top;
  for (const auto& line : lines) {
    int lineWidth = m.width(line.text);
    int x = left;
    if (format & DT_CENTER) x = left + (width - lineWidth) / 2;
    else if (format & DT_RIGHT) x = right - lineWidth;
    if (!(format & DT_PREFIXONLY)) drawExpanded(dc, m, x, y, line.text);
    if (line.underline >= 0 && !(format & DT_HIDEPREFIX)) {
      int ux = x + m.advance(std::string_view(line.text).substr(0, line.underline));
      size_t length = 1;
      int uw = m.charWidth(line.text, static_cast<size_t>(line.underline), length);
      int uy = y + dir * (tm.tmAscent + 1);
      win32::user::fillColor(dc, {ux, uy, ux + uw, uy + dir}, textColor);
    }
    y += dir * lineHeight;
  }
  SetTextAlign(dc, align);
  if (saved) RestoreDC(dc, saved);
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return (top - rect->top) * dir + lineHeight;
  return height;
}

extern "C" int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  // DT_MODIFYSTRING writes into the text, as on Windows: the caller owns a
  // writable buffer when it asks for that.
  return DrawTextExA(dc, const_cast<LPSTR>(text), count, rect, format, nullptr);
}

namespace {

Measure tabbedMeasure(HDC dc, int stops, const INT* positions) {
  Measure m(dc);
  m.setExpandTabs(true);
  m.setTabs(8 * m.metrics().tmAveCharWidth);
  if (stops > 0 && positions) m.setStops(std::vector<int>(positions, positions + stops));
  return m;
}

}  // namespace

// Tab stops are relative to `origin`; the answer packs width and height.
extern "C" LONG WINAPI TabbedTextOutA(HDC dc, int x, int y, LPCSTR text, int count, int stops, const INT* positions,
                                      int origin) {
  if (!text || count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Measure m = tabbedMeasure(dc, stops, positions);
  std::string_view s(text, static_cast<size_t>(count));
  const int shift = x - origin;
  int at = shift;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i < s.size() && s[i] != '\t') continue;
    if (i > start && !TextOutA(dc, origin + at, y, s.data() + start, static_cast<int>(i - start))) return 0;
    at = m.advance(s.substr(start, i - start), at);
    if (i < s.size()) at = m.nextStop(at);
    start = i + 1;
  }
  return MAKELONG(at - shift, m.metrics().tmHeight);
}

extern "C" DWORD WINAPI GetTabbedTextExtentA(HDC dc, LPCSTR text, int count, int stops, const INT* positions) {
  if (!text || count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Measure m = tabbedMeasure(dc, stops, positions);
  return MAKELONG(m.width(std::string_view(text, static_cast<size_t>(count))), m.metrics().tmHeight);
}
