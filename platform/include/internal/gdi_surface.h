// Device contexts that draw onto window surfaces: the interface between the
// window system of user32 (GetDC, BeginPaint, rendering windows to PNG) and
// gdi32.
//
// A window surface is a cairo image surface of format CAIRO_FORMAT_RGB24 or
// CAIRO_FORMAT_ARGB32: 32 bits a pixel, 0x00RRGGBB in native byte order,
// which is the byte layout (B, G, R, x) of a Windows 32-bit DIB. gdi32 draws
// with its own rasteriser straight into the surface's data and marks the
// surface dirty afterwards, so a caller may keep using cairo on it too.
//
// All coordinates here are device coordinates of the DC: device (0,0) is the
// surface pixel `origin` (a child window's client origin inside its
// top-level window's surface, for instance).
#pragma once

#include <windef.h>

typedef struct _cairo_surface cairo_surface_t;

namespace win32::gdi {

// A DC drawing onto `surface`, device (0,0) at surface pixel `origin`.
// `clip` (device coordinates of the new DC) limits all drawing; the DC keeps
// its own copy, so the caller may delete or change `clip` afterwards.
// nullptr means no limit beyond the surface itself. The application's clip
// region (SelectClipRgn) is intersected with this one, never replaces it.
// The DC holds a cairo reference to `surface` until released.
// `window` is what WindowFromDC answers (may be nullptr).
// Answers nullptr with ERROR_INVALID_PARAMETER for a null surface or one
// that is not a 32-bit image surface.
HDC createSurfaceDC(cairo_surface_t* surface, POINT origin, HRGN clip, HWND window);

// Destroys a DC made by createSurfaceDC (DeleteDC also works). The objects
// selected into it are deselected, never deleted; deferred deletions of them
// then happen. Unknown handles are ignored.
void releaseSurfaceDC(HDC dc);

// Puts a surface DC back to its default state for reuse by a later GetDC:
// stock pen/brush/font, colours, modes, mapping MM_TEXT, no application clip,
// the SaveDC stack emptied. The surface, origin and window clip stay.
void resetSurfaceDC(HDC dc);

// Moves a surface DC to another origin and window clip (same semantics as in
// createSurfaceDC; the clip is copied). For a DC kept per window (CS_OWNDC)
// after its window moved, or for BeginPaint's update region.
bool setSurfaceDCOrigin(HDC dc, POINT origin, HRGN clip);

// The window given at creation, or nullptr (also for memory/screen DCs).
// WindowFromDC in user32 answers this.
HWND windowOfDC(HDC dc);

// The surface a DC draws on: the surface DC's surface, the cairo surface
// over the bitmap selected into a memory DC, the page image of a printer DC
// (made by its first drawing), or nullptr. No reference added.
cairo_surface_t* surfaceOfDC(HDC dc);

// A new 32-bit (CAIRO_FORMAT_RGB24) image surface, filled white; nullptr with
// ERROR_NOT_ENOUGH_MEMORY when it cannot be made. Release with
// cairo_surface_destroy.
cairo_surface_t* createWindowSurface(int width, int height);

// Writes `surface` to a PNG file (path in Windows or Linux spelling).
// False with a last error when the surface is unusable or the file cannot
// be written.
bool writePng(cairo_surface_t* surface, const char* path);

// Makes a GDI object permanent like a stock object: DeleteObject on it then
// answers TRUE and does nothing (system colour brushes, as on Windows).
void makePermanent(HGDIOBJ object);

// Size of the virtual screen in pixels (GetDeviceCaps HORZRES/VERTRES of a
// display DC); GetSystemMetrics(SM_CXSCREEN/SM_CYSCREEN) answers the same.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kScreenDpi = 96;

}  // namespace win32::gdi
