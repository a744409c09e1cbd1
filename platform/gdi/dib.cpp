// Device-independent bitmaps: DIB sections, CreateDIBitmap, GetDIBits,
// SetDIBits, SetDIBitsToDevice, StretchDIBits and the DIB colour table.
#include <internal/dib.h>

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "blit.h"
#include "raster.h"

namespace win32::gdi {
namespace {

// A DIB format read from a BITMAPINFO, checked.
struct DibFormat {
  int width = 0;
  int height = 0;  // absolute
  bool topDown = false;
  int bpp = 0;
  DWORD compression = BI_RGB;
  std::vector<uint32_t> colors;  // rgb
  uint32_t masks[3] = {0, 0, 0};
  bool hasMasks = false;
  size_t headerBytes = 0;  // header + masks + colour table
  int64_t stride = 0;
  BITMAPINFOHEADER header{};  // normalised to the 40-byte form
};

uint32_t readDword(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

bool parseFormat(const void* data, size_t size, UINT usage, const PaletteObject* palette, DibFormat& f) {
  if (!data || size < sizeof(DWORD)) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  DWORD headerSize = readDword(bytes);
  bool core = headerSize == sizeof(BITMAPCOREHEADER);
  if (!core && headerSize < sizeof(BITMAPINFOHEADER)) return false;
  if (headerSize > size || headerSize > 4096) return false;
  BITMAPINFOHEADER& h = f.header;
  if (core) {
    BITMAPCOREHEADER c;
    std::memcpy(&c, bytes, sizeof c);
    h = {sizeof(BITMAPINFOHEADER), c.bcWidth, c.bcHeight, c.bcPlanes, c.bcBitCount, BI_RGB, 0, 0, 0, 0, 0};
  } else {
    std::memcpy(&h, bytes, sizeof h);
  }
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes != 1) return false;
  f.width = h.biWidth;
  f.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  f.topDown = h.biHeight < 0;
  f.bpp = h.biBitCount;
  f.compression = h.biCompression;
  switch (f.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  switch (f.compression) {
    case BI_RGB: break;
    case BI_RLE8: if (f.bpp != 8 || f.topDown) return false; break;
    case BI_RLE4: if (f.bpp != 4 || f.topDown) return false; break;
    case BI_BITFIELDS: if (f.bpp != 16 && f.bpp != 32) return false; break;
    default: return false;
  }
  f.stride = dibStride(f.width, f.bpp);
  if (f.stride <= 0 || f.stride * f.height > (int64_t(1) << 30)) return false;
  size_t at = headerSize;
  if (f.compression == BI_BITFIELDS) {
    f.hasMasks = true;
    // V4/V5 headers hold the masks inside; the 40-byte header has them after.
    size_t maskAt = headerSize >= 52 ? 40 : headerSize;
    if (maskAt + 12 > size) return false;
    for (int i = 0; i < 3; ++i) f.masks[i] = readDword(bytes + maskAt + 4 * i);
    if (headerSize < 52) at += 12;
    if (!f.masks[0] || !f.masks[1] || !f.masks[2]) return false;
  } else if (f.bpp == 16) {
    f.masks[0] = 0x7C00, f.masks[1] = 0x03E0, f.masks[2] = 0x001F;
  } else if (f.bpp == 32) {
    f.masks[0] = 0xFF0000, f.masks[1] = 0x00FF00, f.masks[2] = 0x0000FF;
  }
  if (f.bpp <= 8) {
    size_t count = core ? 0 : h.biClrUsed;
    if (count == 0 || count > (1u << f.bpp)) count = size_t(1) << f.bpp;
    size_t entry = usage == DIB_PAL_COLORS ? 2 : (core ? 3 : 4);
    if (at + count * entry > size) return false;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = bytes + at + i * entry;
      if (usage == DIB_PAL_COLORS) {
        unsigned index = e[0] | (e[1] << 8);
        const auto& entries = palette ? palette->entries : defaultPalette()->entries;
        const auto& pe = entries[std::min<size_t>(index, entries.size() - 1)];
        f.colors.push_back((uint32_t(pe.peRed) << 16) | (pe.peGreen << 8) | pe.peBlue);
      } else {
        f.colors.push_back((uint32_t(e[2]) << 16) | (e[1] << 8) | e[0]);
      }
    }
    at += count * entry;
  } else if (!core && h.biClrUsed && usage == DIB_RGB_COLORS) {
    // Optional colour table of high-colour DIBs: skipped.
    size_t extra = std::min<size_t>(h.biClrUsed, 256) * 4;
    if (at + extra <= size) at += extra;
  }
  f.headerBytes = at;
  return true;
}

bool parseInfo(const BITMAPINFO* info, UINT usage, const PaletteObject* palette, DibFormat& f) {
  // The caller's BITMAPINFO is trusted to hold its colour table, as Windows does.
  return parseFormat(info, size_t(1) << 20, usage, palette, f);
}

// Decodes RLE8/RLE4 data into uncompressed bottom-up rows. Runs that leave
// the image are cut; truncated data ends the decoding.
std::vector<uint8_t> decodeRle(const DibFormat& f, const uint8_t* data, size_t size) {
  std::vector<uint8_t> out(static_cast<size_t>(f.stride * f.height), 0);
  auto put = [&](int x, int y, unsigned v) {
    if (x < 0 || x >= f.width || y < 0 || y >= f.height) return;
    uint8_t* row = out.data() + y * f.stride;
    if (f.bpp == 8) {
      row[x] = static_cast<uint8_t>(v);
    } else {
      row[x >> 1] = (x & 1) ? ((row[x >> 1] & 0xF0) | (v & 0xF)) : ((row[x >> 1] & 0x0F) | ((v & 0xF) << 4));
    }
  };
  const bool four = f.bpp == 4;
  int x = 0, y = 0;  // y counts scan lines from the bottom
  size_t i = 0;
  while (i + 1 < size && y < f.height) {
    unsigned count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count; ++k) put(x++, y, four ? ((k & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (i + 1 >= size) break;
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {
      size_t bytes = four ? (value + 1) / 2 : value;
      if (i + bytes > size) break;
      for (unsigned k = 0; k < value; ++k) {
        unsigned v = four ? ((k & 1) ? data[i + k / 2] & 0xF : data[i + k / 2] >> 4) : data[i + k];
        put(x++, y, v);
      }
      i += (bytes + 1) & ~size_t(1);  // runs are padded to a WORD
    }
  }
  return out;
}

// A PixelBuffer over uncompressed DIB rows.
PixelBuffer viewOf(const DibFormat& f, const uint8_t* bits) {
  PixelBuffer b;
  b.width = f.width;
  b.height = f.height;
  b.bpp = f.bpp;
  b.colors = f.colors;
  std::copy_n(f.masks, 3, b.masks);
  if (f.topDown) {
    b.top = const_cast<uint8_t*>(bits);
    b.stride = f.stride;
  } else {
    b.top = const_cast<uint8_t*>(bits) + (f.height - 1) * f.stride;
    b.stride = -f.stride;
  }
  return b;
}

// The colour table GetDIBits reports for a format of `bpp` bits.
std::vector<uint32_t> standardColors(int bpp, const BitmapObject& bitmap) {
  if (bitmap.pixels.bpp == bpp && bpp <= 8 && !bitmap.pixels.colors.empty()) return bitmap.pixels.colors;
  std::vector<uint32_t> c;
  if (bpp == 1) return {0x000000, 0xFFFFFF};
  if (bpp == 4) {
    return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  }
  if (bpp == 8) {
    // 6x6x6 colour cube, then a grey ramp.
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) c.push_back((uint32_t(r * 51) << 16) | (g * 51 << 8) | (b * 51));
    for (int i = 0; i < 40; ++i) c.push_back(0x010101u * static_cast<uint32_t>(i * 255 / 39));
  }
  return c;
}

// A memory DC over a temporary DIB section holding the caller's DIB.
struct TemporaryDib {
  std::shared_ptr<BitmapObject> bitmap;
  std::shared_ptr<DCObject> dc;
};

std::optional<TemporaryDib> temporaryDib(const DibFormat& f, const uint8_t* bits, UINT firstScan, UINT scans) {
  BITMAPINFOHEADER h = f.header;
  h.biCompression = f.hasMasks ? BI_BITFIELDS : BI_RGB;
  h.biHeight = f.topDown ? -f.height : f.height;
  auto bitmap = BitmapObject::makeDIBSection(h, f.masks, f.colors);
  if (!bitmap) return std::nullopt;
  std::vector<uint8_t> decoded;
  if (f.compression == BI_RLE8 || f.compression == BI_RLE4) {
    decoded = decodeRle(f, bits, f.header.biSizeImage ? f.header.biSizeImage : size_t(f.stride) * f.height);
    bits = decoded.data();
    firstScan = 0;
    scans = static_cast<UINT>(f.height);
  }
  // Scan lines count from the bottom for bottom-up DIBs, from the top otherwise.
  auto& p = bitmap->pixels;
  for (UINT k = 0; k < scans; ++k) {
    int64_t scan = int64_t(firstScan) + k;
    if (scan >= f.height) break;
    int row = f.topDown ? static_cast<int>(scan) : f.height - 1 - static_cast<int>(scan);
    std::memcpy(p.row(row), bits + k * f.stride, static_cast<size_t>(f.stride));
  }
  auto dc = std::make_shared<DCObject>(DCObject::Kind::Memory);
  dc->resetState();
  dc->state.bitmap = bitmap;
  return TemporaryDib{bitmap, dc};
}

}  // namespace

size_t dibBitsOffset(const void* header, size_t size, UINT usage) {
  DibFormat f;
  return parseFormat(header, size, usage, nullptr, f) ? f.headerBytes : 0;
}

size_t dibImageSize(const void* header, size_t size) {
  DibFormat f;
  if (!parseFormat(header, size, DIB_RGB_COLORS, nullptr, f)) return 0;
  if (f.compression == BI_RLE4 || f.compression == BI_RLE8) return f.header.biSizeImage;
  return static_cast<size_t>(f.stride * f.height);
}

}  // namespace win32::gdi

using namespace win32::gdi;

namespace {

const PaletteObject* paletteOf(HDC hdc) {
  auto dc = findAs<DCObject>(hdc);
  return dc && dc->state.palette ? dc->state.palette.get().get() : nullptr;
}

// The caller's DIB (header in `info`, rows in `bits`) as a temporary DIB
// section holding scan lines firstScan..firstScan+scans (no count: every
// line); `f` receives the parsed format. On failure sets the last error.
std::optional<TemporaryDib> callerDib(HDC hdc, const void* bits, const BITMAPINFO* info, UINT usage,
                                      UINT firstScan, std::optional<UINT> scans, DibFormat& f) {
  if (!bits || !parseInfo(info, usage, paletteOf(hdc), f)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  auto temp = temporaryDib(f, static_cast<const uint8_t*>(bits), firstScan,
                           scans.value_or(static_cast<UINT>(f.height)));
  if (!temp) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return temp;
}

}  // namespace

extern "C" HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                           DWORD offset) {
  GdiLock lock(gdiMutex());
  if (bits) *bits = nullptr;
  DibFormat f;
  if (!parseInfo(info, usage, paletteOf(hdc), f) || f.compression == BI_RLE4 || f.compression == BI_RLE8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (section) {
    // Sections over file mappings are not supported by this layer.
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  BITMAPINFOHEADER h = f.header;
  h.biSizeImage = static_cast<DWORD>(f.stride * f.height);
  if (f.bpp <= 8) h.biClrUsed = static_cast<DWORD>(f.colors.size());
  auto bitmap = BitmapObject::makeDIBSection(h, f.masks, f.colors);
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HBITMAP handle = static_cast<HBITMAP>(registerObject(bitmap));
  if (handle && bits) {
    BITMAP bm;
    bitmap->describe(sizeof bm, &bm);
    *bits = bm.bmBits;
  }
  return handle;
}

extern "C" int WINAPI SetDIBits(HDC hdc, HBITMAP handle, UINT start, UINT lines, const void* bits,
                                const BITMAPINFO* info, UINT usage) {
  GdiLock lock(gdiMutex());
  auto bitmap = findBitmap(handle);
  if (!bitmap) return 0;
  DibFormat f;
  auto temp = callerDib(hdc, bits, info, usage, start, lines, f);
  if (!temp) return 0;
  // Only the scan lines given are written.
  const bool rle = f.compression == BI_RLE4 || f.compression == BI_RLE8;
  UINT first = rle ? 0 : start, count = rle ? static_cast<UINT>(f.height) : lines;
  if (first >= static_cast<UINT>(f.height)) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(f.height) - first);
  int top = f.topDown ? static_cast<int>(first) : f.height - static_cast<int>(first + count);
  int rows = static_cast<int>(count);
  PixelBuffer& to = bitmap->pixels;
  // The DIB's rows land from the bitmap's top; a taller DIB is cut.
  for (int r = top; r < top + rows; ++r) {
    if (r >= to.height) break;
    for (int x = 0; x < std::min(f.width, to.width); ++x) to.setRgb(x, r, temp->bitmap->pixels.rgb(x, r));
  }
  if (auto* s = bitmap->cairoSurface()) cairo_surface_mark_dirty(s);
  return static_cast<int>(count);
}

extern "C" HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                         const BITMAPINFO* info, UINT usage) {
  GdiLock lock(gdiMutex());
  DibFormat f;
  if (info) {
    if (!parseInfo(info, usage, paletteOf(hdc), f)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  if (!header) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The size comes from `header` (it may differ from info's only in theory).
  if (header->biSize == sizeof(BITMAPCOREHEADER)) {
    const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
    f.width = core->bcWidth;
    f.height = core->bcHeight;
  } else {
    f.width = header->biWidth;
    f.height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  }
  if (f.width <= 0 || f.height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A two-colour black and white DIB makes a monochrome bitmap, as on Windows.
  bool mono = f.bpp == 1 && f.colors.size() == 2 && f.colors[0] == 0 && f.colors[1] == 0xFFFFFF;
  auto bitmap = BitmapObject::makeDDB(f.width, f.height, mono ? 1 : 32);
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HBITMAP handle = static_cast<HBITMAP>(registerObject(bitmap));
  if (handle && (init & CBM_INIT) && bits && info) SetDIBits(hdc, handle, 0, f.height, bits, info, usage);
  return handle;
}

extern "C" int WINAPI GetDIBits(HDC hdc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                                UINT usage) {
  GdiLock lock(gdiMutex());
  auto bitmap = findBitmap(handle);
  if (!bitmap || !findDC(hdc)) return 0;
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  BITMAPINFOHEADER& h = info->bmiHeader;
  const PixelBuffer& from = bitmap->pixels;
  if (h.biBitCount == 0) {
    // Fill in the header only.
    h.biWidth = from.width;
    h.biHeight = from.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(from.bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(dibStride(from.width, from.bpp) * from.height);
    h.biXPelsPerMeter = h.biYPelsPerMeter = 3780;  // 96 dpi
    h.biClrUsed = h.biClrImportant = 0;
    return from.height;
  }
  h.biWidth = from.width;
  if (h.biHeight == 0) h.biHeight = from.height;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int bpp = h.biBitCount;
  const bool topDown = h.biHeight < 0;
  const int64_t stride = dibStride(from.width, bpp);
  h.biSizeImage = static_cast<DWORD>(stride * from.height);
  std::vector<uint32_t> colors = standardColors(bpp, *bitmap);
  if (bpp <= 8) {
    h.biClrUsed = 0;
    for (size_t i = 0; i < colors.size(); ++i) {
      if (usage == DIB_PAL_COLORS) {
        reinterpret_cast<WORD*>(info->bmiColors)[i] = static_cast<WORD>(i);
      } else {
        info->bmiColors[i] = {BYTE(colors[i] & 0xFF), BYTE((colors[i] >> 8) & 0xFF), BYTE(colors[i] >> 16), 0};
      }
    }
  }
  uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
  if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (h.biCompression == BI_BITFIELDS) {
    // The masks reported are those of the rows delivered: a DIB section's
    // own at its depth, else 5-6-5 for 16 bits and 8-8-8 for 32.
    if (bpp == 16) masks[0] = 0xF800, masks[1] = 0x07E0, masks[2] = 0x001F;
    if (bitmap->dibSection && from.bpp == bpp) std::copy_n(from.masks, 3, masks);
    std::copy_n(masks, 3, reinterpret_cast<DWORD*>(info->bmiColors));
  }
  if (!bits) return from.height;
  if (start >= static_cast<UINT>(from.height)) return 0;
  lines = std::min<UINT>(lines, static_cast<UINT>(from.height) - start);
  DibFormat f;
  f.width = from.width;
  f.height = from.height;
  f.topDown = topDown;
  f.bpp = bpp;
  f.stride = stride;
  f.colors = colors;
  std::copy_n(masks, 3, f.masks);
  // A view whose scan line `start` is the first row of the caller's buffer.
  PixelBuffer to = viewOf(f, static_cast<uint8_t*>(bits) - start * stride);
  for (UINT k = 0; k < lines; ++k) {
    int scan = static_cast<int>(start + k);
    int row = topDown ? scan : from.height - 1 - scan;
    std::memset(to.row(row), 0, static_cast<size_t>(stride));
    if (from.isPlain32() && to.isPlain32() && !from.opaqueAlpha) {
      // 32-bit rows from a 32-bit bitmap keep their fourth byte.
      std::copy_n(from.row32(row), from.width, to.row32(row));
      continue;
    }
    for (int x = 0; x < from.width; ++x) {
      if (bitmap->monochrome() && bpp == 1) {
        to.setRaw(x, row, from.raw(x, row));
      } else {
        to.setRgb(x, row, from.rgb(x, row));
      }
    }
  }
  return static_cast<int>(lines);
}

extern "C" int WINAPI StretchDIBits(HDC hdc, int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth,
                                    int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return 0;
  DibFormat f;
  auto temp = callerDib(hdc, bits, info, usage, 0, std::nullopt, f);
  if (!temp) return 0;
  // Source y counts from the bottom in a bottom-up DIB.
  int top = f.topDown ? ySrc : f.height - ySrc - srcHeight;
  Transfer t;
  t.dest = dc.get();
  t.x = x, t.y = y, t.width = width, t.height = height;
  t.src = temp->dc.get();
  t.srcX = xSrc, t.srcY = top, t.srcWidth = srcWidth, t.srcHeight = srcHeight;
  t.foreRop = t.backRop = static_cast<uint8_t>(rop >> 16);
  if (!transfer(t)) return 0;
  return std::abs(srcHeight);
}

extern "C" int WINAPI SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc,
                                        UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                                        UINT usage) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return 0;
  DibFormat f;
  auto temp = callerDib(hdc, bits, info, usage, startScan, lines, f);
  if (!temp) return 0;
  // Only the rows of the scan lines given may be drawn.
  int availTop = f.topDown ? static_cast<int>(startScan) : f.height - static_cast<int>(startScan + lines);
  int availBottom = availTop + static_cast<int>(lines);
  int top = f.topDown ? ySrc : f.height - ySrc - static_cast<int>(height);
  int from = std::max(top, availTop), to = std::min(top + static_cast<int>(height), availBottom);
  if (from >= to) return static_cast<int>(lines);
  POINT origin = dc->toDevice({x, y});
  // Extents here are device pixels: the DIB is never stretched.
  auto saved = dc->state;
  dc->state.mapMode = MM_TEXT;
  dc->state.windowOrg = dc->state.viewportOrg = {0, 0};
  dc->state.windowExt = dc->state.viewportExt = {1, 1};
  Transfer t;
  t.dest = dc.get();
  t.x = origin.x, t.y = origin.y + (from - top), t.width = static_cast<int>(width), t.height = to - from;
  t.src = temp->dc.get();
  t.srcX = xSrc, t.srcY = from, t.srcWidth = static_cast<int>(width), t.srcHeight = to - from;
  t.foreRop = t.backRop = 0xCC;
  transfer(t);
  dc->state = saved;
  return static_cast<int>(lines);
}

extern "C" UINT WINAPI GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc || !colors || !dc->state.bitmap || !dc->state.bitmap->dibSection) return 0;
  const auto& table = dc->state.bitmap->pixels.colors;
  if (start >= table.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(table.size()) - start);
  for (UINT i = 0; i < count; ++i) {
    uint32_t c = table[start + i];
    colors[i] = {BYTE(c & 0xFF), BYTE((c >> 8) & 0xFF), BYTE(c >> 16), 0};
  }
  return count;
}

extern "C" UINT WINAPI SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc || !colors || !dc->state.bitmap || !dc->state.bitmap->dibSection) return 0;
  auto& table = dc->state.bitmap->pixels.colors;
  if (start >= table.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(table.size()) - start);
  for (UINT i = 0; i < count; ++i) {
    table[start + i] = (uint32_t(colors[i].rgbRed) << 16) | (colors[i].rgbGreen << 8) | colors[i].rgbBlue;
  }
  return count;
}
