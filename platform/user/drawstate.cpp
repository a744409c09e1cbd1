// GrayStringA and DrawStateA: text, icons and bitmaps drawn disabled,
// greyed or as one-colour masks.
//
// The content is first drawn black on white into a monochrome canvas; the
// canvas then serves as the mask through which the states paint.
#include <windows.h>

#include <cstring>

#include "drawutil.h"

namespace {

using win32::user::MonoCanvas;
using win32::user::paintMask;

// Draws `type` content at (0, 0) of `dc`, `cx` x `cy` in size.
BOOL drawContent(HDC dc, UINT type, DRAWSTATEPROC proc, LPARAM data, WPARAM wdata, int cx, int cy, UINT flags) {
  switch (type) {
    case DST_TEXT:
    case DST_PREFIXTEXT: {
      const char* text = reinterpret_cast<const char*>(data);
      int length = wdata ? static_cast<int>(wdata) : static_cast<int>(std::strlen(text));
      RECT r{0, 0, cx, cy};
      UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
      if (type == DST_TEXT) format |= DT_NOPREFIX;
      if (flags & DSS_HIDEPREFIX) format |= DT_HIDEPREFIX;
      if (flags & DSS_PREFIXONLY) format |= DT_PREFIXONLY;
      if (flags & DSS_RIGHT) format |= DT_RIGHT;
      return DrawTextA(dc, text, length, &r, format) != 0 || length == 0;
    }
    case DST_ICON:
      return DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL);
    case DST_BITMAP: {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, reinterpret_cast<HBITMAP>(data));
      BOOL ok = old && BitBlt(dc, 0, 0, cx, cy, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
      return ok;
    }
    case DST_COMPLEX:
      return proc ? proc(dc, data, wdata, cx, cy) : FALSE;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

// The natural size of the content when the caller gives none.
SIZE contentSize(HDC dc, UINT type, LPARAM data, WPARAM wdata) {
  SIZE s{0, 0};
  switch (type) {
    case DST_TEXT:
    case DST_PREFIXTEXT: {
      const char* text = reinterpret_cast<const char*>(data);
      RECT r{0, 0, 0, 0};
      int length = wdata ? static_cast<int>(wdata) : static_cast<int>(std::strlen(text));
      DrawTextA(dc, text, length, &r, DT_CALCRECT | DT_SINGLELINE | (type == DST_TEXT ? DT_NOPREFIX : 0));
      s = {r.right, r.bottom};
      break;
    }
    case DST_ICON: {
      ICONINFO ii;
      if (GetIconInfo(reinterpret_cast<HICON>(data), &ii)) {
        BITMAP bm;
        GetObjectA(ii.hbmMask, sizeof bm, &bm);
        s = {bm.bmWidth, ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
        DeleteObject(ii.hbmMask);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
      }
      break;
    }
    case DST_BITMAP: {
      BITMAP bm;
      if (GetObjectA(reinterpret_cast<HBITMAP>(data), sizeof bm, &bm)) s = {bm.bmWidth, bm.bmHeight};
      break;
    }
    default: break;
  }
  return s;
}

// Paints the ink of `canvas` (its 0 bits) at (x, y) in `color`.
void inkAt(HDC dc, int x, int y, MonoCanvas& canvas, COLORREF color) {
  paintMask(dc, x, y, canvas.width, canvas.height, canvas.dc, 0, 0, color);
}

}  // namespace

extern "C" BOOL WINAPI DrawStateA(HDC dc, HBRUSH fore, DRAWSTATEPROC proc, LPARAM data, WPARAM wdata, int x, int y,
                                  int cx, int cy, UINT flags) {
  const UINT type = flags & 0x0F;
  if ((type == DST_TEXT || type == DST_PREFIXTEXT) && !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (cx == 0 || cy == 0) {
    SIZE s = contentSize(dc, type, data, wdata);
    if (cx == 0) cx = s.cx;
    if (cy == 0) cy = s.cy;
  }
  if (cx <= 0 || cy <= 0) return type == DST_COMPLEX ? FALSE : TRUE;
  const UINT state = flags & 0x7FF0 & ~(DSS_HIDEPREFIX | DSS_PREFIXONLY);
  if (state == DSS_NORMAL && type != DST_TEXT && type != DST_PREFIXTEXT) {
    // Pictures in the normal state go straight to the target.
    POINT org;
    OffsetViewportOrgEx(dc, x, y, &org);
    BOOL ok = drawContent(dc, type, proc, data, wdata, cx, cy, flags);
    SetViewportOrgEx(dc, org.x, org.y, nullptr);
    return ok;
  }
  // The mask: text in black on white, pictures where they are not white.
  MonoCanvas mask(cx, cy);
  if (type == DST_TEXT || type == DST_PREFIXTEXT || type == DST_COMPLEX) {
    HGDIOBJ oldFont = SelectObject(mask.dc, GetCurrentObject(dc, OBJ_FONT));
    SetBkMode(mask.dc, TRANSPARENT);
    SetTextColor(mask.dc, RGB(0, 0, 0));
    drawContent(mask.dc, type, proc, data, wdata, cx, cy, flags);
    SelectObject(mask.dc, oldFont);
  } else {
    HDC colour = CreateCompatibleDC(dc);
    HBITMAP image = CreateBitmap(cx, cy, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(colour, image);
    PatBlt(colour, 0, 0, cx, cy, WHITENESS);
    drawContent(colour, type, proc, data, wdata, cx, cy, flags);
    SetBkColor(colour, RGB(255, 255, 255));
    BitBlt(mask.dc, 0, 0, cx, cy, colour, 0, 0, SRCCOPY);
    SelectObject(colour, old);
    DeleteObject(image);
    DeleteDC(colour);
  }
  if (state & DSS_DISABLED) {
    // Embossed: a highlight copy one pixel down and right, the shadow on top.
    inkAt(dc, x + 1, y + 1, mask, GetSysColor(COLOR_3DHIGHLIGHT));
    inkAt(dc, x, y, mask, GetSysColor(COLOR_3DSHADOW));
    return TRUE;
  }
  COLORREF color = GetTextColor(dc);
  if (state & (DSS_MONO | DSS_UNION)) {
    LOGBRUSH lb{};
    if (fore && GetObjectA(fore, sizeof lb, &lb) && lb.lbStyle == BS_SOLID) color = lb.lbColor;
    else if (!fore) color = GetSysColor(COLOR_3DSHADOW);
  }
  if (state & DSS_UNION) {
    // Dithered: every other pixel of the ink.
    BYTE rows[16] = {};
    for (int i = 0; i < 8; ++i) rows[2 * i] = (i % 2) ? 0xAA : 0x55;
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(pattern);
    HGDIOBJ old = SelectObject(mask.dc, brush);
    // White out the pixels of the other half: mask OR pattern.
    SetTextColor(mask.dc, RGB(0, 0, 0));
    SetBkColor(mask.dc, RGB(255, 255, 255));
    PatBlt(mask.dc, 0, 0, cx, cy, 0x00FA0089);  // PATPAINT-like D | P
    SelectObject(mask.dc, old);
    DeleteObject(brush);
    DeleteObject(pattern);
  }
  inkAt(dc, x, y, mask, color);
  return TRUE;
}

// Grey text: drawn through a mask in the grey-text colour (the brush, when
// given, supplies the colour instead).
extern "C" BOOL WINAPI GrayStringA(HDC dc, HBRUSH brush, GRAYSTRINGPROC proc, LPARAM data, int count, int x, int y,
                                   int cx, int cy) {
  if (!proc && !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const char* text = reinterpret_cast<const char*>(data);
  if (!proc && count == 0) count = static_cast<int>(std::strlen(text));
  if (cx == 0 || cy == 0) {
    if (!proc) {
      SIZE s;
      GetTextExtentPoint32A(dc, text, count, &s);
      if (cx == 0) cx = s.cx;
      if (cy == 0) cy = s.cy;
    }
    if (cx == 0 || cy == 0) return FALSE;
  }
  MonoCanvas mask(cx, cy);
  HGDIOBJ oldFont = SelectObject(mask.dc, GetCurrentObject(dc, OBJ_FONT));
  SetBkMode(mask.dc, TRANSPARENT);
  SetTextColor(mask.dc, RGB(0, 0, 0));
  BOOL ok = proc ? proc(mask.dc, data, count) : TextOutA(mask.dc, 0, 0, text, count);
  SelectObject(mask.dc, oldFont);
  if (!ok) return FALSE;
  COLORREF color = GetSysColor(COLOR_GRAYTEXT);
  LOGBRUSH lb{};
  if (brush && GetObjectA(brush, sizeof lb, &lb) && lb.lbStyle == BS_SOLID) color = lb.lbColor;
  inkAt(dc, x, y, mask, color);
  return TRUE;
}
