// Device-dependent bitmaps and the bitmap object shared with DIB sections.
#include "bitmap.h"

#include <cairo.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstring>

#include "dc.h"

namespace win32::gdi {
namespace {

constexpr int64_t kMaxBitmapBytes = int64_t(1) << 30;  // refuse absurd sizes instead of failing later

int ddbStride(int width, int bpp) { return ((width * bpp + 15) / 16) * 2; }  // WORD-aligned rows

}  // namespace

BitmapObject::~BitmapObject() {
  if (surface_) cairo_surface_destroy(surface_);
  if (dibMemory_) ::munmap(dibMemory_, dibSize_);
}

int BitmapObject::widthBytes() const {
  return dibSection ? static_cast<int>(dibStride(pixels.width, pixels.bpp)) : ddbStride(pixels.width, pixels.bpp);
}

int BitmapObject::describe(int size, void* buffer) const {
  BITMAP bm{0, pixels.width, pixels.height, widthBytes(), 1, static_cast<WORD>(pixels.bpp),
            dibSection ? dibMemory_ : nullptr};
  if (dibSection && (!buffer || size >= static_cast<int>(sizeof(DIBSECTION)))) {
    if (!buffer) return sizeof(DIBSECTION);
    DIBSECTION ds{};
    ds.dsBm = bm;
    ds.dsBmih = dibHeader;
    ds.dsBmih.biSizeImage = static_cast<DWORD>(dibSize_ ? widthBytes() * int64_t(pixels.height) : 0);
    if (pixels.bpp == 16 || pixels.bpp == 32) std::copy_n(pixels.masks, 3, ds.dsBitfields);
    std::memcpy(buffer, &ds, sizeof ds);
    return sizeof(DIBSECTION);
  }
  if (!buffer) return sizeof(BITMAP);
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  std::memcpy(buffer, &bm, sizeof bm);
  return sizeof(BITMAP);
}

cairo_surface_t* BitmapObject::cairoSurface() {
  if (surface_) return surface_;
  if (!pixels.isPlain32() || pixels.stride <= 0) return nullptr;
  surface_ = cairo_image_surface_create_for_data(pixels.top, CAIRO_FORMAT_RGB24, pixels.width, pixels.height,
                                                 static_cast<int>(pixels.stride));
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
  }
  return surface_;
}

std::shared_ptr<BitmapObject> BitmapObject::makeDDB(int width, int height, int bpp) {
  if (width <= 0 || height <= 0) return nullptr;
  int64_t stride = ((int64_t(width) * bpp + 15) / 16) * 2;
  if (stride * height > kMaxBitmapBytes) return nullptr;
  auto b = std::make_shared<BitmapObject>();
  b->storage_.assign(static_cast<size_t>(stride * height), 0);
  b->pixels.top = b->storage_.data();
  b->pixels.stride = stride;
  b->pixels.width = width;
  b->pixels.height = height;
  b->pixels.bpp = bpp;
  if (bpp == 1) b->pixels.colors = {0x000000, 0xFFFFFF};
  if (bpp == 16) {
    b->pixels.masks[0] = 0xF800;
    b->pixels.masks[1] = 0x07E0;
    b->pixels.masks[2] = 0x001F;
  }
  return b;
}

std::shared_ptr<BitmapObject> BitmapObject::makeDIBSection(const BITMAPINFOHEADER& h, const uint32_t* masks,
                                                           const std::vector<uint32_t>& colors) {
  const int width = h.biWidth;
  const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  int64_t stride = dibStride(width, h.biBitCount);
  if (width <= 0 || height <= 0 || stride <= 0 || stride * height > kMaxBitmapBytes) return nullptr;
  size_t size = static_cast<size_t>(stride * height);
  void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
  auto b = std::make_shared<BitmapObject>();
  b->dibSection = true;
  b->dibHeader = h;
  b->dibMemory_ = static_cast<uint8_t*>(memory);
  b->dibSize_ = size;
  auto& p = b->pixels;
  p.width = width;
  p.height = height;
  p.bpp = h.biBitCount;
  if (h.biHeight < 0) {
    p.top = b->dibMemory_;
    p.stride = stride;
  } else {
    p.top = b->dibMemory_ + (height - 1) * stride;
    p.stride = -stride;
  }
  p.colors = colors;
  if (masks) std::copy_n(masks, 3, p.masks);
  return b;
}

