// DrawFrameControl: push buttons, check boxes, radio buttons, scroll arrows,
// caption buttons and menu glyphs in the classic style.
#include <windows.h>

#include <algorithm>

#include "drawutil.h"

namespace {

using win32::user::fillColor;

struct Box {
  int left, top, size;
  RECT rect() const { return {left, top, left + size, top + size}; }
};

// The largest square in `r`, at its left and centred vertically (check
// boxes, radio buttons) or centred both ways (glyphs).
Box squareIn(const RECT& r, bool centreHorizontally) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(0, std::min(w, h));
  return {centreHorizontally ? r.left + (w - s) / 2 : r.left, r.top + (h - s) / 2, s};
}

COLORREF sys(int index) { return GetSysColor(index); }

// A filled polygon of one colour, no outline.
void polygon(HDC dc, const POINT* points, int count, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  // The null pen leaves the right and bottom edge out; the points are
  // widened by one so the shape covers what it names.
  Polygon(dc, points, count);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

// The check mark: seven columns of three pixels, down two then up four.
void checkMark(HDC dc, int x, int y, int scale, COLORREF color) {
  static constexpr int kTops[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) {
    fillColor(dc, {x + i * scale, y + kTops[i] * scale, x + (i + 1) * scale, y + (kTops[i] + 3) * scale}, color);
  }
}

// A face drawn like a push button, pushed or not; answers the content box.
RECT buttonFace(HDC dc, RECT r, UINT state) {
  UINT flags = BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST;
  if (state & DFCS_FLAT) flags |= BF_FLAT;
  if (state & DFCS_MONO) flags |= BF_MONO;
  UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
  if ((state & DFCS_PUSHED) && !(state & (DFCS_FLAT | DFCS_MONO))) {
    // A pushed button: a dark frame around a shadow line, as classic Windows.
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_MONO | BF_ADJUST);
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE | BF_ADJUST);
    return r;
  }
  DrawEdge(dc, &r, edge, flags);
  if (state & DFCS_CHECKED) {
    // A latched button shows a dithered face.
    BYTE rows[16] = {};
    for (int i = 0; i < 8; ++i) rows[2 * i] = (i % 2) ? 0xAA : 0x55;
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(pattern);
    COLORREF text = SetTextColor(dc, sys(COLOR_3DFACE)), back = SetBkColor(dc, sys(COLOR_3DHIGHLIGHT));
    win32::user::fillWith(dc, r, brush, PATCOPY);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    DeleteObject(brush);
    DeleteObject(pattern);
  }
  return r;
}

BOOL pushButton(HDC dc, LPRECT rect, UINT state) {
  RECT inside = buttonFace(dc, *rect, state);
  if (state & DFCS_ADJUSTRECT) *rect = inside;
  return TRUE;
}

BOOL checkBox(HDC dc, LPRECT rect, UINT state) {
  Box box = squareIn(*rect, false);
  RECT r = box.rect();
  UINT flags = BF_RECT | BF_ADJUST;
  if (state & DFCS_FLAT) flags |= BF_FLAT;
  if (state & DFCS_MONO) flags |= BF_MONO;
  DrawEdge(dc, &r, EDGE_SUNKEN, flags);
  const bool greyFace = state & (DFCS_PUSHED | DFCS_INACTIVE);
  fillColor(dc, r, sys(greyFace ? COLOR_3DFACE : COLOR_WINDOW));
  if (state & DFCS_CHECKED) {
    const bool grey = (state & DFCS_INACTIVE) || ((state & 0xFF) == DFCS_BUTTON3STATE);
    int inner = r.right - r.left;
    int scale = std::max(1, inner / 9);
    int x = r.left + (inner - 7 * scale) / 2, y = r.top + (inner - 7 * scale) / 2;
    checkMark(dc, x, y, scale, sys(grey ? COLOR_3DSHADOW : COLOR_WINDOWTEXT));
  }
  return TRUE;
}

// Draws the ellipse of `box` in `color`, limited to the half above (or
// below) its rising diagonal.
void halfRing(HDC dc, const RECT& box, COLORREF color, bool upperLeft) {
  POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
  LPtoDP(dc, corners, 2);
  const LONG l = corners[0].x - 1, t = corners[0].y - 1, r = corners[1].x + 1, b = corners[1].y + 1;
  POINT tri[3] = {{l, t}, {r, t}, {l, b}};  // above the rising diagonal
  if (!upperLeft) tri[0] = {r, b};          // below it
  int saved = SaveDC(dc);
  HRGN half = CreatePolygonRgn(tri, 3, ALTERNATE);
  ExtSelectClipRgn(dc, half, RGN_AND);
  DeleteObject(half);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  SelectObject(dc, pen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, box.left, box.top, box.right, box.bottom);
  RestoreDC(dc, saved);
  DeleteObject(pen);
}

