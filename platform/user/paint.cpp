// Painting plumbing: update regions, WM_PAINT, BeginPaint/EndPaint, the
// window DCs and the backing surfaces.
//
// Each top-level window owns a 32-bit image surface of its window size; its
// children draw into it at their offset. A DC of a window is clipped to the
// window's visible part: inside every ancestor's client area, minus the
// siblings above it when it has WS_CLIPSIBLINGS and minus its children when
// it has WS_CLIPCHILDREN (for a client DC). Update regions are kept in client
// coordinates; the frame has a flag of its own (WM_NCPAINT owed).
#include "display.h"
#include "queue.h"
#include "window.h"

#include <internal/gdi_surface.h>

#include <cairo.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace win32::user {

void hideCaretForPaint(HWND hwnd, bool hide);  // caret.cpp

namespace {

// An update region is never kept empty (addToUpdate drops it), so its
// presence is the answer; the queue asks this for every window on each look.
bool hasUpdate(const Window& w) { return w.update != nullptr; }

// Whether the window asks for WM_PAINT: its client area is invalid, or an
// internal paint is owed. A frame owed alone does not ask (validating the
// client area stops WM_PAINT), unless the window has no client area at all,
// where nothing else would ever paint it.
bool owesPaint(const Window& w) {
  if (hasUpdate(w) || w.internalPaint) return true;
  return w.frameNeeded && (w.clientRect.right <= w.clientRect.left || w.clientRect.bottom <= w.clientRect.top);
}

bool regionEmpty(HRGN rgn) {
  RECT box;
  int type = GetRgnBox(rgn, &box);
  return type == NULLREGION || type == ERROR;
}

RECT clientSize(const Window& w) {
  return RECT{0, 0, w.clientRect.right - w.clientRect.left, w.clientRect.bottom - w.clientRect.top};
}

// The top-level window whose surface `w` draws on, and where `w`'s client
// (or window) origin lies in that surface.
Window* surfaceOwner(Window* w, bool client, POINT& origin) {
  Window* top = topLevelOf(w);
  RECT topRect = windowRectOnScreen(top);
  POINT o = client ? clientOriginOnScreen(w) : POINT{windowRectOnScreen(w).left, windowRectOnScreen(w).top};
  origin = POINT{o.x - topRect.left, o.y - topRect.top};
  return top;
}

// Cuts the shown windows of `list` before `stop` (all when nullptr) out of
// `rgn`, which lies inside `bounds`: windows in a list whose client origin is
// `listOrigin`, `rgn` in coordinates whose origin is `self` (both screen
// points). Windows outside the bounds cost a comparison, no region work: a
// parent may have thousands of children.
void cutOutWindowsLocked(const std::vector<Window*>& list, const Window* stop, POINT listOrigin, POINT self,
                         const RECT& bounds, HRGN rgn, HRGN tmp) {
  const int dx = listOrigin.x - self.x, dy = listOrigin.y - self.y;
  for (Window* s : list) {
    if (s == stop) break;
    if (!(s->style & WS_VISIBLE)) continue;
    const RECT r{s->windowRect.left + dx, s->windowRect.top + dy, s->windowRect.right + dx, s->windowRect.bottom + dy};
    if (r.right <= bounds.left || r.left >= bounds.right || r.bottom <= bounds.top || r.top >= bounds.bottom) continue;
    SetRectRgn(tmp, r.left, r.top, r.right, r.bottom);
    CombineRgn(rgn, rgn, tmp, RGN_DIFF);
  }
}

// The visible part of `w` in its own client (or window) coordinates.
// `allSiblings` cuts out every sibling above, whatever WS_CLIPSIBLINGS says:
// the pixels a window may call its own when they are copied or kept.
HRGN visibleRegionLocked(Window* w, bool client, bool clipChildren, bool allSiblings = false) {
  RECT own = client ? clientSize(*w) : RECT{0, 0, w->windowRect.right - w->windowRect.left,
                                             w->windowRect.bottom - w->windowRect.top};
  HRGN rgn = CreateRectRgnIndirect(&own);
  POINT self = client ? clientOriginOnScreen(w) : POINT{windowRectOnScreen(w).left, windowRectOnScreen(w).top};
  HRGN tmp = CreateRectRgn(0, 0, 0, 0);
  // Inside every ancestor's client area; siblings above cut out where asked.
  for (Window* c = w; c->parent && !c->parent->isDesktop(); c = c->parent) {
    Window* p = c->parent;
    POINT po = clientOriginOnScreen(p);
    SetRectRgn(tmp, po.x - self.x, po.y - self.y, po.x - self.x + (p->clientRect.right - p->clientRect.left),
               po.y - self.y + (p->clientRect.bottom - p->clientRect.top));
    CombineRgn(rgn, rgn, tmp, RGN_AND);
    if ((c->style & WS_CLIPSIBLINGS) || allSiblings) cutOutWindowsLocked(p->children, c, po, self, own, rgn, tmp);
  }
  if (clipChildren) cutOutWindowsLocked(w->children, nullptr, clientOriginOnScreen(w), self, own, rgn, tmp);
  DeleteObject(tmp);
  return rgn;
}

// Makes a DC on the window's surface; `extraClip` (same coordinates) is intersected.
HDC makeWindowDC(HWND hwnd, bool client, HRGN extraClip, bool clipChildren) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return nullptr;
  }
  if (w->isDesktop()) {
    lock.unlock();
    return CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  }
  POINT origin;
  Window* top = surfaceOwner(w, client, origin);
  if (!makeSurfaceLocked(*top)) return nullptr;
  HRGN clip = visibleRegionLocked(w, client, clipChildren);
  if (extraClip) CombineRgn(clip, clip, extraClip, RGN_AND);
  if (display::onServer()) {
    // Whatever the DC draws lies inside its clip: that part of the surface goes to the server.
    RECT box;
    if (GetRgnBox(clip, &box) != NULLREGION) {
      OffsetRect(&box, origin.x, origin.y);
      display::damaged(top->handle, box);
    }
  }
  HDC dc;
  if (client && (w->cls->style & CS_OWNDC)) {
    // A window of a CS_OWNDC class keeps one DC with its attributes; each
    // GetDC or BeginPaint only moves it to the window's place and clip.
    // The surface may have been made anew since: then the DC is too.
    if (w->ownDC && win32::gdi::surfaceOfDC(w->ownDC) != top->surface) {
      win32::gdi::releaseSurfaceDC(w->ownDC);
      w->ownDC = nullptr;
    }
    if (!w->ownDC) w->ownDC = win32::gdi::createSurfaceDC(top->surface, origin, clip, hwnd);
    else win32::gdi::setSurfaceDCOrigin(w->ownDC, origin, clip);
    dc = w->ownDC;
  } else {
    dc = win32::gdi::createSurfaceDC(top->surface, origin, clip, hwnd);
  }
  DeleteObject(clip);
  return dc;
}

