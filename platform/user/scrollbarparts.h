// The parts of a scroll bar - two arrows, the track and the thumb - their
// geometry, hit testing, painting and the range arithmetic, shared by the
// standard scroll bars of windows (scrollbar.cpp, ncpaint.cpp) and the
// "ScrollBar" control (scrollctl.cpp).
#pragma once

#include "window.h"

namespace win32::user::scrollbars {

// Hit-test answers: the SB_* code a press on the part starts, or these.
constexpr int kNowhere = -1;
constexpr int kThumb = SB_THUMBTRACK;

struct Layout {
  bool vertical = true;
  RECT bar{};
  RECT first{}, last{};  // the up/left and down/right arrows
  RECT thumb{};          // empty when the bar has no thumb (disabled or too small)
  int trackStart = 0, trackLength = 0;  // along the bar, between the arrows
  int thumbLength = 0;
};

// The highest position the thumb can reach: max - page + 1 with a page, as Windows clamps.
int maxPosition(const ScrollBarState& s);
// Applies SIF_RANGE / SIF_PAGE / SIF_POS of `si` and clamps the position; answers it.
int applyScrollInfo(ScrollBarState& s, const SCROLLINFO& si);
void readScrollInfo(const ScrollBarState& s, SCROLLINFO& si);
// A bar whose range scrolls nothing.
bool scrollsNothing(const ScrollBarState& s);

Layout layoutOf(const RECT& bar, bool vertical, const ScrollBarState& s, bool enabled);
// What a press at `p` (same coordinates as the bar) hits: SB_LINEUP, SB_LINEDOWN,
// SB_PAGEUP, SB_PAGEDOWN, kThumb or kNowhere.
int hitTest(const Layout& layout, POINT p);
// The position the thumb stands for when its leading edge is at `along`
// (pixels from the bar's start).
int positionAt(const Layout& layout, const ScrollBarState& s, int along);

// Paints the bar. `pressed` is the part held down (hitTest's answer) or
// kNowhere; `track` the brush of the track; `focused` marks the thumb.
void paint(HDC dc, const Layout& layout, const ScrollBarState& s, bool enabled, int pressed, HBRUSH track,
           bool focused);

}  // namespace win32::user::scrollbars

namespace win32::user {
// ncpaint.cpp: draws the window's standard scroll bar `which` (SB_HORZ,
// SB_VERT or SB_BOTH) now, and nothing else of the window.
void paintScrollBars(HWND hwnd, int which);
}  // namespace win32::user
