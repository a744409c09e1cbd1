#include "KyDIB.h"

#include <internal/dib.h>

#include <cstring>

HDIB ReadDIB(HFILE hFile) { return win32::gdi::readBitmapFile(hFile); }

HDIB ReadDIBFile(LPCSTR pszPath) {
  if (!pszPath) return nullptr;
  OFSTRUCT of{};
  HFILE hFile = OpenFile(pszPath, &of, OF_READ);
  if (hFile == HFILE_ERROR) return nullptr;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  HDIB hDIB = ReadDIB(hFile);
  _lclose(hFile);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  return hDIB;
}

WORD DIBNumColors(LPCSTR lpbi) { return win32::gdi::packedDibColours(lpbi); }

WORD DIBPaletteSize(LPCSTR lpbi) { return static_cast<WORD>(win32::gdi::packedDibPaletteBytes(lpbi)); }

LPSTR FindDIBBits(LPSTR lpbi) {
  if (!lpbi) return nullptr;
  DWORD headerSize;
  std::memcpy(&headerSize, lpbi, sizeof headerSize);
  return lpbi + headerSize + DIBPaletteSize(lpbi);
}

HPALETTE CreateDIBPaletteHandle(HDIB hDIB) {
  if (!hDIB) return nullptr;
  const void* lpbi = GlobalLock(hDIB);
  if (!lpbi) return nullptr;
  HPALETTE hPal = win32::gdi::createPackedDibPalette(lpbi);
  GlobalUnlock(hDIB);
  return hPal;
}

HPALETTE CreateSystemPaletteHandle() {
  [[maybe_unused]] static HPALETTE s_hSystemPalette = nullptr;  // the last one made, kept process-wide
  HPALETTE hPal = win32::gdi::createSystemPalette();
  if (hPal) s_hSystemPalette = hPal;
  return hPal;
}

HBITMAP DIBToDeviceBitmap(HDIB hDIB, HPALETTE hPal) {
  if (!hDIB) return nullptr;
  const void* lpbi = GlobalLock(hDIB);
  if (!lpbi) return nullptr;
  HBITMAP hBitmap = win32::gdi::packedDibToBitmap(lpbi, hPal);
  GlobalUnlock(hDIB);
  return hBitmap;
}

BOOL PaintDIB(HDC hDC, LPRECT lpDCRect, HBITMAP hBitmap, LPRECT lpDIBRect, HPALETTE hPal) {
  if (!hDC || !lpDCRect || !hBitmap || !lpDIBRect) return FALSE;
  HDC hMemDC = CreateCompatibleDC(hDC);
  if (!hMemDC) return FALSE;
  HPALETTE hOldPal = nullptr, hOldMemPal = nullptr;
  if (hPal) {
    hOldPal = SelectPalette(hDC, hPal, TRUE);
    hOldMemPal = SelectPalette(hMemDC, hPal, TRUE);
    RealizePalette(hDC);
  }
  HGDIOBJ hOldBitmap = SelectObject(hMemDC, hBitmap);
  SetStretchBltMode(hDC, COLORONCOLOR);
  int dw = lpDCRect->right - lpDCRect->left, dh = lpDCRect->bottom - lpDCRect->top;
  int sw = lpDIBRect->right - lpDIBRect->left, sh = lpDIBRect->bottom - lpDIBRect->top;
  BOOL ok = (dw == sw && dh == sh)
                ? BitBlt(hDC, lpDCRect->left, lpDCRect->top, dw, dh, hMemDC, lpDIBRect->left, lpDIBRect->top, SRCCOPY)
                : StretchBlt(hDC, lpDCRect->left, lpDCRect->top, dw, dh, hMemDC, lpDIBRect->left, lpDIBRect->top, sw,
                             sh, SRCCOPY);
  SelectObject(hMemDC, hOldBitmap);
  if (hOldMemPal) SelectPalette(hMemDC, hOldMemPal, TRUE);
  if (hOldPal) SelectPalette(hDC, hOldPal, TRUE);
  DeleteDC(hMemDC);
  return ok;
}

HDIB FreeDIBHandle(HDIB hDIB) {
  if (hDIB) GlobalFree(hDIB);
  return nullptr;
}
