#include "metafileplayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace win32::gdi {
namespace {

// Units per millimetre of the fixed mapping modes (y grows upwards in all).
double unitsPerMm(int mode) {
  switch (mode) {
    case MM_LOMETRIC: return 10;
    case MM_HIMETRIC: return 100;
    case MM_LOENGLISH: return 100 / 25.4;
    case MM_HIENGLISH: return 1000 / 25.4;
    case MM_TWIPS: return 1440 / 25.4;
    default: return 0;
  }
}

// Device coordinates and sizes are kept within 16 bits' reach of the
// surface: a damaged record's far-off shape still draws what is visible of
// it, without making the rasteriser walk a billion pixels.
constexpr double kFarthest = 32767;

LONG rounded(double value) {
  return static_cast<LONG>(std::lround(std::clamp(value, -kFarthest, kFarthest)));
}

}  // namespace

MetafilePlayer::MetafilePlayer(HDC dc, const RECT& target, const MetafileFrame& frame, double pixelsPerMmX,
                               double pixelsPerMmY, bool logicalFrame)
    : dc_(dc),
      target_(target),
      frame_(frame),
      pixelsPerMmX_(pixelsPerMmX),
      pixelsPerMmY_(pixelsPerMmY),
      logicalFrame_(logicalFrame) {
  if (frame_.width == 0) frame_.width = 1;
  if (frame_.height == 0) frame_.height = 1;
  if (dc_) savedState_ = SaveDC(dc_);
}

MetafilePlayer::~MetafilePlayer() {
  if (!dc_) return;
  // The DC gets its own objects and state back before the made ones go.
  if (savedState_) RestoreDC(dc_, savedState_);
  for (HGDIOBJ made : {madePen_, madeBrush_, madeFont_}) {
    if (made) DeleteObject(made);
  }
}

double MetafilePlayer::scaleX() const {
  if (logicalFrame_) return 1;
  if (const double perMm = unitsPerMm(mapping_.mode)) return pixelsPerMmX_ / perMm;
  if (mapping_.mode == MM_ISOTROPIC || mapping_.mode == MM_ANISOTROPIC) {
    return mapping_.windowExt.cx ? static_cast<double>(mapping_.viewportExt.cx) / mapping_.windowExt.cx : 1;
  }
  return 1;
}

double MetafilePlayer::scaleY() const {
  if (logicalFrame_) return 1;
  if (const double perMm = unitsPerMm(mapping_.mode)) return -pixelsPerMmY_ / perMm;
  if (mapping_.mode == MM_ISOTROPIC || mapping_.mode == MM_ANISOTROPIC) {
    return mapping_.windowExt.cy ? static_cast<double>(mapping_.viewportExt.cy) / mapping_.windowExt.cy : 1;
  }
  return 1;
}

void MetafilePlayer::deviceOf(double x, double y, double& dx, double& dy) const {
  double px = x, py = y;
  if (!logicalFrame_) {
    px = (x - mapping_.windowOrg.x) * scaleX() + mapping_.viewportOrg.x;
    py = (y - mapping_.windowOrg.y) * scaleY() + mapping_.viewportOrg.y;
  }
  dx = target_.left + (px - frame_.left) * (target_.right - target_.left) / frame_.width;
  dy = target_.top + (py - frame_.top) * (target_.bottom - target_.top) / frame_.height;
}

POINT MetafilePlayer::map(LONG x, LONG y) {
  if (!dc_) {
    RECT& b = bounds_.emplace(bounds_.value_or(RECT{x, y, x, y}));
    b.left = std::min(b.left, x), b.top = std::min(b.top, y);
    b.right = std::max(b.right, x), b.bottom = std::max(b.bottom, y);
    return {x, y};
  }
  double dx, dy;
  deviceOf(x, y, dx, dy);
  return {rounded(dx), rounded(dy)};
}

void MetafilePlayer::setMapMode(int mode) {
  if (mode >= MM_TEXT && mode <= MM_ANISOTROPIC) mapping_.mode = mode;
}

void MetafilePlayer::setWindowOrg(LONG x, LONG y) {
  if (!windowOrg_) windowOrg_ = POINT{x, y};
  mapping_.windowOrg = {x, y};
}

void MetafilePlayer::setWindowExt(LONG x, LONG y) {
  if (!windowExt_) windowExt_ = SIZE{x, y};
  if (x && y) mapping_.windowExt = {x, y};
}

void MetafilePlayer::setViewportOrg(LONG x, LONG y) { mapping_.viewportOrg = {x, y}; }

void MetafilePlayer::setViewportExt(LONG x, LONG y) {
  if (x && y) mapping_.viewportExt = {x, y};
}

std::optional<RECT> MetafilePlayer::firstWindow() const {
  if (!windowExt_) return std::nullopt;
  const POINT org = windowOrg_.value_or(POINT{0, 0});
  return RECT{org.x, org.y, org.x + windowExt_->cx, org.y + windowExt_->cy};
}

void MetafilePlayer::createPen(UINT index, const LOGPEN& pen) { objects_[index] = {Recorded::Pen, pen, {}, {}}; }

void MetafilePlayer::createBrush(UINT index, const LOGBRUSH& brush) {
  objects_[index] = {Recorded::Brush, {}, brush, {}};
}

void MetafilePlayer::createFont(UINT index, const LOGFONTA& font) {
  objects_[index] = {Recorded::Font, {}, {}, font};
}

void MetafilePlayer::createPlaceholder(UINT index) { objects_[index] = {Recorded::Placeholder, {}, {}, {}}; }

void MetafilePlayer::deleteObject(UINT index) { objects_.erase(index); }

