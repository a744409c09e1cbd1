// Geometry, hit testing, painting and range arithmetic of scroll bars (see
// scrollbarparts.h).
#include "scrollbarparts.h"

#include <algorithm>

namespace win32::user::scrollbars {
namespace {

constexpr int kMinThumb = 8;  // pixels: a thumb never shrinks below this

bool arrowDisabled(const ScrollBarState& s, bool first) {
  return (s.disabledArrows & (first ? ESB_DISABLE_LTUP : ESB_DISABLE_RTDN)) != 0;
}

RECT along(const Layout& l, int from, int to) {
  return l.vertical ? RECT{l.bar.left, l.bar.top + from, l.bar.right, l.bar.top + to}
                    : RECT{l.bar.left + from, l.bar.top, l.bar.left + to, l.bar.bottom};
}

}  // namespace

int maxPosition(const ScrollBarState& s) { return s.page ? std::max(s.min, s.max - (int)s.page + 1) : s.max; }

bool scrollsNothing(const ScrollBarState& s) { return s.min >= s.max || (s.page && (int)s.page > s.max - s.min); }

int applyScrollInfo(ScrollBarState& s, const SCROLLINFO& si) {
  if (si.fMask & SIF_RANGE) {
    s.min = si.nMin;
    s.max = si.nMax;
    s.rangeSet = true;
  }
  if (si.fMask & SIF_PAGE) s.page = (int)std::min<UINT>(si.nPage, (UINT)std::max(0, s.max - s.min + 1));
  if (si.fMask & SIF_POS) s.pos = si.nPos;
  s.pos = std::clamp(s.pos, s.min, std::max(s.min, maxPosition(s)));
  return s.pos;
}

void readScrollInfo(const ScrollBarState& s, SCROLLINFO& si) {
  if (si.fMask & SIF_RANGE) {
    si.nMin = s.min;
    si.nMax = s.max;
  }
  if (si.fMask & SIF_PAGE) si.nPage = (UINT)s.page;
  if (si.fMask & SIF_POS) si.nPos = s.pos;
  if (si.fMask & SIF_TRACKPOS) si.nTrackPos = s.trackPos;
}

Layout layoutOf(const RECT& bar, bool vertical, const ScrollBarState& s, bool enabled) {
  Layout l;
  l.vertical = vertical;
  l.bar = bar;
  int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  // Arrows are square; a bar too short for two shares its length between them.
  int arrow = std::min(thickness, length / 2);
  l.first = along(l, 0, arrow);
  l.last = along(l, length - arrow, length);
  l.trackStart = arrow;
  l.trackLength = std::max(0, length - 2 * arrow);
  int range = maxPosition(s) - s.min;
  if (!enabled || scrollsNothing(s) || s.disabledArrows == ESB_DISABLE_BOTH) return l;
  // The thumb's share of the track is the page's share of the range; a bar without page has a square thumb.
  int thumb = s.page ? (int)((long long)l.trackLength * s.page / std::max(1, s.max - s.min + 1)) : thickness;
  thumb = std::max(thumb, std::min(kMinThumb, thickness));
  if (thumb >= l.trackLength) return l;
  l.thumbLength = thumb;
  int offset = range > 0 ? (int)((long long)(l.trackLength - thumb) * (s.pos - s.min) / range) : 0;
  l.thumb = along(l, arrow + offset, arrow + offset + thumb);
  return l;
}

int hitTest(const Layout& l, POINT p) {
  if (!PtInRect(&l.bar, p)) return kNowhere;
  if (PtInRect(&l.first, p)) return SB_LINEUP;
  if (PtInRect(&l.last, p)) return SB_LINEDOWN;
  if (IsRectEmpty(&l.thumb)) return kNowhere;
  if (PtInRect(&l.thumb, p)) return kThumb;
  int at = l.vertical ? p.y : p.x;
  int thumbStart = l.vertical ? l.thumb.top : l.thumb.left;
  return at < thumbStart ? SB_PAGEUP : SB_PAGEDOWN;
}

int positionAt(const Layout& l, const ScrollBarState& s, int leading) {
  int room = l.trackLength - l.thumbLength;
  if (room <= 0) return s.min;
  int offset = std::clamp(leading - l.trackStart, 0, room);
  int range = maxPosition(s) - s.min;
  // The first position whose thumb stands at `offset` (the inverse of layoutOf's rounding down).
  return s.min + (int)(((long long)offset * range + room - 1) / room);
}

void paint(HDC dc, const Layout& l, const ScrollBarState& s, bool enabled, int pressed, HBRUSH track, bool focused) {
  bool useless = scrollsNothing(s);
  UINT firstGlyph = l.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
  UINT lastGlyph = l.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
  RECT first = l.first, last = l.last;
  auto arrowState = [&](bool isFirst) {
    UINT state = 0;
    if (!enabled || useless || arrowDisabled(s, isFirst)) state |= DFCS_INACTIVE;
    if (pressed == (isFirst ? SB_LINEUP : SB_LINEDOWN)) state |= DFCS_PUSHED;
    return state;
  };
  DrawFrameControl(dc, &first, DFC_SCROLL, firstGlyph | arrowState(true));
  DrawFrameControl(dc, &last, DFC_SCROLL, lastGlyph | arrowState(false));
  RECT trackRect = along(l, l.trackStart, l.trackStart + l.trackLength);
  FillRect(dc, &trackRect, track);
  if (IsRectEmpty(&l.thumb)) return;
  // The part of the track held down shows dark.
  if (pressed == SB_PAGEUP || pressed == SB_PAGEDOWN) {
    RECT held = trackRect;
    if (pressed == SB_PAGEUP) {
      (l.vertical ? held.bottom : held.right) = l.vertical ? l.thumb.top : l.thumb.left;
    } else {
      (l.vertical ? held.top : held.left) = l.vertical ? l.thumb.bottom : l.thumb.right;
    }
    FillRect(dc, &held, GetSysColorBrush(COLOR_3DDKSHADOW));
  }
  RECT thumb = l.thumb;
  DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  if (focused) {
    RECT mark = l.thumb;
    InflateRect(&mark, -3, -3);
    DrawFocusRect(dc, &mark);
  }
}

}  // namespace win32::user::scrollbars
