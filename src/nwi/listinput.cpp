// The list's keyboard and mouse: click selection by selection style, the
// movement keys, and the press-drag-release of the mouse through the
// library's tracking loop. While the button is held (flag 0x20) the current
// item moves without filling the links; the release reports the change once.
#include <algorithm>

#include "listcontrol.h"
#include "tracking.h"

namespace {

bool keyHeld(int key) { return GetKeyState(key) < 0; }
bool multiColumn(const HLRecord* r) { return (r->head.style & HLS_MULTICOLUMN) != 0; }

// The index a movement key leads to, or the current one for other keys.
int movedIndex(HLRecord* r, UINT key) {
  const int count = HLCount(r);
  const int current = r->current;
  const int page = (r->head.style & HLS_SINGLEITEM) ? 5 : std::max(r->visibleRows - 2, 1);
  const int sideStep = multiColumn(r) ? std::max(r->visibleRows, 1) : 1;
  switch (key) {
    case VK_HOME: return 0;
    case VK_END: return count - 1;
    case VK_UP: return current - 1;
    case VK_DOWN: return current + 1;
    case VK_LEFT: return multiColumn(r) && current - sideStep < 0 ? current : current - sideStep;
    case VK_RIGHT: return multiColumn(r) && current + sideStep >= count ? current : current + sideStep;
    case VK_PRIOR: return current - page;
    case VK_NEXT: return current + page;
    default: return current;
  }
}

}  // namespace

void HLClickSelect(HLRecord* r, int index, bool shift, bool ctrl) {
  if (index < 0 || index >= HLCount(r)) return;
  const DWORD style = r->head.style;
  if (style & HLS_MULTIPLE) {
    HLSelectOne(r, index, 2);
    HLSetCurrent(r, index, TRUE, FALSE);
    return;
  }
  if (!(style & HLS_EXTENDED)) {
    HLSetCurrent(r, index, TRUE, FALSE);
    return;
  }
  const int anchor = r->anchor >= 0 ? r->anchor : index;
  if (ctrl && !shift) {
    HLSelectOne(r, index, 2);
    if (HLIsItemSelected(r, index)) r->head.flags |= HLF_RANGESELECTS;
    else r->head.flags &= ~HLF_RANGESELECTS;
    HLSetCurrent(r, index, TRUE, FALSE);
    return;
  }
  if (ctrl) {
    HLSelectRange(r, anchor, index, (r->head.flags & HLF_RANGESELECTS) ? 1 : 0);
  } else {
    HLClearSelection(r);
    if (shift) HLSelectRange(r, anchor, index, 1);
    else HLSelectOne(r, index, 1);
  }
  r->anchor = anchor;
  HLSetCurrent(r, index, TRUE, shift);
}

LRESULT HLKeyDown(HLRecord* r, UINT key) {
  const bool shift = keyHeld(VK_SHIFT);
  switch (key) {
    case VK_HOME: case VK_END: case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_PRIOR: case VK_NEXT: {
      const int count = HLCount(r);
      if (count == 0) return 0;
      const int index = std::clamp(movedIndex(r, key), 0, count - 1);
      // Moving through a multiple-selection list selects nothing.
      if (r->head.style & HLS_MULTIPLE) HLSetCurrent(r, index, TRUE, FALSE);
      else HLClickSelect(r, index, shift, false);
      return 0;
    }
    case VK_SPACE: HLClickSelect(r, r->current, shift, keyHeld(VK_CONTROL)); return 0;
    case VK_TAB:
      SendMessageA(GetParent(r->head.window), WM_NEXTDLGCTL, shift ? 1 : 0, 0);
      HCtlNotify(&r->head, shift ? HL_N_BACKTAB : HL_N_TAB);
      return 0;
    case VK_RETURN: HCtlNotify(&r->head, HL_N_ENTER); return 0;
    case VK_ESCAPE: HCtlNotify(&r->head, HL_N_ESCAPE); return 0;
    case VK_F1: HCtlNotify(&r->head, HL_N_HELP); return 0;
    default: return 0;
  }
}

void HLMouse(HLRecord* r, UINT message, WPARAM keys, int x, int y) {
  HWND window = r->head.window;
  switch (message) {
    case WM_LBUTTONDOWN: {
      // The class decides who takes the focus: the list, or a combo's face.
      if (GetFocus() != window)
        SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(GetAncestor(window, GA_ROOT)),
                     MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
      r->pressIndex = r->current;
      r->head.flags |= HLF_TRACKING;
      if (r->head.style & HLS_EXTENDED) r->head.flags |= HLF_RANGE;
      HLClickSelect(r, HLItemAt(r, x, y), (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0);
      SetCapture(window);
      if (!(r->head.style & HLS_SINGLEITEM)) HCtlTrackCapture(&r->head, multiColumn(r));
      return;
    }
    case WM_MOUSEMOVE: {
      if (!(r->head.flags & HLF_TRACKING)) return;
      RECT client = r->client;
      int index = HLItemAt(r, x, y);
      // Beyond the top or bottom edge the list scrolls one item at a time.
      if (y < client.top) index = std::max(r->top - 1, 0);
      else if (y >= client.bottom) index = std::min(r->top + r->visibleRows, HLCount(r) - 1);
      if (index < 0 || index == r->current) return;
      if (r->head.style & HLS_EXTENDED) HLClickSelect(r, index, true, (keys & MK_CONTROL) != 0);
      else if (!(r->head.style & HLS_MULTIPLE)) HLSetCurrent(r, index, TRUE, FALSE);
      else HLSetCurrent(r, index, FALSE, FALSE);
      return;
    }
    case WM_LBUTTONUP: {
      if (!(r->head.flags & HLF_TRACKING)) return;
      r->head.flags &= ~(HLF_TRACKING | HLF_RANGE);
      if (GetCapture() == window) ReleaseCapture();
      if (r->current != r->pressIndex) {
        HLFillLinks(r);
        r->head.flags |= HLF_USERCHANGE;
        HCtlNotify(&r->head, HL_N_CHANGE);
      }
      return;
    }
    case WM_LBUTTONDBLCLK: HCtlNotify(&r->head, HL_N_DBLCLK); return;
    default: return;
  }
}