// Pixels of a top-level surface changed outside a DC (`area` in surface coordinates).
void damageSurfaceRegion(HWND top, HRGN area) {
  RECT box;
  if (display::onServer() && GetRgnBox(area, &box) != NULLREGION) display::damaged(top, box);
}
void damageSurfaceRegion(Window& top, HRGN area) { damageSurfaceRegion(top.handle, area); }

void addToUpdate(Window& w, HRGN area, bool add) {
  if (add) {
    if (!w.update) w.update = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(w.update, w.update, area, RGN_OR);
    RECT size = clientSize(w);
    HRGN bounds = CreateRectRgnIndirect(&size);
    CombineRgn(w.update, w.update, bounds, RGN_AND);
    DeleteObject(bounds);
  } else if (w.update) {
    CombineRgn(w.update, w.update, area, RGN_DIFF);
  }
  if (w.update && regionEmpty(w.update)) {
    DeleteObject(w.update);
    w.update = nullptr;
  }
}

// A window paints `area` (its client coordinates) now, its frame too when
// `frame`. An ancestor without WS_CLIPCHILDREN whose update still covers it
// would paint over it afterwards, and the window would not paint again:
// that part of the ancestor's update goes (Windows validates the parents
// of a window it paints the same way).
void validateAncestorsLocked(Window& w, HRGN area, bool frame) {
  // Every BeginPaint comes here: most paint with no such ancestor, and then
  // no region is made.
  auto owesPaintOver = [](const Window* a) { return !(a->style & WS_CLIPCHILDREN) && a->update; };
  bool anyOwes = false;
  for (Window* a = w.parent; w.isChild() && a && !a->isDesktop() && !anyOwes; a = a->parent) anyOwes = owesPaintOver(a);
  if (!anyOwes) return;
  POINT self = clientOriginOnScreen(&w);
  HRGN painted = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(painted, area, nullptr, RGN_COPY);
  OffsetRgn(painted, self.x, self.y);
  if (frame) {
    RECT outer = windowRectOnScreen(&w);
    HRGN whole = CreateRectRgnIndirect(&outer);
    RECT client = clientSize(w);
    OffsetRect(&client, self.x, self.y);
    HRGN inner = CreateRectRgnIndirect(&client);
    CombineRgn(whole, whole, inner, RGN_DIFF);
    CombineRgn(painted, painted, whole, RGN_OR);
    DeleteObject(inner);
    DeleteObject(whole);
  }
  for (Window* a = w.parent; a && !a->isDesktop(); a = a->parent) {
    if (!owesPaintOver(a)) continue;
    POINT o = clientOriginOnScreen(a);
    OffsetRgn(painted, -o.x, -o.y);
    addToUpdate(*a, painted, false);
    if (!a->update) a->eraseNeeded = false;
    OffsetRgn(painted, o.x, o.y);
  }
  DeleteObject(painted);
}

