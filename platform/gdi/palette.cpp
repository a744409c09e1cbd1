// Palettes on a true-colour device: logical palettes are kept and answered,
// but realising maps nothing (RealizePalette answers 0 entries changed) and
// every colour is its own nearest colour.
#include <algorithm>

#include "dc.h"

namespace win32::gdi {

int PaletteObject::describe(int size, void* buffer) const {
  if (!buffer) return sizeof(WORD);
  if (size < static_cast<int>(sizeof(WORD))) return 0;
  *static_cast<WORD*>(buffer) = static_cast<WORD>(entries.size());
  return sizeof(WORD);
}

}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<PaletteObject>();
  object->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return static_cast<HPALETTE>(registerObject(object));
}

extern "C" HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  auto object = findAs<PaletteObject>(palette);
  if (!dc || !object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HPALETTE old = handleOf<HPALETTE>(dc->state.palette.get());
  dc->state.palette = object;
  return old;
}

extern "C" UINT WINAPI RealizePalette(HDC hdc) {
  GdiLock lock(gdiMutex());
  return findDC(hdc) ? 0 : GDI_ERROR;
}

extern "C" UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
  GdiLock lock(gdiMutex());
  auto object = findAs<PaletteObject>(palette);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  UINT size = static_cast<UINT>(object->entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  count = std::min(count, size - start);
  std::copy_n(object->entries.begin() + start, count, entries);
  return count;
}

extern "C" UINT WINAPI SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  GdiLock lock(gdiMutex());
  auto object = findAs<PaletteObject>(palette);
  if (!object || !entries || object->isStock()) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  UINT size = static_cast<UINT>(object->entries.size());
  if (start >= size) return 0;
  count = std::min(count, size - start);
  std::copy_n(entries, count, object->entries.begin() + start);
  return count;
}

// A true-colour display has no system palette: nothing is copied.
extern "C" UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, LPPALETTEENTRY entries) {
  GdiLock lock(gdiMutex());
  findDC(hdc);
  return 0;
}

extern "C" UINT WINAPI GetSystemPaletteUse(HDC hdc) {
  GdiLock lock(gdiMutex());
  return findDC(hdc) ? SYSPAL_STATIC : SYSPAL_ERROR;
}

extern "C" UINT WINAPI GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  GdiLock lock(gdiMutex());
  auto object = findAs<PaletteObject>(palette);
  if (!object || object->entries.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  color = plainColor(color);
  UINT best = 0;
  int bestDistance = INT32_MAX;
  for (size_t i = 0; i < object->entries.size(); ++i) {
    const auto& e = object->entries[i];
    int dr = e.peRed - GetRValue(color), dg = e.peGreen - GetGValue(color), db = e.peBlue - GetBValue(color);
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<UINT>(i);
    }
  }
  return best;
}

extern "C" COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF color) {
  GdiLock lock(gdiMutex());
  if (!findDC(hdc)) return CLR_INVALID;
  return plainColor(color);
}
