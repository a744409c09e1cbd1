// Keyboard and mouse of a list box: navigation keys, type-ahead by first
// letter, and clicks in the three selection modes (single, LBS_MULTIPLESEL
// toggling, LBS_EXTENDEDSEL with shift ranges and ctrl toggles).
#include "combobox.h"
#include "listbox.h"

#include <algorithm>

namespace win32::user {
namespace {

bool keyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Moves the caret to `target` the way an arrow key does in each mode.
void navigate(ListBox& lb, int target, bool shift, bool ctrl) {
  int n = lb.count();
  if (n == 0) return;
  target = std::clamp(target, 0, n - 1);
  if (lb.style & LBS_NOSEL) {
    // Items of an LBS_NOSEL list are looked at, never selected.
    moveCaret(lb, target);
    ensureVisible(lb, target);
    return;
  }
  if (!lb.multiple()) {
    int old = lb.current;
    selectSingle(lb, target);
    ensureVisible(lb, target);
    if (old != lb.current) notifyList(lb, LBN_SELCHANGE);
    return;
  }
  if (lb.extended() && !ctrl) {
    if (shift && lb.anchor >= 0) {
      int first = std::min(lb.anchor, target), last = std::max(lb.anchor, target);
      setRange(lb, 0, first - 1, false);
      setRange(lb, first, last, true);
      setRange(lb, last + 1, n - 1, false);
    } else {
      setRange(lb, 0, n - 1, false);
      setSelected(lb, target, true);
      lb.anchor = target;
    }
  }
  moveCaret(lb, target);
  ensureVisible(lb, target);
  // Multiple-selection lists report every navigation key, changed or not (as Windows does).
  notifyList(lb, LBN_SELCHANGE);
}

int targetOf(ListBox& lb, UINT vk) {
  int caret = lb.multiple() ? lb.caret : (lb.current >= 0 ? lb.current : lb.caret);
  if (caret < 0) return vk == VK_END ? lb.count() - 1 : 0;
  int page = std::max(1, pageRows(lb) - (lb.multiColumn() ? 0 : 1));
  int rows = lb.multiColumn() ? rowsPerColumn(lb) : 1;
  switch (vk) {
    case VK_UP: return caret - 1;
    case VK_DOWN: return caret + 1;
    case VK_LEFT: return caret - rows;
    case VK_RIGHT: return caret + rows;
    case VK_PRIOR: return caret - page;
    case VK_NEXT: return caret + page;
    case VK_HOME: return 0;
    case VK_END: return lb.count() - 1;
    default: return -1;
  }
}

void toggleCaret(ListBox& lb, bool ctrl) {
  if (!lb.valid(lb.caret)) return;
  if (lb.extended() && !ctrl) {
    setRange(lb, 0, lb.count() - 1, false);
    setSelected(lb, lb.caret, true);
  } else {
    setSelected(lb, lb.caret, !lb.items.at(lb.caret).selected);
  }
  lb.anchor = lb.caret;
  notifyList(lb, LBN_SELCHANGE);
}

// Selection by the mouse at `index`: a press (`first`) or a drag over items.
void mouseSelect(ListBox& lb, int index, bool first, UINT keys) {
  if (lb.style & LBS_NOSEL) {
    moveCaret(lb, index);
    return;
  }
  if (!lb.multiple()) {
    int old = lb.current;
    selectSingle(lb, index);
    if (first) lb.anchor = index;
    if (old != lb.current) notifyList(lb, LBN_SELCHANGE);
    return;
  }
  if (!lb.extended()) {
    if (first) {
      lb.anchor = index;
      setSelected(lb, index, !lb.items.at(index).selected);
      notifyList(lb, LBN_SELCHANGE);
    }
    moveCaret(lb, index);
    return;
  }
  bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
  if (first) {
    if (ctrl && !shift) {
      lb.extendedDragState = lb.items.at(index).selected ? 0 : 1;
      setSelected(lb, index, lb.extendedDragState != 0);
      lb.anchor = index;
    } else if (shift && lb.anchor >= 0) {
      if (!ctrl) setRange(lb, 0, lb.count() - 1, false);
      lb.extendedDragState = 1;
      setRange(lb, std::min(lb.anchor, index), std::max(lb.anchor, index), true);
    } else {
      setRange(lb, 0, lb.count() - 1, false);
      setSelected(lb, index, true);
      lb.anchor = index;
      lb.extendedDragState = 1;
    }
  } else {
    // A drag applies the press's state from the anchor to the pointer.
    setRange(lb, 0, lb.count() - 1, false);
    setRange(lb, std::min(lb.anchor, index), std::max(lb.anchor, index), true);
  }
  moveCaret(lb, index);
  notifyList(lb, LBN_SELCHANGE);
}

}  // namespace

void onListKeyDown(ListBox& lb, UINT vk) {
  if ((lb.style & LBS_WANTKEYBOARDINPUT) && !lb.combo) {
    HWND owner = ownerWindow(lb);
    LRESULT r = owner ? SendMessageA(owner, WM_VKEYTOITEM, MAKEWPARAM(vk, std::max(lb.caret, 0)), (LPARAM)lb.self) : -1;
    if (r == -2) return;
    if (r >= 0) {
      navigate(lb, (int)r, false, false);
      return;
    }
  }
  bool shift = keyHeld(VK_SHIFT), ctrl = keyHeld(VK_CONTROL);
  if (vk == VK_SPACE) {
    if (lb.multiple()) toggleCaret(lb, ctrl);
    return;
  }
  int target = targetOf(lb, vk);
  if (target < 0 && vk != VK_UP && vk != VK_LEFT && vk != VK_PRIOR) return;
  navigate(lb, target, shift, ctrl);
}

void onListChar(ListBox& lb, char c) {
  if ((unsigned char)c < ' ') return;
  if (!lb.hasStrings()) {
    if (!(lb.style & LBS_WANTKEYBOARDINPUT)) return;
    HWND owner = ownerWindow(lb);
    LRESULT r = owner ? SendMessageA(owner, WM_CHARTOITEM, MAKEWPARAM((BYTE)c, std::max(lb.caret, 0)), (LPARAM)lb.self)
                      : -1;
    if (r >= 0) navigate(lb, (int)r, false, false);
    return;
  }
  if (c == ' ' && lb.multiple()) return;  // space toggles (WM_KEYDOWN)
  char prefix[2] = {c, 0};
  int from = lb.multiple() ? lb.caret : (lb.current >= 0 ? lb.current : lb.caret);
  int found = findItem(lb, from, prefix, false);
  if (found >= 0) navigate(lb, found, false, false);
}

void onListButtonDown(ListBox& lb, POINT p, UINT keys, bool doubleClick) {
  bool outside = false;
  int index = itemAt(lb, p, outside);
  if (lb.combo) {
    // A dropped list holds the capture: a press outside it ends the drop-down.
    RECT c;
    GetClientRect(lb.self, &c);
    if (!PtInRect(&c, p)) {
      comboListDone(lb.combo, false);
      return;
    }
    // The list of a simple combo leaves the focus with the combo box (its
    // edit) and reports at once; a drop-down reports when it closes.
    bool child = (GetWindowLongA(lb.self, GWL_STYLE) & WS_CHILD) != 0;
    if (child) SetFocus(lb.combo);
    lb.tracking = true;
    if (index >= 0 && child) mouseSelect(lb, index, true, 0);
    else if (index >= 0) selectSingle(lb, index);
    if (doubleClick) notifyList(lb, LBN_DBLCLK);
    return;
  }
  if (!lb.focused) SetFocus(lb.self);
  if (index < 0) return;
  lb.tracking = true;
  SetCapture(lb.self);
  if (!doubleClick) mouseSelect(lb, index, true, keys);
  else notifyList(lb, LBN_DBLCLK);
}

void onListMouseMove(ListBox& lb, POINT p) {
  if (lb.count() == 0) return;
  RECT c;
  GetClientRect(lb.self, &c);
  if (lb.combo) {
    // The drop-down follows the pointer over its items, button down or not;
    // the list of a simple combo only while the button is down.
    bool dropDown = !(GetWindowLongA(lb.self, GWL_STYLE) & WS_CHILD);
    if (!PtInRect(&c, p) || (!dropDown && !lb.tracking)) return;
    bool outside = false;
    int index = itemAt(lb, p, outside);
    if (!outside && index != lb.current) {
      selectSingle(lb, index);
      if (lb.tracking && !dropDown) notifyList(lb, LBN_SELCHANGE);
    }
    return;
  }
  if (!lb.tracking) return;
  // Dragging past the top or bottom scrolls by one item.
  if (!lb.multiColumn()) {
    if (p.y < 0) setTop(lb, lb.top - 1);
    else if (p.y >= c.bottom) setTop(lb, lb.top + 1);
  }
  bool outside = false;
  int index = itemAt(lb, p, outside);
  if (index < 0) return;
  if (p.y >= c.bottom) index = std::min(lb.count() - 1, lb.top + pageRows(lb) - 1);
  if (lb.multiple() ? index != lb.caret : index != lb.current) mouseSelect(lb, index, false, 0);
}

void onListButtonUp(ListBox& lb, POINT p) {
  if (!lb.tracking) return;
  lb.tracking = false;
  if (lb.combo) {
    // A release over an item chooses it, also at the end of the press that
    // dropped the list; a release elsewhere leaves the list down.
    RECT c;
    GetClientRect(lb.self, &c);
    if (PtInRect(&c, p)) comboListDone(lb.combo, true);
    return;
  }
  if (GetCapture() == lb.self) ReleaseCapture();
}

}  // namespace win32::user
