// The DIB block itself: making, measuring, palettes, device bitmaps, files.
// Conversions from bitmaps, the screen and windows are in KyDIBCapture.cpp.
#include "KyDIBUtil.h"

#include <internal/dib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kFileHeaderSize = 14;

// A locked DIB block, unlocked on leaving; null when it cannot be locked
// or does not hold a sound DIB.
class LockedDIB {
 public:
  explicit LockedDIB(HDIB dib) : m_dib(dib) {
    if (!dib) return;
    m_bytes = static_cast<BYTE*>(GlobalLock(dib));
    if (m_bytes && !win32::gdi::packedDibFits(m_bytes, GlobalSize(dib))) {
      GlobalUnlock(dib);
      m_bytes = nullptr;
    }
  }
  LockedDIB(const LockedDIB&) = delete;
  LockedDIB& operator=(const LockedDIB&) = delete;
  ~LockedDIB() {
    if (m_bytes) GlobalUnlock(m_dib);
  }
  BYTE* get() const { return m_bytes; }

 private:
  HDIB m_dib;
  BYTE* m_bytes = nullptr;
};

WORD roundBits(WORD bits) { return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24; }

DWORD headerSizeOf(const void* dib) {
  DWORD size;
  std::memcpy(&size, dib, sizeof size);
  return size;
}

}  // namespace

extern "C" {

HDIB CreateDIB(DWORD width, DWORD height, WORD bits) {
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return nullptr;
  bits = roundBits(bits);
  uint64_t stride = (static_cast<uint64_t>(bits) * width + 31) / 32 * 4;
  uint64_t image = stride * height;
  size_t colours = bits <= 8 ? size_t(1) << bits : 0;
  if (image > (uint64_t(1) << 30)) return nullptr;
  HDIB dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD) + image);
  if (!dib) return nullptr;
  auto* bi = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  *bi = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), static_cast<LONG>(width), static_cast<LONG>(height), 1, bits,
                         BI_RGB, static_cast<DWORD>(image), 0, 0, 0, 0};
  GlobalUnlock(dib);
  return dib;
}

DWORD DIBWidth(LPSTR dib) { return static_cast<DWORD>(win32::gdi::packedDibWidth(dib)); }
DWORD DIBHeight(LPSTR dib) { return static_cast<DWORD>(win32::gdi::packedDibHeight(dib)); }
WORD DIBNumColors(LPSTR dib) { return win32::gdi::packedDibColours(dib); }
WORD PaletteSize(LPSTR dib) { return static_cast<WORD>(win32::gdi::packedDibPaletteBytes(dib)); }

LPSTR FindDIBBits(LPSTR dib) {
  if (!dib) return nullptr;
  return dib + headerSizeOf(dib) + PaletteSize(dib);
}

LPSTR KyFindDIBBits(LPSTR dib) { return FindDIBBits(dib); }

HPALETTE CreateDIBPalette(HDIB dib) {
  LockedDIB locked(dib);
  return locked.get() ? win32::gdi::createPackedDibPalette(locked.get()) : nullptr;
}

HBITMAP DIBToBitmap(HDIB dib, HPALETTE palette) {
  LockedDIB locked(dib);
  return locked.get() ? win32::gdi::packedDibToBitmap(locked.get(), palette) : nullptr;
}

WORD DestroyDIB(HDIB dib) {
  if (dib) GlobalFree(dib);
  return 0;
}

HPALETTE GetSystemPalette(void) { return win32::gdi::createSystemPalette(); }

int PalEntriesOnDevice(HDC dc) {
  int colours = GetDeviceCaps(dc, NUMCOLORS);
  if (colours > 0) return colours;
  // A true-colour device answers -1: count what its pixels can hold, up to
  // 24 bits (a 32-bit device holds no more colours than that).
  int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  return bits <= 0 ? 0 : 1 << (bits > 24 ? 24 : bits);
}

HDIB LoadDIB(LPCSTR path) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  HDIB dib = win32::gdi::readBitmapFile(path);
  SetCursor(previous);
  return dib;
}

// Any header the block holds is written as it is (a core header too), so
// that what was loaded saves back unchanged; a DIB whose parts do not fit
// its block is not written at all.
WORD SaveDIB(HDIB dib, LPCSTR path) {
  if (!dib) return KY_DIB_NO_DIB;
  LockedDIB locked(dib);
  BYTE* p = locked.get();
  if (!p) return KY_DIB_LOCK_ERROR;
  const DWORD headerSize = headerSizeOf(p);
  const size_t tableBytes = win32::gdi::packedDibPaletteBytes(p);
  size_t imageBytes = win32::gdi::dibImageSize(p, GlobalSize(dib));
  if (headerSize >= sizeof(BITMAPINFOHEADER)) {
    auto* bi = reinterpret_cast<BITMAPINFOHEADER*>(p);
    if (bi->biCompression != BI_RLE8 && bi->biCompression != BI_RLE4)
      bi->biSizeImage = static_cast<DWORD>(imageBytes);  // stored back, as the file's readers expect
  }
  // Bit-field masks may lie between the header and the bits.
  const size_t inBlock = std::max(win32::gdi::dibBitsOffset(p, GlobalSize(dib)), headerSize + tableBytes);
  const size_t bitsOffset = kFileHeaderSize + inBlock;
  const size_t fileSize = bitsOffset + imageBytes;
  BYTE fileHeader[kFileHeaderSize] = {'B', 'M'};
  const DWORD size32 = static_cast<DWORD>(fileSize), offset32 = static_cast<DWORD>(bitsOffset);
  std::memcpy(fileHeader + 2, &size32, 4);
  std::memcpy(fileHeader + 10, &offset32, 4);

  OFSTRUCT of{};
  HFILE file = OpenFile(path, &of, OF_CREATE | OF_WRITE);
  if (file == HFILE_ERROR) return KY_DIB_FILE_ERROR;
  bool ok = _lwrite(file, reinterpret_cast<LPCSTR>(fileHeader), sizeof fileHeader) == sizeof fileHeader;
  // The rest in pieces that fit a 16-bit-era write.
  const BYTE* rest = p;
  for (size_t left = fileSize - kFileHeaderSize; ok && left > 0;) {
    UINT piece = static_cast<UINT>(left < 32767 ? left : 32767);
    ok = _lwrite(file, reinterpret_cast<LPCSTR>(rest), piece) == piece;
    rest += piece;
    left -= piece;
  }
  if (_lclose(file) == HFILE_ERROR) ok = false;
  return ok ? KY_DIB_SAVED : KY_DIB_FILE_ERROR;
}

}  // extern "C"