std::shared_ptr<BitmapObject> findBitmap(HBITMAP handle) {
  auto b = findAs<BitmapObject>(handle);
  if (!b) SetLastError(ERROR_INVALID_HANDLE);
  return b;
}

std::shared_ptr<BitmapObject> defaultBitmap() {
  GdiLock lock(gdiMutex());
  static std::shared_ptr<BitmapObject>* stock = [] {
    auto b = BitmapObject::makeDDB(1, 1, 1);
    b->pixels.setRaw(0, 0, 0);
    registerObject(b, true);
    return new std::shared_ptr<BitmapObject>(b);
  }();
  return *stock;
}

}  // namespace win32::gdi

using namespace win32::gdi;

// Monochrome (1 bit) bitmaps stay 1 bit; 16 and 24 bits keep their format;
// other depths become 32-bit bitmaps of the display's format, with `bits`
// converted from the requested depth only for 32 bits (4 and 8 bits would
// need a colour table that CreateBitmap does not have).
extern "C" HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1 || bitsPerPixel > 32) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) return static_cast<HBITMAP>(defaultBitmap()->handle());
  int bpp = bitsPerPixel == 1 ? 1 : (bitsPerPixel == 16 || bitsPerPixel == 24) ? static_cast<int>(bitsPerPixel) : 32;
  auto b = BitmapObject::makeDDB(width, height, bpp);
  if (!b) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (bits && static_cast<int>(bitsPerPixel) == bpp) {
    std::memcpy(b->pixels.top, bits, static_cast<size_t>(b->pixels.stride) * height);
  }
  return static_cast<HBITMAP>(registerObject(b));
}

extern "C" HBITMAP WINAPI CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

extern "C" HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return nullptr;
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) return static_cast<HBITMAP>(defaultBitmap()->handle());
  // A memory DC makes bitmaps like the one it holds: monochrome stays monochrome.
  int bpp = 32;
  if (dc->kind == DCObject::Kind::Memory && dc->state.bitmap && dc->state.bitmap->monochrome()) bpp = 1;
  auto b = BitmapObject::makeDDB(width, height, bpp);
  if (!b) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return static_cast<HBITMAP>(registerObject(b));
}

extern "C" HBITMAP WINAPI CreateDiscardableBitmap(HDC hdc, int width, int height) {
  return CreateCompatibleBitmap(hdc, width, height);
}

// The rows top first, each bmWidthBytes long.
extern "C" LONG WINAPI GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
  GdiLock lock(gdiMutex());
  auto b = findBitmap(bitmap);
  if (!b) return 0;
  const int64_t rowBytes = b->widthBytes();
  const int64_t total = rowBytes * b->pixels.height;
  if (!bits) return static_cast<LONG>(total);
  if (size <= 0) return 0;
  int64_t copied = std::min<int64_t>(size, total);
  auto* out = static_cast<uint8_t*>(bits);
  for (int y = 0; y < b->pixels.height && y * rowBytes < copied; ++y) {
    std::memcpy(out + y * rowBytes, b->pixels.row(y), static_cast<size_t>(std::min(rowBytes, copied - y * rowBytes)));
  }
  return static_cast<LONG>(copied);
}

extern "C" LONG WINAPI SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  GdiLock lock(gdiMutex());
  auto b = findBitmap(bitmap);
  if (!b) return 0;
  if (!bits || b->isStock()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int64_t rowBytes = b->widthBytes();
  const int64_t copied = std::min<int64_t>(size, rowBytes * b->pixels.height);
  const auto* in = static_cast<const uint8_t*>(bits);
  for (int y = 0; y < b->pixels.height && y * rowBytes < copied; ++y) {
    std::memcpy(b->pixels.row(y), in + y * rowBytes, static_cast<size_t>(std::min(rowBytes, copied - y * rowBytes)));
  }
  if (auto* s = b->cairoSurface()) cairo_surface_mark_dirty(s);
  return static_cast<LONG>(copied);
}

extern "C" BOOL WINAPI GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size) {
  GdiLock lock(gdiMutex());
  auto b = findBitmap(bitmap);
  if (!b || !size) return FALSE;
  *size = b->dimension;
  return TRUE;
}

extern "C" BOOL WINAPI SetBitmapDimensionEx(HBITMAP bitmap, int width, int height, LPSIZE old) {
  GdiLock lock(gdiMutex());
  auto b = findBitmap(bitmap);
  if (!b) return FALSE;
  if (old) *old = b->dimension;
  b->dimension = {width, height};
  return TRUE;
}
