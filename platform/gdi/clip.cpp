// The application clip region of a DC, and region painting.
//
// The clip is kept in device coordinates (as SelectClipRgn takes it);
// IntersectClipRect and ExcludeClipRect take logical coordinates. A DC
// without a clip region draws wherever its target (and window) allows.
#include "raster.h"

using namespace win32::gdi;

namespace {

// The region the application clip works within when there is none yet.
Region fullArea(DCObject& dc) {
  return Region::fromRect(INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2);
}

int complexityOfVisible(DCObject& dc) {
  int c = dc.visibleRegion().complexity();
  return c;
}

}  // namespace

extern "C" int WINAPI ExtSelectClipRgn(HDC hdc, HRGN region, int mode) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return ERROR;
  if (!region) {
    if (mode != RGN_COPY) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    dc->state.clip.reset();
    return complexityOfVisible(*dc);
  }
  auto r = findRegion(region);
  if (!r) return ERROR;
  Region current = dc->state.clip ? *dc->state.clip : fullArea(*dc);
  switch (mode) {
    case RGN_COPY: current = r->region; break;
    case RGN_AND: current = current.intersect(r->region); break;
    case RGN_OR: current = current.unite(r->region); break;
    case RGN_XOR: current = Region::combine(current, r->region, Region::Op::Xor); break;
    case RGN_DIFF: current = current.subtract(r->region); break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
  }
  dc->state.clip = std::move(current);
  return complexityOfVisible(*dc);
}

extern "C" int WINAPI SelectClipRgn(HDC hdc, HRGN region) { return ExtSelectClipRgn(hdc, region, RGN_COPY); }

extern "C" int WINAPI GetClipBox(HDC hdc, LPRECT rect) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return ERROR;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  Region visible = dc->visibleRegion();
  RECT box = visible.box();
  // Logical coordinates, normalised.
  POINT a = dc->toLogical({box.left, box.top}), b = dc->toLogical({box.right, box.bottom});
  *rect = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return visible.complexity();
}

// 1 with a copy of the clip in `region`, 0 when the DC has none, -1 on error.
extern "C" int WINAPI GetClipRgn(HDC hdc, HRGN region) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  auto r = findRegion(region);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}

extern "C" int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return ERROR;
  Region rect(dc->rectToDevice({left, top, right, bottom}));
  dc->state.clip = dc->state.clip ? dc->state.clip->intersect(rect) : rect;
  return complexityOfVisible(*dc);
}

extern "C" int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return ERROR;
  Region rect(dc->rectToDevice({left, top, right, bottom}));
  dc->state.clip = (dc->state.clip ? *dc->state.clip : fullArea(*dc)).subtract(rect);
  return complexityOfVisible(*dc);
}

extern "C" int WINAPI OffsetClipRgn(HDC hdc, int x, int y) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return ERROR;
  if (dc->state.clip) dc->state.clip->offset(dc->widthToDevice(x), dc->heightToDevice(y));
  return complexityOfVisible(*dc);
}

extern "C" BOOL WINAPI PtVisible(HDC hdc, int x, int y) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return -1;
  POINT p = dc->toDevice({x, y});
  return dc->visibleRegion().contains(p.x, p.y);
}

extern "C" BOOL WINAPI RectVisible(HDC hdc, const RECT* rect) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc || !rect) return FALSE;
  return dc->visibleRegion().intersects(dc->rectToDevice(*rect));
}

// --- painting regions (given in logical coordinates of MM_TEXT-like DCs:
// the region's rectangles are transformed corner by corner) ------------------

namespace {

Region toDevice(DCObject& dc, const Region& r) {
  if (dc.state.mapMode == MM_TEXT && dc.state.windowOrg.x == 0 && dc.state.windowOrg.y == 0) {
    Region out = r;
    out.offset(dc.state.viewportOrg.x, dc.state.viewportOrg.y);
    return out;
  }
  Region out;
  for (const RECT& rect : r.rects()) out = out.unite(Region(dc.rectToDevice(rect)));
  return out;
}

BOOL paintRegion(HDC hdc, HRGN region, HBRUSH brush, bool invert) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  auto r = findRegion(region);
  if (!dc || !r) return FALSE;
  std::shared_ptr<BrushObject> b;
  if (brush) {
    b = findAs<BrushObject>(brush);
    if (!b) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  Painter painter(*dc);
  if (!painter.valid()) return TRUE;
  Region device = toDevice(*dc, r->region);
  if (invert) {
    painter.region(device, Ink::solid(0), 0x55);  // DSTINVERT
  } else {
    painter.region(device, painter.inkOf(b ? b.get() : dc->state.brush.get().get(), true),
                   brush ? kPatCopy : rop3FromRop2(dc->state.rop2));
  }
  return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI FillRgn(HDC hdc, HRGN region, HBRUSH brush) {
  if (!brush) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return paintRegion(hdc, region, brush, false);
}

extern "C" BOOL WINAPI PaintRgn(HDC hdc, HRGN region) { return paintRegion(hdc, region, nullptr, false); }

extern "C" BOOL WINAPI InvertRgn(HDC hdc, HRGN region) { return paintRegion(hdc, region, nullptr, true); }

// The frame is the region less the region shrunk by width x height: the
// pixels within that distance of the region's edge.
extern "C" BOOL WINAPI FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  auto r = findRegion(region);
  auto b = findAs<BrushObject>(brush);
  if (!dc || !r || !b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Region device = toDevice(*dc, r->region);
  Region inner = device;
  for (int dx = -width; dx <= width; dx += width) {
    for (int dy = -height; dy <= height; dy += height) {
      Region moved = device;
      moved.offset(dx, dy);
      inner = inner.intersect(moved);
    }
  }
  Painter painter(*dc);
  if (painter.valid()) painter.region(device.subtract(inner), painter.inkOf(b.get(), true), kPatCopy);
  return TRUE;
}
