// Tiling, cascading and lining up minimized windows: TileWindows,
// CascadeWindows and ArrangeIconicWindows (the MDI client's WM_MDITILE,
// WM_MDICASCADE and WM_MDIICONARRANGE use them for its children).
#include "mdi.h"

#include <algorithm>
#include <cmath>

namespace win32::user {
namespace {

bool minimized(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & WS_MINIMIZE) != 0; }

// The windows to arrange: the given ones, or the parent's visible children
// (top-level windows for no parent) in z-order, top first.
std::vector<HWND> windowsToArrange(HWND parent, UINT count, const HWND* kids, bool skipDisabled) {
  std::vector<HWND> all;
  if (kids && count) all.assign(kids, kids + count);
  else
    for (HWND w = GetWindow(parent ? parent : GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      all.push_back(w);
  std::vector<HWND> out;
  for (HWND w : all) {
    if (!IsWindow(w) || !IsWindowVisible(w) || minimized(w)) continue;
    if (skipDisabled && !IsWindowEnabled(w)) continue;
    out.push_back(w);
  }
  return out;
}

RECT arrangeArea(HWND parent, const RECT* given) {
  RECT area{};
  if (given) return *given;
  if (parent) GetClientRect(parent, &area);
  else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  // The row of minimized windows along the bottom stays free.
  for (HWND w = GetWindow(parent ? parent : GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsWindowVisible(w) && minimized(w)) {
      area.bottom -= GetSystemMetrics(SM_CYMINSPACING);
      break;
    }
  return area;
}

// Maximized windows are restored before they are arranged.
void restoreMaximized(const std::vector<HWND>& windows) {
  for (HWND w : windows)
    if (IsZoomed(w)) ShowWindow(w, SW_SHOWNOACTIVATE);
}

int captionStep() { return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME); }

}  // namespace

RECT cascadeSlot(HWND client, int n) {
  RECT area{};
  GetClientRect(client, &area);
  int step = captionStep();
  int fit = std::max(1, (int)(area.bottom / 4) / std::max(1, step));
  int k = n % fit;
  return RECT{k * step, k * step, k * step, k * step};
}

}  // namespace win32::user

using namespace win32::user;

extern "C" WORD WINAPI TileWindows(HWND hwndParent, UINT wHow, const RECT* lpRect, UINT cKids, const HWND* lpKids) {
  std::vector<HWND> windows = windowsToArrange(hwndParent, cKids, lpKids, (wHow & MDITILE_SKIPDISABLED) != 0);
  if (windows.empty()) return 0;
  if (!lpRect && hwndParent) ArrangeIconicWindows(hwndParent);
  restoreMaximized(windows);
  RECT area = arrangeArea(hwndParent, lpRect);
  int n = (int)windows.size();
  // Up to three windows share one line: side by side (vertical tiling) or
  // stacked (MDITILE_HORIZONTAL). More make a near-square grid of columns
  // (rows), the last ones taking the extra windows.
  int lines = n <= 3 ? n : std::max(1, (int)std::sqrt((double)n));
  bool horizontal = (wHow & MDITILE_HORIZONTAL) != 0;
  int width = area.right - area.left, height = area.bottom - area.top;
  int placed = 0;
  for (int line = 0; line < lines; ++line) {
    int inLine = n / lines + (line >= lines - n % lines ? 1 : 0);
    for (int k = 0; k < inLine; ++k, ++placed) {
      RECT r;
      if (horizontal) {
        r = RECT{area.left + k * width / inLine, area.top + line * height / lines, area.left + (k + 1) * width / inLine,
                 area.top + (line + 1) * height / lines};
      } else {
        r = RECT{area.left + line * width / lines, area.top + k * height / inLine, area.left + (line + 1) * width / lines,
                 area.top + (k + 1) * height / inLine};
      }
      SetWindowPos(windows[(size_t)placed], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return (WORD)placed;
}

extern "C" WORD WINAPI CascadeWindows(HWND hwndParent, UINT wHow, const RECT* lpRect, UINT cKids, const HWND* lpKids) {
  std::vector<HWND> windows = windowsToArrange(hwndParent, cKids, lpKids, (wHow & MDITILE_SKIPDISABLED) != 0);
  if (windows.empty()) return 0;
  restoreMaximized(windows);
  RECT area = arrangeArea(hwndParent, lpRect);
  int step = captionStep();
  int n = (int)windows.size();
  int width = std::max(step * 4, (int)(area.right - area.left) - step * (n - 1));
  int height = std::max(step * 3, (int)(area.bottom - area.top) - step * (n - 1));
  // The bottom window of the z-order goes first, so the top one ends in front, last.
  for (int i = 0; i < n; ++i) {
    HWND w = windows[(size_t)(n - 1 - i)];
    SetWindowPos(w, HWND_TOP, area.left + i * step, area.top + i * step, width, height, SWP_NOACTIVATE);
  }
  return (WORD)n;
}

extern "C" UINT WINAPI ArrangeIconicWindows(HWND hWnd) {
  HWND parent = hWnd ? hWnd : GetDesktopWindow();
  RECT area{};
  GetClientRect(parent, &area);
  int cx = GetSystemMetrics(SM_CXMINSPACING), cy = GetSystemMetrics(SM_CYMINSPACING);
  int perRow = std::max(1, (int)(area.right / std::max(1, cx)));
  int count = 0;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!IsWindowVisible(w) || !minimized(w)) continue;
    int x = (count % perRow) * cx, y = area.bottom - (count / perRow + 1) * cy;
    SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ++count;
  }
  return count ? (UINT)cy : 0;
}
