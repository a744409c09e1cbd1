// Packed DIBs as whole blocks: header arithmetic, their palettes, device
// bitmaps made from them, and the reader of bitmap files. The run-time's
// libraries share this one reader so that a damaged file meets the same
// checks wherever it is opened.
#include <internal/dib.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace win32::gdi {
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

bool isCoreHeader(const void* header) { return field<DWORD>(header, 0) == sizeof(BITMAPCOREHEADER); }

// A global block that frees itself unless released to the caller.
struct GlobalBlock {
  HGLOBAL handle;
  ~GlobalBlock() {
    if (handle) GlobalFree(handle);
  }
  HGLOBAL release() { return std::exchange(handle, nullptr); }
};

// A screen DC of its own, so that this library needs no window manager.
struct ScreenDC {
  HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  ~ScreenDC() {
    if (dc) DeleteDC(dc);
  }
};

HPALETTE paletteOf(const std::vector<PALETTEENTRY>& entries) {
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), lp->palPalEntry);
  return CreatePalette(lp);
}

}  // namespace

WORD packedDibColours(const void* header) {
  if (!header) return 0;
  WORD bits;
  if (isCoreHeader(header)) {
    bits = field<WORD>(header, offsetof(BITMAPCOREHEADER, bcBitCount));
  } else {
    DWORD used = field<DWORD>(header, offsetof(BITMAPINFOHEADER, biClrUsed));
    if (used != 0) return static_cast<WORD>(std::min<DWORD>(used, 0xFFFF));
    bits = field<WORD>(header, offsetof(BITMAPINFOHEADER, biBitCount));
  }
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

size_t packedDibPaletteBytes(const void* header) {
  if (!header) return 0;
  return packedDibColours(header) * (isCoreHeader(header) ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
}

LONG packedDibWidth(const void* header) {
  if (!header) return 0;
  if (isCoreHeader(header)) return field<WORD>(header, offsetof(BITMAPCOREHEADER, bcWidth));
  return field<LONG>(header, offsetof(BITMAPINFOHEADER, biWidth));
}

LONG packedDibHeight(const void* header) {
  if (!header) return 0;
  if (isCoreHeader(header)) return field<WORD>(header, offsetof(BITMAPCOREHEADER, bcHeight));
  return field<LONG>(header, offsetof(BITMAPINFOHEADER, biHeight));
}

bool packedDibFits(const void* dib, size_t size) {
  if (!dib || size < sizeof(DWORD)) return false;
  size_t bits = dibBitsOffset(dib, size);  // checks the header itself
  size_t image = dibImageSize(dib, size);
  if (bits == 0 || image == 0) return false;
  // The table the header arithmetic walks may be longer than the one the
  // format needs (a used-colours count on a true-colour DIB): check both.
  size_t start = std::max<size_t>(bits, field<DWORD>(dib, 0) + packedDibPaletteBytes(dib));
  return start <= size && image <= size - start;
}

HPALETTE createPackedDibPalette(const void* dib) {
  WORD n = packedDibColours(dib);
  if (n == 0) return nullptr;
  const BYTE* table = static_cast<const BYTE*>(dib) + field<DWORD>(dib, 0);
  size_t step = isCoreHeader(dib) ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
  std::vector<PALETTEENTRY> entries(n);
  for (WORD i = 0; i < n; ++i) {
    const BYTE* c = table + i * step;  // blue, green, red
    entries[i] = PALETTEENTRY{c[2], c[1], c[0], 0};
  }
  return paletteOf(entries);
}

HBITMAP packedDibToBitmap(const void* dib, HPALETTE palette) {
  if (!dib) return nullptr;
  ScreenDC screen;
  if (!screen.dc) return nullptr;
  HPALETTE old = nullptr;
  if (palette) {
    old = SelectPalette(screen.dc, palette, FALSE);
    RealizePalette(screen.dc);
  }
  const auto* bytes = static_cast<const BYTE*>(dib);
  HBITMAP bitmap = CreateDIBitmap(screen.dc, reinterpret_cast<const BITMAPINFOHEADER*>(dib), CBM_INIT,
                                  bytes + field<DWORD>(dib, 0) + packedDibPaletteBytes(dib),
                                  reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS);
  if (old) SelectPalette(screen.dc, old, FALSE);
  return bitmap;
}

HPALETTE createSystemPalette() {
  ScreenDC screen;
  if (!screen.dc) return nullptr;
  int n = GetDeviceCaps(screen.dc, SIZEPALETTE);
  if (n == 0) n = GetDeviceCaps(screen.dc, NUMCOLORS);
  if (n <= 0 || n > 256) return nullptr;  // -1: not a palette device
  std::vector<PALETTEENTRY> entries(n);
  GetSystemPaletteEntries(screen.dc, 0, n, entries.data());
  return paletteOf(entries);
}

bool MemoryDibSource::read(void* buffer, size_t n) {
  if (n > size_ - position_) return false;
  if (n) std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return true;
}

bool MemoryDibSource::seek(uint64_t offset) {
  if (offset > size_) return false;
  position_ = static_cast<size_t>(offset);
  return true;
}

FileDibSource::FileDibSource(HFILE file) : file_(file), base_(-1), size_(0) {
  if (file == HFILE_ERROR) return;
  base_ = _llseek(file, 0, FILE_CURRENT);
  LONG end = _llseek(file, 0, FILE_END);
  size_ = (base_ >= 0 && end >= base_) ? static_cast<uint64_t>(end - base_) : 0;
  if (base_ >= 0) _llseek(file, base_, FILE_BEGIN);
}

bool FileDibSource::read(void* buffer, size_t n) {
  auto* p = static_cast<char*>(buffer);
  while (n > 0) {  // in pieces that fit the 16-bit era's read size
    UINT piece = static_cast<UINT>(std::min<size_t>(n, 32767));
    if (_lread(file_, p, piece) != piece) return false;
    p += piece;
    n -= piece;
  }
  return true;
}

bool FileDibSource::seek(uint64_t offset) {
  if (base_ < 0 || offset > size_) return false;
  return _llseek(file_, static_cast<LONG>(base_ + offset), FILE_BEGIN) != HFILE_ERROR;
}

HGLOBAL readBitmapFile(DibSource& source, unsigned forms) {
  uint64_t fileSize = source.size();
  BYTE fileHeader[kFileHeaderSize];
  if (!source.read(fileHeader, sizeof fileHeader) || field<WORD>(fileHeader, 0) != 0x4D42) return nullptr;
  DWORD bitsOffset = field<DWORD>(fileHeader, 10);

  BITMAPINFOHEADER bi{};
  if (!source.read(&bi.biSize, sizeof bi.biSize)) return nullptr;
  const DWORD headerSize = bi.biSize;
  const bool core = headerSize == sizeof(BITMAPCOREHEADER);
  if (core) {
    // The older form: 16-bit sizes and a table of three-byte entries,
    // widened here into the 40-byte form.
    BITMAPCOREHEADER bc{};
    if (!(forms & kBitmapCoreHeader) || !source.read(&bc.bcWidth, sizeof bc - sizeof bc.bcSize)) return nullptr;
    if (bc.bcBitCount != 1 && bc.bcBitCount != 4 && bc.bcBitCount != 8 && bc.bcBitCount != 24) return nullptr;
    bi = {kInfoHeaderSize, bc.bcWidth, bc.bcHeight, bc.bcPlanes, bc.bcBitCount, BI_RGB, 0, 0, 0, 0, 0};
  } else {
    if (headerSize < kInfoHeaderSize || headerSize > kLargestHeader) return nullptr;
    if (!source.read(reinterpret_cast<BYTE*>(&bi) + sizeof bi.biSize, sizeof bi - sizeof bi.biSize)) return nullptr;
  }
  if (bi.biWidth <= 0 || bi.biHeight == 0 || bi.biHeight == INT32_MIN || bi.biPlanes != 1) return nullptr;
  WORD bits = bi.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  bool rle = bi.biCompression == BI_RLE8 || bi.biCompression == BI_RLE4;
  // Compressed pictures run bottom-up only (a top-down DIB cannot be
  // compressed): the rest of the layer refuses such a header.
  if (rle && bi.biHeight < 0) return nullptr;
  // Bit-field masks: three DWORDs after the first 40 bytes of the header
  // (inside the longer headers, after the 40-byte one).
  const bool masks = bi.biCompression == BI_BITFIELDS;
  if (masks && (!(forms & kBitmapBitFields) || (bits != 16 && bits != 32))) return nullptr;
  if (bi.biCompression != BI_RGB && !masks && !(bi.biCompression == BI_RLE8 && bits == 8) &&
      !(bi.biCompression == BI_RLE4 && bits == 4))
    return nullptr;

  // A colour table above 8 bits per pixel only when the header asks for one.
  uint64_t colours = core ? 0 : bi.biClrUsed;
  uint64_t maxColours = bits <= 8 ? (1u << bits) : 256;
  if (colours > maxColours) return nullptr;
  if (colours == 0 && bits <= 8) colours = 1u << bits;

  // Below 2^33 bytes a row and at most 2^31 rows: the product fits 64 bits.
  const uint64_t height = bi.biHeight < 0 ? -static_cast<int64_t>(bi.biHeight) : bi.biHeight;
  const uint64_t stride = (static_cast<uint64_t>(bits) * static_cast<uint64_t>(bi.biWidth) + 31) / 32 * 4;
  const uint64_t expanded = stride * height;
  // RLE data is expanded whole wherever the picture is drawn, and a few
  // bytes of it can claim millions of pixels on a side (an end-of-bitmap
  // code leaves the rest blank): the expanded size is held to the bound of
  // an uncompressed image, refused as the allocation would be.
  if (expanded > kLargestImage) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const uint64_t imageSize = rle ? bi.biSizeImage : expanded;
  if (imageSize == 0 || imageSize > kLargestImage) return nullptr;

  const uint64_t maskBytes = masks ? 12 : 0;
  const uint64_t masksOffset = kFileHeaderSize + kInfoHeaderSize;
  const uint64_t paletteOffset = kFileHeaderSize + headerSize + (masks && headerSize == kInfoHeaderSize ? 12 : 0);
  const uint64_t entryBytes = core ? 3 : 4;
  const uint64_t paletteBytes = colours * 4;  // in the packed DIB
  uint64_t bitsStart = bitsOffset ? bitsOffset : paletteOffset + colours * entryBytes;
  if (paletteOffset + colours * entryBytes > fileSize || bitsStart + imageSize > fileSize) return nullptr;

  bi.biSize = kInfoHeaderSize;
  bi.biClrUsed = static_cast<DWORD>(colours);
  bi.biSizeImage = static_cast<DWORD>(imageSize);
  const uint64_t tableAt = kInfoHeaderSize + maskBytes;
  GlobalBlock block{GlobalAlloc(GMEM_MOVEABLE, tableAt + paletteBytes + imageSize)};
  if (!block.handle) return nullptr;
  auto* p = static_cast<BYTE*>(GlobalLock(block.handle));
  if (!p) return nullptr;
  std::memcpy(p, &bi, sizeof bi);
  bool ok = !masks || (source.seek(masksOffset) && source.read(p + kInfoHeaderSize, maskBytes));
  ok = ok && source.seek(paletteOffset);
  for (uint64_t i = 0; ok && i < colours; ++i) {
    BYTE* entry = p + tableAt + i * 4;  // blue, green, red, 0
    ok = source.read(entry, entryBytes);
    if (core) entry[3] = 0;
  }
  ok = ok && source.seek(bitsStart) && source.read(p + tableAt + paletteBytes, imageSize);
  GlobalUnlock(block.handle);
  return ok ? block.release() : nullptr;
}

HGLOBAL readBitmapFile(HFILE file, unsigned forms) {
  if (file == HFILE_ERROR) return nullptr;
  FileDibSource source(file);
  return readBitmapFile(source, forms);
}

HGLOBAL readBitmapFile(LPCSTR path, unsigned forms) {
  if (!path) return nullptr;
  OFSTRUCT of{};
  HFILE file = OpenFile(path, &of, OF_READ);
  if (file == HFILE_ERROR) return nullptr;
  HGLOBAL dib = readBitmapFile(file, forms);
  _lclose(file);
  return dib;
}

}  // namespace win32::gdi