// Applies the RDW_* flags to `w` and, as the flags say, to its children.
// `area` is in the window's client coordinates (nullptr: all of it).
void redrawLocked(Window& w, HRGN area, UINT flags, bool wakeQueue) {
  if (!reallyVisible(&w) && !w.isDesktop()) return;
  RECT all = clientSize(w);
  HRGN region = CreateRectRgnIndirect(&all);
  if (area) CombineRgn(region, region, area, RGN_AND);
  if (!w.isDesktop()) {
    if (flags & RDW_INVALIDATE) {
      addToUpdate(w, region, true);
      if (flags & RDW_ERASE) w.eraseNeeded = true;
      if (flags & RDW_FRAME) w.frameNeeded = true;
    }
    if (flags & RDW_INTERNALPAINT) w.internalPaint = true;
    if (flags & RDW_VALIDATE) {
      addToUpdate(w, region, false);
      if (flags & RDW_NOFRAME) w.frameNeeded = false;
      if (!w.update) w.eraseNeeded = false;
    }
    if (flags & RDW_NOERASE) w.eraseNeeded = false;
    if (flags & RDW_NOINTERNALPAINT) w.internalPaint = false;
    notePaintOwedLocked(w);
    if (wakeQueue && w.queue && owesPaint(w)) w.queue->signal(QS_PAINT);
  }
  bool children = !(flags & RDW_NOCHILDREN) && ((flags & RDW_ALLCHILDREN) || !(w.style & WS_CLIPCHILDREN) || w.isDesktop());
  if (children) {
    UINT childFlags = flags;
    // The part of a child inside the area: its frame too when the area reaches it.
    if (flags & RDW_INVALIDATE) childFlags |= RDW_FRAME;
    RECT box{};
    GetRgnBox(region, &box);
    auto visit = [&](Window* c) {
      if (!(c->style & WS_VISIBLE)) return;
      // Children outside the area cost a comparison, no region work.
      const RECT& r = c->windowRect;
      if (r.right <= box.left || r.left >= box.right || r.bottom <= box.top || r.top >= box.bottom) return;
      HRGN sub = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(sub, region, nullptr, RGN_COPY);
      OffsetRgn(sub, -c->clientRect.left, -c->clientRect.top);
      RECT windowInClient = c->windowRect;
      OffsetRect(&windowInClient, -c->clientRect.left, -c->clientRect.top);
      HRGN reach = CreateRectRgnIndirect(&windowInClient);
      if (CombineRgn(reach, reach, sub, RGN_AND) != NULLREGION)
        redrawLocked(*c, sub, w.isDesktop() ? flags : childFlags, wakeQueue);
      DeleteObject(reach);
      DeleteObject(sub);
    };
    // Each child's part is its own: the order of the visits does not
    // matter, so a parent of many children asks its index which may meet
    // the area (a copy: the visits may query the children's own indexes).
    const std::vector<Window*>* near = w.childIndex ? w.childIndex->meeting(box) : nullptr;
    if (near) {
      for (Window* c : std::vector<Window*>(*near)) visit(c);
    } else {
      for (Window* c : w.children) visit(c);
    }
  }
  DeleteObject(region);
}

