// Layout of packed DIBs (a BITMAPINFOHEADER or BITMAPCOREHEADER, its colour
// table or bit-field masks, then the pixel rows), for code that finds the
// pixels of a DIB read from a file or a resource. gdi32 exports these.
#pragma once

#include <wingdi.h>

#include <cstddef>

namespace win32::gdi {

// Bytes from the start of the header to the first pixel: header, masks and
// colour table. 0 when the header is not a valid DIB header or does not fit
// in `size` bytes (the header alone; the table is checked too).
size_t dibBitsOffset(const void* header, size_t size, UINT usage = DIB_RGB_COLORS);

// Bytes of pixel data an uncompressed DIB of this header needs (rows DWORD-
// aligned), or of a compressed one its biSizeImage; 0 when invalid.
size_t dibImageSize(const void* header, size_t size);

}  // namespace win32::gdi
