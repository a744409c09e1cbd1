// The images of native buttons and statics: bitmaps and icons named by a
// file, looked for first as resources of the control's modules (by the
// file's base name), then read from the file by the Win32 layer's image
// loader (one reader of bitmap files for the whole run-time); enhanced
// metafiles read from their file. Images are
// shared through a process-wide cache with reference counts (user-interface
// thread only).
#pragma once

#include <windows.h>

enum NativeImageKind { kNativeBitmap = 0, kNativeIcon = 1, kNativeMetafile = 2 };

struct NativeImage {
  int kind = kNativeBitmap;
  HANDLE handle = nullptr;
  int width = 0;
  int height = 0;
};

// A cached image of that kind and file loaded by `first` (or by none), with
// one more reference; else a newly loaded one entered with one reference.
// FALSE when it cannot be loaded.
BOOL AcquireImage(int kind, HINSTANCE first, HINSTANCE second, LPCSTR file, NativeImage* image);
// One reference less; the last deletes the image. FALSE when the handle is
// not in the cache (its owner deletes it).
BOOL ReleaseImage(HANDLE handle);
int ImageCacheCount();

// The loading rules on their own (no cache): the base name as a resource of
// the second instance, then of the first, then the file, then "./" and the
// file's name. Null when none has it.
HBITMAP LoadBitmapFromFile(HDC dc, HINSTANCE first, HINSTANCE second, LPCSTR path);
HICON LoadIconFromFile(HINSTANCE first, HINSTANCE second, LPCSTR path);
// Deletes an image that the cache does not hold.
void DeleteImage(int kind, HANDLE handle);