void updateNow(HWND hwnd, bool eraseOnly, bool children);

}  // namespace

void fillWithBrush(HDC dc, const RECT& r, HBRUSH brush) {
  HGDIOBJ old = SelectObject(dc, brush);
  PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
  if (old) SelectObject(dc, old);
}

void discardPaintStateLocked(Window& w) {
  if (w.inPaintList && w.queue) std::erase(w.queue->owingPaint, &w);
  w.inPaintList = false;
  if (w.update) DeleteObject(w.update);
  w.update = nullptr;
  if (w.ownDC) win32::gdi::releaseSurfaceDC(w.ownDC);
  w.ownDC = nullptr;
  if (w.surface) cairo_surface_destroy(w.surface);
  w.surface = nullptr;
}

bool makeSurfaceLocked(Window& w) {
  if (w.surface) return true;
  if (!w.parent || !w.parent->isDesktop()) return false;
  const int cx = std::max(1, (int)(w.windowRect.right - w.windowRect.left));
  const int cy = std::max(1, (int)(w.windowRect.bottom - w.windowRect.top));
  w.surface = win32::gdi::createWindowSurface(cx, cy);
  return w.surface != nullptr;
}

void resizeSurfaceLocked(Window& w) {
  bool topLevel = w.parent && w.parent->isDesktop();
  if (!topLevel) {
    if (w.surface) cairo_surface_destroy(w.surface);
    w.surface = nullptr;
    return;
  }
  if (!w.surface) return;  // made at the first drawing, in the size of then
  int cx = std::max(1, (int)(w.windowRect.right - w.windowRect.left));
  int cy = std::max(1, (int)(w.windowRect.bottom - w.windowRect.top));
  if (w.surface && cairo_image_surface_get_width(w.surface) == cx && cairo_image_surface_get_height(w.surface) == cy)
    return;
  cairo_surface_t* s = win32::gdi::createWindowSurface(cx, cy);
  if (!s) return;
  if (w.surface) {
    // Keep what was drawn: the window repaints the rest.
    cairo_surface_flush(w.surface);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_surface(cr, w.surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(w.surface);
  }
  w.surface = s;
  if (w.ownDC) {
    win32::gdi::releaseSurfaceDC(w.ownDC);
    w.ownDC = nullptr;
  }
}

namespace {

constexpr UINT kRepaintWhole = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;

// Lock held. The window's own pixels now, in its parent's client coordinates.
HRGN ownPixelsInParentLocked(Window* w) {
  HRGN own = visibleRegionLocked(w, false, false, true);
  OffsetRgn(own, w->windowRect.left, w->windowRect.top);
  return own;
}

// Lock held. Does `area` (parent's client coordinates) reach the window's frame?
bool reachesFrame(const Window& w, HRGN area) {
  HRGN frame = CreateRectRgnIndirect(&w.windowRect);
  HRGN client = CreateRectRgnIndirect(&w.clientRect);
  CombineRgn(frame, frame, client, RGN_DIFF);
  bool reaches = CombineRgn(frame, frame, area, RGN_AND) != NULLREGION;
  DeleteObject(client);
  DeleteObject(frame);
  return reaches;
}

// Lock held. Invalidates `area` (parent's client coordinates) of the window,
// its frame too when the area reaches it, and its children.
void invalidateInParentLocked(Window& w, HRGN area) {
  RECT box;
  if (GetRgnBox(area, &box) == NULLREGION) return;
  HRGN inClient = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(inClient, area, nullptr, RGN_COPY);
  OffsetRgn(inClient, -w.clientRect.left, -w.clientRect.top);
  redrawLocked(w, inClient, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | (reachesFrame(w, area) ? RDW_FRAME : 0), true);
  DeleteObject(inClient);
}

// Lock held. Siblings that were below `w` and are above it now show the
// parts of them it covered.
void repaintSiblingsRaisedOverLocked(Window& w, const PlaceBefore& before) {
  auto wasAt = std::find(before.siblings.begin(), before.siblings.end(), w.handle);
  if (wasAt == before.siblings.end()) return;
  const std::unordered_set<HWND> below(std::next(wasAt), before.siblings.end());
  for (Window* s : w.parent->children) {
    if (s == &w) break;  // the siblings above it now
    if (!(s->style & WS_VISIBLE) || !below.count(s->handle)) continue;
    HRGN covered = CreateRectRgnIndirect(&before.windowRect);
    HRGN area = CreateRectRgnIndirect(&s->windowRect);
    CombineRgn(area, area, covered, RGN_AND);
    invalidateInParentLocked(*s, area);
    DeleteObject(area);
    DeleteObject(covered);
  }
}

// Lock held. Ancestors that paint over their children and still owe a paint
// where the window now stands would cover pixels it keeps: it repaints
// there after them (parents are painted before their children).
void followAncestorsUpdateLocked(Window& w) {
  POINT self = clientOriginOnScreen(w.parent);
  for (Window* a = w.parent; a && !a->isDesktop(); a = a->parent) {
    if ((a->style & WS_CLIPCHILDREN) || !a->update) continue;
    POINT o = clientOriginOnScreen(a);
    HRGN owed = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(owed, a->update, nullptr, RGN_COPY);
    OffsetRgn(owed, o.x - self.x, o.y - self.y);
    HRGN area = CreateRectRgnIndirect(&w.windowRect);
    CombineRgn(area, area, owed, RGN_AND);
    invalidateInParentLocked(w, area);
    DeleteObject(area);
    DeleteObject(owed);
  }
}

}  // namespace

PlaceBefore::~PlaceBefore() {
  if (ownPixels) DeleteObject(ownPixels);
}

void recordPlaceLocked(Window& w, PlaceBefore& before, bool zOrderChanges, bool keepsPixels) {
  before.windowRect = w.windowRect;
  before.visible = reallyVisible(&w);
  if (before.ownPixels) DeleteObject(before.ownPixels);
  before.ownPixels = nullptr;
  before.siblings.clear();
  if (!w.isChild() || !w.parent || w.parent->isDesktop()) return;
  if (before.visible && keepsPixels) before.ownPixels = ownPixelsInParentLocked(&w);
  if (zOrderChanges)
    for (Window* s : w.parent->children) before.siblings.push_back(s->handle);
}

void copySurfacePixels(cairo_surface_t* surface, HRGN landing, int dx, int dy) {
  DWORD size = GetRegionData(landing, 0, nullptr);
  if (!surface || !size) return;
  std::vector<BYTE> bytes(size);
  auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
  if (!GetRegionData(landing, size, data) || !data->rdh.nCount) return;
  cairo_surface_flush(surface);
  cairo_t* cr = cairo_create(surface);
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    cairo_rectangle(cr, rects[i].left, rects[i].top, rects[i].right - rects[i].left, rects[i].bottom - rects[i].top);
  cairo_clip(cr);
  // Through a group: source and landing may overlap.
  cairo_push_group(cr);
  cairo_set_source_surface(cr, surface, dx, dy);
  cairo_paint(cr);
  cairo_pop_group_to_source(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_mark_dirty(surface);
}

// What Windows repaints after a change of place, size, z-order or visibility:
// - the parent (and the siblings there) where the window was and is no
//   longer, never where it stands now;
// - a child moved without SWP_NOCOPYBITS, keeping its size and frame, keeps
//   its pixels (copied along); only what it did not show before is painted;
// - a window shown, resized (the layer draws its contents anew at any new
//   size), framed anew or moved with SWP_NOCOPYBITS is painted whole;
// - a top-level window's surface goes with it: a move alone paints nothing.
void repaintAfterMove(HWND hwnd, const PlaceBefore& before, bool sizeChanged, UINT swpFlags) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) return;
  Window* parent = w->isChild() && w->parent && !w->parent->isDesktop() ? w->parent : nullptr;
  const bool visible = reallyVisible(w);
  const bool redrawn = sizeChanged || (swpFlags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED | SWP_NOCOPYBITS));
  if (!parent) {
    if (visible && redrawn) redrawLocked(*w, nullptr, kRepaintWhole, true);
    return;
  }
  if (before.visible) {
    // The whole old rectangle, siblings above it included: a window without
    // WS_CLIPSIBLINGS may have painted over them there.
    HRGN exposed = CreateRectRgnIndirect(&before.windowRect);
    HRGN standing = CreateRectRgnIndirect(&w->windowRect);
    if (visible) CombineRgn(exposed, exposed, standing, RGN_DIFF);
    redrawLocked(*parent, exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN, true);
    DeleteObject(standing);
    DeleteObject(exposed);
  }
  if (visible) {
    POINT origin;
    Window* top = surfaceOwner(parent, true, origin);
    if (redrawn || !before.ownPixels || !top->surface) {
      redrawLocked(*w, nullptr, kRepaintWhole, true);
    } else {
      HRGN now = ownPixelsInParentLocked(w);
      const int dx = w->windowRect.left - before.windowRect.left, dy = w->windowRect.top - before.windowRect.top;
      HRGN kept = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(kept, before.ownPixels, nullptr, RGN_COPY);
      OffsetRgn(kept, dx, dy);
      CombineRgn(kept, kept, now, RGN_AND);
      if (dx || dy) {
        HRGN landing = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(landing, kept, nullptr, RGN_COPY);
        OffsetRgn(landing, origin.x, origin.y);
        copySurfacePixels(top->surface, landing, dx, dy);
        damageSurfaceRegion(*top, landing);
        DeleteObject(landing);
      }
      HRGN fresh = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(fresh, now, kept, RGN_DIFF);
      invalidateInParentLocked(*w, fresh);
      followAncestorsUpdateLocked(*w);
      DeleteObject(fresh);
      DeleteObject(kept);
      DeleteObject(now);
    }
    if (!(swpFlags & SWP_NOZORDER)) repaintSiblingsRaisedOverLocked(*w, before);
  }
}


