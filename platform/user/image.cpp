// LoadImageA, LoadBitmapA, CopyImage and CreateMappedBitmap: bitmaps, icons
// and cursors from resources and from .bmp/.ico/.cur files.
//
// Everything read is checked against its size before use: a truncated or
// corrupt file gives NULL with ERROR_INVALID_DATA (ERROR_FILE_NOT_FOUND when
// it does not exist), never a read past the data.
#include <internal/dib.h>
#include <internal/hostpath.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "icon.h"

namespace win32::user {
namespace {

constexpr size_t kMaxImageFile = 64u << 20;

bool readFile(LPCSTR name, std::vector<BYTE>& out) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::ifstream in(resolveHostPath(name), std::ios::binary);
  if (!in) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || static_cast<size_t>(size) > kMaxImageFile) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  in.seekg(0);
  out.resize(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(out.data()), size);
  return static_cast<bool>(in);
}

// Colour-table substitutions of LR_LOADMAP3DCOLORS / LR_LOADTRANSPARENT and
// CreateMappedBitmap, applied to a copy of a packed DIB's table.
struct ColorSwap {
  COLORREF from;
  COLORREF to;
};

void mapColors(std::vector<BYTE>& dib, size_t tableAt, size_t count, const std::vector<ColorSwap>& swaps,
               int transparentIndex) {
  for (size_t i = 0; i < count; ++i) {
    BYTE* e = dib.data() + tableAt + i * 4;
    COLORREF c = RGB(e[2], e[1], e[0]);
    if (static_cast<int>(i) == transparentIndex) {
      c = GetSysColor(COLOR_WINDOW);
    } else {
      for (const auto& s : swaps) {
        if (s.from == c) {
          c = s.to;
          break;
        }
      }
    }
    e[0] = GetBValue(c), e[1] = GetGValue(c), e[2] = GetRValue(c);
  }
}

// A bitmap from a packed DIB (header, table, pixels) of `size` bytes.
HBITMAP bitmapFromDib(const BYTE* data, size_t size, UINT flags, const std::vector<ColorSwap>& extraSwaps) {
  const size_t offset = win32::gdi::dibBitsOffset(data, size);
  const size_t image = win32::gdi::dibImageSize(data, size);
  if (offset == 0 || image == 0 || offset + image > size) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  std::vector<BYTE> header(data, data + offset);
  const DWORD headerSize = header[0] | (header[1] << 8) | (header[2] << 16) | (DWORD(header[3]) << 24);
  if (headerSize >= sizeof(BITMAPINFOHEADER)) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, header.data(), sizeof h);
    const bool table = h.biBitCount <= 8;
    const size_t count = table ? (offset - headerSize) / 4 : 0;
    std::vector<ColorSwap> swaps = extraSwaps;
    if (flags & LR_LOADMAP3DCOLORS) {
      swaps.push_back({RGB(128, 128, 128), GetSysColor(COLOR_3DSHADOW)});
      swaps.push_back({RGB(192, 192, 192), GetSysColor(COLOR_3DFACE)});
      swaps.push_back({RGB(223, 223, 223), GetSysColor(COLOR_3DLIGHT)});
    }
    int transparent = -1;
    if ((flags & LR_LOADTRANSPARENT) && table && h.biCompression == BI_RGB) {
      // The colour of the first pixel becomes the window colour.
      const BYTE* first = data + offset + (h.biHeight > 0 ? (image / std::abs(h.biHeight)) * (std::abs(h.biHeight) - 1) : 0);
      transparent = h.biBitCount == 8 ? first[0] : h.biBitCount == 4 ? first[0] >> 4 : first[0] >> 7;
    }
    if (count && (!swaps.empty() || transparent >= 0)) mapColors(header, headerSize, count, swaps, transparent);
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(header.data());
  const BYTE* bits = data + offset;
  if (flags & LR_CREATEDIBSECTION) {
    void* sectionBits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    if (!section) {
      // Compressed DIBs: a section of the same depth, filled through SetDIBits.
      std::vector<BYTE> plain = header;
      reinterpret_cast<BITMAPINFOHEADER*>(plain.data())->biCompression = BI_RGB;
      section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(plain.data()), DIB_RGB_COLORS, &sectionBits,
                                 nullptr, 0);
    }
    if (!section) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    SetDIBits(dc, section, 0, 0xFFFF, bits, info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return section;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = nullptr;
  if (flags & LR_MONOCHROME) {
    LONG w = info->bmiHeader.biWidth, hgt = std::abs(info->bmiHeader.biHeight);
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
      w = reinterpret_cast<const BITMAPCOREHEADER*>(info)->bcWidth;
      hgt = reinterpret_cast<const BITMAPCOREHEADER*>(info)->bcHeight;
    }
    bitmap = CreateBitmap(w, hgt, 1, 1, nullptr);
    if (bitmap) SetDIBits(dc, bitmap, 0, static_cast<UINT>(hgt), bits, info, DIB_RGB_COLORS);
  } else {
    bitmap = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
  }
  DeleteDC(dc);
  return bitmap;
}

