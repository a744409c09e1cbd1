// KyEasyFont: the print device's font, re-created whenever a style changes.
// Heights are in twentieths of a point (the print context's unit), so a font
// of n points is made with height -20 x n.
#pragma once

#include <windows.h>

#include "KyString.h"

class KyEasyFont {
 public:
  KyEasyFont() = default;
  virtual ~KyEasyFont();

  KyEasyFont(const KyEasyFont&) = delete;
  KyEasyFont& operator=(const KyEasyFont&) = delete;

  // Creates the font and selects it into the context; non-zero on success.
  int Create(const char* pszFace, int iSize, HDC hDC, int fUnderline, int fItalic, int fBold);
  int SetBold(int fBold, HDC hDC);
  int SetItalic(int fItalic, HDC hDC);
  int SetUnderline(int fUnderline, HDC hDC);
  int SetFlags(HDC hDC, int fBold, int fItalic, int fUnderline);
  int SetNormal(HDC hDC);

  HFONT GetFont() const { return m_hFont; }

 private:
  int recreate(HDC hDC) { return Create(m_strFace, m_iSize, hDC, m_fUnderline, m_fItalic, m_fBold); }

  HFONT m_hFont = nullptr;
  int m_fUnderline = 0;
  int m_fBold = 0;
  int m_fItalic = 0;
  KyString m_strFace;
  int m_iSize = 0;
};
