// Icon and cursor objects: creation, information, copies, destruction and
// loading from resources.
#include "icon.h"

#include <internal/dib.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace win32::user {
namespace {

constexpr uintptr_t kFirstIcon = 0x50000000;
constexpr uintptr_t kLastIcon = 0x5FFFFFFC;

struct IconTable {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::shared_ptr<IconObject>> icons;
  uintptr_t next = kFirstIcon + 4;
  static IconTable& instance() {
    static IconTable* table = new IconTable;
    return *table;
  }
};

// A copy of `source` (any bitmap), optionally scaled, as a new bitmap of
// the same depth (1 or 32 bits).
HBITMAP copyBitmap(HBITMAP source, int width, int height) {
  BITMAP bm;
  if (!GetObjectA(source, sizeof bm, &bm)) return nullptr;
  if (width <= 0) width = bm.bmWidth;
  if (height <= 0) height = bm.bmHeight;
  HBITMAP copy = CreateBitmap(width, height, 1, bm.bmBitsPixel == 1 ? 1 : 32, nullptr);
  HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, copy);
  bool ok = oldFrom && oldTo;
  if (ok) {
    SetStretchBltMode(to, COLORONCOLOR);
    ok = StretchBlt(to, 0, 0, width, height, from, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  }
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  if (!ok) {
    DeleteObject(copy);
    return nullptr;
  }
  return copy;
}

}  // namespace

IconObject::~IconObject() {
  if (mask) DeleteObject(mask);
  if (color) DeleteObject(color);
}

HICON registerIcon(std::shared_ptr<IconObject> icon) {
  auto& table = IconTable::instance();
  std::lock_guard guard(table.lock);
  for (uintptr_t tries = 0; tries < (kLastIcon - kFirstIcon) / 4; ++tries) {
    uintptr_t value = table.next;
    table.next = value >= kLastIcon ? kFirstIcon + 4 : value + 4;
    if (table.icons.emplace(value, icon).second) return reinterpret_cast<HICON>(value);
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

std::shared_ptr<IconObject> findIcon(HICON handle) {
  auto& table = IconTable::instance();
  std::lock_guard guard(table.lock);
  auto it = table.icons.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.icons.end()) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return nullptr;
  }
  return it->second;
}

namespace {

bool destroy(HICON handle) {
  std::shared_ptr<IconObject> doomed;
  auto& table = IconTable::instance();
  std::lock_guard guard(table.lock);
  auto it = table.icons.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.icons.end()) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return false;
  }
  if (it->second->shared) return true;
  doomed = std::move(it->second);
  table.icons.erase(it);
  return true;
}