BOOL radioButton(HDC dc, LPRECT rect, UINT state) {
  Box box = squareIn(*rect, false);
  RECT r = box.rect();
  if ((state & 0xFF) == DFCS_BUTTONRADIOMASK) {
    // The mask image: black circle on white.
    fillColor(dc, r, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    return TRUE;
  }
  const bool flat = state & (DFCS_FLAT | DFCS_MONO);
  halfRing(dc, r, sys(COLOR_3DSHADOW), true);
  halfRing(dc, r, sys(flat ? COLOR_3DSHADOW : COLOR_3DHIGHLIGHT), false);
  RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (!flat) {
    halfRing(dc, inner, sys(COLOR_3DDKSHADOW), true);
    halfRing(dc, inner, sys(COLOR_3DLIGHT), false);
  }
  RECT face{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  const bool greyFace = state & (DFCS_PUSHED | DFCS_INACTIVE);
  HBRUSH brush = CreateSolidBrush(sys(greyFace ? COLOR_3DFACE : COLOR_WINDOW));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, face.left, face.top, face.right + 1, face.bottom + 1);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  if (state & DFCS_CHECKED) {
    int s = box.size, d = std::max(2, s / 3);
    int x = r.left + (s - d) / 2, y = r.top + (s - d) / 2;
    HBRUSH dot = CreateSolidBrush(sys((state & DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT));
    SelectObject(dc, dot);
    Ellipse(dc, x, y, x + d + 1, y + d + 1);
    SelectObject(dc, oldBrush);
    DeleteObject(dot);
  }
  SelectObject(dc, oldPen);
  return TRUE;
}

enum class Arrow { Up, Down, Left, Right };

// A solid arrow head centred in `r`, embossed when inactive.
void arrowGlyph(HDC dc, const RECT& r, Arrow dir, bool inactive) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(2, std::min(w, h) / 3);
  int cx = r.left + w / 2, cy = r.top + h / 2;
  auto draw = [&](int dx, int dy, COLORREF color) {
    POINT p[3];
    switch (dir) {
      case Arrow::Up: p[0] = {cx + dx, cy - s / 2 + dy}, p[1] = {cx + s + dx + 1, cy + s / 2 + 1 + dy}, p[2] = {cx - s + dx, cy + s / 2 + 1 + dy}; break;
      case Arrow::Down: p[0] = {cx - s + dx, cy - s / 2 + dy}, p[1] = {cx + s + dx + 1, cy - s / 2 + dy}, p[2] = {cx + dx, cy + s / 2 + 1 + dy}; break;
      case Arrow::Left: p[0] = {cx - s / 2 + dx, cy + dy}, p[1] = {cx + s / 2 + 1 + dx, cy - s + dy}, p[2] = {cx + s / 2 + 1 + dx, cy + s + 1 + dy}; break;
      case Arrow::Right: p[0] = {cx - s / 2 + dx, cy - s + dy}, p[1] = {cx + s / 2 + 1 + dx, cy + dy}, p[2] = {cx - s / 2 + dx, cy + s + 1 + dy}; break;
    }
    polygon(dc, p, 3, color);
  };
  if (inactive) {
    draw(1, 1, sys(COLOR_3DHIGHLIGHT));
    draw(0, 0, sys(COLOR_3DSHADOW));
  } else {
    draw(0, 0, sys(COLOR_BTNTEXT));
  }
}

BOOL scrollControl(HDC dc, LPRECT rect, UINT state) {
  const UINT kind = state & 0x1F;
  if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
    fillColor(dc, *rect, sys(COLOR_3DFACE));
    // Three pairs of diagonal lines in the bottom-right corner.
    int s = std::min(rect->right - rect->left, rect->bottom - rect->top);
    for (int k = 0; k < 3; ++k) {
      for (int line = 0; line < 2; ++line) {
        HPEN pen = CreatePen(PS_SOLID, 1, sys(line == 0 ? COLOR_3DHIGHLIGHT : COLOR_3DSHADOW));
        HGDIOBJ old = SelectObject(dc, pen);
        int off = s - 4 * k - 3 + line;
        MoveToEx(dc, rect->right - 1, rect->bottom - 1 - off, nullptr);
        LineTo(dc, rect->right - 1 - off, rect->bottom - 1);
        SelectObject(dc, old);
        DeleteObject(pen);
      }
    }
    return TRUE;
  }
  Arrow dir;
  switch (kind) {
    case DFCS_SCROLLUP: dir = Arrow::Up; break;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX: dir = Arrow::Down; break;
    case DFCS_SCROLLLEFT: dir = Arrow::Left; break;
    case DFCS_SCROLLRIGHT: dir = Arrow::Right; break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  UINT faceState = state;
  if (state & DFCS_PUSHED) faceState |= DFCS_FLAT;  // pushed arrows look flat
  RECT inside = buttonFace(dc, *rect, faceState & ~DFCS_CHECKED);
  if (state & DFCS_PUSHED) OffsetRect(&inside, 1, 1);
  arrowGlyph(dc, inside, dir, state & DFCS_INACTIVE);
  return TRUE;
}

BOOL captionButton(HDC dc, LPRECT rect, UINT state) {
  RECT inside = buttonFace(dc, *rect, state & ~DFCS_CHECKED);
  if (state & DFCS_PUSHED) OffsetRect(&inside, 1, 1);
  const int w = inside.right - inside.left, h = inside.bottom - inside.top;
  const int s = std::max(4, std::min(w, h) - 4);
  const int x = inside.left + (w - s) / 2, y = inside.top + (h - s) / 2;
  auto glyph = [&](int dx, int dy, COLORREF color) {
    int gx = x + dx, gy = y + dy;
    switch (state & 0x1F) {
      case DFCS_CAPTIONCLOSE: {
        HPEN pen = CreatePen(PS_SOLID, 1, color);
        HGDIOBJ old = SelectObject(dc, pen);
        for (int t = 0; t < 2; ++t) {  // two pixels thick
          MoveToEx(dc, gx + t, gy, nullptr);
          LineTo(dc, gx + s + t - 1, gy + s);
          MoveToEx(dc, gx + s - 2 + t, gy, nullptr);
          LineTo(dc, gx - 1 + t, gy + s);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
        break;
      }
      case DFCS_CAPTIONMIN:
        fillColor(dc, {gx + 1, gy + s - 2, gx + s - 2, gy + s}, color);
        break;
      case DFCS_CAPTIONMAX:
        fillColor(dc, {gx, gy, gx + s, gy + 2}, color);
        fillColor(dc, {gx, gy, gx + 1, gy + s}, color);
        fillColor(dc, {gx + s - 1, gy, gx + s, gy + s}, color);
        fillColor(dc, {gx, gy + s - 1, gx + s, gy + s}, color);
        break;
      case DFCS_CAPTIONRESTORE: {
        int q = s * 2 / 3;
        for (RECT r : {RECT{gx + s - q, gy, gx + s, gy + q}, RECT{gx, gy + s - q, gx + q, gy + s}}) {
          fillColor(dc, {r.left, r.top, r.right, r.top + 2}, color);
          fillColor(dc, {r.left, r.top, r.left + 1, r.bottom}, color);
          fillColor(dc, {r.right - 1, r.top, r.right, r.bottom}, color);
          fillColor(dc, {r.left, r.bottom - 1, r.right, r.bottom}, color);
        }
        break;
      }
      case DFCS_CAPTIONHELP: {
        RECT box{gx, gy, gx + s, gy + s};
        HFONT font = CreateFontA(-s - 2, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        HGDIOBJ oldFont = SelectObject(dc, font);
        int mode = SetBkMode(dc, TRANSPARENT);
        COLORREF old = SetTextColor(dc, color);
        DrawTextA(dc, "?", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        SetTextColor(dc, old);
        SetBkMode(dc, mode);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        break;
      }
      default: break;
    }
  };
  if (state & DFCS_INACTIVE) {
    glyph(1, 1, sys(COLOR_3DHIGHLIGHT));
    glyph(0, 0, sys(COLOR_3DSHADOW));
  } else {
    glyph(0, 0, sys(COLOR_BTNTEXT));
  }
  return TRUE;
}

// Menu glyphs are drawn black on white, as masks that menus colour in.
BOOL menuGlyph(HDC dc, LPRECT rect, UINT state) {
  fillColor(dc, *rect, RGB(255, 255, 255));
  const int w = rect->right - rect->left, h = rect->bottom - rect->top;
  switch (state & 0x1F) {
    case DFCS_MENUCHECK: {
      int scale = std::max(1, std::min(w, h) / 10);
      checkMark(dc, rect->left + (w - 7 * scale) / 2, rect->top + (h - 7 * scale) / 2, scale, RGB(0, 0, 0));
      break;
    }
    case DFCS_MENUBULLET: {
      int d = std::max(2, std::min(w, h) / 3);
      int x = rect->left + (w - d) / 2, y = rect->top + (h - d) / 2;
      HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
      HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, x, y, x + d + 1, y + d + 1);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      break;
    }
    case DFCS_MENUARROW:
    case DFCS_MENUARROWRIGHT: {
      const bool right = (state & 0x1F) == DFCS_MENUARROW;
      int s = std::max(2, std::min(w, h) / 4);
      int cx = rect->left + w / 2, cy = rect->top + h / 2;
      POINT p[3] = {{cx - s / 2, cy - s}, {cx + s / 2 + 1, cy}, {cx - s / 2, cy + s + 1}};
      if (!right) p[0] = {cx + s / 2 + 1, cy - s}, p[1] = {cx - s / 2, cy}, p[2] = {cx + s / 2 + 1, cy + s + 1};
      polygon(dc, p, 3, RGB(0, 0, 0));
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  switch (type) {
    case DFC_BUTTON: {
      const UINT kind = state & 0x1F;
      if (kind & DFCS_BUTTONPUSH) return pushButton(dc, rect, state);
      if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) return radioButton(dc, rect, state);
      return checkBox(dc, rect, state);
    }
    case DFC_SCROLL: return scrollControl(dc, rect, state);
    case DFC_CAPTION: return captionButton(dc, rect, state);
    case DFC_MENU:
    case DFC_POPUPMENU: return menuGlyph(dc, rect, state);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}
