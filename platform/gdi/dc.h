// Device contexts: their state, the coordinate transform and the drawing
// target they resolve to.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "bitmap.h"
#include "font.h"
#include "objects.h"
#include "region.h"

typedef struct _cairo_surface cairo_surface_t;

namespace win32::gdi {

// A reference to an object selected into a DC (or into a saved DC state);
// keeps the object's selection count so that DeleteObject can defer.
template <class T>
class Selected {
 public:
  Selected() = default;
  Selected(std::shared_ptr<T> p) : p_(std::move(p)) {
    if (p_) ++p_->selections;
  }
  Selected(const Selected& o) : Selected(o.p_) {}
  Selected& operator=(const Selected& o) {
    Selected copy(o);
    std::swap(p_, copy.p_);
    return *this;
  }
  ~Selected() { releaseSelection(p_); }
  T* operator->() const { return p_.get(); }
  T& operator*() const { return *p_; }
  const std::shared_ptr<T>& get() const { return p_; }
  explicit operator bool() const { return static_cast<bool>(p_); }

 private:
  std::shared_ptr<T> p_;
};

struct DCState {
  Selected<PenObject> pen;
  Selected<BrushObject> brush;
  Selected<FontObject> font;
  Selected<BitmapObject> bitmap;
  Selected<PaletteObject> palette;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  COLORREF dcBrushColor = 0xFFFFFF;
  COLORREF dcPenColor = 0x000000;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  int graphicsMode = GM_COMPATIBLE;
  int arcDirection = AD_COUNTERCLOCKWISE;
  UINT textAlign = TA_LEFT | TA_TOP;
  int charExtra = 0;
  int mapMode = MM_TEXT;
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  POINT position{0, 0};  // current position, logical
  POINT brushOrg{0, 0};  // device
  std::optional<Region> clip;  // application clip, device coordinates
};

class PrinterPage;

class DCObject : public GdiObject {
 public:
  enum class Kind { Memory, Surface, Display, Information, Printer };
  explicit DCObject(Kind kind);  // out of line: PrinterPage is complete only there
  ~DCObject() override;

  Kind kind;
  DCState state;
  std::vector<DCState> saved;
  cairo_surface_t* surface = nullptr;  // Surface kind: referenced
  POINT origin{0, 0};                  // Surface kind: device (0,0) in surface pixels
  std::optional<Region> windowClip;    // Surface kind: device coordinates
  HWND window = nullptr;
  std::unique_ptr<PrinterPage> printer;  // Printer kind: its page and document

  void resetState();

  // Logical to device and back, rounding as MulDiv does.
  POINT toDevice(POINT p) const;
  POINT toLogical(POINT p) const;
  // Lengths (no origin), with sign.
  double scaleX() const { return double(state.viewportExt.cx) / state.windowExt.cx; }
  double scaleY() const { return double(state.viewportExt.cy) / state.windowExt.cy; }
  int widthToDevice(int w) const;
  int heightToDevice(int h) const;
  int widthToLogical(int w) const;
  int heightToLogical(int h) const;
  RECT rectToDevice(const RECT& r) const;  // normalised: left <= right, top <= bottom

  // Pixels this DC draws into, with device (0,0) at pixel `offset`.
  // Invalid for information contexts. Surface DCs flush the surface.
  PixelBuffer target(POINT* offset);
  // Everything drawing may touch, in device coordinates: the target's
  // bounds, the window clip and the application clip.
  Region visibleRegion();
  // Call after drawing into target(): marks cairo surfaces dirty.
  void touched();

  // The realised face of the selected font for this DC's transform.
  std::shared_ptr<RealizedFont> realizedFont();
  int describe(int size, void* buffer) const override { return 0; }
};

// The DC of `handle`, or nullptr with ERROR_INVALID_HANDLE.
std::shared_ptr<DCObject> findDC(HDC handle);

// Round-to-nearest a * b / c in 64 bits (MulDiv), c != 0.
int mulDiv(int64_t a, int64_t b, int64_t c);

// The process's headless screen: what DCs of the display draw on.
PixelBuffer screenPixels();

}  // namespace win32::gdi
