// The picture store (see picture.h): loading from resources and files, the
// shared cache, drawing.
#include "picture.h"

#include <internal/dib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "drawing.h"
#include "library.h"

namespace {

struct CacheEntry {
  WORD kind;
  HANDLE handle;
  HPALETTE palette;
  DWORD match;
  int references;
  HINSTANCE module;  // where it came from; nullptr for a file
  std::string name;
};

std::vector<CacheEntry>& cache() {
  static std::vector<CacheEntry> entries;
  return entries;
}

constexpr size_t kMaxPictureFile = 64u << 20;  // refuse absurd files rather than allocate them

bool sameName(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

std::string nameKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  return name;
}

void deleteObjects(WORD kind, HANDLE handle, HPALETTE palette) {
  if (kind == HCTL_PIC_ICON)
    DestroyIcon(static_cast<HICON>(handle));
  else if (handle != nullptr)
    DeleteObject(handle);
  if (palette != nullptr) DeleteObject(palette);
}

// --- DIBs ----------------------------------------------------------------

bool acceptableDib(const BYTE* dib, size_t size) {
  if (size < sizeof(BITMAPCOREHEADER)) return false;
  DWORD headerSize;
  std::memcpy(&headerSize, dib, sizeof headerSize);
  if (headerSize == sizeof(BITMAPCOREHEADER)) {
    BITMAPCOREHEADER core;
    std::memcpy(&core, dib, sizeof core);
    const WORD bits = core.bcBitCount;
    return core.bcPlanes == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 24);
  }
  if (headerSize < sizeof(BITMAPINFOHEADER) || size < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER info;
  std::memcpy(&info, dib, sizeof info);
  if (info.biPlanes != 1) return false;
  const WORD bits = info.biBitCount;
  if (info.biCompression == BI_RGB) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
  if (info.biCompression == BI_RLE4) return bits == 4;
  if (info.biCompression == BI_RLE8) return bits == 8;
  return false;
}

// A device-dependent bitmap of a packed DIB, made on a screen DC with the
// DIB's own palette realised, through the layer's DIB functions.
bool bitmapFromDib(const BYTE* dib, size_t size, HCtlPicture* slot) {
  if (!acceptableDib(dib, size) || !win32::gdi::packedDibFits(dib, size)) return false;
  HPALETTE palette = win32::gdi::createPackedDibPalette(dib);
  HBITMAP bitmap = win32::gdi::packedDibToBitmap(dib, palette);
  if (bitmap == nullptr) {
    if (palette) DeleteObject(palette);
    return false;
  }
  slot->kind = HCTL_PIC_DIBBITMAP;
  slot->handle = bitmap;
  slot->palette = palette;
  return true;
}

// --- resources --------------------------------------------------------------

bool loadBitmapResource(HINSTANCE module, LPCSTR name, HCtlPicture* slot) {
  if (module == HCtlLibraryModule()) {
    auto bitmap = static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (bitmap == nullptr) return false;
    slot->kind = HCTL_PIC_BITMAP;
    slot->handle = bitmap;
    slot->palette = nullptr;
    return true;
  }
  HRSRC found = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* dib = static_cast<const BYTE*>(LockResource(loaded));
  return dib != nullptr && bitmapFromDib(dib, SizeofResource(module, found), slot);
}

bool loadIconResource(HINSTANCE module, LPCSTR name, HCtlPicture* slot) {
  if (FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_GROUP_ICON)) == nullptr) return false;
  HICON icon = LoadIconA(module, name);
  if (icon == nullptr) return false;
  slot->kind = HCTL_PIC_ICON;
  slot->handle = icon;
  slot->palette = nullptr;
  return true;
}

// --- files -------------------------------------------------------------------

bool readFile(const std::string& path, std::vector<BYTE>* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size <= kMaxPictureFile;
  if (ok) {
    bytes->resize(size);
    DWORD done = 0;
    ok = size == 0 || (ReadFile(file, bytes->data(), size, &done, nullptr) && done == size);
  }
  CloseHandle(file);
  return ok;
}

