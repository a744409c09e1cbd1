// Brushes: solid, hatched, pattern and DIB pattern brushes.
#include <cstring>

#include "bitmap.h"
#include "objects.h"

namespace win32::gdi {

int BrushObject::describe(int size, void* buffer) const {
  if (!buffer) return sizeof(LOGBRUSH);
  if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
  auto* b = static_cast<LOGBRUSH*>(buffer);
  b->lbStyle = style;
  b->lbColor = color;
  b->lbHatch = style == BS_PATTERN ? reinterpret_cast<ULONG_PTR>(patternHandle) : hatch;
  return sizeof(LOGBRUSH);
}

}  // namespace win32::gdi

using namespace win32::gdi;

namespace {

HBRUSH newBrush(UINT style, COLORREF color, ULONG_PTR hatch) {
  auto brush = std::make_shared<BrushObject>();
  brush->style = style;
  brush->color = color;
  brush->hatch = hatch;
  return static_cast<HBRUSH>(registerObject(brush));
}

// A private copy of `source`'s pixels: the brush keeps its pattern even when
// the application deletes or changes the bitmap afterwards.
std::shared_ptr<BitmapObject> copyPattern(const BitmapObject& source) {
  const auto& s = source.pixels;
  auto copy = BitmapObject::makeDDB(s.width, s.height, source.monochrome() ? 1 : 32);
  if (!copy) return nullptr;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      if (source.monochrome()) {
        copy->pixels.setRaw(x, y, s.raw(x, y));
      } else {
        copy->pixels.setRgb(x, y, s.rgb(x, y));
      }
    }
  }
  return copy;
}

}  // namespace

extern "C" HBRUSH WINAPI CreateSolidBrush(COLORREF color) { return newBrush(BS_SOLID, color, 0); }

extern "C" HBRUSH WINAPI CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return newBrush(BS_HATCHED, color, static_cast<ULONG_PTR>(hatch));
}

extern "C" HBRUSH WINAPI CreatePatternBrush(HBITMAP bitmap) {
  GdiLock lock(gdiMutex());
  auto source = findBitmap(bitmap);
  if (!source) return nullptr;
  auto brush = std::make_shared<BrushObject>();
  brush->style = BS_PATTERN;
  brush->pattern = copyPattern(*source);
  brush->patternHandle = bitmap;
  if (!brush->pattern) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return static_cast<HBRUSH>(registerObject(brush));
}

extern "C" HBRUSH WINAPI CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
  if (!packedDib) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiLock lock(gdiMutex());
  const auto* info = static_cast<const BITMAPINFO*>(packedDib);
  // The bits follow the header and colour table; CreateDIBitmap checks both.
  DWORD colors = info->bmiHeader.biClrUsed;
  if (!colors && info->bmiHeader.biBitCount <= 8) colors = 1u << info->bmiHeader.biBitCount;
  if (info->bmiHeader.biCompression == BI_BITFIELDS) colors = 3;
  const auto* bits = static_cast<const uint8_t*>(packedDib) + info->bmiHeader.biSize +
                     colors * (usage == DIB_PAL_COLORS ? 2 : 4);
  HBITMAP bitmap = CreateDIBitmap(nullptr, &info->bmiHeader, CBM_INIT, bits, info, usage);
  if (!bitmap) return nullptr;
  auto source = findBitmap(bitmap);
  auto brush = std::make_shared<BrushObject>();
  brush->style = BS_DIBPATTERNPT;
  brush->hatch = reinterpret_cast<ULONG_PTR>(packedDib);
  brush->pattern = source ? copyPattern(*source) : nullptr;
  DeleteObject(bitmap);
  if (!brush->pattern) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return static_cast<HBRUSH>(registerObject(brush));
}

extern "C" HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* b) {
  if (!b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  switch (b->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(b->lbColor);
    case BS_NULL: return newBrush(BS_NULL, 0, 0);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(b->lbHatch), b->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8: return CreatePatternBrush(reinterpret_cast<HBITMAP>(b->lbHatch));
    case BS_DIBPATTERNPT:
    case BS_DIBPATTERN8X8:
      return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(b->lbHatch), b->lbColor & 0xFFFF);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

extern "C" BOOL WINAPI UnrealizeObject(HGDIOBJ object) {
  if (!findObject(object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
