// The picture store of the library: bitmaps and icons loaded from resources
// or files, shared between controls through a process-wide cache with
// reference counts, drawn with a key colour that counts as transparent.
#pragma once

#include <windows.h>

// Kinds of a picture slot.
enum {
  HCTL_PIC_NONE = 0,
  HCTL_PIC_BITMAP = 1,     // a bitmap of the library's own resources
  HCTL_PIC_ICON = 2,
  HCTL_PIC_DIBBITMAP = 3,  // a device-dependent bitmap made from a DIB, with its palette
};

// What a control holds of a picture.
struct HCtlPicture {
  WORD kind;
  WORD word;         // free for the holder (the button's picture messages set it)
  HANDLE handle;     // HBITMAP or HICON
  HPALETTE palette;  // of a HCTL_PIC_DIBBITMAP
  DWORD match;       // must be equal for a cache hit; 1 keeps the entry at count 0
};

// Loads `name` into the slot (sharing a cached picture of that name from the
// module, the library or a file, whose match word equals the slot's). In
// order: a bitmap resource of the module, an icon resource of the module,
// the same two of the library, then - when files are allowed or the program
// is "Zunt.exe" - a .BMP file and a .ICO file. TRUE when loaded; FALSE
// leaves the slot empty.
BOOL HCtlLoadPicture(HCtlPicture* slot, HINSTANCE module, LPCSTR name, BOOL allowFiles);
// Lowers the reference count of the slot's picture; the last user deletes
// it. FALSE when the handle is not in the cache (the caller still owns it).
// The slot is emptied either way.
BOOL HCtlFreePicture(HCtlPicture* slot);
// Size of a bitmap, or the system icon size; FALSE for an empty slot.
BOOL HCtlPictureSize(const HCtlPicture* slot, int* width, int* height);
// Draws the picture with its top-left at (x, y); bitmaps leave out `key`.
BOOL HCtlDrawPicture(HDC dc, const HCtlPicture* slot, int x, int y, COLORREF key);
// Loads a picture file, draws it vertically centred and aligned (0 left,
// 1 right, 2 centre) in `rect`, clipped to it, and frees it. FALSE when it
// cannot be loaded.
BOOL HCtlDrawPictureFile(HDC dc, LPCSTR file, const RECT* rect, int alignment);

// Converts an image file into a Windows bitmap file: opened by ordinal 6 of
// `openLibrary` (PVW32Cnv.DLL when null; the native controls open through
// PVW32.DLL) and written by ordinal 51 of PVW32Cnv.DLL: PVCNV_OK (0), a
// PVCNV_ERR_* code of the library, or -1 when a library cannot be loaded.
int HCtlConvertImage(LPCSTR source, LPCSTR target, LPCSTR openLibrary = nullptr);

// Entries now in the cache (for diagnostics and tests).
int HCtlPictureCacheCount();
