// Device-independent bitmaps read from bitmap files: a packed DIB (a
// BITMAPINFOHEADER, its colour table and the bits in one movable global
// block), its palette, a device bitmap made from it and its painting.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

typedef HGLOBAL HDIB;

// The packed DIB of the bitmap file at the path; null when the file cannot
// be opened or is no readable bitmap. Shows the wait cursor while reading.
HDIB ReadDIBFile(LPCSTR pszPath);
// The packed DIB of the bitmap file that starts at the file's current
// position; null for a short, corrupt or unsupported file.
HDIB ReadDIB(HFILE hFile);

// Header arithmetic of a locked packed DIB (BITMAPINFOHEADER, or the older
// 12-byte BITMAPCOREHEADER).
WORD DIBNumColors(LPCSTR lpbi);
WORD DIBPaletteSize(LPCSTR lpbi);
LPSTR FindDIBBits(LPSTR lpbi);

HPALETTE CreateDIBPaletteHandle(HDIB hDIB);
HPALETTE CreateSystemPaletteHandle();
HBITMAP DIBToDeviceBitmap(HDIB hDIB, HPALETTE hPal);
BOOL PaintDIB(HDC hDC, LPRECT lpDCRect, HBITMAP hBitmap, LPRECT lpDIBRect, HPALETTE hPal);
// Frees the block; answers null.
HDIB FreeDIBHandle(HDIB hDIB);

namespace ky::dib {

// Where ReadDIB's bytes come from: a file, or memory for tests and fuzzing.
class Source {
 public:
  virtual ~Source() = default;
  virtual bool read(void* pBuffer, size_t n) = 0;
  // Offsets count from the start of the bitmap file.
  virtual bool seek(uint64_t offset) = 0;
  virtual uint64_t size() = 0;
};

class MemorySource : public Source {
 public:
  MemorySource(const void* pData, size_t n) : m_pData(static_cast<const uint8_t*>(pData)), m_size(n) {}
  bool read(void* pBuffer, size_t n) override;
  bool seek(uint64_t offset) override;
  uint64_t size() override { return m_size; }

 private:
  const uint8_t* m_pData;
  size_t m_size;
  size_t m_position = 0;
};

HDIB readPackedDIB(Source& source);

}  // namespace ky::dib
