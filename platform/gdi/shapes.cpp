// Lines and filled shapes: MoveToEx/LineTo, polylines, polygons,
// rectangles, ellipses, rounded rectangles, arcs, pies and chords.
//
// Pixel rules as on Windows: a line leaves out its last point; Rectangle and
// Ellipse cover [left, right) x [top, bottom), the pen's one-pixel outline
// lying on the outermost pixels and the brush filling the inside; with the
// null pen the brush covers [left, right - 1) x [top, bottom - 1).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "raster.h"

namespace win32::gdi {
namespace {

// The selected pen, realised for one drawing call.
class Stroke {
 public:
  explicit Stroke(Painter& painter) : painter_(painter) {
    auto& dc = painter.dc();
    const PenObject* pen = dc.state.pen.get().get();
    rop_ = rop3FromRop2(dc.state.rop2);
    if (!pen || pen->lineStyle() == PS_NULL) return;
    null_ = false;
    ink_ = Ink::solid(painter.rawOf(painter.penColor()));
    width_ = std::abs(dc.widthToDevice(pen->width));
    if (width_ < 1) width_ = 1;
    insideFrame_ = pen->lineStyle() == PS_INSIDEFRAME;
    if (width_ == 1) {
      switch (pen->lineStyle()) {
        case PS_DASH: dashes_ = {18, 6}; break;
        case PS_DOT: dashes_ = {3, 3}; break;
        case PS_DASHDOT: dashes_ = {9, 6, 3, 6}; break;
        case PS_DASHDOTDOT: dashes_ = {9, 3, 3, 3, 3, 3}; break;
        case PS_ALTERNATE: dashes_ = {1, 1}; break;
        case PS_USERSTYLE:
          for (DWORD d : pen->userStyle) dashes_.push_back(std::max<int>(1, static_cast<int>(d)));
          if (dashes_.size() % 2) dashes_.push_back(dashes_.back());
          break;
        default: break;
      }
      // Gaps of styled lines take the background colour in OPAQUE mode.
      if (!dashes_.empty() && dc.state.bkMode == OPAQUE) {
        gap_ = Ink::solid(painter.rawOf(dc.state.bkColor));
        hasGap_ = true;
      }
    }
  }

  bool null() const { return null_; }
  int width() const { return width_; }
  bool insideFrame() const { return insideFrame_; }
  uint8_t rop() const { return rop_; }
  const Ink& ink() const { return ink_; }

  void line(POINT a, POINT b) {
    if (null_) return;
    if (width_ <= 1) {
      painter_.cosmeticLine(a, b, ink_, rop_, dashes_, hasGap_ ? &gap_ : nullptr, phase_);
    } else {
      painter_.wideLine(a, b, width_, ink_, rop_);
    }
  }

  void polyline(const std::vector<POINT>& points, bool closed) {
    if (null_ || points.empty()) return;
    if (width_ > 1) {
      // One region for the whole figure, so that joints are not painted twice.
      Region all;
      for (size_t i = 0; i + 1 < points.size() + (closed ? 1 : 0); ++i) {
        all = all.unite(wideSegment(points[i], points[(i + 1) % points.size()]));
      }
      painter_.region(all, ink_, rop_);
      return;
    }
    for (size_t i = 0; i + 1 < points.size(); ++i) line(points[i], points[i + 1]);
    if (closed && points.size() > 1) line(points.back(), points.front());
  }

 private:
  Region wideSegment(POINT a, POINT b) const {
    int r0 = width_ / 2, r1 = width_ - width_ / 2;
    Region shape;
    double len = std::hypot(double(b.x - a.x), double(b.y - a.y));
    if (len > 0) {
      double half = width_ / 2.0;
      double nx = -(b.y - a.y) / len * half, ny = (b.x - a.x) / len * half;
      POINT quad[4] = {{LONG(std::lround(a.x + nx)), LONG(std::lround(a.y + ny))},
                       {LONG(std::lround(b.x + nx)), LONG(std::lround(b.y + ny))},
                       {LONG(std::lround(b.x - nx)), LONG(std::lround(b.y - ny))},
                       {LONG(std::lround(a.x - nx)), LONG(std::lround(a.y - ny))}};
      int four = 4;
      auto poly = polygonRows(quad, &four, 1, WINDING);
      shape = Region::fromRows(poly.top, poly.rows);
    }
    for (POINT c : {a, b}) {
      shape = shape.unite(Region::fromRows(c.y - r0, ellipseRows(c.x - r0, c.y - r0, c.x + r1, c.y + r1)));
    }
    return shape;
  }