// The file through the layer's one bitmap-file reader, in every form
// Windows reads (core headers and bit-field masks too).
HBITMAP bitmapFromFile(LPCSTR name, UINT flags) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  OFSTRUCT of{};
  const HFILE file = OpenFile(name, &of, OF_READ);
  if (file == HFILE_ERROR) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  HGLOBAL dib = win32::gdi::readBitmapFile(file, win32::gdi::kBitmapCoreHeader | win32::gdi::kBitmapBitFields);
  _lclose(file);
  if (!dib) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const auto* data = static_cast<const BYTE*>(GlobalLock(dib));
  HBITMAP bitmap = data ? bitmapFromDib(data, GlobalSize(dib), flags, {}) : nullptr;
  GlobalUnlock(dib);
  GlobalFree(dib);
  return bitmap;
}

HICON iconFromFile(LPCSTR name, bool icon, int cx, int cy) {
  std::vector<BYTE> file;
  if (!readFile(name, file)) return nullptr;
  auto entries = parseIconDirectory(file.data(), file.size(), icon, true);
  int best = bestIconEntry(entries, cx, cy);
  if (best < 0) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const IconEntry& e = entries[best];
  if (e.idOrOffset >= file.size() || e.bytes > file.size() - e.idOrOffset) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return iconFromImage(file.data() + e.idOrOffset, e.bytes, icon, false, e.hotspot, cx, cy);
}

HBITMAP bitmapFromResource(HINSTANCE module, LPCSTR name, UINT flags, const std::vector<ColorSwap>& swaps) {
  HRSRC res = FindResourceA(module, name, RT_BITMAP);
  if (!res) return nullptr;
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
  return bitmapFromDib(data, SizeofResource(module, res), flags, swaps);
}

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" HANDLE WINAPI LoadImageA(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  const bool fromFile = flags & LR_LOADFROMFILE;
  switch (type) {
    case IMAGE_BITMAP: {
      if (fromFile) return bitmapFromFile(name, flags);
      if (!module) {
        // The OBM_* system bitmaps are not provided by this layer.
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
      }
      return bitmapFromResource(module, name, flags, {});
    }
    case IMAGE_ICON:
    case IMAGE_CURSOR: {
      const bool icon = type == IMAGE_ICON;
      if ((flags & LR_DEFAULTSIZE) || (!fromFile && module && cx == 0 && cy == 0)) {
        if (!cx) cx = GetSystemMetrics(icon ? SM_CXICON : SM_CXCURSOR);
        if (!cy) cy = GetSystemMetrics(icon ? SM_CYICON : SM_CYCURSOR);
      }
      HICON result;
      if (fromFile) {
        result = iconFromFile(name, icon, cx, cy);
      } else if (!module) {
        WORD id = reinterpret_cast<uintptr_t>(name) >> 16 ? 0 : static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
        result = id ? (icon ? standardIcon(id) : standardCursor(id)) : nullptr;
        if (!result) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return result;
      } else {
        result = loadIconResource(module, name, icon, cx, cy);
      }
      if (result && (flags & LR_SHARED)) findIcon(result)->shared = true;
      return result;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

extern "C" HBITMAP WINAPI LoadBitmapA(HINSTANCE module, LPCSTR name) {
  return static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, 0));
}

