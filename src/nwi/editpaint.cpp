// Painting, the caret and hit testing of the edit control.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "editcontrol.h"
#include "formatdata.h"
#include "markup.h"
#include "ravlets.h"

namespace {

HGDIOBJ selectFont(HEdRecord* r, HDC dc) {
  return SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(SYSTEM_FONT));
}

// The text as drawn: the text itself, or as many password characters in
// password fields. Never a copy of a plain text: painting and caret
// placing run on every keystroke and must not cost the text's length.
class ShownText {
 public:
  ShownText(const HEdRecord* r, const char* text) {
    view_ = text ? std::string_view(text) : std::string_view();
    if (r->head.style & HES_PASSWORD) {
      masked_.assign(view_.size(), r->passwordChar);
      view_ = masked_;
    }
  }
  ShownText(const ShownText&) = delete;
  ShownText& operator=(const ShownText&) = delete;
  std::string_view view() const { return view_; }

 private:
  std::string masked_;
  std::string_view view_;
};

int extent(HDC dc, std::string_view s, int from, int to) {
  to = std::min<int>(to, s.size());
  from = std::max(from, 0);
  if (to <= from) return 0;
  SIZE size{};
  GetTextExtentPoint32A(dc, s.data() + from, to - from, &size);
  return size.cx;
}

// x of a position, given the drawn text, in client coordinates.
int xOf(HEdRecord* r, HDC dc, std::string_view s, int position) {
  const int length = static_cast<int>(s.size());
  const WORD flags = r->head.flags;
  if (flags & HED_RIGHT) return r->format.right - extent(dc, s, position, length);
  if (flags & HED_CENTER) {
    const int width = extent(dc, s, 0, length);
    return (r->format.left + r->format.right - width) / 2 + extent(dc, s, 0, position);
  }
  if (position >= r->firstVisible) return r->format.left + extent(dc, s, r->firstVisible, position);
  return r->format.left - extent(dc, s, position, r->firstVisible);
}

// The part of the text that painting hands to DrawTextA: no glyph is
// narrower than a pixel, so a left-aligned text shows at most the width's
// count of characters from the first visible one, and a right-aligned one
// as many from its end; a centred text is drawn whole. One more character
// on each side keeps a glyph cut by the edge.
std::string_view drawnPart(const HEdRecord* r, std::string_view s, UINT align) {
  const int size = static_cast<int>(s.size());
  const int most = std::max<int>(r->format.right - r->format.left, 0) + 2;
  if (align == DT_LEFT) {
    const int from = std::min<int>(r->firstVisible, size);
    return s.substr(static_cast<size_t>(from), static_cast<size_t>(std::min(most, size - from)));
  }
  if (align == DT_RIGHT && size > most) return s.substr(static_cast<size_t>(size - most));
  return s;
}

HBRUSH backgroundBrush(HEdRecord* r, HDC dc, HBRUSH* owned) {
  *owned = nullptr;
  if (r->backColor != kHCtlNoColor) {
    *owned = CreateSolidBrush(HCtlResolveColor(r->backColor, COLOR_WINDOW));
    return *owned;
  }
  if (r->backBrush) return r->backBrush;
  if ((r->head.flags & HED_FOCUS) && (r->head.style & HES_FOCUSBRUSH) && r->focusBrush) return r->focusBrush;
  return HCtlGetColorBrush(&r->head, HCTL_BRUSH_EDIT, dc);
}

COLORREF textColour(HEdRecord* r) {
  const bool negativeSection = r->picture && std::strlen(r->picture) > 3 && std::strchr(r->picture, ';');
  if ((r->head.flags & HED_NEGATIVE) && negativeSection) return HCtlResolveColor(r->negativeColor, COLOR_WINDOWTEXT);
  return HCtlResolveColor(r->textColor, COLOR_WINDOWTEXT);
}

UINT alignment(const HEdRecord* r) {
  if (r->head.flags & HED_RIGHT) return DT_RIGHT;
  if (r->head.flags & HED_CENTER) return DT_CENTER;
  return DT_LEFT;
}

}  // namespace

void HEdPaint(HEdRecord* r) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r->head.window, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(r->head.window, &client);
  HBRUSH owned;
  HBRUSH brush = backgroundBrush(r, dc, &owned);
  FillRect(dc, &client, brush);
  if (owned) DeleteObject(owned);
  if (r->head.style & (HES_PICTURE | HES_PICTURESIZED)) {
    HEdPicturePaint(r, dc, client);
    EndPaint(r->head.window, &ps);
    return;
  }
  HGDIOBJ oldFont = selectFont(r, dc);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(r->head.window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  else SetTextColor(dc, textColour(r));
  const ShownText shown(r, r->text);
  const std::string_view s = shown.view();
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | alignment(r);
  const std::string_view drawn = drawnPart(r, s, alignment(r));
  RECT box = r->format;
  DrawTextA(dc, drawn.data(), static_cast<int>(drawn.size()), &box, format);
  // The selection is drawn again over itself in the highlight colours.
  const int size = static_cast<int>(s.size());
  const int low = std::clamp(std::min(r->anchor, r->caret), 0, size);
  const int high = std::clamp(std::max(r->anchor, r->caret), 0, size);
  if (low != high && ((r->head.flags & HED_FOCUS) || (r->head.style & HES_KEEPSEL))) {
    RECT sel{xOf(r, dc, s, low), r->format.top, xOf(r, dc, s, high), r->format.bottom};
    IntersectRect(&sel, &sel, &r->format);
    FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, sel.left, sel.top, sel.right, sel.bottom);
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    RECT again = r->format;
    DrawTextA(dc, drawn.data(), static_cast<int>(drawn.size()), &again, format);
    RestoreDC(dc, saved);
  }
  SelectObject(dc, oldFont);
  EndPaint(r->head.window, &ps);
}