void notePaintOwedLocked(Window& w) {
  if (w.inPaintList || !w.queue || !owesPaint(w)) return;
  w.inPaintList = true;
  w.queue->owingPaint.push_back(&w);
}

namespace {

// The first window of the tree under `w` (z-order, each window before its
// descendants) that is marked as a candidate, or nullptr.
Window* firstCandidateUnder(Window* w) {
  for (Window* c : w->children) {
    if (c->paintCandidate) return c;
    if (Window* found = firstCandidateUnder(c)) return found;
  }
  return nullptr;
}

}  // namespace

HWND windowNeedingPaintLocked(ThreadQueue& q, HWND filter) {
  // Only the windows that were given something to paint are looked at;
  // those that painted since leave the list here.
  std::vector<Window*> candidates;
  std::erase_if(q.owingPaint, [&](Window* w) {
    if (!owesPaint(*w)) {
      w->inPaintList = false;
      return true;
    }
    if (reallyVisible(w) && passesFilterLocked(w->handle, WM_PAINT, filter, 0, 0)) candidates.push_back(w);
    return false;
  });
  if (candidates.size() <= 1) return candidates.empty() ? nullptr : candidates.front()->handle;
  // Several: the first in the tree, as Windows looks (a parent before its children).
  for (Window* c : candidates) c->paintCandidate = true;
  Window* first = firstCandidateUnder(desktopLocked());
  for (Window* c : candidates) c->paintCandidate = false;
  return (first ? first : candidates.front())->handle;
}

