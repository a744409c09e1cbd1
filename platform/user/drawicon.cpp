// DrawIcon and DrawIconEx: the AND mask, then the colour image through XOR.
#include "icon.h"

#include "drawutil.h"

using namespace win32::user;

extern "C" BOOL WINAPI DrawIconEx(HDC dc, int x, int y, HICON handle, int cx, int cy, UINT step, HBRUSH background,
                                  UINT flags) {
  auto icon = findIcon(handle);
  if (!icon) return FALSE;
  if (!(flags & DI_NORMAL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(icon->icon ? SM_CXICON : SM_CXCURSOR) : icon->width;
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(icon->icon ? SM_CYICON : SM_CYCURSOR) : icon->height;
  if (background) fillWith(dc, RECT{x, y, x + cx, y + cy}, resolveBrush(background), PATCOPY);
  HDC mem = CreateCompatibleDC(dc);
  // Monochrome sources map 0 to black and 1 to white for the bitwise ROPs.
  COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  int stretch = SetStretchBltMode(dc, COLORONCOLOR);
  const bool both = (flags & DI_NORMAL) == DI_NORMAL;
  BOOL ok = TRUE;
  HGDIOBJ old = SelectObject(mem, icon->mask);
  if (flags & DI_MASK) ok &= StretchBlt(dc, x, y, cx, cy, mem, 0, 0, icon->width, icon->height, SRCAND);
  if (flags & DI_IMAGE) {
    if (icon->color) {
      SelectObject(mem, icon->color);
      ok &= StretchBlt(dc, x, y, cx, cy, mem, 0, 0, icon->width, icon->height, both ? SRCINVERT : SRCCOPY);
    } else {
      ok &= StretchBlt(dc, x, y, cx, cy, mem, 0, icon->height, icon->width, icon->height, both ? SRCINVERT : SRCCOPY);
    }
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  SetStretchBltMode(dc, stretch);
  return ok;
}

extern "C" BOOL WINAPI DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}
