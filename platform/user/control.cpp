// Helpers shared by the standard controls (see control.h).
#include "control.h"

namespace win32::user::control {

void notifyParent(HWND hwnd, WORD code) {
  HWND parent = creationParent(hwnd);
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM((WORD)GetDlgCtrlID(hwnd), code), (LPARAM)hwnd);
}

HBRUSH colorBrush(HWND hwnd, HDC dc, UINT ctlColorMessage) {
  HWND parent = creationParent(hwnd);
  HBRUSH brush = parent ? (HBRUSH)SendMessageA(parent, ctlColorMessage, (WPARAM)dc, (LPARAM)hwnd) : nullptr;
  if (!brush) brush = (HBRUSH)DefWindowProcA(hwnd, ctlColorMessage, (WPARAM)dc, (LPARAM)hwnd);
  return brush;
}

HFONT fontOrSystem(HFONT font) { return font ? font : (HFONT)GetStockObject(SYSTEM_FONT); }

PaintScope::PaintScope(HWND hwnd, WPARAM givenDC) : hwnd_(hwnd) {
  if (givenDC) {
    dc_ = (HDC)givenDC;
  } else {
    dc_ = BeginPaint(hwnd, &ps_);
    began_ = true;
  }
}

PaintScope::~PaintScope() {
  if (began_) EndPaint(hwnd_, &ps_);
}

int lineHeight(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm.tmHeight > 0 ? tm.tmHeight : 16;
}

SIZE imageSize(HANDLE image, UINT type) {
  if (!image) return SIZE{0, 0};
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    ICONINFO info{};
    if (!GetIconInfo((HICON)image, &info)) return SIZE{0, 0};
    BITMAP bm{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    SIZE size{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
  }
  BITMAP bm{};
  if (type == IMAGE_BITMAP && GetObjectA(image, sizeof bm, &bm)) return SIZE{bm.bmWidth, bm.bmHeight};
  return SIZE{0, 0};
}

}  // namespace win32::user::control
