// CGdiObject and its kinds: ownership of GDI handles and their handle map.
#include "afxstate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {

// A temporary object of the handle's own kind, so that CPen::FromHandle
// and the like give an object of their class.
CGdiObject* newObjectOfKind(HGDIOBJ hObject) {
  CGdiObject* p;
  switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: p = new CPen; break;
    case OBJ_BRUSH: p = new CBrush; break;
    case OBJ_FONT: p = new CFont; break;
    case OBJ_BITMAP: p = new CBitmap; break;
    case OBJ_PAL: p = new CPalette; break;
    case OBJ_REGION: p = new CRgn; break;
    default: p = new CGdiObject; break;
  }
  p->m_hObject = hObject;
  return p;
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
  return afx::threadState().gdiObjects.fromHandle(hObject, newObjectOfKind);
}

void CGdiObject::DeleteTempMap() { afx::threadState().gdiObjects.deleteTemporaries(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject || m_hObject) return FALSE;
  m_hObject = hObject;
  afx::threadState().gdiObjects.setPermanent(hObject, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  if (hObject) afx::threadState().gdiObjects.removePermanent(hObject, this);
  m_hObject = nullptr;
  return hObject;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
  if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

CBrush::CBrush(COLORREF crColor) {
  if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
  if (!CreateHatchBrush(nIndex, crColor)) AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
  if (!CreatePatternBrush(pBitmap)) AfxThrowResourceException();
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return Attach(::CreatePatternBrush((HBITMAP)AfxGdiHandle(pBitmap)));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONTA logFont{};
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfHeight = nPointSize;
  if (lpszFaceName) {
    size_t n = std::min(std::strlen(lpszFaceName), sizeof logFont.lfFaceName - 1);
    std::memcpy(logFont.lfFaceName, lpszFaceName, n);
  }
  return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
  if (!lpLogFont) return FALSE;
  HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
  // Tenths of a point to device pixels (72 points an inch), then to the
  // DC's logical units; a negative height asks for the character height.
  LOGFONTA logFont = *lpLogFont;
  POINT pt{0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), logFont.lfHeight, 720)};
  ::DPtoLP(hDC, &pt, 1);
  POINT ptOrg{0, 0};
  ::DPtoLP(hDC, &ptOrg, 1);
  logFont.lfHeight = -std::abs((int)(pt.y - ptOrg.y));
  if (!pDC) ::ReleaseDC(nullptr, hDC);
  return CreateFontIndirect(&logFont);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
  return Attach(::LoadBitmapA(hInst, lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(AfxDCHandle(pDC), nWidth, nHeight));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateDiscardableBitmap(AfxDCHandle(pDC), nWidth, nHeight));
}
