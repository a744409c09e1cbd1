// The bitmap-file reader on arbitrary bytes, in every form it reads: a
// corrupt bitmap file must give null or a block whose header, masks, colour
// table and bits agree with its size.
#include <internal/dib.h>

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  win32::gdi::MemoryDibSource source(data, size);
  HGLOBAL dib =
      win32::gdi::readBitmapFile(source, win32::gdi::kBitmapCoreHeader | win32::gdi::kBitmapBitFields);
  if (!dib) return 0;
  auto* lpbi = static_cast<const BYTE*>(GlobalLock(dib));
  BITMAPINFOHEADER bi;
  std::memcpy(&bi, lpbi, sizeof bi);
  SIZE_T blockSize = GlobalSize(dib);
  // Everything the header promises lies inside the block.
  const size_t masks = bi.biCompression == BI_BITFIELDS ? 12 : 0;
  if (40 + masks + win32::gdi::packedDibPaletteBytes(lpbi) + bi.biSizeImage > blockSize) std::abort();
  if (!win32::gdi::packedDibFits(lpbi, blockSize)) std::abort();
  if (bi.biSize != 40 || bi.biWidth <= 0 || bi.biHeight == 0) std::abort();
  volatile BYTE last = lpbi[blockSize - 1];
  (void)last;
  GlobalUnlock(dib);
  GlobalFree(dib);
  return 0;
}
