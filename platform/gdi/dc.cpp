// Device contexts: creation, state, SaveDC/RestoreDC and device capabilities.
#include "dc.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <internal/fontsetup.h>
#include <internal/gdi_surface.h>
#include <internal/printer.h>

#include "printer.h"

namespace win32::gdi {

int mulDiv(int64_t a, int64_t b, int64_t c) {
  int64_t n = a * b;
  int64_t q = (n >= 0) == (c > 0) ? (std::abs(n) + std::abs(c) / 2) / std::abs(c)
                                  : -((std::abs(n) + std::abs(c) / 2) / std::abs(c));
  return static_cast<int>(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
}

std::shared_ptr<DCObject> findDC(HDC handle) {
  auto dc = findAs<DCObject>(handle);
  if (!dc) SetLastError(ERROR_INVALID_HANDLE);
  return dc;
}

PixelBuffer screenPixels() {
  // Allocated on first use; the headless desktop starts white.
  static std::vector<uint32_t>* pixels =
      new std::vector<uint32_t>(size_t(kScreenWidth) * kScreenHeight, 0xFFFFFF);
  PixelBuffer b;
  b.top = reinterpret_cast<uint8_t*>(pixels->data());
  b.stride = kScreenWidth * 4;
  b.width = kScreenWidth;
  b.height = kScreenHeight;
  b.bpp = 32;
  return b;
}

DCObject::DCObject(Kind kind) : GdiObject(kind == Kind::Memory ? OBJ_MEMDC : OBJ_DC), kind(kind) {}

DCObject::~DCObject() {
  if (surface) cairo_surface_destroy(surface);
}

void DCObject::resetState() {
  DCState fresh;
  fresh.pen = stockPen(BLACK_PEN);
  fresh.brush = stockBrush(WHITE_BRUSH);
  fresh.font = stockFont(SYSTEM_FONT);
  fresh.palette = defaultPalette();
  fresh.bitmap = kind == Kind::Memory ? (state.bitmap ? state.bitmap : Selected<BitmapObject>(defaultBitmap()))
                                      : Selected<BitmapObject>();
  state = fresh;
  saved.clear();
}

POINT DCObject::toDevice(POINT p) const {
  const auto& s = state;
  return {mulDiv(int64_t(p.x) - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx) + s.viewportOrg.x,
          mulDiv(int64_t(p.y) - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy) + s.viewportOrg.y};
}

POINT DCObject::toLogical(POINT p) const {
  const auto& s = state;
  return {mulDiv(int64_t(p.x) - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
          mulDiv(int64_t(p.y) - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}

int DCObject::widthToDevice(int w) const { return mulDiv(w, state.viewportExt.cx, state.windowExt.cx); }
int DCObject::heightToDevice(int h) const { return mulDiv(h, state.viewportExt.cy, state.windowExt.cy); }
int DCObject::widthToLogical(int w) const { return mulDiv(w, state.windowExt.cx, state.viewportExt.cx); }
int DCObject::heightToLogical(int h) const { return mulDiv(h, state.windowExt.cy, state.viewportExt.cy); }

RECT DCObject::rectToDevice(const RECT& r) const {
  POINT a = toDevice({r.left, r.top}), b = toDevice({r.right, r.bottom});
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

PixelBuffer DCObject::target(POINT* offset) {
  if (offset) *offset = {0, 0};
  switch (kind) {
    case Kind::Memory:
      return state.bitmap ? state.bitmap->pixels : PixelBuffer{};
    case Kind::Display:
      return screenPixels();
    case Kind::Information:
      return {};
    case Kind::Printer:
      return printer ? printer->rasterTarget() : PixelBuffer{};
    case Kind::Surface: {
      if (!surface) return {};
      cairo_surface_flush(surface);
      PixelBuffer b;
      b.top = cairo_image_surface_get_data(surface);
      b.stride = cairo_image_surface_get_stride(surface);
      b.width = cairo_image_surface_get_width(surface);
      b.height = cairo_image_surface_get_height(surface);
      b.bpp = 32;
      b.opaqueAlpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
      if (offset) *offset = origin;
      return b;
    }
  }
  return {};
}

void DCObject::touched() {
  if (kind == Kind::Printer && printer) printer->rasterTouched();
  if (kind == Kind::Surface && surface) cairo_surface_mark_dirty(surface);
  if (kind == Kind::Memory && state.bitmap) {
    if (auto* s = state.bitmap->cairoSurface()) cairo_surface_mark_dirty(s);
  }
}

Region DCObject::visibleRegion() {
  POINT offset;
  PixelBuffer b = target(&offset);
  if (!b.valid()) return {};
  Region r = Region::fromRect(-offset.x, -offset.y, b.width - offset.x, b.height - offset.y);
  if (windowClip) r = r.intersect(*windowClip);
  if (state.clip) r = r.intersect(*state.clip);
  return r;
}

std::shared_ptr<RealizedFont> DCObject::realizedFont() {
  awaitFontSetup();  // fonts realise through fontconfig
  LOGFONTA lf = state.font ? state.font->logfont : LOGFONTA{};
  int h = lf.lfHeight;
  int device = std::abs(heightToDevice(h));
  if (h != 0 && device == 0) device = 1;
  return RealizedFont::get(lf, h < 0 ? -device : device);
}

namespace {

HDC newDC(std::shared_ptr<DCObject> dc) {
  dc->resetState();
  return static_cast<HDC>(registerObject(std::move(dc)));
}

}  // namespace

// --- surface DCs (the window system's interface) -----------------------------

HDC createSurfaceDC(cairo_surface_t* surface, POINT origin, HRGN clip, HWND window) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24 &&
       cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiLock lock(gdiMutex());
  auto dc = std::make_shared<DCObject>(DCObject::Kind::Surface);
  dc->surface = cairo_surface_reference(surface);
  dc->origin = origin;
  dc->window = window;
  if (clip) {
    auto r = findRegion(clip);
    if (!r) return nullptr;
    dc->windowClip = r->region;
  }
  return newDC(std::move(dc));
}

void releaseSurfaceDC(HDC handle) {
  GdiLock lock(gdiMutex());
  auto dc = findAs<DCObject>(handle);
  if (dc && dc->kind == DCObject::Kind::Surface) DeleteDC(handle);
}

void resetSurfaceDC(HDC handle) {
  GdiLock lock(gdiMutex());
  if (auto dc = findAs<DCObject>(handle)) dc->resetState();
}

bool setSurfaceDCOrigin(HDC handle, POINT origin, HRGN clip) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(handle);
  if (!dc || dc->kind != DCObject::Kind::Surface) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  std::optional<Region> region;
  if (clip) {
    auto r = findRegion(clip);
    if (!r) return false;
    region = r->region;
  }
  dc->origin = origin;
  dc->windowClip = std::move(region);
  return true;
}

HWND windowOfDC(HDC handle) {
  GdiLock lock(gdiMutex());
  auto dc = findAs<DCObject>(handle);
  return dc ? dc->window : nullptr;
}

cairo_surface_t* surfaceOfDC(HDC handle) {
  GdiLock lock(gdiMutex());
  auto dc = findAs<DCObject>(handle);
  if (!dc) return nullptr;
  if (dc->kind == DCObject::Kind::Surface) return dc->surface;
  if (dc->kind == DCObject::Kind::Printer) return dc->printer->pageImage();
  if (dc->kind == DCObject::Kind::Memory && dc->state.bitmap) return dc->state.bitmap->cairoSurface();
  return nullptr;
}

}  // namespace win32::gdi

using namespace win32::gdi;

// --- creation and deletion -----------------------------------------------------

extern "C" HDC WINAPI CreateCompatibleDC(HDC hdc) {
  GdiLock lock(gdiMutex());
  if (hdc && !findDC(hdc)) return nullptr;
  return newDC(std::make_shared<DCObject>(DCObject::Kind::Memory));
}

namespace {

// The display, or a printer of the layer by its device name (the driver
// name alone also names one, as "WINSPOOL" with a device does).
HDC createDC(LPCSTR driver, LPCSTR device, const DEVMODEA* mode, DCObject::Kind displayKind) {
  auto isDisplay = [](LPCSTR name) { return name && strcasecmp(name, "DISPLAY") == 0; };
  if (isDisplay(driver) || isDisplay(device)) {
    GdiLock lock(gdiMutex());
    return newDC(std::make_shared<DCObject>(displayKind));
  }
  const char* printerName = device && *device ? device : driver;
  if (!printerExists(printerName)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  DEVMODEA setup = mode && mode->dmSize >= offsetof(DEVMODEA, dmFormName) ? *mode : defaultDevMode(printerName);
  GdiLock lock(gdiMutex());
  auto dc = std::make_shared<DCObject>(DCObject::Kind::Printer);
  dc->printer = std::make_unique<PrinterPage>(printerName, setup);
  return newDC(std::move(dc));
}

}  // namespace

extern "C" HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
  return createDC(driver, device, mode, DCObject::Kind::Display);
}

// An information context of a printer answers its capabilities and metrics
// like its DC.
extern "C" HDC WINAPI CreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
  return createDC(driver, device, mode, DCObject::Kind::Information);
}

extern "C" BOOL WINAPI DeleteDC(HDC hdc) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  // Deselect everything first so deferred deletions complete now; an open
  // print job is abandoned with its file.
  dc->printer.reset();
  dc->saved.clear();
  dc->state = DCState{};
  unregisterObject(hdc);
  return TRUE;
}

extern "C" BOOL WINAPI GdiFlush(void) { return TRUE; }

// --- SaveDC / RestoreDC ------------------------------------------------------------

extern "C" int WINAPI SaveDC(HDC hdc) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

// A positive level restores that SaveDC's state (and drops the later ones);
// a negative one counts back from the most recent (-1 = the last).
extern "C" BOOL WINAPI RestoreDC(HDC hdc, int level) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  int count = static_cast<int>(dc->saved.size());
  int index = level < 0 ? count + level : level - 1;
  if (level == 0 || index < 0 || index >= count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  dc->state = dc->saved[index];
  dc->saved.resize(index);
  return TRUE;
}

// --- device capabilities -------------------------------------------------------------

namespace {

// A printer's page is its whole paper: no unprintable margins.
int printerCaps(const PrinterPage& page, int index) {
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return mulDiv(page.width(), 254, page.dpi() * 10);   // mm
    case VERTSIZE: return mulDiv(page.height(), 254, page.dpi() * 10);  // mm
    case HORZRES:
    case PHYSICALWIDTH: return page.width();
    case VERTRES:
    case PHYSICALHEIGHT: return page.height();
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return 0;
    case LOGPIXELSX:
    case LOGPIXELSY: return page.dpi();
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case CURVECAPS: return 0xFF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return TC_OP_CHARACTER | TC_CP_STROKE | TC_SA_DOUBLE | TC_UA_ABLE | TC_SO_ABLE;
    case CLIPCAPS: return CP_RECTANGLE;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT |
                            RC_STRETCHBLT | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return page.dpi();
    case ASPECTXY: return mulDiv(page.dpi(), 1414, 1000);
    case COLORRES: return 24;
    default: return 0;
  }
}

}  // namespace

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int index) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return 0;
  if (dc->kind == DCObject::Kind::Printer) return printerCaps(*dc->printer, index);
  POINT offset;
  PixelBuffer b = dc->target(&offset);
  // A memory DC with a monochrome bitmap reports the display's capabilities
  // except for colour depth, as on Windows.
  const bool mono = dc->kind == DCObject::Kind::Memory && b.bpp == 1;
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return mulDiv(kScreenWidth, 254, kScreenDpi * 10);   // mm
    case VERTSIZE: return mulDiv(kScreenHeight, 254, kScreenDpi * 10);  // mm
    case HORZRES:
    case DESKTOPHORZRES: return kScreenWidth;
    case VERTRES:
    case DESKTOPVERTRES: return kScreenHeight;
    case BITSPIXEL: return mono ? 1 : 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case NUMMARKERS: return 0;
    case NUMFONTS: return 0;
    case NUMCOLORS: return mono ? 2 : -1;
    case PDEVICESIZE: return 0;
    case CURVECAPS: return 0xFF;  // circles, pies, chords, ellipses, wide and styled lines, round rects
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return TC_OP_CHARACTER | TC_CP_STROKE | TC_SA_DOUBLE | TC_UA_ABLE | TC_SO_ABLE;
    case CLIPCAPS: return CP_RECTANGLE;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT | RC_STRETCHBLT |
             RC_FLOODFILL | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return kScreenDpi;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case PHYSICALWIDTH:
    case PHYSICALHEIGHT:
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return 0;
    case VREFRESH: return 60;
    case BLTALIGNMENT: return 0;
    default: return 0;
  }
}

