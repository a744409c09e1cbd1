// The native controls' image cache and loading rules (imagecache.h).
#include "imagecache.h"

#include <enhmetafile.h>

#include <cstring>
#include <list>
#include <string>

#include "controlimp.h"

namespace {

struct Entry {
  NativeImage image;
  HINSTANCE module;
  int references;
  std::string file;
};

std::list<Entry>& cache() {
  static std::list<Entry> entries;
  return entries;
}

// "./" and the name after the last '/' (or the whole path without one): a
// file named with another folder may lie beside the program.
std::string besideProgram(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return std::string("./") + (slash ? slash + 1 : path);
}

HANDLE loadFromFile(const char* path, UINT type) {
  const UINT flags = LR_LOADFROMFILE | (type == IMAGE_ICON ? LR_DEFAULTSIZE : 0);
  HANDLE image = LoadImageA(nullptr, path, type, 0, 0, flags);
  if (!image) image = LoadImageA(nullptr, besideProgram(path).c_str(), type, 0, 0, flags);
  return image;
}

HENHMETAFILE loadMetafile(const char* path) {
  HENHMETAFILE metafile = GetEnhMetaFileA(path);
  return metafile ? metafile : GetEnhMetaFileA(besideProgram(path).c_str());
}

void measure(NativeImage* image) {
  if (image->kind == kNativeMetafile) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(static_cast<HENHMETAFILE>(image->handle), sizeof header, &header);
    image->width = header.rclBounds.right - header.rclBounds.left + 1;
    image->height = header.rclBounds.bottom - header.rclBounds.top + 1;
    return;
  }
  if (image->kind == kNativeIcon) {
    image->width = GetSystemMetrics(SM_CXICON);
    image->height = GetSystemMetrics(SM_CYICON);
    return;
  }
  BITMAP info{};
  GetObjectA(image->handle, sizeof info, &info);
  image->width = info.bmWidth;
  image->height = info.bmHeight;
}

}  // namespace

HBITMAP LoadBitmapFromFile(HDC dc, HINSTANCE first, HINSTANCE second, LPCSTR path) {
  if (!path || !*path) return nullptr;
  const std::string base = BaseNameOf(path);
  for (HINSTANCE module : {second, first})
    if (module)
      if (HBITMAP bitmap = LoadBitmapA(module, base.c_str())) return bitmap;
  return static_cast<HBITMAP>(loadFromFile(path, IMAGE_BITMAP));
}

HICON LoadIconFromFile(HINSTANCE first, HINSTANCE second, LPCSTR path) {
  if (!path || !*path) return nullptr;
  const std::string base = BaseNameOf(path);
  for (HINSTANCE module : {second, first})
    if (module)
      if (HICON icon = LoadIconA(module, base.c_str())) return icon;
  return static_cast<HICON>(loadFromFile(path, IMAGE_ICON));
}

void DeleteImage(int kind, HANDLE handle) {
  if (!handle) return;
  if (kind == kNativeIcon) DestroyIcon(static_cast<HICON>(handle));
  else if (kind == kNativeMetafile) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle));
  else DeleteObject(handle);
}

BOOL AcquireImage(int kind, HINSTANCE first, HINSTANCE second, LPCSTR file, NativeImage* image) {
  if (!file || !*file || !image) return FALSE;
  for (Entry& entry : cache())
    if (entry.image.kind == kind && lstrcmpiA(entry.file.c_str(), file) == 0 &&
        (!entry.module || entry.module == first)) {
      ++entry.references;
      *image = entry.image;
      return TRUE;
    }
  NativeImage loaded;
  loaded.kind = kind;
  loaded.handle = kind == kNativeIcon       ? static_cast<HANDLE>(LoadIconFromFile(first, second, file))
                  : kind == kNativeMetafile ? static_cast<HANDLE>(loadMetafile(file))
                                            : static_cast<HANDLE>(LoadBitmapFromFile(nullptr, first, second, file));
  if (!loaded.handle) return FALSE;
  measure(&loaded);
  cache().push_back(Entry{loaded, first, 1, file});
  *image = loaded;
  return TRUE;
}

BOOL ReleaseImage(HANDLE handle) {
  for (auto it = cache().begin(); it != cache().end(); ++it) {
    if (it->image.handle != handle) continue;
    if (--it->references == 0) {
      DeleteImage(it->image.kind, it->image.handle);
      cache().erase(it);
    }
    return TRUE;
  }
  return FALSE;
}

int ImageCacheCount() { return static_cast<int>(cache().size()); }
