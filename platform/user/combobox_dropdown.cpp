// Dropping a combo box's list and closing it again, and the keys and clicks
// that do it. The owner hears, in this order: CBN_DROPDOWN before the list
// shows; on closing, CBN_SELCHANGE when the chosen item is not the one it
// last heard of, CBN_SELENDOK (chosen) or CBN_SELENDCANCEL, then
// CBN_CLOSEUP once the list is hidden.
#include "combobox.h"

#include "listbox.h"

#include <algorithm>

namespace win32::user {

RECT droppedRect(ComboBox& cb) {
  RECT w{};
  GetWindowRect(cb.self, &w);
  int width = std::max<int>(cb.droppedWidth, w.right - w.left);
  int height = cb.dropHeight;
  // A short list shrinks to its items (and at least one item's room), plus the border.
  int count = (int)SendMessageA(cb.list, LB_GETCOUNT, 0, 0);
  int item = (int)SendMessageA(cb.list, LB_GETITEMHEIGHT, 0, 0);
  if (item > 0) {
    int border = 2 * GetSystemMetrics(SM_CYBORDER);
    int wanted = std::max(1, count) * item + border;
    if (!(cb.style & CBS_OWNERDRAWVARIABLE)) height = std::min(height, wanted);
    height = std::max(height, item + border);
  }
  return RECT{w.left, w.bottom, w.left + width, w.bottom + height};
}

void dropDown(ComboBox& cb, bool fromMouse) {
  if (cb.dropped || cb.simple()) return;
  notifyCombo(cb, CBN_DROPDOWN);
  if (!IsWindow(cb.self)) return;
  RECT r = droppedRect(cb);
  cb.dropped = true;
  cb.notifiedSelection = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  SetWindowPos(cb.list, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (cb.notifiedSelection >= 0) SendMessageA(cb.list, LB_SETTOPINDEX, cb.notifiedSelection, 0);
  // The list takes the mouse: a click anywhere else closes it. A press that
  // dropped the list goes on in it, so releasing over an item chooses it.
  SetCapture(cb.list);
  if (ListBox* lb = listOf(cb.list)) lb->tracking = fromMouse;
  InvalidateRect(cb.self, nullptr, FALSE);
}

void closeUp(ComboBox& cb, bool ok) {
  if (!cb.dropped) return;
  cb.dropped = false;
  cb.buttonPressed = false;
  int current = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  if (ok && current != cb.notifiedSelection) {
    cb.notifiedSelection = current;
    showSelection(cb);
    notifyCombo(cb, CBN_SELCHANGE);
  } else if (!ok && current != cb.notifiedSelection) {
    // Items the pointer passed over were never chosen.
    SendMessageA(cb.list, LB_SETCURSEL, cb.notifiedSelection, 0);
  }
  notifyCombo(cb, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!IsWindow(cb.self) || !cb.list) return;
  if (GetCapture() == cb.list) ReleaseCapture();
  ShowWindow(cb.list, SW_HIDE);
  InvalidateRect(cb.self, nullptr, FALSE);
  notifyCombo(cb, CBN_CLOSEUP);
}

bool comboKey(ComboBox& cb, UINT vk, bool alt) {
  if (cb.simple()) {
    // The list of a simple combo takes the moving keys; the edit keeps the others.
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT) {
      SendMessageA(cb.list, WM_KEYDOWN, vk, 0);
      return true;
    }
    return false;
  }
  bool toggle = (alt && (vk == VK_DOWN || vk == VK_UP)) || (vk == VK_F4 && !alt && !cb.extendedUI);
  if (toggle) {
    if (cb.dropped) closeUp(cb, true);
    else dropDown(cb, false);
    return true;
  }
  if (cb.dropped && (vk == VK_RETURN || vk == VK_ESCAPE)) {
    closeUp(cb, vk == VK_RETURN);
    return true;
  }
  if (vk == VK_DOWN && cb.extendedUI && !cb.dropped) {
    dropDown(cb, false);
    return true;
  }
  bool listKey = vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT ||
                 (cb.dropList() && (vk == VK_HOME || vk == VK_END || vk == VK_LEFT || vk == VK_RIGHT));
  if (!listKey) return false;
  if (vk == VK_LEFT) vk = VK_UP;
  if (vk == VK_RIGHT) vk = VK_DOWN;
  SendMessageA(cb.list, WM_KEYDOWN, vk, 0);
  return true;
}

void comboButtonDown(ComboBox& cb, POINT p) {
  if (!cb.edit && GetFocus() != cb.self) SetFocus(cb.self);
  if (cb.simple()) return;
  RECT button = buttonRect(cb);
  bool onButton = PtInRect(&button, p) != 0;
  if (!onButton && !cb.dropList()) return;
  if (cb.edit && GetFocus() != cb.edit) SetFocus(cb.edit);
  if (cb.dropped) {
    closeUp(cb, true);
    return;
  }
  cb.buttonPressed = onButton;
  dropDown(cb, true);
}

void comboButtonUp(ComboBox& cb) {
  if (!cb.buttonPressed) return;
  cb.buttonPressed = false;
  InvalidateRect(cb.self, nullptr, FALSE);
}

// The edit child's keys: the combo box sees the ones that drop, close and
// move the list first (the edit of a combo never gets them).
LRESULT CALLBACK comboEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND combo = GetParent(hwnd);
  ComboBox* cb = comboOf(combo);
  if (!cb || !cb->editProc) return DefWindowProcA(hwnd, msg, wParam, lParam);
  WNDPROC own = cb->editProc;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (comboKey(*cb, (UINT)wParam, msg == WM_SYSKEYDOWN && (lParam & (1 << 29)))) return 0;
      break;
    case WM_CHAR:
      // Enter and Esc belong to the list and the dialog, never to the text.
      if (wParam == '\r' || wParam == 27) return 0;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProcA(own, hwnd, msg, wParam, lParam);
      const MSG* m = (const MSG*)lParam;
      if (cb->dropped && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    default: break;
  }
  return CallWindowProcA(own, hwnd, msg, wParam, lParam);
}

}  // namespace win32::user
