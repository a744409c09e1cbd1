// System metrics, colours and non-client frame sizes of the virtual screen.
//
// The screen is 1280x1024 at 96 dpi with the Windows 2000 "classic" scheme:
// 1-pixel borders, 3-pixel fixed (dialog) frames, 4-pixel sizing frames,
// a 19-pixel caption (18 plus its bottom line), a 19-pixel menu bar and
// 16-pixel scroll bars. The work area is the whole screen (no task bar).
#include "window.h"

#include <internal/gdi_surface.h>

#include <cstring>
#include <mutex>

namespace win32::user {
namespace {

constexpr int kScreenX = win32::gdi::kScreenWidth;
constexpr int kScreenY = win32::gdi::kScreenHeight;

struct Metric {
  int index;
  int value;
};

// GetSystemMetrics answers; indices not listed answer 0, as Windows does.
constexpr Metric kMetrics[] = {
    {SM_CXSCREEN, kScreenX}, {SM_CYSCREEN, kScreenY}, {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 19}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1}, {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16}, {SM_CXHTHUMB, 16}, {SM_CXICON, 32}, {SM_CYICON, 32}, {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32}, {SM_CYMENU, 19}, {SM_CXFULLSCREEN, kScreenX}, {SM_CYFULLSCREEN, kScreenY - 19},
    {SM_MOUSEPRESENT, 1}, {SM_CYVSCROLL, 16}, {SM_CXHSCROLL, 16}, {SM_CXMIN, 112}, {SM_CYMIN, 27},
    {SM_CXSIZE, 18}, {SM_CYSIZE, 18}, {SM_CXFRAME, 4}, {SM_CYFRAME, 4}, {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27}, {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}, {SM_CXICONSPACING, 75},
    {SM_CYICONSPACING, 75}, {SM_CMOUSEBUTTONS, 3}, {SM_CXEDGE, 2}, {SM_CYEDGE, 2}, {SM_CXMINSPACING, 160},
    {SM_CYMINSPACING, 24}, {SM_CXSMICON, 16}, {SM_CYSMICON, 16}, {SM_CYSMCAPTION, 15}, {SM_CXSMSIZE, 12},
    {SM_CYSMSIZE, 14}, {SM_CXMENUSIZE, 18}, {SM_CYMENUSIZE, 18}, {SM_ARRANGE, 8}, {SM_CXMINIMIZED, 160},
    {SM_CYMINIMIZED, 24}, {SM_CXMAXTRACK, kScreenX + 12}, {SM_CYMAXTRACK, kScreenY + 12},
    {SM_CXMAXIMIZED, kScreenX + 8}, {SM_CYMAXIMIZED, kScreenY + 8}, {SM_NETWORK, 1}, {SM_CXDRAG, 4},
    {SM_CYDRAG, 4}, {SM_CXMENUCHECK, 13}, {SM_CYMENUCHECK, 13}, {SM_MOUSEWHEELPRESENT, 1},
    {SM_CXVIRTUALSCREEN, kScreenX}, {SM_CYVIRTUALSCREEN, kScreenY}, {SM_CMONITORS, 1},
    {SM_SAMEDISPLAYFORMAT, 1},
};

// The classic colour scheme, by COLOR_* index.
constexpr COLORREF kColors[] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
    RGB(212, 208, 200),
};
constexpr int kColorCount = sizeof kColors / sizeof kColors[0];

UINT doubleClickTime = 500;

void defaultFont(LOGFONTA& f, LONG height, LONG weight) {
  memset(&f, 0, sizeof f);
  f.lfHeight = height;
  f.lfWeight = weight;
  f.lfCharSet = 0;  // ANSI_CHARSET
  strncpy(f.lfFaceName, "MS Sans Serif", sizeof f.lfFaceName - 1);
}

}  // namespace

RECT frameInsets(DWORD style, DWORD exStyle, bool hasMenu) {
  // The outer edge: a static edge alone is one pixel, dialog-like frames two.
  int adjust = 0;
  if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE) adjust = 1;
  else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME))) adjust = 2;
  if (style & WS_THICKFRAME) adjust += GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME);
  if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) adjust++;
  RECT r{adjust, adjust, adjust, adjust};
  if ((style & WS_CAPTION) == WS_CAPTION)
    r.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  if (hasMenu) r.top += GetSystemMetrics(SM_CYMENU);
  if (exStyle & WS_EX_CLIENTEDGE) {
    r.left += GetSystemMetrics(SM_CXEDGE);
    r.right += GetSystemMetrics(SM_CXEDGE);
    r.top += GetSystemMetrics(SM_CYEDGE);
    r.bottom += GetSystemMetrics(SM_CYEDGE);
  }
  return r;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" int WINAPI GetSystemMetrics(int index) {
  for (const Metric& m : kMetrics)
    if (m.index == index) return m.value;
  return 0;
}

extern "C" DWORD WINAPI GetSysColor(int index) {
  return index >= 0 && index < kColorCount ? kColors[index] : 0;
}

extern "C" HBRUSH WINAPI GetSysColorBrush(int index) {
  if (index < 0 || index >= kColorCount) return nullptr;
  // One brush per colour for the life of the process, as Windows' system brushes.
  static std::mutex lock;
  static HBRUSH brushes[kColorCount] = {};
  std::lock_guard guard(lock);
  if (!brushes[index]) {
    brushes[index] = CreateSolidBrush(kColors[index]);
    win32::gdi::makePermanent(brushes[index]);  // DeleteObject on a system brush does nothing
  }
  return brushes[index];
}

extern "C" LONG WINAPI GetDialogBaseUnits(void) {
  // The system font's average character width and height.
  return MAKELONG(8, 16);
}

extern "C" UINT WINAPI GetDoubleClickTime(void) { return doubleClickTime; }

extern "C" BOOL WINAPI SetDoubleClickTime(UINT ms) {
  doubleClickTime = ms ? ms : 500;
  return TRUE;
}

extern "C" BOOL WINAPI SystemParametersInfoA(UINT action, UINT param, PVOID out, UINT winIni) {
  switch (action) {
    case SPI_GETWORKAREA:
      if (!out) break;
      *(RECT*)out = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return TRUE;
    case SPI_GETBORDER:
      if (!out) break;
      *(int*)out = 1;
      return TRUE;
    case SPI_GETKEYBOARDDELAY:
      if (!out) break;
      *(int*)out = 1;
      return TRUE;
    case SPI_GETKEYBOARDSPEED:
      if (!out) break;
      *(DWORD*)out = 31;
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
      if (!out) break;
      *(BOOL*)out = TRUE;
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      if (!out) break;
      *(UINT*)out = 3;
      return TRUE;
    case SPI_GETICONTITLELOGFONT:
      if (!out) break;
      defaultFont(*(LOGFONTA*)out, -11, 400);
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = (NONCLIENTMETRICSA*)out;
      if (!m || m->cbSize < sizeof(NONCLIENTMETRICSA)) break;
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      defaultFont(m->lfCaptionFont, -11, 700);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      defaultFont(m->lfSmCaptionFont, -11, 700);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      defaultFont(m->lfMenuFont, -11, 400);
      defaultFont(m->lfStatusFont, -11, 400);
      defaultFont(m->lfMessageFont, -11, 400);
      return TRUE;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

extern "C" BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT f = frameInsets(style, exStyle, menu != FALSE);
  rect->left -= f.left;
  rect->top -= f.top;
  rect->right += f.right;
  rect->bottom += f.bottom;
  return TRUE;
}

extern "C" BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rect, style, menu, 0);
}
