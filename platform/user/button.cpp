// The "Button" control: push buttons, check boxes, radio buttons, group
// boxes and owner-drawn buttons; their check state, pressing by mouse and
// space bar, BN_* notifications and the dialog codes the dialog manager
// steers by.
#include "button.h"

#include "control.h"
#include "systemclass.h"
#include "window.h"


namespace win32::user::button {
namespace {

// What each button type (the BS_TYPEMASK value) does; indexed by type.
struct Kind {
  UINT dialogCode;
  bool checkable;   // answers BM_SETCHECK
  bool threeState;  // accepts BST_INDETERMINATE
  bool radio;
  bool automatic;   // toggles its own check when clicked
  bool notifiesDoubleClick;  // BN_DOUBLECLICKED without BS_NOTIFY
};

constexpr Kind kKinds[] = {
    /* BS_PUSHBUTTON      */ {DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, false, false, false, false, false},
    /* BS_DEFPUSHBUTTON   */ {DLGC_BUTTON | DLGC_DEFPUSHBUTTON, false, false, false, false, false},
    /* BS_CHECKBOX        */ {DLGC_BUTTON, true, false, false, false, false},
    /* BS_AUTOCHECKBOX    */ {DLGC_BUTTON, true, false, false, true, false},
    /* BS_RADIOBUTTON     */ {DLGC_BUTTON | DLGC_RADIOBUTTON, true, false, true, false, true},
    /* BS_3STATE          */ {DLGC_BUTTON, true, true, false, false, false},
    /* BS_AUTO3STATE      */ {DLGC_BUTTON, true, true, false, true, false},
    /* BS_GROUPBOX        */ {DLGC_STATIC, false, false, false, false, false},
    /* BS_USERBUTTON      */ {DLGC_BUTTON, false, false, false, false, true},
    /* BS_AUTORADIOBUTTON */ {DLGC_BUTTON | DLGC_RADIOBUTTON, true, false, true, true, false},
    /* BS_PUSHBOX         */ {DLGC_BUTTON, false, false, false, false, false},
    /* BS_OWNERDRAW       */ {DLGC_BUTTON, false, false, false, false, true},
};

const Kind& kindOf(HWND hwnd) { return kKinds[typeOf((DWORD)GetWindowLongA(hwnd, GWL_STYLE))]; }

ButtonState* stateOf(HWND hwnd) { return control::state<ButtonState>(hwnd); }

// Paints now, as Windows does on every state change, instead of waiting for WM_PAINT.
void redraw(HWND hwnd, UINT action) {
  ButtonState* st = stateOf(hwnd);
  if (!st || !IsWindowVisible(hwnd)) return;
  HDC dc = GetDC(hwnd);
  if (!dc) return;
  paint(hwnd, dc, *st, action);
  ReleaseDC(hwnd, dc);
}

// The other members of `hwnd`'s group: the siblings from the nearest
// WS_GROUP window at or before it up to the next WS_GROUP window.
template <class Visit>
void forEachInGroup(HWND hwnd, Visit visit) {
  HWND first = hwnd;
  while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
    HWND prev = GetWindow(first, GW_HWNDPREV);
    if (!prev) break;
    first = prev;
  }
  for (HWND h = first; h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h != first && (GetWindowLongA(h, GWL_STYLE) & WS_GROUP)) break;
    if (h != hwnd) visit(h);
  }
}

bool isAutoRadio(HWND hwnd) {
  if (!stateOf(hwnd)) return false;  // not a button (of whatever class name)
  return typeOf((DWORD)GetWindowLongA(hwnd, GWL_STYLE)) == BS_AUTORADIOBUTTON;
}

void setPushed(HWND hwnd, bool pushed) { SendMessageA(hwnd, BM_SETSTATE, pushed, 0); }

// The press half of a click (mouse button or space bar down).
void beginPress(HWND hwnd, ButtonState& st) {
  st.tracking = true;
  SetCapture(hwnd);
  setPushed(hwnd, true);
}

// The release half: a release over the button clicks it.
void endPress(HWND hwnd, bool inside) {
  ButtonState* st = stateOf(hwnd);
  if (!st || !st->tracking) return;
  st->tracking = false;
  bool wasPushed = st->pushed;
  if (wasPushed) setPushed(hwnd, false);
  if (!wasPushed || !inside) {
    ReleaseCapture();
    return;
  }
  const Kind& kind = kindOf(hwnd);
  if (kind.automatic) {
    UINT next = kind.radio ? BST_CHECKED
                : kind.threeState ? (st->check == BST_INDETERMINATE ? BST_UNCHECKED : st->check + 1)
                                  : (st->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(hwnd, BM_SETCHECK, next, 0);
  }
  ReleaseCapture();
  control::notifyParent(hwnd, BN_CLICKED);
}

// A group box paints only its frame and title: what it covers of its parent
// must be painted again for an old, longer title to go.
void invalidateAll(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  HWND parent = GetParent(hwnd);
  if (!parent || typeOf((DWORD)GetWindowLongA(hwnd, GWL_STYLE)) != BS_GROUPBOX) return;
  RECT r;
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, parent, (LPPOINT)&r, 2);
  InvalidateRect(parent, &r, TRUE);
}

bool notifies(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY) != 0; }

