// CPoint, CSize and CRect: the framework's value classes over POINT, SIZE
// and RECT. Plain arithmetic, all inline; the rectangle operations that
// Windows defines (IntersectRect, UnionRect ...) give the same answers here
// without a call into user32.
#pragma once

#include "afxdefs.h"

#include <algorithm>

class CSize;
class CRect;

class CPoint : public tagPOINT {
 public:
  CPoint() : tagPOINT{0, 0} {}
  CPoint(int initX, int initY) : tagPOINT{initX, initY} {}
  CPoint(POINT initPt) : tagPOINT(initPt) {}
  CPoint(SIZE initSize) : tagPOINT{initSize.cx, initSize.cy} {}
  // The coordinates packed in a message's lParam (signed 16-bit each).
  explicit CPoint(LPARAM dwPoint) : tagPOINT{GET_X_LPARAM(dwPoint), GET_Y_LPARAM(dwPoint)} {}

  void Offset(int xOffset, int yOffset) {
    x += xOffset;
    y += yOffset;
  }
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) {
    x = X;
    y = Y;
  }

  BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
  BOOL operator!=(POINT point) const { return !(*this == point); }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }

  CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  inline CSize operator-(POINT point) const;
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CSize : public tagSIZE {
 public:
  CSize() : tagSIZE{0, 0} {}
  CSize(int initCX, int initCY) : tagSIZE{initCX, initCY} {}
  CSize(SIZE initSize) : tagSIZE(initSize) {}
  CSize(POINT initPt) : tagSIZE{initPt.x, initPt.y} {}
  // cx from the low word, cy from the high word (unsigned, as the framework).
  explicit CSize(DWORD dwSize) : tagSIZE{(LONG)LOWORD(dwSize), (LONG)HIWORD(dwSize)} {}

  BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  BOOL operator!=(SIZE size) const { return !(*this == size); }
  void operator+=(SIZE size) {
    cx += size.cx;
    cy += size.cy;
  }
  void operator-=(SIZE size) {
    cx -= size.cx;
    cy -= size.cy;
  }
  void SetSize(int CX, int CY) {
    cx = CX;
    cy = CY;
  }

  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  CPoint operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
  CPoint operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

inline CSize CPoint::operator-(POINT point) const { return CSize(x - point.x, y - point.y); }

class CRect : public tagRECT {
 public:
  CRect() : tagRECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : tagRECT{l, t, r, b} {}
  CRect(const RECT& srcRect) : tagRECT(srcRect) {}
  CRect(const RECT* lpSrcRect) : tagRECT(lpSrcRect ? *lpSrcRect : RECT{0, 0, 0, 0}) {}
  CRect(POINT point, SIZE size) : tagRECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : tagRECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  // References into the rectangle: the two corners are laid out as POINTs.
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(this); }
  CPoint& BottomRight() { return *(reinterpret_cast<CPoint*>(this) + 1); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(this); }
  const CPoint& BottomRight() const { return *(reinterpret_cast<const CPoint*>(this) + 1); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight() { std::swap(left, right); }

  operator LPRECT() { return this; }
  operator const RECT*() const { return this; }

  // Empty: no area (width or height not positive). Null: all four zero.
  BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  // Inside: left/top inclusive, right/bottom exclusive.
  BOOL PtInRect(POINT point) const {
    return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
  }

  void SetRect(int x1, int y1, int x2, int y2) {
    left = x1;
    top = y1;
    right = x2;
    bottom = y2;
  }
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(const RECT* lpSrcRect) {
    if (lpSrcRect) *static_cast<RECT*>(this) = *lpSrcRect;
  }
  BOOL EqualRect(const RECT* lpRect) const {
    return lpRect && left == lpRect->left && top == lpRect->top && right == lpRect->right &&
           bottom == lpRect->bottom;
  }

  void InflateRect(int x, int y) {
    left -= x;
    top -= y;
    right += x;
    bottom += y;
  }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(const RECT* lpRect) {
    left -= lpRect->left;
    top -= lpRect->top;
    right += lpRect->right;
    bottom += lpRect->bottom;
  }
  void InflateRect(int l, int t, int r, int b) {
    left -= l;
    top -= t;
    right += r;
    bottom += b;
  }
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(const RECT* lpRect) {
    left += lpRect->left;
    top += lpRect->top;
    right -= lpRect->right;
    bottom -= lpRect->bottom;
  }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }

  void OffsetRect(int x, int y) {
    left += x;
    right += x;
    top += y;
    bottom += y;
  }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  void MoveToY(int y) {
    bottom = Height() + y;
    top = y;
  }
  void MoveToX(int x) {
    right = Width() + x;
    left = x;
  }
  void MoveToXY(int x, int y) {
    MoveToX(x);
    MoveToY(y);
  }
  void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }

  // As IntersectRect / UnionRect of Windows: an empty result is set to all
  // zeros and answers FALSE; empty sources do not take part in a union.
  BOOL IntersectRect(const RECT* lpRect1, const RECT* lpRect2) {
    CRect a(lpRect1), b(lpRect2);
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    if (a.IsRectEmpty() || b.IsRectEmpty() || r.IsRectEmpty()) {
      SetRectEmpty();
      return FALSE;
    }
    *this = r;
    return TRUE;
  }
  BOOL UnionRect(const RECT* lpRect1, const RECT* lpRect2) {
    CRect a(lpRect1), b(lpRect2);
    if (a.IsRectEmpty()) {
      *this = b.IsRectEmpty() ? CRect() : b;
    } else if (b.IsRectEmpty()) {
      *this = a;
    } else {
      SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom));
    }
    return !IsRectEmpty();
  }
  // The smallest rectangle of lpRectSrc1 that leaves out lpRectSrc2; only
  // when lpRectSrc2 covers a whole side does the result shrink.
  BOOL SubtractRect(const RECT* lpRectSrc1, const RECT* lpRectSrc2) {
    CRect a(lpRectSrc1), b(lpRectSrc2), cut;
    if (a.IsRectEmpty()) {
      SetRectEmpty();
      return FALSE;
    }
    *this = a;
    if (!cut.IntersectRect(&a, &b)) return TRUE;
    if (cut.top == a.top && cut.bottom == a.bottom) {
      if (cut.left == a.left) left = cut.right;
      else if (cut.right == a.right) right = cut.left;
    } else if (cut.left == a.left && cut.right == a.right) {
      if (cut.top == a.top) top = cut.bottom;
      else if (cut.bottom == a.bottom) bottom = cut.top;
    }
    if (IsRectEmpty()) {
      SetRectEmpty();
      return FALSE;
    }
    return TRUE;
  }

  void operator=(const RECT& srcRect) { *static_cast<RECT*>(this) = srcRect; }
  BOOL operator==(const RECT& rect) const { return EqualRect(&rect); }
  BOOL operator!=(const RECT& rect) const { return !EqualRect(&rect); }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(const RECT* lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(const RECT* lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { IntersectRect(this, &rect); }
  void operator|=(const RECT& rect) { UnionRect(this, &rect); }

  CRect operator+(POINT pt) const {
    CRect r(*this);
    r.OffsetRect(pt);
    return r;
  }
  CRect operator-(POINT pt) const {
    CRect r(*this);
    r.OffsetRect(-pt.x, -pt.y);
    return r;
  }
  CRect operator+(SIZE size) const {
    CRect r(*this);
    r.OffsetRect(size);
    return r;
  }
  CRect operator-(SIZE size) const {
    CRect r(*this);
    r.OffsetRect(-size.cx, -size.cy);
    return r;
  }
  CRect operator+(const RECT* lpRect) const {
    CRect r(*this);
    r.InflateRect(lpRect);
    return r;
  }
  CRect operator-(const RECT* lpRect) const {
    CRect r(*this);
    r.DeflateRect(lpRect);
    return r;
  }
  CRect operator&(const RECT& rect2) const {
    CRect r;
    r.IntersectRect(this, &rect2);
    return r;
  }
  CRect operator|(const RECT& rect2) const {
    CRect r;
    r.UnionRect(this, &rect2);
    return r;
  }
  CRect MulDiv(int nMultiplier, int nDivisor) const {
    // ::MulDiv rounds and answers -1 for a zero divisor.
    return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                 ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
  }
};

inline CRect CPoint::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
inline CRect CSize::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