void MetafilePlayer::replaceSelected(HGDIOBJ& slot, HGDIOBJ made) {
  if (!made) {
    skipped();
    return;
  }
  SelectObject(dc_, made);
  if (slot) DeleteObject(slot);
  slot = made;
}

// Objects are made when selected, at the scale the mapping has then, as
// Windows realises a pen's width and a font's height at selection.
void MetafilePlayer::selectObject(UINT index) {
  auto found = objects_.find(index);
  if (found == objects_.end()) {
    skipped();
    return;
  }
  if (!dc_) return;
  const Recorded& object = found->second;
  const double sx = std::fabs(scaleX() * (target_.right - target_.left) / frame_.width);
  const double sy = std::fabs(scaleY() * (target_.bottom - target_.top) / frame_.height);
  switch (object.kind) {
    case Recorded::Pen: {
      LOGPEN pen = object.pen;
      pen.lopnWidth.x = pen.lopnWidth.x ? std::max<LONG>(1, rounded(pen.lopnWidth.x * sx)) : 0;
      replaceSelected(madePen_, CreatePenIndirect(&pen));
      break;
    }
    case Recorded::Brush: replaceSelected(madeBrush_, CreateBrushIndirect(&object.brush)); break;
    case Recorded::Font: {
      LOGFONTA font = object.font;
      font.lfHeight = rounded(font.lfHeight * sy);
      font.lfWidth = rounded(font.lfWidth * sx);
      replaceSelected(madeFont_, CreateFontIndirectA(&font));
      break;
    }
    case Recorded::Placeholder: skipped(); break;
  }
}

void MetafilePlayer::selectStockObject(int stock) {
  HGDIOBJ object = GetStockObject(stock);
  if (!object) {
    skipped();
    return;
  }
  if (dc_) SelectObject(dc_, object);
}

void MetafilePlayer::setBkMode(int mode) {
  if (dc_) SetBkMode(dc_, mode);
}
void MetafilePlayer::setBkColor(COLORREF color) {
  if (dc_) SetBkColor(dc_, color);
}
void MetafilePlayer::setTextColor(COLORREF color) {
  if (dc_) SetTextColor(dc_, color);
}
void MetafilePlayer::setTextAlign(UINT align) {
  if (dc_) SetTextAlign(dc_, align);
}
void MetafilePlayer::setPolyFillMode(int mode) {
  if (dc_) SetPolyFillMode(dc_, mode);
}
void MetafilePlayer::setRop2(int rop) {
  if (dc_) SetROP2(dc_, rop);
}

void MetafilePlayer::saveDC() {
  savedMappings_.push_back(mapping_);
  if (dc_) SaveDC(dc_);
}

void MetafilePlayer::restoreDC(int relative) {
  // Only the states this playback saved can be restored.
  const int back = relative < 0 ? -relative : 0;
  if (back == 0 || static_cast<size_t>(back) > savedMappings_.size()) {
    skipped();
    return;
  }
  mapping_ = savedMappings_[savedMappings_.size() - back];
  savedMappings_.resize(savedMappings_.size() - back);
  if (dc_) RestoreDC(dc_, -back);
}

void MetafilePlayer::moveTo(LONG x, LONG y) {
  const POINT p = map(x, y);
  if (dc_) MoveToEx(dc_, p.x, p.y, nullptr);
}

void MetafilePlayer::lineTo(LONG x, LONG y) {
  const POINT p = map(x, y);
  if (dc_) LineTo(dc_, p.x, p.y);
}

void MetafilePlayer::rectangle(LONG left, LONG top, LONG right, LONG bottom) {
  const POINT a = map(left, top), b = map(right, bottom);
  if (dc_) Rectangle(dc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

void MetafilePlayer::ellipse(LONG left, LONG top, LONG right, LONG bottom) {
  const POINT a = map(left, top), b = map(right, bottom);
  if (dc_) Ellipse(dc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

void MetafilePlayer::roundRect(LONG left, LONG top, LONG right, LONG bottom, LONG width, LONG height) {
  const POINT a = map(left, top), b = map(right, bottom);
  if (!dc_) return;
  const double sx = std::fabs(scaleX() * (target_.right - target_.left) / frame_.width);
  const double sy = std::fabs(scaleY() * (target_.bottom - target_.top) / frame_.height);
  RoundRect(dc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), rounded(width * sx),
            rounded(height * sy));
}

void MetafilePlayer::polygon(const std::vector<POINT>& points) {
  std::vector<POINT> mapped;
  for (const POINT& p : points) mapped.push_back(map(p.x, p.y));
  if (dc_ && !mapped.empty()) Polygon(dc_, mapped.data(), static_cast<int>(mapped.size()));
}

void MetafilePlayer::polyline(const std::vector<POINT>& points) {
  std::vector<POINT> mapped;
  for (const POINT& p : points) mapped.push_back(map(p.x, p.y));
  if (dc_ && !mapped.empty()) Polyline(dc_, mapped.data(), static_cast<int>(mapped.size()));
}

void MetafilePlayer::polyPolygon(const std::vector<POINT>& points, const std::vector<INT>& counts) {
  std::vector<POINT> mapped;
  for (const POINT& p : points) mapped.push_back(map(p.x, p.y));
  if (dc_ && !mapped.empty()) PolyPolygon(dc_, mapped.data(), counts.data(), static_cast<int>(counts.size()));
}

void MetafilePlayer::textOut(LONG x, LONG y, const std::string& text) {
  const POINT p = map(x, y);
  if (dc_) TextOutA(dc_, p.x, p.y, text.data(), static_cast<int>(text.size()));
}

}  // namespace win32::gdi
