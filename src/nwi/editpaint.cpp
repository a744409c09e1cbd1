// Painting, the caret and hit testing of the edit control.
#include <algorithm>
#include <cstring>
#include <string>

#include "editcontrol.h"
#include "formatdata.h"
#include "markup.h"
#include "ravlets.h"

namespace {

HGDIOBJ selectFont(HEdRecord* r, HDC dc) {
  return SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(SYSTEM_FONT));
}

// The text as drawn: password characters in password fields.
std::string shownText(const HEdRecord* r, const char* text) {
  std::string s = text ? text : "";
  if (r->head.style & HES_PASSWORD) std::fill(s.begin(), s.end(), r->passwordChar);
  return s;
}

int extent(HDC dc, const std::string& s, int from, int to) {
  to = std::min<int>(to, s.size());
  from = std::max(from, 0);
  if (to <= from) return 0;
  SIZE size{};
  GetTextExtentPoint32A(dc, s.c_str() + from, to - from, &size);
  return size.cx;
}

// x of a position, given the drawn text, in client coordinates.
int xOf(HEdRecord* r, HDC dc, const std::string& s, int position) {
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
  const std::string s = shownText(r, r->text);
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | alignment(r);
  const int from = (alignment(r) == DT_LEFT) ? std::min<int>(r->firstVisible, s.size()) : 0;
  RECT box = r->format;
  DrawTextA(dc, s.c_str() + from, static_cast<int>(s.size()) - from, &box, format);
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
    DrawTextA(dc, s.c_str() + from, static_cast<int>(s.size()) - from, &again, format);
    RestoreDC(dc, saved);
  }
  SelectObject(dc, oldFont);
  EndPaint(r->head.window, &ps);
}

int HEdXOfChar(HEdRecord* r, int position) {
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = selectFont(r, dc);
  const std::string s = shownText(r, r->text);
  const int x = xOf(r, dc, s, std::clamp<int>(position, 0, s.size()));
  SelectObject(dc, old);
  ReleaseDC(r->head.window, dc);
  return x;
}

int HEdCharAtX(HEdRecord* r, int x) {
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = selectFont(r, dc);
  const std::string s = shownText(r, r->text);
  const int length = static_cast<int>(s.size());
  int best = 0, bestDistance = INT32_MAX;
  for (int p = 0; p <= length; ++p) {
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
  const std::string s = shownText(r, text);
  const UINT align = alignmentCode == 1 ? DT_RIGHT : alignmentCode == 2 ? DT_CENTER : DT_LEFT;
  DrawTextA(dc, s.c_str(), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
  SelectObject(dc, old);
  return 1;
}
