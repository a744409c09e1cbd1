// Keyboard navigation of dialogs: IsDialogMessageA, GetNextDlgTabItem and
// GetNextDlgGroupItem.
//
// The dialog manager works with any window class through messages: a
// control says which keys it wants itself with its WM_GETDLGCODE answer
// (asked with the key and the MSG), buttons are clicked with BM_CLICK, and
// the focus moves with WM_NEXTDLGCTL so that DefDlgProcA can follow it with
// the default push button.
//
// The controls of a dialog in tab order are its children in z-order, a child
// with WS_EX_CONTROLPARENT (a dialog inside the dialog) standing for its own
// controls. A group starts at a control with WS_GROUP and runs to the next one.
#include "control.h"
#include "dialog.h"
#include "menu.h"
#include "static.h"

#include <vector>

namespace win32::user {
namespace {

constexpr int kMaxNesting = 16;

DWORD styleOf(HWND hwnd) { return (DWORD)GetWindowLongA(hwnd, GWL_STYLE); }

bool usable(HWND hwnd) {
  DWORD style = styleOf(hwnd);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

void collectControls(HWND parent, std::vector<HWND>& out, int depth) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && depth < kMaxNesting) {
      if (usable(c)) collectControls(c, out, depth + 1);
      continue;
    }
    out.push_back(c);
  }
}

std::vector<HWND> controlsOf(HWND dialog) {
  std::vector<HWND> out;
  collectControls(dialog, out, 0);
  return out;
}

// The place of `control` in the list: itself, or the nearest ancestor that is
// listed (the edit inside a combo box stands for the combo box); -1 for none.
int placeOf(const std::vector<HWND>& list, HWND dialog, HWND control) {
  for (HWND h = control; h && h != dialog; h = GetParent(h)) {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i] == h) return (int)i;
    if (!(styleOf(h) & WS_CHILD)) break;
  }
  return -1;
}

UINT dialogCode(HWND hwnd, WPARAM key = 0, const MSG* msg = nullptr) {
  return (UINT)SendMessageA(hwnd, WM_GETDLGCODE, key, (LPARAM)msg);
}

bool isStaticClass(HWND hwnd) {
  return control::state<statics::StaticState>(hwnd) != nullptr;  // superclasses of "Static" too
}

// The focus goes to `target`: through WM_NEXTDLGCTL in a dialog (whose
// DefDlgProcA also moves the default button); in any other window the
// dialog manager sets it itself, selecting an edit's text as tabbing does.
void focusTo(HWND dialog, HWND target) {
  if (isDialogWindow(dialog)) {
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)target, TRUE);
    return;
  }
  if (dialogCode(target) & DLGC_HASSETSEL) SendMessageA(target, EM_SETSEL, 0, -1);
  SetFocus(target);
}

// Tab and Shift+Tab: the next (previous) tab stop after the focus.
void tabTo(HWND dialog, bool previous) {
  if (isDialogWindow(dialog)) {
    SendMessageA(dialog, WM_NEXTDLGCTL, previous, 0);
    return;
  }
  HWND focus = GetFocus();
  bool inside = focus && focus != dialog && IsChild(dialog, focus);
  HWND target = GetNextDlgTabItem(dialog, inside ? focus : nullptr, previous);
  if (target) focusTo(dialog, target);
}

// Enter: the focused push button when it shows as the default, else the
// dialog's default button (DM_GETDEFID), else IDOK.
void pressDefault(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus) && (dialogCode(focus) & DLGC_DEFPUSHBUTTON)) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), (LPARAM)focus);
    return;
  }
  DWORD def = (DWORD)SendMessageA(dialog, DM_GETDEFID, 0, 0);
  WORD id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : (WORD)IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (!button || IsWindowEnabled(button))
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

// Esc: the Cancel command, unless a Cancel button is there and disabled.
void pressCancel(HWND dialog) {
  HWND button = GetDlgItem(dialog, IDCANCEL);
  if (!button || IsWindowEnabled(button))
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)button);
}

