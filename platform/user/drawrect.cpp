// FillRect, FrameRect, InvertRect and DrawFocusRect.
#include <windows.h>

#include "drawutil.h"

namespace win32::user {

HBRUSH resolveBrush(HBRUSH brush) {
  // (HBRUSH)(COLOR_* + 1) stands for the system colour's brush.
  const auto value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= COLOR_GRADIENTINACTIVECAPTION + 1) return GetSysColorBrush(static_cast<int>(value) - 1);
  return brush;
}

bool fillWith(HDC dc, const RECT& r, HBRUSH brush, DWORD rop) {
  HGDIOBJ old = SelectObject(dc, brush);
  if (!old) return false;
  bool ok = PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, rop);
  SelectObject(dc, old);
  return ok;
}

bool fillColor(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  bool ok = fillWith(dc, r, brush, PATCOPY);
  DeleteObject(brush);
  return ok;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" int WINAPI FillRect(HDC dc, const RECT* r, HBRUSH brush) {
  if (!r || !brush) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (r->right <= r->left || r->bottom <= r->top) return 1;
  return fillWith(dc, *r, resolveBrush(brush), PATCOPY) ? 1 : 0;
}

// One logical unit wide, inside the rectangle.
extern "C" int WINAPI FrameRect(HDC dc, const RECT* r, HBRUSH brush) {
  if (!r || !brush) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (r->right <= r->left || r->bottom <= r->top) return 0;
  HGDIOBJ old = SelectObject(dc, resolveBrush(brush));
  if (!old) return 0;
  const int w = r->right - r->left, h = r->bottom - r->top;
  PatBlt(dc, r->left, r->top, w, 1, PATCOPY);
  PatBlt(dc, r->left, r->bottom - 1, w, 1, PATCOPY);
  PatBlt(dc, r->left, r->top, 1, h, PATCOPY);
  PatBlt(dc, r->right - 1, r->top, 1, h, PATCOPY);
  SelectObject(dc, old);
  return 1;
}

extern "C" BOOL WINAPI InvertRect(HDC dc, const RECT* r) {
  if (!r) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return PatBlt(dc, r->left, r->top, r->right - r->left, r->bottom - r->top, DSTINVERT);
}

// Every other pixel of the border, inverted: drawing the same focus
// rectangle twice removes it. The dots follow the brush origin, so that
// adjacent rectangles line up.
extern "C" BOOL WINAPI DrawFocusRect(HDC dc, const RECT* r) {
  if (!r) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  BYTE rows[16] = {};  // 8x8 checker, rows padded to 16 bits
  for (int i = 0; i < 8; ++i) rows[2 * i] = (i % 2) ? 0xAA : 0x55;
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);
  if (!brush) return FALSE;
  // 1 bits of the pattern take the background colour: white inverts.
  COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, brush);
  BOOL ok = FALSE;
  if (old) {
    const int w = r->right - r->left, h = r->bottom - r->top;
    if (w > 0 && h > 0) {
      PatBlt(dc, r->left, r->top, w, 1, PATINVERT);
      if (h > 1) PatBlt(dc, r->left, r->bottom - 1, w, 1, PATINVERT);
      if (h > 2) {
        PatBlt(dc, r->left, r->top + 1, 1, h - 2, PATINVERT);
        if (w > 1) PatBlt(dc, r->right - 1, r->top + 1, 1, h - 2, PATINVERT);
      }
    }
    SelectObject(dc, old);
    ok = TRUE;
  }
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  DeleteObject(brush);
  return ok;
}
