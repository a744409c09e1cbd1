// Region arithmetic in y-x bands and the shapes that regions and filled
// figures share.
#include "region.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace win32::gdi {
namespace {

// Boolean combination of two sorted, disjoint interval lists.
std::vector<Span> combineSpans(const std::vector<Span>& a, const std::vector<Span>& b, Region::Op op) {
  std::vector<int> xs;
  xs.reserve((a.size() + b.size()) * 2);
  for (const auto& s : a) xs.insert(xs.end(), {s.left, s.right});
  for (const auto& s : b) xs.insert(xs.end(), {s.left, s.right});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::vector<Span> out;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    int x0 = xs[i], x1 = xs[i + 1];
    while (ia < a.size() && a[ia].right <= x0) ++ia;
    while (ib < b.size() && b[ib].right <= x0) ++ib;
    bool inA = ia < a.size() && a[ia].left <= x0;
    bool inB = ib < b.size() && b[ib].left <= x0;
    bool in = false;
    switch (op) {
      case Region::Op::And: in = inA && inB; break;
      case Region::Op::Or: in = inA || inB; break;
      case Region::Op::Xor: in = inA != inB; break;
      case Region::Op::Diff: in = inA && !inB; break;
    }
    if (!in) continue;
    if (!out.empty() && out.back().right == x0) {
      out.back().right = x1;
    } else {
      out.push_back({x0, x1});
    }
  }
  return out;
}

}  // namespace

Region::Region(const RECT& r) {
  int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
  int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
  if (left < right && top < bottom) bands_.push_back({top, bottom, {{left, right}}});
}

Region Region::fromRect(int left, int top, int right, int bottom) { return Region(RECT{left, top, right, bottom}); }

Region Region::fromRows(int top, const std::vector<std::vector<Span>>& rows) {
  Region r;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::vector<Span> spans;
    for (const auto& s : rows[i]) {
      if (s.left < s.right) spans.push_back(s);
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    // Merge overlapping or touching spans.
    std::vector<Span> merged;
    for (const auto& s : spans) {
      if (!merged.empty() && s.left <= merged.back().right) {
        merged.back().right = std::max(merged.back().right, s.right);
      } else {
        merged.push_back(s);
      }
    }
    int y = top + static_cast<int>(i);
    r.appendBand(y, y + 1, std::move(merged));
  }
  return r;
}

void Region::appendBand(int top, int bottom, std::vector<Span>&& spans) {
  if (spans.empty() || top >= bottom) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(spans)});
}

RECT Region::box() const {
  if (bands_.empty()) return RECT{0, 0, 0, 0};
  RECT box{std::numeric_limits<LONG>::max(), bands_.front().top, std::numeric_limits<LONG>::min(),
           bands_.back().bottom};
  for (const auto& b : bands_) {
    box.left = std::min<LONG>(box.left, b.spans.front().left);
    box.right = std::max<LONG>(box.right, b.spans.back().right);
  }
  return box;
}