LRESULT onSetCheck(HWND hwnd, ButtonState& st, WPARAM wParam) {
  const Kind& kind = kindOf(hwnd);
  if (!kind.checkable) return 0;
  UINT check = (UINT)wParam;
  if (check == BST_INDETERMINATE && !kind.threeState) check = BST_CHECKED;
  if (check > BST_INDETERMINATE) check = BST_CHECKED;
  if (check != st.check) {
    st.check = check;
    redraw(hwnd, ODA_SELECT);
  }
  // Only the checked radio button of a group is a tab stop, as in Windows.
  if (kind.radio) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    setStyleQuietly(hwnd, check ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
  if (kind.radio && kind.automatic && check == BST_CHECKED && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
    forEachInGroup(hwnd, [](HWND other) {
      if (isAutoRadio(other)) SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
    });
  }
  return 0;
}

LRESULT onSetImage(HWND hwnd, ButtonState& st, WPARAM type, LPARAM image) {
  if (type != IMAGE_BITMAP && type != IMAGE_ICON) return 0;
  HANDLE old = st.image;
  st.image = (HANDLE)image;
  st.imageType = (UINT)type;
  InvalidateRect(hwnd, nullptr, TRUE);
  return (LRESULT)old;
}

// The button changes its own style: no WM_STYLECHANGING/WM_STYLECHANGED, as on Windows.
LRESULT onSetStyle(HWND hwnd, WPARAM wParam, LPARAM redrawNow) {
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  setStyleQuietly(hwnd, (style & ~BS_TYPEMASK) | (DWORD)(wParam & BS_TYPEMASK));
  if (redrawNow) InvalidateRect(hwnd, nullptr, TRUE);
  return 0;
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    control::attach<ButtonState>(hwnd);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  ButtonState* st = stateOf(hwnd);
  if (!st) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCDESTROY:
      control::detach<ButtonState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE: return kindOf(hwnd).dialogCode;
    case WM_NCHITTEST:
      // A group box lets clicks through to the controls it frames.
      if (typeOf((DWORD)GetWindowLongA(hwnd, GWL_STYLE)) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;  // painted with the parent's brush in WM_PAINT
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      control::PaintScope scope(hwnd, wParam);
      paint(hwnd, scope.dc(), *st, ODA_DRAWENTIRE);
      return 0;
    }
    case WM_ENABLE:
    case WM_SETTEXT: {
      LRESULT r = msg == WM_SETTEXT ? DefWindowProcA(hwnd, msg, wParam, lParam) : 0;
      invalidateAll(hwnd);
      return msg == WM_SETTEXT ? r : 0;
    }
    case WM_SETFONT:
      st->font = (HFONT)wParam;
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return (LRESULT)st->font;
    case WM_SETFOCUS:
      st->focused = true;
      redraw(hwnd, ODA_FOCUS);
      if (notifies(hwnd)) control::notifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      st->focused = false;
      redraw(hwnd, ODA_FOCUS);
      if (st->tracking && GetCapture() == hwnd) ReleaseCapture();
      if (notifies(hwnd)) control::notifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (notifies(hwnd) || kindOf(hwnd).notifiesDoubleClick) {
        control::notifyParent(hwnd, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      beginPress(hwnd, *st);
      return 0;
    case WM_MOUSEMOVE:
      if (st->tracking && GetCapture() == hwnd) {
        RECT client;
        GetClientRect(hwnd, &client);
        bool inside = PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (inside != st->pushed) setPushed(hwnd, inside);
      }
      return 0;
    case WM_LBUTTONUP: {
      RECT client;
      GetClientRect(hwnd, &client);
      endPress(hwnd, PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && !st->tracking) beginPress(hwnd, *st);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) endPress(hwnd, true);
      return 0;
    case WM_CHAR: {
      // '+' and '=' check a check box, '-' clears it, as the keyboard interface of Windows.
      const Kind& kind = kindOf(hwnd);
      if (kind.checkable && !kind.radio && (wParam == '+' || wParam == '=' || wParam == '-')) {
        SendMessageA(hwnd, BM_SETCHECK, wParam == '-' ? BST_UNCHECKED : BST_CHECKED, 0);
        control::notifyParent(hwnd, BN_CLICKED);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (st->tracking) {
        st->tracking = false;
        if (st->pushed) setPushed(hwnd, false);
      }
      return 0;
    case BM_GETCHECK: return kindOf(hwnd).checkable ? st->check : BST_UNCHECKED;
    case BM_SETCHECK: return onSetCheck(hwnd, *st, wParam);
    case BM_GETSTATE:
      return st->check | (st->pushed ? BST_PUSHED : 0) | (st->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
      if ((wParam != 0) != st->pushed) {
        st->pushed = wParam != 0;
        redraw(hwnd, ODA_SELECT);
      }
      return 0;
    case BM_SETSTYLE: return onSetStyle(hwnd, wParam, lParam);
    case BM_CLICK:
      // A disabled or hidden button cannot be pressed.
      if (IsWindowEnabled(hwnd)) {
        SendMessageA(hwnd, WM_LBUTTONDOWN, 0, 0);  // no key state, as Windows sends it
        SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
      }
      return 0;
    case BM_SETIMAGE: return onSetImage(hwnd, *st, wParam, lParam);
    case BM_GETIMAGE: return wParam == st->imageType ? (LRESULT)st->image : 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

const SystemClass kButtonClass({"Button", buttonProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                control::kStateBytes, IDC_ARROW, 0});

}  // namespace

UINT typeOf(DWORD style) {
  UINT type = style & BS_TYPEMASK;
  return type < sizeof kKinds / sizeof kKinds[0] ? type : BS_PUSHBUTTON;
}

}  // namespace win32::user::button