namespace {

void updateNow(HWND hwnd, bool eraseOnly, bool children) {
  bool needs, frame, erase;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) return;
    needs = owesPaint(*w);
    frame = w->frameNeeded;
    erase = w->eraseNeeded;
  }
  // WM_PAINT's BeginPaint paints the frame it owes; otherwise it is painted here.
  if (frame && (eraseOnly || !needs)) {
    {
      Lock lock(userMutex());
      if (Window* w = findLocked(hwnd)) w->frameNeeded = false;
    }
    SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  }
  if (eraseOnly) {
    if (erase) {
      HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_INTERSECTUPDATE);
      {
        Lock lock(userMutex());
        if (Window* w = findLocked(hwnd)) w->eraseNeeded = false;
      }
      if (dc) {
        SendMessageA(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0);
        ReleaseDC(hwnd, dc);
      }
    }
  } else if (needs) {
    SendMessageA(hwnd, WM_PAINT, 0, 0);
  }
  if (!children) return;
  std::vector<HWND> kids;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) return;
    for (Window* c : w->children)
      if (c->style & WS_VISIBLE) kids.push_back(c->handle);
  }
  for (HWND k : kids) updateNow(k, eraseOnly, true);
}

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  {
    Lock lock(userMutex());
    Window* w = hwnd ? findLocked(hwnd) : desktopLocked();
    if (!w) {
      setWindowError();
      return FALSE;
    }
    HRGN area = nullptr;
    if (rgn) {
      area = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(area, rgn, nullptr, RGN_COPY);
    } else if (rect) {
      area = CreateRectRgnIndirect(rect);
    }
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_NOFRAME))
      redrawLocked(*w, area, flags, true);
    if (area) DeleteObject(area);
    hwnd = w->handle;
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) updateNow(hwnd, !(flags & RDW_UPDATENOW), !(flags & RDW_NOCHILDREN));
  return TRUE;
}