std::string withExtension(const std::string& name, const char* extension) {
  const size_t slash = name.find_last_of("\\/:");
  const size_t dot = name.find('.', slash == std::string::npos ? 0 : slash + 1);
  return dot == std::string::npos ? name + extension : name;
}

// The layer's one reader of bitmap files (core headers too), then the
// formats the field accepts.
bool loadBitmapFile(const std::string& name, HCtlPicture* slot) {
  HGLOBAL dib = win32::gdi::readBitmapFile(withExtension(name, ".BMP").c_str(), win32::gdi::kBitmapCoreHeader);
  if (!dib) return false;
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(dib));
  const bool made = bytes != nullptr && bitmapFromDib(bytes, GlobalSize(dib), slot);
  GlobalUnlock(dib);
  GlobalFree(dib);
  return made;
}

bool loadIconFile(const std::string& name, HCtlPicture* slot) {
  std::vector<BYTE> bytes;
  if (!readFile(withExtension(name, ".ICO"), &bytes) || bytes.size() < 6) return false;
  WORD reserved, type, count;
  std::memcpy(&reserved, bytes.data(), 2);
  std::memcpy(&type, bytes.data() + 2, 2);
  std::memcpy(&count, bytes.data() + 4, 2);
  if (reserved != 0 || type != 1) return false;
  for (WORD i = 0; i < count; ++i) {
    const size_t at = 6 + static_cast<size_t>(i) * 16;
    if (at + 16 > bytes.size()) return false;
    DWORD length, offset;
    std::memcpy(&length, bytes.data() + at + 8, 4);
    std::memcpy(&offset, bytes.data() + at + 12, 4);
    // A 32x32 16-colour image is 744 bytes; some editors wrote 728 in the directory.
    if (length == 728) length = 744;
    if (offset >= bytes.size()) continue;
    length = static_cast<DWORD>(std::min<size_t>(length, bytes.size() - offset));
    if (length < sizeof(BITMAPINFOHEADER)) continue;
    BITMAPINFOHEADER info;
    std::memcpy(&info, bytes.data() + offset, sizeof info);
    if (info.biBitCount != 1 && info.biBitCount != 4 && info.biBitCount != 8) continue;
    std::vector<BYTE> image(bytes.begin() + offset, bytes.begin() + offset + length);  // aligned copy
    HICON icon = CreateIconFromResourceEx(image.data(), length, TRUE, 0x00030000, 0, 0, 0);
    if (icon == nullptr) continue;
    slot->kind = HCTL_PIC_ICON;
    slot->handle = icon;
    slot->palette = nullptr;
    return true;
  }
  return false;
}

bool programIsDesigner() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const char* base = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') base = p + 1;
  return lstrcmpiA(base, "Zunt.exe") == 0;
}

bool loadFresh(HCtlPicture* slot, HINSTANCE module, LPCSTR name, BOOL allowFiles, HINSTANCE* from) {
  HINSTANCE library = HCtlLibraryModule();
  if (module != nullptr && (loadBitmapResource(module, name, slot) || loadIconResource(module, name, slot))) {
    *from = module;
    return true;
  }
  if (module != library && (loadBitmapResource(library, name, slot) || loadIconResource(library, name, slot))) {
    *from = library;
    return true;
  }
  if (IS_INTRESOURCE(name) || !(allowFiles || programIsDesigner())) return false;
  if (loadBitmapFile(name, slot) || loadIconFile(name, slot)) {
    *from = nullptr;
    return true;
  }
  return false;
}

}  // namespace