int HEdXOfChar(HEdRecord* r, int position) {
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = selectFont(r, dc);
  const ShownText shown(r, r->text);
  const int x = xOf(r, dc, shown.view(), std::clamp<int>(position, 0, shown.view().size()));
  SelectObject(dc, old);
  ReleaseDC(r->head.window, dc);
  return x;
}

int HEdCharAtX(HEdRecord* r, int x) {
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = selectFont(r, dc);
  const ShownText shown(r, r->text);
  const std::string_view s = shown.view();
  const int length = static_cast<int>(s.size());
  // Left-aligned, no glyph narrower than a pixel: the nearest position lies
  // within the pixels between x and the left edge of the first visible
  // character, so a long text is not measured position by position.
  int low = 0, high = length;
  if (!(r->head.flags & (HED_RIGHT | HED_CENTER))) {
    const int firstVisible = std::clamp(r->firstVisible, 0, length);
    low = std::max(firstVisible - std::max(r->format.left - x, 0) - 1, 0);
    high = std::min(firstVisible + std::max(x - r->format.left, 0) + 1, length);
  }
  int best = low, bestDistance = INT32_MAX;
  for (int p = low; p <= high; ++p) {
    if (p > 0 && p < length && r->text[p - 1] && CharNextA(r->text + p - 1) != r->text + p) continue;  // inside a pair
    const int d = std::abs(xOf(r, dc, s, p) - x);
    if (d < bestDistance) {
      bestDistance = d;
      best = p;
    }
  }
  SelectObject(dc, old);
  ReleaseDC(r->head.window, dc);
  return best;
}

void HEdMakeCaret(HEdRecord* r) {
  if (!(r->head.flags & HED_FOCUS)) return;
  int width = 1;
  if (GetOverwriteMode() && r->type == 's' && r->caret < HEdTextLength(r)) {
    const int next = HEdXOfChar(r, r->caret + 1), here = HEdXOfChar(r, r->caret);
    width = std::max(next - here, 1);
  }
  DestroyCaret();
  CreateCaret(r->head.window, nullptr, width, std::max(r->lineHeight, 1));
  HEdPlaceCaret(r);
  ShowCaret(r->head.window);
}

void HEdPlaceCaret(HEdRecord* r) {
  if (!(r->head.flags & HED_FOCUS)) return;
  SetCaretPos(HEdXOfChar(r, r->caret), r->format.top);
}

int HEdDrawValue(HEdRecord* r, HDC dc, const RECT* rect, const void* value, int alignmentCode) {
  if (r == nullptr || dc == nullptr || rect == nullptr) return 0;
  char text[256] = {};
  int negative = 0;
  if (value != nullptr) {
    if (r->type == 's') lstrcpynA(text, static_cast<LPCSTR>(value), sizeof text);
    else FormatData(value, r->type, r->storage, r->picture, text, sizeof text, &negative, 0);
  } else if (r->nullText) {
    lstrcpynA(text, r->nullText, sizeof text);
  }
  HBRUSH owned;
  FillRect(dc, rect, backgroundBrush(r, dc, &owned));
  if (owned) DeleteObject(owned);
  if (r->head.style & (HES_PICTURE | HES_PICTURESIZED)) {
    HEdPicturePaint(r, dc, *rect);
    return 1;
  }
  RECT box = *rect;
  if (box.right - box.left > 35) InflateRect(&box, -2, -2);
  InflateRect(&box, -3, 0);
  const int middle = (rect->top + rect->bottom) / 2;
  box.top = middle - r->lineHeight / 2;
  box.bottom = box.top + r->lineHeight;
  HGDIOBJ old = selectFont(r, dc);
  SetBkMode(dc, TRANSPARENT);
  const bool negativeSection = r->picture && std::strlen(r->picture) > 3 && std::strchr(r->picture, ';');
  SetTextColor(dc, HCtlResolveColor(negative && negativeSection ? r->negativeColor : r->textColor, COLOR_WINDOWTEXT));
  const ShownText shown(r, text);
  const UINT align = alignmentCode == 1 ? DT_RIGHT : alignmentCode == 2 ? DT_CENTER : DT_LEFT;
  DrawTextA(dc, shown.view().data(), static_cast<int>(shown.view().size()), &box,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
  SelectObject(dc, old);
  return 1;
}
