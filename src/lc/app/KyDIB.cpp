#include "KyDIB.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace ky::dib {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kLargestHeader = 124;           // BITMAPV5HEADER
constexpr uint64_t kLargestImage = 256u << 20;  // bytes of bits we accept at all

template <typename T>
T field(const void* p, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const char*>(p) + offset, sizeof value);
  return value;
}

// A global block that frees itself unless released to the caller.
struct GlobalBlock {
  HGLOBAL handle;
  ~GlobalBlock() {
    if (handle) GlobalFree(handle);
  }
  HGLOBAL release() { return std::exchange(handle, nullptr); }
};

}  // namespace

bool MemorySource::read(void* pBuffer, size_t n) {
  if (n > m_size - m_position) return false;
  std::memcpy(pBuffer, m_pData + m_position, n);
  m_position += n;
  return true;
}

bool MemorySource::seek(uint64_t offset) {
  if (offset > m_size) return false;
  m_position = static_cast<size_t>(offset);
  return true;
}

// Reads defensively: every count and size comes from the file, so each is
// checked against what the format allows and what the file holds before
// anything is allocated or read.
HDIB readPackedDIB(Source& source) {
  uint64_t fileSize = source.size();
  BYTE fileHeader[kFileHeaderSize];
  if (!source.read(fileHeader, sizeof fileHeader) || field<WORD>(fileHeader, 0) != 0x4D42) return nullptr;
  DWORD bitsOffset = field<DWORD>(fileHeader, 10);

  BITMAPINFOHEADER bi{};
  if (!source.read(&bi, sizeof bi)) return nullptr;
  DWORD headerSize = bi.biSize;  // 12 is the older core header: refused
  if (headerSize < kInfoHeaderSize || headerSize > kLargestHeader) return nullptr;
  if (bi.biWidth <= 0 || bi.biHeight == 0 || bi.biHeight == INT32_MIN || bi.biPlanes != 1) return nullptr;
  WORD bits = bi.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  bool rle = bi.biCompression == BI_RLE8 || bi.biCompression == BI_RLE4;
  if (bi.biCompression != BI_RGB && !(bi.biCompression == BI_RLE8 && bits == 8) &&
      !(bi.biCompression == BI_RLE4 && bits == 4))
    return nullptr;

  // A colour table above 8 bits per pixel only when the header asks for one.
  uint64_t colours = bi.biClrUsed;
  uint64_t maxColours = bits <= 8 ? (1u << bits) : 256;
  if (colours > maxColours) return nullptr;
  if (colours == 0 && bits <= 8) colours = 1u << bits;

  uint64_t height = bi.biHeight < 0 ? -static_cast<int64_t>(bi.biHeight) : bi.biHeight;
  uint64_t stride = (static_cast<uint64_t>(bits) * static_cast<uint64_t>(bi.biWidth) + 31) / 32 * 4;
  uint64_t imageSize = rle ? bi.biSizeImage : stride * height;
  if (imageSize == 0 || imageSize > kLargestImage) return nullptr;

  uint64_t paletteOffset = kFileHeaderSize + headerSize;
  uint64_t paletteBytes = colours * 4;
  uint64_t bitsStart = bitsOffset ? bitsOffset : paletteOffset + paletteBytes;
  if (paletteOffset + paletteBytes > fileSize || bitsStart + imageSize > fileSize) return nullptr;

  bi.biSize = kInfoHeaderSize;
  bi.biClrUsed = static_cast<DWORD>(colours);
  bi.biSizeImage = static_cast<DWORD>(imageSize);
  GlobalBlock block{GlobalAlloc(GMEM_MOVEABLE, kInfoHeaderSize + paletteBytes + imageSize)};
  if (!block.handle) return nullptr;
  auto* p = static_cast<BYTE*>(GlobalLock(block.handle));
  if (!p) return nullptr;
  std::memcpy(p, &bi, sizeof bi);
  bool ok = source.seek(paletteOffset) && source.read(p + kInfoHeaderSize, paletteBytes) &&
            source.seek(bitsStart) && source.read(p + kInfoHeaderSize + paletteBytes, imageSize);
  GlobalUnlock(block.handle);
  return ok ? block.release() : nullptr;
}

}  // namespace ky::dib

