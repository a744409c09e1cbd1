// Device-independent bitmaps read from bitmap files: a packed DIB (a
// BITMAPINFOHEADER, its colour table and the bits in one movable global
// block), its palette, a device bitmap made from it and its painting. The
// reading and checking itself is the layer's (internal/dib.h), shared with
// the other libraries that read bitmap files.
#pragma once

#include <windows.h>

typedef HGLOBAL HDIB;

// The packed DIB of the bitmap file at the path; null when the file cannot
// be opened or is no readable bitmap. Shows the wait cursor while reading.
HDIB ReadDIBFile(LPCSTR pszPath);
// The packed DIB of the bitmap file that starts at the file's current
// position; null for a short, corrupt or unsupported file.
HDIB ReadDIB(HFILE hFile);

// Header arithmetic of a locked packed DIB (BITMAPINFOHEADER, or the older
// 12-byte BITMAPCOREHEADER).
WORD DIBNumColors(LPCSTR lpbi);
WORD DIBPaletteSize(LPCSTR lpbi);
LPSTR FindDIBBits(LPSTR lpbi);

HPALETTE CreateDIBPaletteHandle(HDIB hDIB);
HPALETTE CreateSystemPaletteHandle();
HBITMAP DIBToDeviceBitmap(HDIB hDIB, HPALETTE hPal);
BOOL PaintDIB(HDC hDC, LPRECT lpDCRect, HBITMAP hBitmap, LPRECT lpDIBRect, HPALETTE hPal);
// Frees the block; answers null.
HDIB FreeDIBHandle(HDIB hDIB);
