// A picture: a device bitmap with its palette, loaded from a .BMP or .DIB
// file, from a module's bitmap resource, or taken from a CBitmap, and drawn
// into a DC. Copies share the bitmap and palette; the last holder of
// objects the picture made itself deletes them (a CBitmap's handle stays
// its owner's). The reference count is the users' own bookkeeping.
#pragma once

#include <afxwin.h>

#include <memory>

class KyWinPic {
 public:
  enum PicType { BitmapFile = 0, BitmapResource = 1, BitmapObject = 2 };

  KyWinPic() = default;
  KyWinPic(const KyWinPic& other) = default;
  explicit KyWinPic(const CBitmap& bitmap);
  virtual ~KyWinPic() = default;
  KyWinPic& operator=(const KyWinPic& other) = default;

  int Reference() { return ++m_references; }
  int DeRef() { return --m_references; }

  HBITMAP GetHandle() const { return m_objects ? m_objects->bitmap : nullptr; }
  HPALETTE GetPalette() const { return m_objects ? m_objects->palette : nullptr; }
  CSize GetSize() const { return CSize(m_width, m_height); }
  PicType GetType() const { return m_type; }
  // (0, 0, width, height); an empty rectangle and 0 without a bitmap.
  BOOL GetImageRect(CRect* rect) const;

  // Copies the image to the rectangle's top-left when the rectangle has the
  // image's size, with the given palette (else the picture's own) realised.
  BOOL Draw(CDC* dc, CRect* rect, int mode, CPalette* palette);
  BOOL Draw(CDC* dc, CPalette* palette);
  BOOL Draw(CDC* dc, CPoint at, CPalette* palette);
  BOOL Draw(CDC* dc, int x, int y, CPalette* palette);

  // A .BMP or .DIB file (looked for by name and extension alone when the
  // path does not exist); other files are not loaded and the answer is
  // whether a bitmap is held. A failed load keeps the picture held before.
  BOOL LoadFile(char* path);
  BOOL LoadImageA(char* name, HINSTANCE module);
  void SetImage(const CBitmap& bitmap);

 private:
  struct Objects {
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    bool ownsBitmap = true;
    ~Objects();
  };
  void take(HBITMAP bitmap, HPALETTE palette, bool ownsBitmap, PicType type);

  std::shared_ptr<Objects> m_objects;
  PicType m_type = BitmapFile;
  int m_width = 0, m_height = 0;
  int m_references = 0;
};