// An icon from copies of the caller's bitmaps, scaled to cx x cy when given.
HICON makeIcon(const ICONINFO& info, int cx, int cy) {
  BITMAP bm;
  if (!info.hbmMask || !GetObjectA(info.hbmMask, sizeof bm, &bm)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto icon = std::make_shared<IconObject>();
  icon->icon = info.fIcon;
  icon->width = bm.bmWidth;
  icon->height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (icon->width <= 0 || icon->height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int w = cx > 0 ? cx : icon->width, h = cy > 0 ? cy : icon->height;
  icon->mask = copyBitmap(info.hbmMask, w, info.hbmColor ? h : 2 * h);
  if (info.hbmColor) icon->color = copyBitmap(info.hbmColor, w, h);
  if (!icon->mask || (info.hbmColor && !icon->color)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  icon->hotspot = info.fIcon ? POINT{w / 2, h / 2}
                             : POINT{LONG(info.xHotspot * w / icon->width), LONG(info.yHotspot * h / icon->height)};
  icon->width = w;
  icon->height = h;
  return registerIcon(std::move(icon));
}

WORD readWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD readDword(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (DWORD(p[3]) << 24); }

}  // namespace

std::vector<IconEntry> parseIconDirectory(const BYTE* data, size_t size, bool icon, bool file) {
  std::vector<IconEntry> out;
  if (!data || size < 6 || readWord(data) != 0 || readWord(data + 2) != (icon ? 1 : 2)) return out;
  const size_t count = readWord(data + 4);
  const size_t entrySize = file ? 16 : 14;
  if (6 + count * entrySize > size) return out;
  for (size_t i = 0; i < count; ++i) {
    const BYTE* e = data + 6 + i * entrySize;
    IconEntry entry;
    if (file) {
      entry.width = e[0] ? e[0] : 256;
      entry.height = e[1] ? e[1] : 256;
      if (icon) {
        entry.bitCount = readWord(e + 6);
      } else {
        // Cursor files keep the hotspot where icon files keep planes and depth.
        entry.hotspot = {readWord(e + 4), readWord(e + 6)};
      }
      entry.bytes = readDword(e + 8);
      entry.idOrOffset = readDword(e + 12);
    } else if (icon) {
      entry.width = e[0] ? e[0] : 256;
      entry.height = e[1] ? e[1] : 256;
      entry.bitCount = readWord(e + 6);
      entry.bytes = readDword(e + 8);
      entry.idOrOffset = readWord(e + 12);
    } else {
      entry.width = readWord(e);
      entry.height = readWord(e + 2) / 2;  // cursor directories give the doubled height
      entry.bitCount = readWord(e + 6);
      entry.bytes = readDword(e + 8);
      entry.idOrOffset = readWord(e + 12);
    }
    out.push_back(entry);
  }
  return out;
}

int bestIconEntry(const std::vector<IconEntry>& entries, int cx, int cy) {
  if (entries.empty()) return -1;
  if (cx <= 0) cx = GetSystemMetrics(SM_CXICON);
  if (cy <= 0) cy = GetSystemMetrics(SM_CYICON);
  int best = 0;
  // Size distance first, then the deepest colour up to 32 bits.
  auto score = [&](const IconEntry& e) { return std::abs(e.width - cx) + std::abs(e.height - cy); };
  for (size_t i = 1; i < entries.size(); ++i) {
    const auto& e = entries[i];
    const auto& b = entries[best];
    if (score(e) < score(b) || (score(e) == score(b) && e.bitCount > b.bitCount && e.bitCount <= 32)) {
      best = static_cast<int>(i);
    }
  }
  return best;
}

HICON iconFromImage(const BYTE* data, size_t size, bool icon, bool hotspotFirst, POINT hotspot, int cx, int cy) {
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (hotspotFirst) {
    if (size < 4) {
      SetLastError(ERROR_INVALID_DATA);
      return nullptr;
    }
    hotspot = {readWord(data), readWord(data + 2)};
    data += 4;
    size -= 4;
  }
  // Images stored as PNG (large Vista icons) are not decoded by this layer.
  const size_t offset = win32::gdi::dibBitsOffset(data, size);
  if (offset == 0 || size < sizeof(BITMAPINFOHEADER) || readDword(data) < sizeof(BITMAPINFOHEADER)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof h);
  const int width = h.biWidth, height = std::abs(h.biHeight) / 2;
  if (height <= 0 || h.biCompression != BI_RGB) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const size_t xorStride = ((size_t(width) * h.biBitCount + 31) / 32) * 4;
  const size_t andStride = ((size_t(width) + 31) / 32) * 4;
  if (offset + xorStride * height + andStride * height > size) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const BYTE* xorBits = data + offset;
  const BYTE* andBits = xorBits + xorStride * height;

  // The colour image: the header with the real height, its table and rows.
  std::vector<BYTE> info(data, data + offset);
  auto* xorHeader = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  xorHeader->biHeight = height;
  xorHeader->biSizeImage = 0;
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[2];
  } maskInfo{{sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 0}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};

  HDC screen = CreateCompatibleDC(nullptr);
  ICONINFO ii{icon, DWORD(hotspot.x), DWORD(hotspot.y), CreateBitmap(width, height, 1, 1, nullptr),
              CreateBitmap(width, height, 1, 32, nullptr)};
  bool ok = ii.hbmMask && ii.hbmColor &&
            SetDIBits(screen, ii.hbmColor, 0, height, xorBits, reinterpret_cast<BITMAPINFO*>(info.data()),
                      DIB_RGB_COLORS) > 0 &&
            SetDIBits(screen, ii.hbmMask, 0, height, andBits, reinterpret_cast<BITMAPINFO*>(&maskInfo),
                      DIB_RGB_COLORS) > 0;
  if (ok && h.biBitCount == 32) {
    // Alpha icons: a pixel is shown where it is at least half opaque.
    bool anyAlpha = false;
    for (int y = 0; y < height && !anyAlpha; ++y)
      for (int x = 0; x < width && !anyAlpha; ++x) anyAlpha = xorBits[y * xorStride + x * 4 + 3] != 0;
    if (anyAlpha) {
      HDC maskDC = CreateCompatibleDC(nullptr), colorDC = CreateCompatibleDC(nullptr);
      HGDIOBJ oldMask = SelectObject(maskDC, ii.hbmMask), oldColor = SelectObject(colorDC, ii.hbmColor);
      for (int y = 0; y < height; ++y) {
        const BYTE* row = xorBits + (height - 1 - y) * xorStride;  // bottom-up rows
        for (int x = 0; x < width; ++x) {
          const bool shown = row[x * 4 + 3] >= 128;
          SetPixelV(maskDC, x, y, shown ? RGB(0, 0, 0) : RGB(255, 255, 255));
          if (!shown) SetPixelV(colorDC, x, y, RGB(0, 0, 0));
        }
      }
      SelectObject(maskDC, oldMask);
      SelectObject(colorDC, oldColor);
      DeleteDC(maskDC);
      DeleteDC(colorDC);
    }
  }
  DeleteDC(screen);
  HICON result = nullptr;
  if (ok) {
    result = makeIcon(ii, cx, cy);
  } else {
    SetLastError(ERROR_INVALID_DATA);
  }
  DeleteObject(ii.hbmMask);
  DeleteObject(ii.hbmColor);
  return result;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HICON WINAPI CreateIconIndirect(PICONINFO info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return makeIcon(*info, 0, 0);
}

// 1 bit a pixel makes a monochrome icon (mask over image); other depths take
// `xorBits` as rows of that depth, WORD aligned as device bitmaps are.
extern "C" HICON WINAPI CreateIcon(HINSTANCE, int width, int height, BYTE planes, BYTE bitsPixel, const BYTE* andBits,
                                  const BYTE* xorBits) {
  if (width <= 0 || height <= 0 || !andBits || !xorBits || planes != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ICONINFO ii{TRUE, 0, 0, nullptr, nullptr};
  if (bitsPixel == 1) {
    const size_t stride = ((size_t(width) + 15) / 16) * 2;
    std::vector<BYTE> both(stride * height * 2);
    std::memcpy(both.data(), andBits, stride * height);
    std::memcpy(both.data() + stride * height, xorBits, stride * height);
    ii.hbmMask = CreateBitmap(width, height * 2, 1, 1, both.data());
  } else {
    ii.hbmMask = CreateBitmap(width, height, 1, 1, andBits);
    ii.hbmColor = CreateBitmap(width, height, 1, bitsPixel, xorBits);
  }
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(ii.hbmMask);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  return icon;
}

// The bitmaps answered are new copies the caller deletes.
extern "C" BOOL WINAPI GetIconInfo(HICON handle, PICONINFO info) {
  auto icon = findIcon(handle);
  if (!icon) return FALSE;
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->fIcon = icon->icon;
  info->xHotspot = static_cast<DWORD>(icon->hotspot.x);
  info->yHotspot = static_cast<DWORD>(icon->hotspot.y);
  info->hbmMask = copyBitmap(icon->mask, 0, 0);
  info->hbmColor = icon->color ? copyBitmap(icon->color, 0, 0) : nullptr;
  return info->hbmMask != nullptr;
}

extern "C" HICON WINAPI CopyIcon(HICON handle) {
  auto icon = findIcon(handle);
  if (!icon) return nullptr;
  ICONINFO ii{icon->icon, DWORD(icon->hotspot.x), DWORD(icon->hotspot.y), icon->mask, icon->color};
  return makeIcon(ii, 0, 0);
}

extern "C" BOOL WINAPI DestroyIcon(HICON handle) { return destroy(handle) ? TRUE : FALSE; }

namespace win32::user {

bool destroyCursorObject(HCURSOR handle) { return destroy(handle); }

}  // namespace win32::user

extern "C" int WINAPI LookupIconIdFromDirectoryEx(PBYTE dir, BOOL icon, int cx, int cy, UINT flags) {
  if (!dir) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // The directory's own count bounds what is read, as Windows trusts it.
  size_t size = 6 + size_t(dir[4] | (dir[5] << 8)) * 14;
  auto entries = parseIconDirectory(dir, size, icon, false);
  int best = bestIconEntry(entries, (flags & LR_DEFAULTSIZE) ? 0 : cx, (flags & LR_DEFAULTSIZE) ? 0 : cy);
  if (best < 0) {
    SetLastError(ERROR_INVALID_DATA);
    return 0;
  }
  return static_cast<int>(entries[best].idOrOffset);
}

extern "C" int WINAPI LookupIconIdFromDirectory(PBYTE dir, BOOL icon) {
  return LookupIconIdFromDirectoryEx(dir, icon, 0, 0, LR_DEFAULTSIZE);
}

extern "C" HICON WINAPI CreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD version, int cx, int cy,
                                                 UINT flags) {
  if (version != 0x00030000 && version != 0x00020000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (flags & LR_DEFAULTSIZE) {
    if (!cx) cx = GetSystemMetrics(icon ? SM_CXICON : SM_CXCURSOR);
    if (!cy) cy = GetSystemMetrics(icon ? SM_CYICON : SM_CYCURSOR);
  }
  return iconFromImage(bits, size, icon, !icon, POINT{0, 0}, cx, cy);
}

extern "C" HICON WINAPI CreateIconFromResource(PBYTE bits, DWORD size, BOOL icon, DWORD version) {
  return CreateIconFromResourceEx(bits, size, icon, version, 0, 0, LR_DEFAULTSIZE);
}

namespace win32::user {

// An icon or cursor from a module's group resource, or nullptr with the
// resource error.
HICON loadIconResource(HINSTANCE module, LPCSTR name, bool icon, int cx, int cy) {
  HRSRC group = FindResourceA(module, name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
  if (!group) return nullptr;
  HGLOBAL loaded = LoadResource(module, group);
  const BYTE* dir = static_cast<const BYTE*>(LockResource(loaded));
  auto entries = parseIconDirectory(dir, SizeofResource(module, group), icon, false);
  int best = bestIconEntry(entries, cx, cy);
  if (best < 0) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entries[best].idOrOffset), icon ? RT_ICON : RT_CURSOR);
  if (!image) return nullptr;
  const BYTE* bits = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
  return iconFromImage(bits, SizeofResource(module, image), icon, !icon, POINT{0, 0}, cx, cy);
}

}  // namespace win32::user

extern "C" HICON WINAPI LoadIconA(HINSTANCE module, LPCSTR name) {
  if (!module) {
    // Only the standard icons come without a module.
    if (reinterpret_cast<uintptr_t>(name) >> 16 == 0) {
      if (HICON icon = standardIcon(static_cast<WORD>(reinterpret_cast<uintptr_t>(name)))) return icon;
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  HICON icon = loadIconResource(module, name, true, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  if (icon) findIcon(icon)->shared = true;  // LoadIcon's icons are shared, DestroyIcon leaves them
  return icon;
}

namespace win32::user {

HCURSOR loadCursorObject(HINSTANCE module, LPCSTR name) {
  if (!module) {
    if (reinterpret_cast<uintptr_t>(name) >> 16 == 0) {
      if (HCURSOR cursor = standardCursor(static_cast<WORD>(reinterpret_cast<uintptr_t>(name)))) return cursor;
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  HCURSOR cursor = loadIconResource(module, name, false, GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR));
  if (cursor) findIcon(cursor)->shared = true;
  return cursor;
}

}  // namespace win32::user