extern "C" BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

extern "C" BOOL WINAPI InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

extern "C" BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

extern "C" BOOL WINAPI ValidateRgn(HWND hwnd, HRGN rgn) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

extern "C" BOOL WINAPI UpdateWindow(HWND hwnd) {
  return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

extern "C" BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  bool any;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) {
      setWindowError();
      return FALSE;
    }
    RECT box{};
    any = hasUpdate(*w);
    if (any) GetRgnBox(w->update, &box);
    if (rect) *rect = box;
  }
  if (any && erase) updateNow(hwnd, true, false);
  return any;
}

extern "C" int WINAPI GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  int type;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) {
      setWindowError();
      return ERROR;
    }
    if (!rgn) return ERROR;
    if (w->update) type = CombineRgn(rgn, w->update, nullptr, RGN_COPY);
    else type = SetRectRgn(rgn, 0, 0, 0, 0) ? NULLREGION : ERROR;
  }
  if (erase && type != NULLREGION && type != ERROR) updateNow(hwnd, true, false);
  return type;
}

extern "C" HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  if (!ps) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!IsWindow(hwnd)) {
    setWindowError();
    return nullptr;
  }
  hideCaretForPaint(hwnd, true);
  bool frame;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) return nullptr;
    frame = w->frameNeeded;
    w->frameNeeded = false;
  }
  if (frame) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  bool erase;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) {
      DeleteObject(update);
      return nullptr;
    }
    if (w->update) CombineRgn(update, w->update, nullptr, RGN_COPY);
    if (w->update) DeleteObject(w->update);
    w->update = nullptr;
    validateAncestorsLocked(*w, update, frame);
    w->internalPaint = false;
    erase = w->eraseNeeded;
    w->eraseNeeded = false;
  }
  *ps = PAINTSTRUCT{};
  HDC dc = makeWindowDC(hwnd, true, update, (GetWindowLongA(hwnd, GWL_STYLE) & WS_CLIPCHILDREN) != 0);
  GetRgnBox(update, &ps->rcPaint);
  DeleteObject(update);
  ps->hdc = dc;
  if (dc && erase) ps->fErase = !SendMessageA(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0);
  return dc;
}

namespace win32::user {
namespace {
// Is `dc` the own DC of its window (kept, never released)?
bool isOwnDC(HDC dc) {
  HWND owner = win32::gdi::windowOfDC(dc);
  Lock lock(userMutex());
  Window* w = findLocked(owner);
  return w && w->ownDC == dc;
}
}  // namespace
}  // namespace win32::user

extern "C" BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) {
    SetLastError(ERROR_INVALID_PARAMETER);  // nothing says which paint ends
    return FALSE;
  }
  if (ps->hdc && !isOwnDC(ps->hdc)) win32::gdi::releaseSurfaceDC(ps->hdc);
  hideCaretForPaint(hwnd, false);
  return TRUE;
}

extern "C" HDC WINAPI GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (!hwnd) return CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  bool client = !(flags & DCX_WINDOW);
  HRGN extra = nullptr;
  if ((flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) && clip) {
    extra = CreateRectRgn(-0x4000000, -0x4000000, 0x4000000, 0x4000000);
    CombineRgn(extra, extra, clip, (flags & DCX_INTERSECTRGN) ? RGN_AND : RGN_DIFF);
  }
  if (flags & DCX_INTERSECTUPDATE) {
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hwnd, update, FALSE);
    if (extra) {
      CombineRgn(extra, extra, update, RGN_AND);
      DeleteObject(update);
    } else {
      extra = update;
    }
  }
  DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (client && (style & WS_CLIPCHILDREN));
  HDC dc = makeWindowDC(hwnd, client, extra, clipChildren);
  if (extra) DeleteObject(extra);
  return dc;
}