// The default map turns the four greys of toolbar bitmaps into the button
// colours of the colour scheme.
extern "C" HBITMAP WINAPI CreateMappedBitmap(HINSTANCE module, INT_PTR id, UINT flags, LPCOLORMAP maps, int count) {
  std::vector<ColorSwap> swaps;
  if (maps && count > 0) {
    for (int i = 0; i < count; ++i) swaps.push_back({maps[i].from, maps[i].to});
  } else {
    swaps = {{RGB(0, 0, 0), GetSysColor(COLOR_BTNTEXT)},
             {RGB(128, 128, 128), GetSysColor(COLOR_BTNSHADOW)},
             {RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE)},
             {RGB(255, 255, 255), GetSysColor(COLOR_BTNHIGHLIGHT)}};
  }
  return bitmapFromResource(module, MAKEINTRESOURCEA(id), 0, swaps);
}

extern "C" HANDLE WINAPI CopyImage(HANDLE handle, UINT type, int cx, int cy, UINT flags) {
  HANDLE copy = nullptr;
  if (type == IMAGE_BITMAP) {
    BITMAP bm;
    if (!GetObjectA(handle, sizeof bm, &bm)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    const int w = cx > 0 ? cx : bm.bmWidth, h = cy > 0 ? cy : bm.bmHeight;
    const bool mono = (flags & LR_MONOCHROME) || bm.bmBitsPixel == 1;
    if ((flags & LR_COPYRETURNORG) && w == bm.bmWidth && h == bm.bmHeight) return handle;
    HBITMAP result;
    if (flags & LR_CREATEDIBSECTION) {
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(mono ? 1 : 32), BI_RGB, 0, 0, 0, 0, 0};
      struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
      } monoInfo{info.bmiHeader, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
      void* bits;
      result = CreateDIBSection(nullptr, mono ? reinterpret_cast<BITMAPINFO*>(&monoInfo) : &info, DIB_RGB_COLORS,
                                &bits, nullptr, 0);
    } else {
      result = CreateBitmap(w, h, 1, mono ? 1 : 32, nullptr);
    }
    HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, handle), oldTo = SelectObject(to, result);
    if (result && oldFrom && oldTo) {
      SetStretchBltMode(to, COLORONCOLOR);
      StretchBlt(to, 0, 0, w, h, from, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    copy = result;
  } else if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    auto icon = findIcon(static_cast<HICON>(handle));
    if (!icon) return nullptr;
    if ((flags & LR_DEFAULTSIZE) && !cx) cx = GetSystemMetrics(SM_CXICON);
    if ((flags & LR_DEFAULTSIZE) && !cy) cy = GetSystemMetrics(SM_CYICON);
    if ((flags & LR_COPYRETURNORG) && (cx == 0 || cx == icon->width) && (cy == 0 || cy == icon->height)) return handle;
    ICONINFO ii;
    if (!GetIconInfo(static_cast<HICON>(handle), &ii)) return nullptr;
    if (cx > 0 || cy > 0) {
      // Scaled through a second icon made at the wanted size.
      HICON plain = CreateIconIndirect(&ii);
      auto scaled = std::make_shared<IconObject>();
      HICON sized = nullptr;
      if (plain) {
        const int w = cx > 0 ? cx : icon->width, h = cy > 0 ? cy : icon->height;
        auto src = findIcon(plain);
        scaled->icon = src->icon;
        scaled->width = w;
        scaled->height = h;
        scaled->hotspot = {src->hotspot.x * w / src->width, src->hotspot.y * h / src->height};
        scaled->mask = static_cast<HBITMAP>(CopyImage(src->mask, IMAGE_BITMAP, w, src->color ? h : 2 * h, 0));
        if (src->color) scaled->color = static_cast<HBITMAP>(CopyImage(src->color, IMAGE_BITMAP, w, h, 0));
        sized = registerIcon(scaled);
        DestroyIcon(plain);
      }
      copy = sized;
    } else {
      copy = CreateIconIndirect(&ii);
    }
    DeleteObject(ii.hbmMask);
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (copy && (flags & LR_COPYDELETEORG)) {
    if (type == IMAGE_BITMAP) DeleteObject(handle);
    else DestroyIcon(static_cast<HICON>(handle));
  }
  return copy;
}
