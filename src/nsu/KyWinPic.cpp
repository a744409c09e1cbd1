#include "KyWinPic.h"

#include <mscrt.h>

#include <cstring>
#include <string>

#include "KyDIBUtil.h"

KyWinPic::Objects::~Objects() {
  if (bitmap && ownsBitmap) DeleteObject(bitmap);
  if (palette) DeleteObject(palette);
}

KyWinPic::KyWinPic(const CBitmap& bitmap) { SetImage(bitmap); }

void KyWinPic::take(HBITMAP bitmap, HPALETTE palette, bool ownsBitmap, PicType type) {
  auto objects = std::make_shared<Objects>();
  objects->bitmap = bitmap;
  objects->palette = palette;
  objects->ownsBitmap = ownsBitmap;
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  m_objects = std::move(objects);
  m_width = bm.bmWidth;
  m_height = bm.bmHeight;
  m_type = type;
}

void KyWinPic::SetImage(const CBitmap& bitmap) {
  take(static_cast<HBITMAP>(bitmap.GetSafeHandle()), nullptr, false, BitmapObject);
  ++m_references;
}

BOOL KyWinPic::GetImageRect(CRect* rect) const {
  if (!rect) return FALSE;
  if (!GetHandle()) {
    rect->SetRectEmpty();
    return FALSE;
  }
  rect->SetRect(0, 0, m_width, m_height);
  return TRUE;
}

BOOL KyWinPic::Draw(CDC* dc, CRect* rect, int /*mode*/, CPalette* palette) {
  HDC target = dc ? dc->GetSafeHdc() : nullptr;
  if (!GetHandle() || !target || !rect || rect->Width() != m_width || rect->Height() != m_height) return FALSE;
  HDC memory = CreateCompatibleDC(target);
  if (!memory) return FALSE;
  HGDIOBJ oldBitmap = SelectObject(memory, GetHandle());
  HPALETTE use = palette ? static_cast<HPALETTE>(palette->GetSafeHandle()) : GetPalette();
  HPALETTE oldTarget = nullptr, oldMemory = nullptr;
  if (GetPalette() && use) {
    oldTarget = SelectPalette(target, use, FALSE);
    oldMemory = SelectPalette(memory, use, FALSE);
    RealizePalette(target);
    RealizePalette(memory);
  }
  BOOL drawn = BitBlt(target, rect->left, rect->top, m_width, m_height, memory, 0, 0, SRCCOPY);
  if (oldMemory) SelectPalette(memory, oldMemory, FALSE);
  if (oldTarget) SelectPalette(target, oldTarget, FALSE);
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  return drawn;
}

BOOL KyWinPic::Draw(CDC* dc, CPalette* palette) { return Draw(dc, 0, 0, palette); }

BOOL KyWinPic::Draw(CDC* dc, CPoint at, CPalette* palette) { return Draw(dc, at.x, at.y, palette); }

BOOL KyWinPic::Draw(CDC* dc, int x, int y, CPalette* palette) {
  CRect rect(x, y, x + m_width, y + m_height);
  return Draw(dc, &rect, 0, palette);
}

BOOL KyWinPic::LoadFile(char* path) {
  if (!path) return GetHandle() != nullptr;
  char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(path, drive, dir, name, ext);
  std::string file = path;
  OFSTRUCT of{};
  if (OpenFile(path, &of, OF_EXIST) == HFILE_ERROR) file = std::string(name) + ext;
  if (_stricmp(ext, ".BMP") != 0 && _stricmp(ext, ".DIB") != 0) return GetHandle() != nullptr;
  HDIB dib = LoadDIB(file.c_str());
  if (!dib) return GetHandle() != nullptr;
  HPALETTE palette = CreateDIBPalette(dib);
  HBITMAP bitmap = DIBToBitmap(dib, palette);
  DestroyDIB(dib);
  if (!bitmap) {
    if (palette) DeleteObject(palette);
    return GetHandle() != nullptr;
  }
  take(bitmap, palette, true, BitmapFile);
  return TRUE;
}

BOOL KyWinPic::LoadImageA(char* name, HINSTANCE module) {
  if (!name || !module) return FALSE;
  auto bitmap = static_cast<HBITMAP>(::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return FALSE;
  take(bitmap, nullptr, true, BitmapResource);
  return TRUE;
}
