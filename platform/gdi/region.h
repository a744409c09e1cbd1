// Regions as Windows models them: non-overlapping rectangles sorted in
// y-x bands. A band is a run of rows [top, bottom) sharing the same set of
// disjoint, sorted x-intervals; bands never overlap, are sorted by top, and
// two touching bands never have the same intervals (they are merged), so that
// equal areas always have equal representations (EqualRgn compares them).
#pragma once

#include <windef.h>

#include <functional>
#include <vector>

#include "gdiobject.h"

namespace win32::gdi {

struct Span {
  int left;
  int right;  // exclusive
  bool operator==(const Span&) const = default;
};

struct Band {
  int top;
  int bottom;  // exclusive
  std::vector<Span> spans;
  bool operator==(const Band&) const = default;
};

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rect);
  static Region fromRect(int left, int top, int right, int bottom);
  // Rows of spans, one row per y from `top` on; empty rows allowed.
  static Region fromRows(int top, const std::vector<std::vector<Span>>& rows);

  bool empty() const { return bands_.empty(); }
  RECT box() const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int complexity() const;
  bool contains(int x, int y) const;
  bool intersects(const RECT& rect) const;
  void offset(int dx, int dy);
  const std::vector<Band>& bands() const { return bands_; }
  std::vector<RECT> rects() const;
  bool operator==(const Region&) const = default;

  enum class Op { And, Or, Xor, Diff };
  static Region combine(const Region& a, const Region& b, Op op);
  Region intersect(const Region& other) const { return combine(*this, other, Op::And); }
  Region unite(const Region& other) const { return combine(*this, other, Op::Or); }
  Region subtract(const Region& other) const { return combine(*this, other, Op::Diff); }

  // The x-intervals of row `y` (empty when the row is outside).
  const std::vector<Span>* rowSpans(int y) const;

 private:
  void appendBand(int top, int bottom, std::vector<Span>&& spans);
  std::vector<Band> bands_;
};

// The GDI object of a region handle.
class RegionObject : public GdiObject {
 public:
  RegionObject() : GdiObject(OBJ_REGION) {}
  explicit RegionObject(Region r) : GdiObject(OBJ_REGION), region(std::move(r)) {}
  Region region;
};

// The region of `handle`, or nullptr with ERROR_INVALID_HANDLE.
std::shared_ptr<RegionObject> findRegion(HRGN handle);

// Spans of the ellipse inscribed in [left, right) x [top, bottom), one row
// per y. Ellipse(), CreateEllipticRgn() and RoundRect corners share this, so
// a region and the filled shape cover the same pixels.
std::vector<std::vector<Span>> ellipseRows(int left, int top, int right, int bottom);
std::vector<std::vector<Span>> roundRectRows(int left, int top, int right, int bottom, int width, int height);

// Spans of a polygon (pixel centres inside, ALTERNATE or WINDING), rows from
// the returned top.
struct PolygonRows {
  int top = 0;
  std::vector<std::vector<Span>> rows;
};
PolygonRows polygonRows(const POINT* points, const int* counts, int polygons, int fillMode);

}  // namespace win32::gdi