  Painter& painter_;
  bool null_ = true;
  bool insideFrame_ = false;
  int width_ = 1;
  uint8_t rop_ = kPatCopy;
  Ink ink_;
  Ink gap_;
  bool hasGap_ = false;
  std::vector<int> dashes_;
  int phase_ = 0;
};

template <class F>
BOOL draw(HDC hdc, F f) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  Painter painter(*dc);
  f(*dc, painter);
  return TRUE;
}

// Pixels of `shape` that touch a pixel outside it (4-neighbourhood): the
// one-pixel outline of a filled figure.
Region boundaryOf(const Region& shape) {
  Region inner = shape;
  for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    Region moved = shape;
    moved.offset(dx, dy);
    inner = inner.intersect(moved);
  }
  return shape.subtract(inner);
}

using RowsOf = std::vector<std::vector<Span>> (*)(int, int, int, int, int, int);

std::vector<std::vector<Span>> ellipseShape(int l, int t, int r, int b, int, int) { return ellipseRows(l, t, r, b); }

// A closed figure given by its rows within a device box: the outline with
// the pen (outer ring of the pen's width; inside the box for PS_INSIDEFRAME
// and one-pixel pens), the rest with the brush.
void closedFigure(DCObject& dc, Painter& painter, RECT box, RowsOf rowsOf, int ew, int eh) {
  Stroke stroke(painter);
  Ink brush = painter.brushInk();
  const uint8_t rop = stroke.rop();
  if (stroke.null()) {
    box.right -= 1;
    box.bottom -= 1;
    if (box.right <= box.left || box.bottom <= box.top) return;
    painter.region(Region::fromRows(box.top, rowsOf(box.left, box.top, box.right, box.bottom, ew, eh)), brush, rop);
    return;
  }
  const int w = stroke.width();
  RECT outer = box;
  if (w > 1 && !stroke.insideFrame()) {
    outer = {box.left - (w - 1) / 2, box.top - (w - 1) / 2, box.right + w / 2, box.bottom + w / 2};
  }
  if (outer.right <= outer.left || outer.bottom <= outer.top) return;
  Region shape = Region::fromRows(outer.top, rowsOf(outer.left, outer.top, outer.right, outer.bottom, ew, eh));
  Region inside;
  if (w == 1) {
    inside = shape.subtract(boundaryOf(shape));
  } else if (outer.right - outer.left > 2 * w && outer.bottom - outer.top > 2 * w) {
    inside = Region::fromRows(outer.top + w, rowsOf(outer.left + w, outer.top + w, outer.right - w,
                                                    outer.bottom - w, std::max(0, ew - 2 * w),
                                                    std::max(0, eh - 2 * w)));
  }
  painter.region(inside, brush, rop);
  painter.region(shape.subtract(inside), stroke.ink(), rop);
}

std::vector<POINT> toDevice(DCObject& dc, const POINT* points, size_t count) {
  std::vector<POINT> out(count);
  for (size_t i = 0; i < count; ++i) out[i] = dc.toDevice(points[i]);
  return out;
}

void fillPolygons(Painter& painter, const std::vector<POINT>& points, const std::vector<int>& counts) {
  auto rows = polygonRows(points.data(), counts.data(), static_cast<int>(counts.size()),
                          painter.dc().state.polyFillMode);
  painter.rows(rows.top, rows.rows, painter.brushInk(), rop3FromRop2(painter.dc().state.rop2));
}

enum class ArcKind { Arc, Pie, Chord };

// Points along the ellipse of the device box from the start radial to the
// end radial, counter-clockwise on screen unless the arc direction says
// otherwise; a full ellipse when both radials coincide.
std::vector<POINT> arcPoints(DCObject& dc, RECT box, POINT start, POINT end) {
  const double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
  const double a = (box.right - box.left - 1) / 2.0, b = (box.bottom - box.top - 1) / 2.0;
  double a0 = std::atan2(-(start.y - cy), start.x - cx);
  double a1 = std::atan2(-(end.y - cy), end.x - cx);
  const bool clockwise = dc.state.arcDirection == AD_CLOCKWISE;
  double sweep = clockwise ? a0 - a1 : a1 - a0;
  while (sweep <= 0) sweep += 2 * std::numbers::pi;
  const int steps = std::max(8, static_cast<int>(std::ceil(sweep * std::max(a, b))));
  std::vector<POINT> out;
  out.reserve(steps + 1);
  for (int i = 0; i <= steps; ++i) {
    double t = a0 + (clockwise ? -1 : 1) * sweep * i / steps;
    POINT p{LONG(std::lround(cx + a * std::cos(t))), LONG(std::lround(cy - b * std::sin(t)))};
    if (out.empty() || out.back().x != p.x || out.back().y != p.y) out.push_back(p);
  }
  return out;
}