BOOL HCtlLoadPicture(HCtlPicture* slot, HINSTANCE module, LPCSTR name, BOOL allowFiles) {
  if (slot == nullptr) return FALSE;
  const DWORD match = slot->match;
  const WORD word = slot->word;
  *slot = HCtlPicture{HCTL_PIC_NONE, word, nullptr, nullptr, match};
  if (name == nullptr || (!IS_INTRESOURCE(name) && *name == '\0')) return FALSE;
  const std::string key = nameKey(name);
  for (CacheEntry& entry : cache()) {
    if (!sameName(entry.name, key.c_str()) || entry.match != match) continue;
    if (entry.module != module && entry.module != HCtlLibraryModule() && entry.module != nullptr) continue;
    ++entry.references;
    slot->kind = entry.kind;
    slot->handle = entry.handle;
    slot->palette = entry.palette;
    return TRUE;
  }
  HINSTANCE from = nullptr;
  if (!loadFresh(slot, module, name, allowFiles, &from)) return FALSE;
  cache().push_back(CacheEntry{slot->kind, slot->handle, slot->palette, match, 1, from, key});
  return TRUE;
}

BOOL HCtlFreePicture(HCtlPicture* slot) {
  if (slot == nullptr || slot->handle == nullptr) return FALSE;
  auto& entries = cache();
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const CacheEntry& e) { return e.handle == slot->handle; });
  const DWORD match = slot->match;
  const WORD word = slot->word;
  *slot = HCtlPicture{HCTL_PIC_NONE, word, nullptr, nullptr, match};
  if (it == entries.end()) return FALSE;
  if (it->references > 0) --it->references;
  if (it->references == 0 && it->match != 1) {
    deleteObjects(it->kind, it->handle, it->palette);
    entries.erase(it);
  }
  return TRUE;
}

BOOL HCtlPictureSize(const HCtlPicture* slot, int* width, int* height) {
  if (slot == nullptr || slot->handle == nullptr) return FALSE;
  int w = 0, h = 0;
  if (slot->kind == HCTL_PIC_BITMAP || slot->kind == HCTL_PIC_DIBBITMAP) {
    BITMAP info{};
    if (GetObjectA(slot->handle, sizeof info, &info) == 0) return FALSE;
    w = info.bmWidth;
    h = info.bmHeight;
  } else if (slot->kind == HCTL_PIC_ICON) {
    w = GetSystemMetrics(SM_CXICON);
    h = GetSystemMetrics(SM_CYICON);
  } else {
    return FALSE;
  }
  if (width) *width = w;
  if (height) *height = h;
  return TRUE;
}

BOOL HCtlDrawPicture(HDC dc, const HCtlPicture* slot, int x, int y, COLORREF key) {
  if (dc == nullptr || slot == nullptr || slot->handle == nullptr) return FALSE;
  switch (slot->kind) {
    case HCTL_PIC_BITMAP:
      HCtlDrawTransparent(dc, static_cast<HBITMAP>(slot->handle), x, y, key);
      return TRUE;
    case HCTL_PIC_DIBBITMAP: {
      HPALETTE old = slot->palette ? SelectPalette(dc, slot->palette, FALSE) : nullptr;
      if (slot->palette) RealizePalette(dc);
      HCtlDrawTransparent(dc, static_cast<HBITMAP>(slot->handle), x, y, key);
      if (slot->palette) SelectPalette(dc, old, FALSE);
      return TRUE;
    }
    case HCTL_PIC_ICON: return DrawIcon(dc, x, y, static_cast<HICON>(slot->handle));
    default: return FALSE;
  }
}

BOOL HCtlDrawPictureFile(HDC dc, LPCSTR file, const RECT* rect, int alignment) {
  if (dc == nullptr || file == nullptr || rect == nullptr) return FALSE;
  HCtlPicture picture{};
  if (!HCtlLoadPicture(&picture, nullptr, file, TRUE)) return FALSE;
  int w = 0, h = 0;
  HCtlPictureSize(&picture, &w, &h);
  int x = rect->left;
  if (alignment == 1) x = rect->right - w;
  if (alignment == 2) x = rect->left + (rect->right - rect->left - w) / 2;
  const int y = rect->top + (rect->bottom - rect->top - h) / 2;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
  HCtlDrawPicture(dc, &picture, x, y, RGB(0, 255, 0));
  RestoreDC(dc, saved);
  HCtlFreePicture(&picture);
  return TRUE;
}

int HCtlPictureCacheCount() { return static_cast<int>(cache().size()); }