int Region::complexity() const {
  if (bands_.empty()) return NULLREGION;
  return bands_.size() == 1 && bands_[0].spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

const std::vector<Span>* Region::rowSpans(int y) const {
  auto it = std::upper_bound(bands_.begin(), bands_.end(), y, [](int v, const Band& b) { return v < b.bottom; });
  if (it == bands_.end() || it->top > y) return nullptr;
  return &it->spans;
}

bool Region::contains(int x, int y) const {
  const auto* spans = rowSpans(y);
  if (!spans) return false;
  for (const auto& s : *spans) {
    if (x < s.left) return false;
    if (x < s.right) return true;
  }
  return false;
}

bool Region::intersects(const RECT& r) const {
  for (const auto& b : bands_) {
    if (b.bottom <= r.top) continue;
    if (b.top >= r.bottom) break;
    for (const auto& s : b.spans) {
      if (s.left < r.right && s.right > r.left) return true;
    }
  }
  return false;
}

void Region::offset(int dx, int dy) {
  for (auto& b : bands_) {
    b.top += dy;
    b.bottom += dy;
    for (auto& s : b.spans) {
      s.left += dx;
      s.right += dx;
    }
  }
}

std::vector<RECT> Region::rects() const {
  std::vector<RECT> out;
  for (const auto& b : bands_) {
    for (const auto& s : b.spans) out.push_back({s.left, b.top, s.right, b.bottom});
  }
  return out;
}

Region Region::combine(const Region& a, const Region& b, Op op) {
  std::vector<int> ys;
  for (const auto& band : a.bands_) ys.insert(ys.end(), {band.top, band.bottom});
  for (const auto& band : b.bands_) ys.insert(ys.end(), {band.top, band.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  static const std::vector<Span> none;
  Region out;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    int y0 = ys[i], y1 = ys[i + 1];
    while (ia < a.bands_.size() && a.bands_[ia].bottom <= y0) ++ia;
    while (ib < b.bands_.size() && b.bands_[ib].bottom <= y0) ++ib;
    const auto& sa = ia < a.bands_.size() && a.bands_[ia].top <= y0 ? a.bands_[ia].spans : none;
    const auto& sb = ib < b.bands_.size() && b.bands_[ib].top <= y0 ? b.bands_[ib].spans : none;
    if (sa.empty() && sb.empty()) continue;
    out.appendBand(y0, y1, combineSpans(sa, sb, op));
  }
  return out;
}

std::vector<std::vector<Span>> ellipseRows(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  int w = right - left, h = bottom - top;
  std::vector<std::vector<Span>> rows(std::max(h, 0));
  if (w <= 0 || h <= 0) return rows;
  // Pixel centres inside the ellipse inscribed in the box; a row that would
  // be empty keeps its middle pixel so that thin ellipses stay connected.
  const double a = w / 2.0, b = h / 2.0;
  const double cx = left + a, cy = top + b;
  for (int i = 0; i < h; ++i) {
    double dy = (top + i + 0.5 - cy) / b;
    double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    int x0 = static_cast<int>(std::ceil(cx - half - 0.5));
    int x1 = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
    if (x0 >= x1) {
      x0 = static_cast<int>(std::floor(cx - 0.5));
      x1 = static_cast<int>(std::ceil(cx - 0.5)) + 1;
    }
    rows[i].push_back({std::max(x0, left), std::min(x1, right)});
  }
  return rows;
}

std::vector<std::vector<Span>> roundRectRows(int left, int top, int right, int bottom, int ew, int eh) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  int w = right - left, h = bottom - top;
  ew = std::clamp(std::abs(ew), 0, w);
  eh = std::clamp(std::abs(eh), 0, h);
  std::vector<std::vector<Span>> rows(std::max(h, 0));
  if (w <= 0 || h <= 0) return rows;
  if (ew < 2 || eh < 2) {
    for (auto& row : rows) row.push_back({left, right});
    return rows;
  }
  auto corner = ellipseRows(0, 0, ew, eh);
  for (int i = 0; i < h; ++i) {
    int inset = 0, insetRight = 0;
    if (i < eh / 2) {
      inset = corner[i][0].left;
      insetRight = ew - corner[i][0].right;
    } else if (h - 1 - i < eh / 2) {
      int j = eh - (h - i);
      inset = corner[j][0].left;
      insetRight = ew - corner[j][0].right;
    }
    rows[i].push_back({left + inset, right - insetRight});
  }
  return rows;
}

PolygonRows polygonRows(const POINT* points, const int* counts, int polygons, int fillMode) {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  int minY = std::numeric_limits<int>::max(), maxY = std::numeric_limits<int>::min();
  const POINT* p = points;
  for (int k = 0; k < polygons; ++k) {
    int n = counts[k];
    for (int i = 0; i < n; ++i) {
      POINT a = p[i], b = p[(i + 1) % n];
      minY = std::min<int>(minY, a.y);
      maxY = std::max<int>(maxY, a.y);
      if (a.y == b.y) continue;
      if (a.y < b.y) {
        edges.push_back({double(a.x), double(a.y), double(b.x), double(b.y), 1});
      } else {
        edges.push_back({double(b.x), double(b.y), double(a.x), double(a.y), -1});
      }
    }
    p += n;
  }
  PolygonRows out;
  if (edges.empty() || minY >= maxY) return out;
  out.top = minY;
  out.rows.resize(maxY - minY);
  std::vector<std::pair<double, int>> crossings;
  for (int y = minY; y < maxY; ++y) {
    double yc = y + 0.5;
    crossings.clear();
    for (const auto& e : edges) {
      if (yc < e.y0 || yc >= e.y1) continue;
      crossings.push_back({e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir});
    }
    std::sort(crossings.begin(), crossings.end());
    auto& row = out.rows[y - minY];
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += fillMode == WINDING ? crossings[i].second : 1;
      bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
      if (!inside) continue;
      // Pixel x is in when its centre x + 0.5 lies in [xa, xb).
      int x0 = static_cast<int>(std::ceil(crossings[i].first - 0.5));
      int x1 = static_cast<int>(std::ceil(crossings[i + 1].first - 0.5));
      if (x0 < x1) row.push_back({x0, x1});
    }
  }
  return out;
}

std::shared_ptr<RegionObject> findRegion(HRGN handle) {
  auto r = findAs<RegionObject>(handle);
  if (!r) SetLastError(ERROR_INVALID_HANDLE);
  return r;
}

}  // namespace win32::gdi

// --- the region functions of gdi32 ------------------------------------------

using namespace win32::gdi;

namespace {

HRGN newRegion(Region r) {
  auto object = std::make_shared<RegionObject>(std::move(r));
  return static_cast<HRGN>(registerObject(object));
}

}  // namespace

