// Bitmaps: device-dependent bitmaps (32 bits a pixel, or 1 for monochrome)
// and DIB sections (any DIB format, over memory the application sees).
#pragma once

#include <cstdint>
#include <vector>

#include "gdiobject.h"
#include "pixels.h"

typedef struct _cairo_surface cairo_surface_t;

namespace win32::gdi {

class BitmapObject : public GdiObject {
 public:
  BitmapObject() : GdiObject(OBJ_BITMAP) {}
  ~BitmapObject() override;

  PixelBuffer pixels;
  bool dibSection = false;
  BITMAPINFOHEADER dibHeader{};  // DIB sections: the header as created
  SIZE dimension{0, 0};          // SetBitmapDimensionEx, 0.1 mm
  // The DC that last selected the bitmap; only compared, never followed
  // (while `selections` is above 0 that DC is alive).
  const void* ownerDC = nullptr;

  bool monochrome() const { return pixels.bpp == 1 && !dibSection; }
  int widthBytes() const;  // bmWidthBytes: WORD-aligned rows for DDBs
  int describe(int size, void* buffer) const override;

  // A cairo surface over the pixels when they are 32-bit top-down rows
  // (DDBs always are), else nullptr. Owned by the bitmap.
  cairo_surface_t* cairoSurface();

  // Allocates a DDB: 1 bit (monochrome) or 32 bits, cleared to 0 (black).
  static std::shared_ptr<BitmapObject> makeDDB(int width, int height, int bpp);
  // Allocates a DIB section of `header`'s format with `colors` as table.
  static std::shared_ptr<BitmapObject> makeDIBSection(const BITMAPINFOHEADER& header, const uint32_t* masks,
                                                      const std::vector<uint32_t>& colors);

 private:
  std::vector<uint8_t> storage_;   // DDB rows
  uint8_t* dibMemory_ = nullptr;   // DIB section bits (page-aligned, as VirtualAlloc gives)
  size_t dibSize_ = 0;
  cairo_surface_t* surface_ = nullptr;
};

// The bitmap of `handle`, or nullptr with ERROR_INVALID_HANDLE.
std::shared_ptr<BitmapObject> findBitmap(HBITMAP handle);

// The 1x1 monochrome bitmap selected into new memory DCs (a stock object).
std::shared_ptr<BitmapObject> defaultBitmap();

}  // namespace win32::gdi
