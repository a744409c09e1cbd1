// Mapping modes: the window-to-viewport transform of a DC.
//
// The metric and English modes use the display's 96 pixels an inch exactly
// (a window extent of units per inch against a viewport of 96 pixels, y up),
// so that MM_TWIPS maps 1440 units to 96 pixels without the rounding error a
// screen size in whole millimetres would bring.
#include "dc.h"
#include "printer.h"

#include <cstdlib>
#include <internal/gdi_surface.h>

using namespace win32::gdi;

namespace {

struct FixedMode {
  int mode;
  int unitsPerInch;
};

constexpr FixedMode kFixedModes[] = {
    {MM_LOMETRIC, 254}, {MM_HIMETRIC, 2540}, {MM_LOENGLISH, 100}, {MM_HIENGLISH, 1000}, {MM_TWIPS, 1440},
};

// In MM_ISOTROPIC the viewport extent shrinks on one axis so that a logical
// unit has the same size in both directions.
void fixIsotropic(DCState& s) {
  if (s.mapMode != MM_ISOTROPIC) return;
  int64_t xs = int64_t(std::abs(s.viewportExt.cx)) * std::abs(s.windowExt.cy);
  int64_t ys = int64_t(std::abs(s.viewportExt.cy)) * std::abs(s.windowExt.cx);
  if (xs == ys) return;
  if (xs < ys) {
    int v = mulDiv(std::abs(s.viewportExt.cx), std::abs(s.windowExt.cy), std::abs(s.windowExt.cx));
    s.viewportExt.cy = s.viewportExt.cy < 0 ? -v : v;
  } else {
    int v = mulDiv(std::abs(s.viewportExt.cy), std::abs(s.windowExt.cx), std::abs(s.windowExt.cy));
    s.viewportExt.cx = s.viewportExt.cx < 0 ? -v : v;
  }
  if (s.viewportExt.cx == 0) s.viewportExt.cx = 1;
  if (s.viewportExt.cy == 0) s.viewportExt.cy = 1;
}

template <class F>
BOOL withDC(HDC hdc, F f) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  return f(*dc) ? TRUE : FALSE;
}

}  // namespace

extern "C" int WINAPI SetMapMode(HDC hdc, int mode) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return 0;
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& s = dc->state;
  int old = s.mapMode;
  s.mapMode = mode;
  if (mode == MM_TEXT) {
    s.windowExt = {1, 1};
    s.viewportExt = {1, 1};
  } else if (mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) {
    // Keeps the current scale, as Windows does when leaving a fixed mode.
    if (old == MM_TEXT) {
      s.windowExt = {1, 1};
      s.viewportExt = {1, 1};
    }
    fixIsotropic(s);
  } else {
    for (const auto& f : kFixedModes) {
      if (f.mode == mode) {
        s.windowExt = {f.unitsPerInch, f.unitsPerInch};
        const int dpi = dc->kind == DCObject::Kind::Printer ? dc->printer->dpi() : kScreenDpi;
        s.viewportExt = {dpi, -dpi};
      }
    }
  }
  return old;
}

extern "C" int WINAPI GetMapMode(HDC hdc) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  return dc ? dc->state.mapMode : 0;
}

extern "C" BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return withDC(hdc, [&](DCObject& dc) {
    if (old) *old = dc.state.windowOrg;
    dc.state.windowOrg = {x, y};
    return true;
  });
}

extern "C" BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT point) {
  return withDC(hdc, [&](DCObject& dc) {
    if (!point) return false;
    *point = dc.state.windowOrg;
    return true;
  });
}

extern "C" BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return withDC(hdc, [&](DCObject& dc) {
    if (old) *old = dc.state.viewportOrg;
    dc.state.viewportOrg = {x, y};
    return true;
  });
}

extern "C" BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT point) {
  return withDC(hdc, [&](DCObject& dc) {
    if (!point) return false;
    *point = dc.state.viewportOrg;
    return true;
  });
}

extern "C" BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return withDC(hdc, [&](DCObject& dc) {
    if (old) *old = dc.state.windowOrg;
    dc.state.windowOrg.x += dx;
    dc.state.windowOrg.y += dy;
    return true;
  });
}

extern "C" BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return withDC(hdc, [&](DCObject& dc) {
    if (old) *old = dc.state.viewportOrg;
    dc.state.viewportOrg.x += dx;
    dc.state.viewportOrg.y += dy;
    return true;
  });
}

namespace {

// Extents can change only in MM_ISOTROPIC and MM_ANISOTROPIC; elsewhere the
// call succeeds without effect, as documented.
BOOL setExtent(HDC hdc, SIZE DCState::*extent, int x, int y, LPSIZE old) {
  return withDC(hdc, [&](DCObject& dc) {
    if (old) *old = dc.state.*extent;
    if (dc.state.mapMode != MM_ISOTROPIC && dc.state.mapMode != MM_ANISOTROPIC) return true;
    if (x == 0 || y == 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    dc.state.*extent = {x, y};
    fixIsotropic(dc.state);
    return true;
  });
}

BOOL getExtent(HDC hdc, SIZE DCState::*extent, LPSIZE size) {
  return withDC(hdc, [&](DCObject& dc) {
    if (!size) return false;
    *size = dc.state.*extent;
    return true;
  });
}

}  // namespace

extern "C" BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE old) {
  return setExtent(hdc, &DCState::windowExt, x, y, old);
}

extern "C" BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE size) { return getExtent(hdc, &DCState::windowExt, size); }

extern "C" BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE old) {
  return setExtent(hdc, &DCState::viewportExt, x, y, old);
}

extern "C" BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE size) { return getExtent(hdc, &DCState::viewportExt, size); }

namespace {

BOOL scaleExtent(HDC hdc, SIZE DCState::*field, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old) {
  return withDC(hdc, [&](DCObject& dc) {
    SIZE& ext = dc.state.*field;
    if (old) *old = ext;
    if (dc.state.mapMode != MM_ISOTROPIC && dc.state.mapMode != MM_ANISOTROPIC) return true;
    if (xDenom == 0 || yDenom == 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    int cx = mulDiv(ext.cx, xNum, xDenom), cy = mulDiv(ext.cy, yNum, yDenom);
    if (cx == 0 || cy == 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    ext = {cx, cy};
    fixIsotropic(dc.state);
    return true;
  });
}

}  // namespace

extern "C" BOOL WINAPI ScaleViewportExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old) {
  return scaleExtent(hdc, &DCState::viewportExt, xNum, xDenom, yNum, yDenom, old);
}

extern "C" BOOL WINAPI ScaleWindowExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old) {
  return scaleExtent(hdc, &DCState::windowExt, xNum, xDenom, yNum, yDenom, old);
}

extern "C" BOOL WINAPI LPtoDP(HDC hdc, LPPOINT points, int count) {
  return withDC(hdc, [&](DCObject& dc) {
    if (count < 0 || (count > 0 && !points)) return false;
    for (int i = 0; i < count; ++i) points[i] = dc.toDevice(points[i]);
    return true;
  });
}

extern "C" BOOL WINAPI DPtoLP(HDC hdc, LPPOINT points, int count) {
  return withDC(hdc, [&](DCObject& dc) {
    if (count < 0 || (count > 0 && !points)) return false;
    for (int i = 0; i < count; ++i) points[i] = dc.toLogical(points[i]);
    return true;
  });
}