extern "C" HDC WINAPI GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_CACHE); }

extern "C" HDC WINAPI GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_CACHE); }

extern "C" int WINAPI ReleaseDC(HWND hwnd, HDC dc) {
  if (!dc) return 0;
  if (isOwnDC(dc)) return 1;  // stays with its window
  if (win32::gdi::windowOfDC(dc) || win32::gdi::surfaceOfDC(dc)) {
    win32::gdi::releaseSurfaceDC(dc);
    return 1;
  }
  return DeleteDC(dc) ? 1 : 0;
}

extern "C" HWND WINAPI WindowFromDC(HDC dc) { return win32::gdi::windowOfDC(dc); }

extern "C" BOOL WINAPI LockWindowUpdate(HWND hwnd) {
  // Drawing is never suspended here; Windows answers FALSE while another window is locked.
  static HWND locked = nullptr;
  Lock lock(userMutex());
  if (hwnd && locked && findLocked(locked)) return FALSE;
  if (hwnd && !findLocked(hwnd)) {
    setWindowError();
    return FALSE;
  }
  locked = hwnd;
  return TRUE;
}

extern "C" int WINAPI ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clipRect,
                                     HRGN updateRgn, LPRECT updateRect, UINT flags) {
  RECT area, clip;
  cairo_surface_t* surface = nullptr;
  HWND surfaceWindow = nullptr;
  POINT origin{};
  bool visible;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) {
      setWindowError();
      return ERROR;
    }
    area = scroll ? *scroll : clientSize(*w);
    clip = clipRect ? *clipRect : clientSize(*w);
    RECT client = clientSize(*w);
    IntersectRect(&clip, &clip, &client);
    Window* top = surfaceOwner(w, true, origin);
    surface = top->surface;
    surfaceWindow = top->handle;
    visible = reallyVisible(w);
    // Pending update moves with the pixels (and what leaves the client area goes).
    if (w->update) {
      OffsetRgn(w->update, dx, dy);
      RECT size = clientSize(*w);
      HRGN bounds = CreateRectRgnIndirect(&size);
      CombineRgn(w->update, w->update, bounds, RGN_AND);
      DeleteObject(bounds);
      if (regionEmpty(w->update)) {
        DeleteObject(w->update);
        w->update = nullptr;
      }
    }
  }
  RECT src;
  IntersectRect(&src, &area, &clip);
  RECT dst = src;
  OffsetRect(&dst, dx, dy);
  RECT moved;
  bool anyMoved = IntersectRect(&moved, &dst, &src);
  if (surface && anyMoved && visible) {
    HRGN landing = CreateRectRgn(origin.x + moved.left, origin.y + moved.top, origin.x + moved.right,
                                 origin.y + moved.bottom);
    copySurfacePixels(surface, landing, dx, dy);
    damageSurfaceRegion(surfaceWindow, landing);
    DeleteObject(landing);
  }
  // What scrolled in is exposed: the source area minus where pixels landed.
  HRGN exposed = CreateRectRgnIndirect(&src);
  if (anyMoved) {
    HRGN landed = CreateRectRgnIndirect(&moved);
    CombineRgn(exposed, exposed, landed, RGN_DIFF);
    DeleteObject(landed);
  }
  int type = GetRgnBox(exposed, updateRect ? updateRect : &moved);
  if (updateRgn) CombineRgn(updateRgn, exposed, nullptr, RGN_COPY);
  if (flags & SW_INVALIDATE)
    RedrawWindow(hwnd, nullptr, exposed, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) | RDW_ALLCHILDREN);
  DeleteObject(exposed);
  if (flags & SW_SCROLLCHILDREN) {
    std::vector<std::pair<HWND, RECT>> kids;
    {
      Lock lock(userMutex());
      if (Window* w = findLocked(hwnd))
        for (Window* c : w->children) kids.emplace_back(c->handle, c->windowRect);
    }
    for (auto& [k, r] : kids)
      SetWindowPos(k, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  return type;
}

extern "C" BOOL WINAPI ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clip) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (rect ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(hwnd, dx, dy, rect, clip, nullptr, nullptr, flags) != ERROR;
}