BOOL arcFigure(HDC hdc, ArcKind kind, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    RECT box = dc.rectToDevice({l, t, r, b});
    if (box.right - box.left < 2 || box.bottom - box.top < 2) return;
    auto points = arcPoints(dc, box, dc.toDevice({xs, ys}), dc.toDevice({xe, ye}));
    Stroke stroke(painter);
    if (kind == ArcKind::Arc) {
      stroke.polyline(points, false);
      if (!points.empty()) {
        uint32_t v;
        if (!stroke.null() && stroke.width() == 1 && stroke.ink().sample(0, 0, v)) {
          painter.pixel(points.back().x, points.back().y, v, stroke.rop());
        }
      }
      return;
    }
    if (kind == ArcKind::Pie) {
      points.insert(points.begin(), POINT{LONG((box.left + box.right - 1) / 2), LONG((box.top + box.bottom - 1) / 2)});
    }
    fillPolygons(painter, points, {static_cast<int>(points.size())});
    stroke.polyline(points, true);
  });
}

}  // namespace
}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.position;
  dc->state.position = {x, y};
  return TRUE;
}

extern "C" BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT point) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc || !point) return FALSE;
  *point = dc->state.position;
  return TRUE;
}

extern "C" BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    Stroke stroke(painter);
    stroke.line(dc.toDevice(dc.state.position), dc.toDevice({x, y}));
    dc.state.position = {x, y};
  });
}

extern "C" BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count) {
  if (count < 2 || !points) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    Stroke stroke(painter);
    stroke.polyline(toDevice(dc, points, count), false);
  });
}

extern "C" BOOL WINAPI PolylineTo(HDC hdc, const POINT* points, DWORD count) {
  if (count < 1 || !points) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    std::vector<POINT> all{dc.toDevice(dc.state.position)};
    auto rest = toDevice(dc, points, count);
    all.insert(all.end(), rest.begin(), rest.end());
    Stroke stroke(painter);
    stroke.polyline(all, false);
    dc.state.position = points[count - 1];
  });
}

extern "C" BOOL WINAPI PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines) {
  if (!points || !counts) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    Stroke stroke(painter);
    const POINT* p = points;
    for (DWORD i = 0; i < polylines; ++i) {
      stroke.polyline(toDevice(dc, p, counts[i]), false);
      p += counts[i];
    }
  });
}

extern "C" BOOL WINAPI PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons) {
  if (!points || !counts || polygons <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  size_t total = 0;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    total += static_cast<size_t>(counts[i]);
  }
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    auto device = toDevice(dc, points, total);
    fillPolygons(painter, device, std::vector<int>(counts, counts + polygons));
    Stroke stroke(painter);
    size_t at = 0;
    for (int i = 0; i < polygons; ++i) {
      stroke.polyline(std::vector<POINT>(device.begin() + at, device.begin() + at + counts[i]), true);
      at += counts[i];
    }
  });
}

extern "C" BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count) {
  return PolyPolygon(hdc, points, &count, 1);
}

extern "C" BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    auto full = [](int l, int t, int r, int b, int, int) {
      return std::vector<std::vector<Span>>(std::max(0, b - t), std::vector<Span>{{l, r}});
    };
    closedFigure(dc, painter, dc.rectToDevice({left, top, right, bottom}), full, 0, 0);
  });
}

extern "C" BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    closedFigure(dc, painter, dc.rectToDevice({left, top, right, bottom}), ellipseShape, 0, 0);
  });
}

extern "C" BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  return draw(hdc, [&](DCObject& dc, Painter& painter) {
    closedFigure(dc, painter, dc.rectToDevice({left, top, right, bottom}), roundRectRows,
                 std::abs(dc.widthToDevice(width)), std::abs(dc.heightToDevice(height)));
  });
}

extern "C" BOOL WINAPI Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return arcFigure(hdc, ArcKind::Arc, l, t, r, b, xs, ys, xe, ye);
}

extern "C" BOOL WINAPI Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return arcFigure(hdc, ArcKind::Pie, l, t, r, b, xs, ys, xe, ye);
}

extern "C" BOOL WINAPI Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return arcFigure(hdc, ArcKind::Chord, l, t, r, b, xs, ys, xe, ye);
}