extern "C" BOOL WINAPI GetDCOrgEx(HDC hdc, LPPOINT point) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc || !point) return FALSE;
  *point = dc->kind == DCObject::Kind::Surface ? dc->origin : POINT{0, 0};
  return TRUE;
}

// --- attributes ---------------------------------------------------------------------
// Each setter answers the previous value, or the documented failure value
// (CLR_INVALID for colours, 0 for modes) for a bad DC or a bad mode.

namespace {

template <class T, class Check>
T setAttribute(HDC hdc, T DCState::*field, T value, T failure, Check valid) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return failure;
  if (!valid(value)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return failure;
  }
  T old = dc->state.*field;
  dc->state.*field = value;
  return old;
}

template <class T>
T getAttribute(HDC hdc, T DCState::*field, T failure) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  return dc ? dc->state.*field : failure;
}

auto any = [](auto) { return true; };

}  // namespace

extern "C" COLORREF WINAPI SetTextColor(HDC hdc, COLORREF c) {
  return setAttribute(hdc, &DCState::textColor, c, COLORREF(CLR_INVALID), any);
}
extern "C" COLORREF WINAPI GetTextColor(HDC hdc) { return getAttribute(hdc, &DCState::textColor, COLORREF(CLR_INVALID)); }
extern "C" COLORREF WINAPI SetBkColor(HDC hdc, COLORREF c) {
  return setAttribute(hdc, &DCState::bkColor, c, COLORREF(CLR_INVALID), any);
}
extern "C" COLORREF WINAPI GetBkColor(HDC hdc) { return getAttribute(hdc, &DCState::bkColor, COLORREF(CLR_INVALID)); }
extern "C" COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF c) {
  return setAttribute(hdc, &DCState::dcBrushColor, c, COLORREF(CLR_INVALID), any);
}
extern "C" COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF c) {
  return setAttribute(hdc, &DCState::dcPenColor, c, COLORREF(CLR_INVALID), any);
}
extern "C" int WINAPI SetBkMode(HDC hdc, int mode) {
  return setAttribute(hdc, &DCState::bkMode, mode, 0, [](int m) { return m == OPAQUE || m == TRANSPARENT; });
}
extern "C" int WINAPI GetBkMode(HDC hdc) { return getAttribute(hdc, &DCState::bkMode, 0); }
extern "C" int WINAPI SetROP2(HDC hdc, int rop2) {
  return setAttribute(hdc, &DCState::rop2, rop2, 0, [](int r) { return r >= R2_BLACK && r <= R2_WHITE; });
}
extern "C" int WINAPI GetROP2(HDC hdc) { return getAttribute(hdc, &DCState::rop2, 0); }
extern "C" int WINAPI SetPolyFillMode(HDC hdc, int mode) {
  return setAttribute(hdc, &DCState::polyFillMode, mode, 0, [](int m) { return m == ALTERNATE || m == WINDING; });
}
extern "C" int WINAPI GetPolyFillMode(HDC hdc) { return getAttribute(hdc, &DCState::polyFillMode, 0); }
extern "C" int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  return setAttribute(hdc, &DCState::stretchMode, mode, 0, [](int m) { return m >= BLACKONWHITE && m <= HALFTONE; });
}
extern "C" int WINAPI GetStretchBltMode(HDC hdc) { return getAttribute(hdc, &DCState::stretchMode, 0); }
extern "C" UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  return setAttribute(hdc, &DCState::textAlign, align, UINT(GDI_ERROR), any);
}
extern "C" UINT WINAPI GetTextAlign(HDC hdc) { return getAttribute(hdc, &DCState::textAlign, UINT(GDI_ERROR)); }
extern "C" int WINAPI SetTextCharacterExtra(HDC hdc, int extra) {
  return setAttribute(hdc, &DCState::charExtra, extra, int(0x80000000), any);
}
extern "C" int WINAPI GetTextCharacterExtra(HDC hdc) { return getAttribute(hdc, &DCState::charExtra, int(0x80000000)); }
extern "C" int WINAPI SetGraphicsMode(HDC hdc, int mode) {
  return setAttribute(hdc, &DCState::graphicsMode, mode, 0,
                      [](int m) { return m == GM_COMPATIBLE || m == GM_ADVANCED; });
}
extern "C" int WINAPI GetGraphicsMode(HDC hdc) { return getAttribute(hdc, &DCState::graphicsMode, 0); }
extern "C" int WINAPI SetArcDirection(HDC hdc, int dir) {
  return setAttribute(hdc, &DCState::arcDirection, dir, 0,
                      [](int d) { return d == AD_COUNTERCLOCKWISE || d == AD_CLOCKWISE; });
}
extern "C" int WINAPI GetArcDirection(HDC hdc) { return getAttribute(hdc, &DCState::arcDirection, 0); }

extern "C" BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.brushOrg;
  dc->state.brushOrg = {x, y};
  return TRUE;
}

extern "C" BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT point) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc || !point) return FALSE;
  *point = dc->state.brushOrg;
  return TRUE;
}