// An arrow key moves within the group; an automatic radio button reached that way is checked.
void moveInGroup(HWND dialog, HWND from, bool previous) {
  HWND next = GetNextDlgGroupItem(dialog, from, previous);
  if (!next || next == from) return;
  focusTo(dialog, next);
  if ((dialogCode(next) & DLGC_RADIOBUTTON) && (styleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
      SendMessageA(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
    SendMessageA(next, BM_CLICK, 0, 0);
}

// A character as a mnemonic: the next control after the focus whose text has
// "&<character>". A button is clicked; a label (a static or group box) gives
// the focus to the tab stop after it; another control takes the focus.
bool mnemonic(HWND dialog, HWND focus, char key) {
  char wanted = (char)toupper((unsigned char)key);
  if (!wanted || wanted == ' ') return false;
  std::vector<HWND> list = controlsOf(dialog);
  int n = (int)list.size();
  int start = placeOf(list, dialog, focus);
  for (int step = 1; step <= n; ++step) {
    HWND c = list[((start < 0 ? -1 : start) + step + n) % n];
    if (!usable(c)) continue;
    UINT code = dialogCode(c);
    if ((code & DLGC_STATIC) && (styleOf(c) & SS_NOPREFIX) && isStaticClass(c)) continue;
    char text[64] = "";
    GetWindowTextA(c, text, sizeof text);
    if (menuMnemonic(text) != wanted) continue;
    if (code & DLGC_STATIC) {
      HWND target = GetNextDlgTabItem(dialog, c, FALSE);
      if (target) focusTo(dialog, target);
    } else if (code & DLGC_BUTTON) {
      SendMessageA(c, BM_CLICK, 0, 0);
    } else {
      focusTo(dialog, c);
    }
    return true;
  }
  return false;
}

// True when the dialog manager used the key itself.
bool dialogKey(HWND dialog, const MSG& msg) {
  UINT code = dialogCode(msg.hwnd, msg.wParam, &msg);
  if (code & DLGC_WANTMESSAGE) return false;
  switch (msg.wParam) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      tabTo(dialog, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      moveInGroup(dialog, msg.hwnd, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
      return true;
    case VK_ESCAPE:
    case VK_CANCEL:
      pressCancel(dialog);
      return true;
    case VK_RETURN:
    case VK_EXECUTE:
      pressDefault(dialog);
      return true;
    default: return false;
  }
}

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<HWND> list = controlsOf(dialog);
  int n = (int)list.size();
  int start = control ? placeOf(list, dialog, control) : -1;
  if (start < 0) start = previous ? n : -1;  // from the end backwards, from the start forwards
  for (int step = 1; step <= n; ++step) {
    int i = previous ? start - step : start + step;
    HWND c = list[((i % n) + n) % n];
    if ((styleOf(c) & WS_TABSTOP) && usable(c)) return c;
  }
  return control;
}

extern "C" HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<HWND> list = controlsOf(dialog);
  int at = control ? placeOf(list, dialog, control) : (list.empty() ? -1 : 0);
  if (at < 0) return control;
  int first = at, end = at + 1;
  while (first > 0 && !(styleOf(list[first]) & WS_GROUP)) --first;
  while (end < (int)list.size() && !(styleOf(list[end]) & WS_GROUP)) ++end;
  int size = end - first;
  for (int step = 1; step <= size; ++step) {
    int i = ((at - first + (previous ? -step : step)) % size + size) % size;
    if (usable(list[first + i])) return list[first + i];
  }
  return control;
}

extern "C" BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (CallMsgFilterA(msg, MSGF_DIALOGBOX)) return TRUE;
  switch (msg->message) {
    case WM_KEYDOWN:
      if (dialogKey(dialog, *msg)) return TRUE;
      break;
    case WM_CHAR: {
      UINT code = dialogCode(msg->hwnd, msg->wParam, msg);
      // A character the focus control does not want may be a mnemonic.
      if (!(code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) && mnemonic(dialog, msg->hwnd, (char)msg->wParam))
        return TRUE;
      break;
    }
    case WM_SYSCHAR:
      if (mnemonic(dialog, msg->hwnd, (char)msg->wParam)) return TRUE;
      break;
    default: break;
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}