namespace {

// An HFILE seen from where the bitmap file starts in it.
class FileSource : public ky::dib::Source {
 public:
  explicit FileSource(HFILE hFile) : m_hFile(hFile) {
    m_base = _llseek(hFile, 0, FILE_CURRENT);
    LONG end = _llseek(hFile, 0, FILE_END);
    m_size = (m_base >= 0 && end >= m_base) ? static_cast<uint64_t>(end - m_base) : 0;
    if (m_base >= 0) _llseek(hFile, m_base, FILE_BEGIN);
  }
  bool read(void* pBuffer, size_t n) override {
    auto* p = static_cast<char*>(pBuffer);
    while (n > 0) {  // in pieces that fit the 16-bit era's read size
      UINT piece = static_cast<UINT>(std::min<size_t>(n, 32767));
      UINT got = _lread(m_hFile, p, piece);
      if (got != piece) return false;
      p += piece;
      n -= piece;
    }
    return true;
  }
  bool seek(uint64_t offset) override {
    if (m_base < 0 || offset > m_size) return false;
    return _llseek(m_hFile, static_cast<LONG>(m_base + offset), FILE_BEGIN) != HFILE_ERROR;
  }
  uint64_t size() override { return m_size; }

 private:
  HFILE m_hFile;
  LONG m_base;
  uint64_t m_size;
};

bool isCoreHeader(LPCSTR lpbi) { return ky::dib::field<DWORD>(lpbi, 0) == sizeof(BITMAPCOREHEADER); }

}  // namespace

HDIB ReadDIB(HFILE hFile) {
  if (hFile == HFILE_ERROR) return nullptr;
  FileSource source(hFile);
  return ky::dib::readPackedDIB(source);
}

HDIB ReadDIBFile(LPCSTR pszPath) {
  if (!pszPath) return nullptr;
  OFSTRUCT of{};
  HFILE hFile = OpenFile(pszPath, &of, OF_READ);
  if (hFile == HFILE_ERROR) return nullptr;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  HDIB hDIB = ReadDIB(hFile);
  _lclose(hFile);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  return hDIB;
}

WORD DIBNumColors(LPCSTR lpbi) {
  if (!lpbi) return 0;
  WORD bits;
  if (isCoreHeader(lpbi)) {
    bits = ky::dib::field<WORD>(lpbi, offsetof(BITMAPCOREHEADER, bcBitCount));
  } else {
    DWORD used = ky::dib::field<DWORD>(lpbi, offsetof(BITMAPINFOHEADER, biClrUsed));
    if (used != 0) return static_cast<WORD>(std::min<DWORD>(used, 0xFFFF));
    bits = ky::dib::field<WORD>(lpbi, offsetof(BITMAPINFOHEADER, biBitCount));
  }
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

WORD DIBPaletteSize(LPCSTR lpbi) {
  if (!lpbi) return 0;
  return static_cast<WORD>(DIBNumColors(lpbi) * (isCoreHeader(lpbi) ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD)));
}

LPSTR FindDIBBits(LPSTR lpbi) {
  if (!lpbi) return nullptr;
  return lpbi + ky::dib::field<DWORD>(lpbi, 0) + DIBPaletteSize(lpbi);
}

HPALETTE CreateDIBPaletteHandle(HDIB hDIB) {
  if (!hDIB) return nullptr;
  auto* lpbi = static_cast<LPSTR>(GlobalLock(hDIB));
  if (!lpbi) return nullptr;
  HPALETTE hPal = nullptr;
  if (WORD n = DIBNumColors(lpbi)) {
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = n;
    bool core = isCoreHeader(lpbi);
    const BYTE* table = reinterpret_cast<const BYTE*>(lpbi) + ky::dib::field<DWORD>(lpbi, 0);
    size_t step = core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    for (WORD i = 0; i < n; ++i) {
      const BYTE* c = table + i * step;  // blue, green, red
      lp->palPalEntry[i] = PALETTEENTRY{c[2], c[1], c[0], 0};
    }
    hPal = CreatePalette(lp);
  }
  GlobalUnlock(hDIB);
  return hPal;
}

