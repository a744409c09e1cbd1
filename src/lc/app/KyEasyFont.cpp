#include "KyEasyFont.h"

#include <string>

#include "KyAppContext.h"
#include "KyLocale.h"

KyEasyFont::~KyEasyFont() {
  if (m_hFont) DeleteObject(m_hFont);
}

int KyEasyFont::Create(const char* pszFace, int iSize, HDC hDC, int fUnderline, int fItalic, int fBold) {
  std::string face = pszFace ? pszFace : "";  // pszFace may be our own face text
  m_strFace = face.c_str();
  m_iSize = iSize;
  m_fUnderline = fUnderline;
  m_fItalic = fItalic;
  m_fBold = fBold;
  // The old font must leave the context before it is deleted.
  if (hDC) SelectObject(hDC, GetStockObject(DEVICE_DEFAULT_FONT));
  if (m_hFont) {
    DeleteObject(m_hFont);
    m_hFont = nullptr;
  }
  KyAppContext* pContext = KyAppContext::Current();
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  BYTE charSet = pLocale ? static_cast<BYTE>(pLocale->GetCharSet()) : DEFAULT_CHARSET;
  m_hFont = CreateFontA(-20 * iSize, 0, 0, 0, fBold ? FW_BOLD : FW_NORMAL, fItalic ? TRUE : FALSE,
                        fUnderline ? TRUE : FALSE, FALSE, charSet, OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS,
                        PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (m_hFont && hDC) SelectObject(hDC, m_hFont);
  return m_hFont != nullptr;
}

int KyEasyFont::SetBold(int fBold, HDC hDC) {
  m_fBold = fBold;
  return recreate(hDC);
}

int KyEasyFont::SetItalic(int fItalic, HDC hDC) {
  m_fItalic = fItalic;
  return recreate(hDC);
}

int KyEasyFont::SetUnderline(int fUnderline, HDC hDC) {
  m_fUnderline = fUnderline;
  return recreate(hDC);
}

int KyEasyFont::SetFlags(HDC hDC, int fBold, int fItalic, int fUnderline) {
  m_fBold = fBold;
  m_fItalic = fItalic;
  m_fUnderline = fUnderline;
  return recreate(hDC);
}

int KyEasyFont::SetNormal(HDC hDC) { return SetFlags(hDC, 0, 0, 0); }
