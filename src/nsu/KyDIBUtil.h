// Device-independent bitmaps in global memory for generated code: a packed
// DIB is one movable block of a BITMAPINFOHEADER (or the older 12-byte
// BITMAPCOREHEADER), its colour table and the pixel bits. Reading files and
// the header arithmetic are the layer's (internal/dib.h), shared with the
// run-time; a block handed in is checked against its size before its
// contents are used.
#pragma once

#include <windows.h>

typedef HGLOBAL HDIB;

// Which part of a window CopyWindowToDIB copies.
#define PW_WINDOW 1
#define PW_CLIENT 2

// SaveDIB's answers.
#define KY_DIB_SAVED 0
#define KY_DIB_NO_DIB 20
#define KY_DIB_FILE_ERROR 4
#define KY_DIB_LOCK_ERROR 3

extern "C" {

HDIB BitmapToDIB(HBITMAP bitmap, HPALETTE palette);
// bits: 1, 4, 8 or 24 (other counts round up to these; 0 keeps the bitmap's);
// compression: BI_RGB (the layer writes no RLE: null otherwise).
HDIB ChangeBitmapFormat(HBITMAP bitmap, WORD bits, DWORD compression, HPALETTE palette);
HDIB ChangeDIBFormat(HDIB dib, WORD bits, DWORD compression);
HBITMAP CopyScreenToBitmap(LPRECT rect);
HDIB CopyScreenToDIB(LPRECT rect);
HDIB CopyWindowToDIB(HWND window, WORD which);
HDIB CreateDIB(DWORD width, DWORD height, WORD bits);
HPALETTE CreateDIBPalette(HDIB dib);
DWORD DIBWidth(LPSTR dib);
DWORD DIBHeight(LPSTR dib);
WORD DIBNumColors(LPSTR dib);
WORD PaletteSize(LPSTR dib);
HBITMAP DIBToBitmap(HDIB dib, HPALETTE palette);
WORD DestroyDIB(HDIB dib);
LPSTR FindDIBBits(LPSTR dib);
HPALETTE GetSystemPalette(void);
int PalEntriesOnDevice(HDC dc);
// A .BMP file read into a DIB (the wait cursor shown meanwhile); null for a
// missing, short, corrupt or unsupported file.
HDIB LoadDIB(LPCSTR path);
// Writes the DIB as a .BMP file: KY_DIB_SAVED, KY_DIB_NO_DIB without a DIB,
// KY_DIB_FILE_ERROR when the file cannot be made or written,
// KY_DIB_LOCK_ERROR when the block cannot be locked or is no sound DIB.
WORD SaveDIB(HDIB dib, LPCSTR path);

HDIB KyCopyWindowToDIB(HWND window, WORD which);
LPSTR KyFindDIBBits(LPSTR dib);
}

struct KyDIBUtil {
  static HDIB CopyWindowToDIB(HWND window, WORD which) { return ::CopyWindowToDIB(window, which); }
  static LPSTR FindDIBBits(LPSTR dib) { return ::FindDIBBits(dib); }
};