HPALETTE CreateSystemPaletteHandle() {
  static HPALETTE s_hSystemPalette = nullptr;
  HDC hDC = GetDC(nullptr);
  if (!hDC) return nullptr;
  int n = GetDeviceCaps(hDC, SIZEPALETTE);
  if (n == 0) n = GetDeviceCaps(hDC, NUMCOLORS);
  HPALETTE hPal = nullptr;
  if (n > 0 && n <= 256) {  // -1: not a palette device
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(n);
    GetSystemPaletteEntries(hDC, 0, n, lp->palPalEntry);
    hPal = CreatePalette(lp);
    s_hSystemPalette = hPal;
  }
  ReleaseDC(nullptr, hDC);
  return hPal;
}

HBITMAP DIBToDeviceBitmap(HDIB hDIB, HPALETTE hPal) {
  if (!hDIB) return nullptr;
  auto* lpbi = static_cast<LPSTR>(GlobalLock(hDIB));
  if (!lpbi) return nullptr;
  HBITMAP hBitmap = nullptr;
  if (HDC hDC = GetDC(nullptr)) {
    HPALETTE hOld = nullptr;
    if (hPal) {
      hOld = SelectPalette(hDC, hPal, FALSE);
      RealizePalette(hDC);
    }
    hBitmap = CreateDIBitmap(hDC, reinterpret_cast<const BITMAPINFOHEADER*>(lpbi), CBM_INIT, FindDIBBits(lpbi),
                             reinterpret_cast<const BITMAPINFO*>(lpbi), DIB_RGB_COLORS);
    if (hOld) SelectPalette(hDC, hOld, FALSE);
    ReleaseDC(nullptr, hDC);
  }
  GlobalUnlock(hDIB);
  return hBitmap;
}

BOOL PaintDIB(HDC hDC, LPRECT lpDCRect, HBITMAP hBitmap, LPRECT lpDIBRect, HPALETTE hPal) {
  if (!hDC || !lpDCRect || !hBitmap || !lpDIBRect) return FALSE;
  HDC hMemDC = CreateCompatibleDC(hDC);
  if (!hMemDC) return FALSE;
  HPALETTE hOldPal = nullptr, hOldMemPal = nullptr;
  if (hPal) {
    hOldPal = SelectPalette(hDC, hPal, TRUE);
    hOldMemPal = SelectPalette(hMemDC, hPal, TRUE);
    RealizePalette(hDC);
  }
  HGDIOBJ hOldBitmap = SelectObject(hMemDC, hBitmap);
  SetStretchBltMode(hDC, COLORONCOLOR);
  int dw = lpDCRect->right - lpDCRect->left, dh = lpDCRect->bottom - lpDCRect->top;
  int sw = lpDIBRect->right - lpDIBRect->left, sh = lpDIBRect->bottom - lpDIBRect->top;
  BOOL ok = (dw == sw && dh == sh)
                ? BitBlt(hDC, lpDCRect->left, lpDCRect->top, dw, dh, hMemDC, lpDIBRect->left, lpDIBRect->top, SRCCOPY)
                : StretchBlt(hDC, lpDCRect->left, lpDCRect->top, dw, dh, hMemDC, lpDIBRect->left, lpDIBRect->top, sw,
                             sh, SRCCOPY);
  SelectObject(hMemDC, hOldBitmap);
  if (hOldMemPal) SelectPalette(hMemDC, hOldMemPal, TRUE);
  if (hOldPal) SelectPalette(hDC, hOldPal, TRUE);
  DeleteDC(hMemDC);
  return ok;
}

HDIB FreeDIBHandle(HDIB hDIB) {
  if (hDIB) GlobalFree(hDIB);
  return nullptr;
}
