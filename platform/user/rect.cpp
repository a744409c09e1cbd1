// Rectangle helpers. A rectangle is empty when right <= left or bottom <= top;
// its right and bottom edges are exclusive.
#include <windows.h>

#include <algorithm>

namespace {
bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

extern "C" BOOL WINAPI SetRect(LPRECT r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}

extern "C" BOOL WINAPI SetRectEmpty(LPRECT r) {
  if (!r) return FALSE;
  *r = RECT{};
  return TRUE;
}

extern "C" BOOL WINAPI CopyRect(LPRECT dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

extern "C" BOOL WINAPI InflateRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx;
  r->top -= dy;
  r->right += dx;
  r->bottom += dy;
  return TRUE;
}

extern "C" BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return TRUE;
}

extern "C" BOOL WINAPI IsRectEmpty(const RECT* r) { return !r || empty(*r); }

extern "C" BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
  if (!a || !b) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

extern "C" BOOL WINAPI PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

extern "C" BOOL WINAPI IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (empty(*a) || empty(*b) || empty(r)) {
    *dst = RECT{};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

extern "C" BOOL WINAPI UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (empty(*a)) {
    if (empty(*b)) {
      *dst = RECT{};
      return FALSE;
    }
    *dst = *b;
    return TRUE;
  }
  if (empty(*b)) {
    *dst = *a;
    return TRUE;
  }
  *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  return TRUE;
}

// The part of `a` outside `b` when that is still a rectangle (b covers a full
// side of a); otherwise `a` itself.
extern "C" BOOL WINAPI SubtractRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (empty(*a)) {
    *dst = RECT{};
    return FALSE;
  }
  RECT r = *a;
  RECT cut;
  if (IntersectRect(&cut, a, b)) {
    if (cut.left == r.left && cut.right == r.right) {
      if (cut.top == r.top) r.top = cut.bottom;
      else if (cut.bottom == r.bottom) r.bottom = cut.top;
    } else if (cut.top == r.top && cut.bottom == r.bottom) {
      if (cut.left == r.left) r.left = cut.right;
      else if (cut.right == r.right) r.right = cut.left;
    }
  }
  *dst = r;
  if (empty(r)) {
    *dst = RECT{};
    return FALSE;
  }
  return TRUE;
}