extern "C" HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
  return newRegion(Region::fromRect(left, top, right, bottom));
}

extern "C" HRGN WINAPI CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

extern "C" HRGN WINAPI CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return newRegion(Region::fromRows(top, roundRectRows(left, top, right, bottom, width, height)));
}

extern "C" HRGN WINAPI CreateEllipticRgn(int left, int top, int right, int bottom) {
  return newRegion(Region::fromRows(std::min(top, bottom), ellipseRows(left, top, right, bottom)));
}

extern "C" HRGN WINAPI CreateEllipticRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

extern "C" HRGN WINAPI CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto rows = polygonRows(points, &count, 1, fillMode);
  return newRegion(Region::fromRows(rows.top, rows.rows));
}

extern "C" int WINAPI CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  GdiLock lock(gdiMutex());
  auto d = findRegion(dest);
  auto a = findRegion(src1);
  if (!d || !a) return ERROR;
  if (mode == RGN_COPY) {
    d->region = a->region;
    return d->region.complexity();
  }
  auto b = findRegion(src2);
  if (!b) return ERROR;
  Region::Op op;
  switch (mode) {
    case RGN_AND: op = Region::Op::And; break;
    case RGN_OR: op = Region::Op::Or; break;
    case RGN_XOR: op = Region::Op::Xor; break;
    case RGN_DIFF: op = Region::Op::Diff; break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
  }
  d->region = Region::combine(a->region, b->region, op);
  return d->region.complexity();
}

extern "C" int WINAPI OffsetRgn(HRGN region, int x, int y) {
  GdiLock lock(gdiMutex());
  auto r = findRegion(region);
  if (!r) return ERROR;
  r->region.offset(x, y);
  return r->region.complexity();
}

extern "C" int WINAPI GetRgnBox(HRGN region, LPRECT rect) {
  GdiLock lock(gdiMutex());
  auto r = findRegion(region);
  if (!r || !rect) {
    if (r) SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  *rect = r->region.box();
  return r->region.complexity();
}

extern "C" BOOL WINAPI PtInRegion(HRGN region, int x, int y) {
  GdiLock lock(gdiMutex());
  auto r = findRegion(region);
  return r && r->region.contains(x, y);
}

extern "C" BOOL WINAPI RectInRegion(HRGN region, const RECT* rect) {
  GdiLock lock(gdiMutex());
  auto r = findRegion(region);
  if (!r || !rect) return FALSE;
  RECT n{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom), std::max(rect->left, rect->right),
         std::max(rect->top, rect->bottom)};
  return r->region.intersects(n);
}

extern "C" BOOL WINAPI EqualRgn(HRGN a, HRGN b) {
  GdiLock lock(gdiMutex());
  auto ra = findRegion(a);
  auto rb = findRegion(b);
  if (!ra || !rb) return ERROR;
  return ra->region == rb->region;
}

extern "C" BOOL WINAPI SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  GdiLock lock(gdiMutex());
  auto r = findRegion(region);
  if (!r) return FALSE;
  r->region = Region::fromRect(left, top, right, bottom);
  return TRUE;
}

// Needs sizeof(RGNDATAHEADER) + 16 bytes per rectangle; answers that size
// when `data` is null, the count given on success, 0 when it is too small.
extern "C" DWORD WINAPI GetRegionData(HRGN region, DWORD count, LPRGNDATA data) {
  GdiLock lock(gdiMutex());
  auto r = findRegion(region);
  if (!r) return 0;
  const auto rects = r->region.rects();
  const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  if (!data) return needed;
  if (count < needed) {
    SetLastError(ERROR_MORE_DATA);
    return 0;
  }
  data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
               static_cast<DWORD>(rects.size() * sizeof(RECT)), r->region.box()};
  if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return count;
}

// Translations in `xform` are applied; other transforms are refused.
extern "C" HRGN WINAPI ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
  if (!data || count < sizeof(RGNDATAHEADER) || data->rdh.dwSize < sizeof(RGNDATAHEADER) ||
      data->rdh.iType != RDH_RECTANGLES ||
      data->rdh.nCount > (count - data->rdh.dwSize) / sizeof(RECT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  int dx = 0, dy = 0;
  if (xform) {
    if (xform->eM11 != 1 || xform->eM22 != 1 || xform->eM12 != 0 || xform->eM21 != 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    dx = static_cast<int>(std::lround(xform->eDx));
    dy = static_cast<int>(std::lround(xform->eDy));
  }
  // Rectangles are unioned row band by row band, so unsorted input is fine.
  std::vector<RECT> rects(data->rdh.nCount);
  std::memcpy(rects.data(), reinterpret_cast<const BYTE*>(data) + data->rdh.dwSize, rects.size() * sizeof(RECT));
  Region out;
  for (const RECT& rect : rects) out = out.unite(Region(rect));
  out.offset(dx, dy);
  return newRegion(std::move(out));
}
