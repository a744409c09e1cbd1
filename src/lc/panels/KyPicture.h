// KyPicture: a bitmap loaded by name, with the palette it is drawn with.
// The name is first looked up as a bitmap resource of the resource module
// (the language library once the runner has loaded it); without such a
// resource it names a bitmap file, ".BMP" being added to a name without a
// '.'. Used by the splash window and the MDI client's background.
#pragma once

#include <windows.h>

#include <string>

class KyPicture {
 public:
  KyPicture() = default;
  // Loads the picture; IsLoaded tells whether that worked.
  explicit KyPicture(const char* pszName);
  // Deletes the bitmap and the palette.
  ~KyPicture();

  KyPicture(const KyPicture&) = delete;
  KyPicture& operator=(const KyPicture&) = delete;

  // Replaces what the object holds by the picture of that name. FALSE, with
  // the object empty and the last error set, for a null or empty name
  // (ERROR_INVALID_PARAMETER), a missing file (the file system's error) or
  // data that is no readable bitmap (ERROR_INVALID_DATA).
  BOOL Load(const char* pszName);
  // Frees the bitmap and the palette; the object is empty afterwards.
  void Free();

  // Draws the picture at its own size with its top-left corner at (x, y),
  // through its palette. FALSE when empty or drawing failed.
  BOOL Draw(HDC hDC, int x, int y) const;

  BOOL IsLoaded() const { return m_hBitmap != nullptr; }
  int GetWidth() const { return m_iWidth; }
  int GetHeight() const { return m_iHeight; }
  HBITMAP GetBitmap() const { return m_hBitmap; }
  HPALETTE GetPalette() const { return m_hPalette; }
  // The name as given to Load (without the added ".BMP").
  const char* GetName() const { return m_strName.c_str(); }

 private:
  HBITMAP m_hBitmap = nullptr;
  HPALETTE m_hPalette = nullptr;  // the bitmap's own, or the stock default palette
  std::string m_strName;
  int m_iWidth = 0;
  int m_iHeight = 0;
};
