// DrawEdge: the classic 3-D borders, ring by ring.
//
// Each ring is one pixel on the sides asked for. The top and left lines are
// drawn first and the bottom and right ones over them, so the top-right and
// bottom-left corner pixels take the bottom-right colour, as on Windows.
#include <windows.h>

#include "drawutil.h"

namespace {

struct RingColors {
  int topLeft;  // COLOR_* index, -1 for none
  int bottomRight;
};

// Outer and inner ring colours of a raised or sunken border part.
RingColors outerRing(UINT edge, UINT flags) {
  if (!(edge & BDR_OUTER)) return {-1, -1};
  if (flags & BF_MONO) return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
  if (flags & BF_FLAT) return {COLOR_3DSHADOW, COLOR_3DSHADOW};
  const bool soft = flags & BF_SOFT;
  if (edge & BDR_RAISEDOUTER) return {soft ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  if (edge & BDR_SUNKENOUTER) return {soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHIGHLIGHT};
  return {-1, -1};
}

RingColors innerRing(UINT edge, UINT flags) {
  if (!(edge & BDR_INNER)) return {-1, -1};
  if (flags & BF_MONO) return {COLOR_WINDOW, COLOR_WINDOW};
  if (flags & BF_FLAT) return {COLOR_3DFACE, COLOR_3DFACE};
  const bool soft = flags & BF_SOFT;
  if (edge & BDR_RAISEDINNER) return {soft ? COLOR_3DLIGHT : COLOR_3DHIGHLIGHT, COLOR_3DSHADOW};
  if (edge & BDR_SUNKENINNER) return {soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  return {-1, -1};
}

void ring(HDC dc, RECT& r, RingColors colors, UINT flags) {
  if (colors.topLeft < 0) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  using win32::user::fillWith;
  HBRUSH tl = GetSysColorBrush(colors.topLeft), br = GetSysColorBrush(colors.bottomRight);
  if (flags & BF_LEFT) fillWith(dc, {r.left, r.top, r.left + 1, r.bottom}, tl, PATCOPY);
  if (flags & BF_TOP) fillWith(dc, {r.left, r.top, r.right, r.top + 1}, tl, PATCOPY);
  if (flags & BF_RIGHT) fillWith(dc, {r.right - 1, r.top, r.right, r.bottom}, br, PATCOPY);
  if (flags & BF_BOTTOM) fillWith(dc, {r.left, r.bottom - 1, r.right, r.bottom}, br, PATCOPY);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

// A diagonal border: one line per ring from one corner to the opposite,
// the middle filled on the side away from the named end corner.
void diagonal(HDC dc, RECT& r, UINT edge, UINT flags) {
  const bool up = (flags & (BF_TOP | BF_RIGHT)) == (BF_TOP | BF_RIGHT) ||
                  (flags & (BF_BOTTOM | BF_LEFT)) == (BF_BOTTOM | BF_LEFT);
  POINT a = up ? POINT{r.left, r.bottom - 1} : POINT{r.left, r.top};
  POINT b = up ? POINT{r.right - 1, r.top} : POINT{r.right - 1, r.bottom - 1};
  if (flags & BF_MIDDLE) {
    HBRUSH face = GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE);
    HGDIOBJ oldBrush = SelectObject(dc, face);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    POINT tri[3] = {a, b, up ? POINT{r.right, r.bottom} : POINT{r.left, r.bottom}};
    Polygon(dc, tri, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
  }
  RingColors rings[2] = {outerRing(edge, flags), innerRing(edge, flags)};
  int offset = 0;
  for (const auto& c : rings) {
    if (c.topLeft < 0) continue;
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor((flags & BF_BOTTOM) ? c.bottomRight : c.topLeft));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, a.x + offset, a.y, nullptr);
    LineTo(dc, b.x + 1 + offset, b.y + (up ? -1 : 1));
    SelectObject(dc, old);
    DeleteObject(pen);
    ++offset;
  }
}

}  // namespace

extern "C" BOOL WINAPI DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT r = *rect;
  if (flags & BF_DIAGONAL) {
    diagonal(dc, r, edge, flags);
    return TRUE;
  }
  ring(dc, r, outerRing(edge, flags), flags);
  ring(dc, r, innerRing(edge, flags), flags);
  if ((flags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top) {
    win32::user::fillWith(dc, r, GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE), PATCOPY);
  }
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}
