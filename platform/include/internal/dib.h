// Layout of packed DIBs (a BITMAPINFOHEADER or BITMAPCOREHEADER, its colour
// table or bit-field masks, then the pixel rows), for code that finds the
// pixels of a DIB read from a file or a resource, and the one safe reader of
// bitmap files into packed DIBs that every library of the run-time uses.
// gdi32 exports these.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace win32::gdi {

// Bytes from the start of the header to the first pixel: header, masks and
// colour table. 0 when the header is not a valid DIB header or does not fit
// in `size` bytes (the header alone; the table is checked too).
size_t dibBitsOffset(const void* header, size_t size, UINT usage = DIB_RGB_COLORS);

// Bytes of pixel data an uncompressed DIB of this header needs (rows DWORD-
// aligned), or of a compressed one its biSizeImage; 0 when invalid.
size_t dibImageSize(const void* header, size_t size);

// --- Header arithmetic of a packed DIB ------------------------------------
// These read a header the caller already holds (a locked DIB block), as the
// Windows DIB helpers do; check a block of unknown origin with
// packedDibFits first.

// Colour-table entries: a 40-byte (or longer) header's used-colours count
// when set, else 2, 16 or 256 for 1, 4 or 8 bits, else 0.
WORD packedDibColours(const void* header);
// Bytes of the colour table: entries x 4, or x 3 behind a core header.
size_t packedDibPaletteBytes(const void* header);
// Width and height from either header form.
LONG packedDibWidth(const void* header);
LONG packedDibHeight(const void* header);
// True when header, colour table and bits all lie inside `size` bytes.
bool packedDibFits(const void* dib, size_t size);

// A logical palette of the DIB's colour table (blue, green, red in the DIB);
// null when the DIB has no colour table or the palette cannot be made.
HPALETTE createPackedDibPalette(const void* dib);
// A device bitmap of the DIB for the screen, the palette (may be null)
// selected and realised while it is made; null on failure.
HBITMAP packedDibToBitmap(const void* dib, HPALETTE palette);
// A palette of the screen's current system palette entries; null on a
// device without a palette.
HPALETTE createSystemPalette();

// --- Bitmap files into packed DIBs ----------------------------------------

// Where a bitmap file's bytes come from: a file, or memory (tests, fuzzing).
class DibSource {
 public:
  virtual ~DibSource() = default;
  virtual bool read(void* buffer, size_t n) = 0;
  // Offsets count from the start of the bitmap file.
  virtual bool seek(uint64_t offset) = 0;
  virtual uint64_t size() = 0;
};

class MemoryDibSource : public DibSource {
 public:
  MemoryDibSource(const void* data, size_t n) : data_(static_cast<const uint8_t*>(data)), size_(n) {}
  bool read(void* buffer, size_t n) override;
  bool seek(uint64_t offset) override;
  uint64_t size() override { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// An open HFILE seen from its current position, where the bitmap file
// starts; reads in pieces of at most 32767 bytes.
class FileDibSource : public DibSource {
 public:
  explicit FileDibSource(HFILE file);
  bool read(void* buffer, size_t n) override;
  bool seek(uint64_t offset) override;
  uint64_t size() override { return size_; }

 private:
  HFILE file_;
  LONG base_;
  uint64_t size_;
};

// Forms of bitmap file a caller takes beyond the basic one (a header of 40
// bytes or longer, 1, 4, 8, 16, 24 or 32 bits, uncompressed or RLE).
enum BitmapFileForms : unsigned {
  kBitmapBasic = 0,
  kBitmapCoreHeader = 1,  // the 12-byte header of OS/2 and early Windows
  kBitmapBitFields = 2,   // 16 or 32 bits with colour masks
};

// The packed DIB (movable global memory: a 40-byte BITMAPINFOHEADER with
// biClrUsed and biSizeImage filled in, the bit-field masks when there are
// any, the colour table, the bits) of a bitmap file; null for a short,
// corrupt or unsupported file. Every count and size in the file is checked
// against the format and the file's length before anything is allocated or
// read. A core header is widened into the 40-byte form. A picture whose
// uncompressed bits would exceed 256 MiB (an RLE one's too, though its file
// is small) gives null with ERROR_NOT_ENOUGH_MEMORY.
HGLOBAL readBitmapFile(DibSource& source, unsigned forms = kBitmapBasic);
HGLOBAL readBitmapFile(HFILE file, unsigned forms = kBitmapBasic);
// Opens the path for reading (OpenFile), reads it and closes it.
HGLOBAL readBitmapFile(LPCSTR path, unsigned forms = kBitmapBasic);

}  // namespace win32::gdi
