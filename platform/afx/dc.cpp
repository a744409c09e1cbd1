// CDC and the paint, client and window DCs.
#include "afxstate.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
  return afx::threadState().dcs.fromHandle(hDC, [](HDC h) {
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = h;
    return p;
  });
}

void CDC::DeleteTempMap() { afx::threadState().dcs.deleteTemporaries(); }

BOOL CDC::Attach(HDC hDC) {
  if (!hDC || m_hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  afx::threadState().dcs.setPermanent(hDC, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  if (hDC) afx::threadState().dcs.removePermanent(hDC, this);
  m_hDC = m_hAttribDC = nullptr;
  return hDC;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ hObject = ::GetStockObject(nIndex);
  return hObject ? CGdiObject::FromHandle(::SelectObject(m_hDC, hObject)) : nullptr;
}

CPen* CDC::SelectObject(CPen* pPen) {
  return static_cast<CPen*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGdiHandle(pPen))));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGdiHandle(pBrush))));
}
CFont* CDC::SelectObject(CFont* pFont) {
  return static_cast<CFont*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGdiHandle(pFont))));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return static_cast<CBitmap*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGdiHandle(pBitmap))));
}
int CDC::SelectObject(CRgn* pRgn) {
  return (int)(INT_PTR)::SelectObject(m_hDC, AfxGdiHandle(pRgn));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGdiHandle(pObject)));
}
CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  return static_cast<CPalette*>(
      CGdiObject::FromHandle(::SelectPalette(m_hDC, (HPALETTE)AfxGdiHandle(pPalette), bForceBackground)));
}

CPoint CDC::GetViewportOrg() const {
  POINT point{0, 0};
  ::GetViewportOrgEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT point{0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &point);
  return point;
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT point{0, 0};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &point);
  return point;
}
CSize CDC::GetViewportExt() const {
  SIZE size{0, 0};
  ::GetViewportExtEx(m_hAttribDC, &size);
  return size;
}
CSize CDC::SetViewportExt(int cx, int cy) {
  SIZE size{0, 0};
  ::SetViewportExtEx(m_hDC, cx, cy, &size);
  return size;
}
CPoint CDC::GetWindowOrg() const {
  POINT point{0, 0};
  ::GetWindowOrgEx(m_hAttribDC, &point);
  return point;
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT point{0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &point);
  return point;
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT point{0, 0};
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &point);
  return point;
}
CSize CDC::GetWindowExt() const {
  SIZE size{0, 0};
  ::GetWindowExtEx(m_hAttribDC, &size);
  return size;
}
CSize CDC::SetWindowExt(int cx, int cy) {
  SIZE size{0, 0};
  ::SetWindowExtEx(m_hDC, cx, cy, &size);
  return size;
}

// Sizes convert as the distance between two points (no origin offset).
void CDC::DPtoLP(LPSIZE lpSize) const {
  POINT points[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::DPtoLP(m_hAttribDC, points, 2);
  lpSize->cx = points[1].x - points[0].x;
  lpSize->cy = points[1].y - points[0].y;
}
void CDC::LPtoDP(LPSIZE lpSize) const {
  POINT points[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::LPtoDP(m_hAttribDC, points, 2);
  lpSize->cx = points[1].x - points[0].x;
  lpSize->cy = points[1].y - points[0].y;
}

void CDC::FillSolidRect(const RECT* lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT rect{x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(const RECT* lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
             clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
  return size;
}

CSize CDC::GetOutputTextExtent(LPCSTR lpszString, int nCount) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
  return size;
}

int CDC::GetTextFace(CString& rString) const {
  char face[LF_FACESIZE] = "";
  int n = ::GetTextFaceA(m_hAttribDC, sizeof face, face);
  rString = face;
  return n;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
