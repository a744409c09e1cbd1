// Dialog boxes: creation from templates, DefDlgProcA, the modal loop and
// EndDialog.
//
// A dialog is a window of the class "#32770" (or the template's own class,
// whose procedure calls DefDlgProcA) with DLGWINDOWEXTRA bytes holding the
// DWLP_* slots. DefDlgProcA calls the dialog procedure first; a TRUE answer
// means handled, and the message's result is then DWLP_MSGRESULT - except
// for the messages whose answer is the procedure's own (WM_INITDIALOG, the
// WM_CTLCOLOR* brushes, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM,
// WM_QUERYDRAGICON).
//
// Sizes in templates are dialog units: a horizontal unit is a quarter of the
// dialog font's average character width, a vertical unit an eighth of its
// height (GetDialogBaseUnits when the template names no font).
#include "dialog.h"
#include "menu.h"
#include "systemclass.h"
#include "window.h"

#include <map>
#include <mutex>

namespace win32::user {
namespace {

struct DialogState {
  HFONT font = nullptr;         // WM_GETFONT's answer
  HFONT ownedFont = nullptr;    // made from the template; deleted with the dialog
  HMENU ownedMenu = nullptr;    // loaded from the template; destroyed with the dialog
  int baseX = 8, baseY = 16;    // dialog base units in pixels
  WORD defaultId = 0;           // DM_SETDEFID; 0 = none
  HWND savedFocus = nullptr;    // the control that had the focus when the dialog was left
  bool ended = false;           // EndDialog was called
  INT_PTR result = 0;
  HWND disabledOwner = nullptr;  // the owner the modal loop disabled, until EndDialog enables it
};

std::mutex& stateMutex() {
  static std::mutex m;
  return m;
}

std::map<HWND, DialogState>& states() {
  static std::map<HWND, DialogState> s;
  return s;
}

// Runs `f` on the dialog's state under the lock; false when `hwnd` has none.
template <class F>
bool withState(HWND hwnd, F f) {
  std::lock_guard lock(stateMutex());
  auto it = states().find(hwnd);
  if (it == states().end()) return false;
  f(it->second);
  return true;
}

UINT dialogCode(HWND hwnd) { return hwnd ? (UINT)SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) : 0; }

bool isOwnControl(HWND dialog, HWND hwnd) { return hwnd && hwnd != dialog && IsChild(dialog, hwnd); }

// The focus goes to a control; an edit's whole text is selected, as tabbing into it does.
void focusControl(HWND control) {
  if (dialogCode(control) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void setButtonType(HWND button, DWORD type) {
  DWORD style = (DWORD)GetWindowLongA(button, GWL_STYLE);
  SendMessageA(button, BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
}

// The push button that shows itself as the default now (its answer has DLGC_DEFPUSHBUTTON).
HWND shownDefaultButton(HWND dialog) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (dialogCode(c) & DLGC_DEFPUSHBUTTON) return c;
  return nullptr;
}

WORD defaultIdOf(HWND dialog) {
  WORD id = 0;
  withState(dialog, [&](DialogState& s) { id = s.defaultId; });
  return id;
}

// A focused push button shows as the default; when the focus goes to another
// kind of control, the dialog's default button shows as the default again.
void followDefaultButton(HWND dialog, HWND focus) {
  UINT code = dialogCode(focus);
  HWND shown = shownDefaultButton(dialog);
  if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
    if (shown && shown != focus) setButtonType(shown, BS_PUSHBUTTON);
    if (code & DLGC_UNDEFPUSHBUTTON) setButtonType(focus, BS_DEFPUSHBUTTON);
    return;
  }
  WORD id = defaultIdOf(dialog);
  HWND def = id ? GetDlgItem(dialog, id) : nullptr;
  if (shown && shown != def) setButtonType(shown, BS_PUSHBUTTON);
  if (def && (dialogCode(def) & DLGC_UNDEFPUSHBUTTON)) setButtonType(def, BS_DEFPUSHBUTTON);
}

void saveFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (isOwnControl(dialog, focus)) withState(dialog, [&](DialogState& s) { s.savedFocus = focus; });
}

// The focus goes back to the control that had it, or to the first tab stop.
void restoreFocus(HWND dialog, bool justActivated) {
  if (IsIconic(dialog)) return;
  HWND target = nullptr;
  withState(dialog, [&](DialogState& s) { target = s.savedFocus; });
  if (!target || !IsWindow(target) || !isOwnControl(dialog, target)) target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (!target || !IsWindowEnabled(target)) return;
  withState(dialog, [&](DialogState& s) { s.savedFocus = target; });
  if (justActivated) SetFocus(target);
  else focusControl(target);
}

LRESULT nextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND target;
  if (LOWORD(lParam)) {
    target = (HWND)wParam;
  } else {
    HWND focus = GetFocus();
    target = GetNextDlgTabItem(dialog, isOwnControl(dialog, focus) ? focus : nullptr, wParam != 0);
  }
  if (!target || !isOwnControl(dialog, target)) return 0;
  focusControl(target);
  followDefaultButton(dialog, target);
  withState(dialog, [&](DialogState& s) { s.savedFocus = target; });
  return 0;
}

LRESULT setDefaultId(HWND dialog, WPARAM id) {
  WORD old = 0;
  if (!withState(dialog, [&](DialogState& s) {
        old = s.defaultId;
        s.defaultId = (WORD)id;
      }))
    return FALSE;
  // Without an id set before, the button showing as the default gives way.
  HWND oldButton = old ? GetDlgItem(dialog, old) : shownDefaultButton(dialog);
  HWND newButton = id ? GetDlgItem(dialog, (int)id) : nullptr;
  if (oldButton && oldButton != newButton && (dialogCode(oldButton) & DLGC_DEFPUSHBUTTON))
    setButtonType(oldButton, BS_PUSHBUTTON);
  if (newButton && (dialogCode(newButton) & DLGC_UNDEFPUSHBUTTON)) setButtonType(newButton, BS_DEFPUSHBUTTON);
  return TRUE;
}

LRESULT getDefaultId(HWND dialog) {
  WORD id = defaultIdOf(dialog);
  if (!id)
    if (HWND shown = shownDefaultButton(dialog)) id = (WORD)GetDlgCtrlID(shown);
  return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
}

// Moves a top-level dialog back inside the work area (DM_REPOSITION).
void keepOnScreen(HWND dialog) {
  if (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) return;
  RECT r, work;
  GetWindowRect(dialog, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int x = std::max((int)work.left, std::min((int)r.left, (int)work.right - (int)(r.right - r.left)));
  int y = std::max((int)work.top, std::min((int)r.top, (int)work.bottom - (int)(r.bottom - r.top)));
  if (x != r.left || y != r.top) SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every window run by DefDlgProcA is a dialog from its WM_NCCREATE on, one
// made with CreateWindowEx too (no template: the system's base units).
void startDialogState(HWND dialog) {
  std::lock_guard lock(stateMutex());
  auto [it, made] = states().try_emplace(dialog);
  if (!made) return;
  LONG units = GetDialogBaseUnits();
  it->second.baseX = LOWORD(units);
  it->second.baseY = HIWORD(units);
}

void forgetDialog(HWND dialog) {
  DialogState state;
  {
    std::lock_guard lock(stateMutex());
    auto it = states().find(dialog);
    if (it == states().end()) return;
    state = it->second;
    states().erase(it);
  }
  if (state.ownedFont) DeleteObject(state.ownedFont);
  if (state.ownedMenu) DestroyMenu(state.ownedMenu);
}

// What DefDlgProcA does with a message the dialog procedure left alone.
LRESULT defaultAnswer(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      auto brush = (HBRUSH)SendMessageA(dialog, WM_CTLCOLORDLG, wParam, (LPARAM)dialog);
      if (!brush) brush = (HBRUSH)DefWindowProcA(dialog, WM_CTLCOLORDLG, wParam, (LPARAM)dialog);
      RECT r;
      GetClientRect(dialog, &r);
      if (brush && wParam) FillRect((HDC)wParam, &r, brush);
      return 1;
    }
    case WM_NCDESTROY:
      forgetDialog(dialog);
      return DefWindowProcA(dialog, msg, wParam, lParam);
    case WM_SHOWWINDOW:
      if (!wParam) saveFocus(dialog);
      return DefWindowProcA(dialog, msg, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) restoreFocus(dialog, true);
      else saveFocus(dialog);
      return 0;
    case WM_SETFOCUS:
      restoreFocus(dialog, false);
      return 0;
    case DM_SETDEFID: return setDefaultId(dialog, wParam);
    case DM_GETDEFID: return getDefaultId(dialog);
    case DM_REPOSITION:
      keepOnScreen(dialog);
      return 0;
    case WM_NEXTDLGCTL: return nextControl(dialog, wParam, lParam);
    case WM_GETFONT: {
      HFONT font = nullptr;
      withState(dialog, [&](DialogState& s) { font = s.font; });
      return (LRESULT)font;
    }
    case WM_SETFONT:
      withState(dialog, [&](DialogState& s) { s.font = (HFONT)wParam; });
      return 0;
    case WM_CLOSE: {
      // Closing is cancelling, unless the Cancel button is there and disabled.
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)cancel);
      return 0;
    }
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return -1;  // the list box does what it does by default
    default: return DefWindowProcA(dialog, msg, wParam, lParam);
  }
}

bool answersDirectly(UINT msg) {
  return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_CTLCOLOR || msg == WM_COMPAREITEM ||
         msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON || msg == WM_INITDIALOG;
}

// --- creation ----------------------------------------------------------------

struct DialogFont {
  HFONT font = nullptr;
  bool owned = false;
  int baseX = 8, baseY = 16;
};

// The template's font and the base units it gives: the average width of the
// letters A-Z a-z (rounded) and the character height.
DialogFont dialogFont(const DialogTemplate& t) {
  DialogFont f;
  LONG units = GetDialogBaseUnits();
  f.baseX = LOWORD(units);
  f.baseY = HIWORD(units);
  if (!t.hasFont) return f;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return f;
  if (t.pointSize == 0x7FFF) {
    f.font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);  // "the message box font"
  } else {
    int height = -MulDiv(t.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    f.font = CreateFontA(height, 0, 0, 0, t.weight, t.italic, FALSE, FALSE, t.charSet, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, t.face.c_str());
    f.owned = f.font != nullptr;
  }
  if (f.font) {
    HGDIOBJ old = SelectObject(dc, f.font);
    TEXTMETRICA tm{};
    SIZE size{};
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextMetricsA(dc, &tm) && GetTextExtentPoint32A(dc, kLetters, 52, &size) && size.cx > 0) {
      f.baseX = (size.cx / 26 + 1) / 2;
      f.baseY = tm.tmHeight;
    }
    SelectObject(dc, old);
  }
  DeleteDC(dc);
  return f;
}

LPCSTR nameArgument(const TemplateName& name) {
  return name.ordinal ? MAKEINTRESOURCEA(name.ordinal) : name.text.c_str();
}

// Where a top-level dialog goes: template coordinates are relative to the
// owner's client area (screen coordinates with DS_ABSALIGN or no owner);
// DS_CENTER centres it in the work area, DS_CENTERMOUSE on the cursor.
POINT dialogPosition(const DialogTemplate& t, DWORD style, HWND owner, POINT templatePoint, SIZE size) {
  POINT p = templatePoint;
  if (style & WS_CHILD) return p;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (t.style & DS_CENTER) {
    p = POINT{(work.left + work.right - size.cx) / 2, (work.top + work.bottom - size.cy) / 2};
  } else if (t.style & DS_CENTERMOUSE) {
    GetCursorPos(&p);
    p.x -= size.cx / 2;
    p.y -= size.cy / 2;
  } else if (owner && !(t.style & DS_ABSALIGN)) {
    ClientToScreen(owner, &p);
  }
  // A top-level dialog stays on the screen.
  p.x = std::max((int)work.left, std::min((int)p.x, (int)(work.right - size.cx)));
  p.y = std::max((int)work.top, std::min((int)p.y, (int)(work.bottom - size.cy)));
  return p;
}

// Makes the dialog's controls; false when one fails without DS_NOFAILCREATE.
bool createControls(HWND dialog, const DialogTemplate& t, const DialogFont& font, HINSTANCE instance) {
  WORD firstDefault = 0;
  for (const DialogItemTemplate& item : t.items) {
    const char* cls = item.className.ordinal ? predefinedClassName(item.className.ordinal) : nullptr;
    LPCSTR classArg = cls ? cls : nameArgument(item.className);
    // A title that is an ordinal reaches the control as 0xFF and the 16-bit id (an icon of a static).
    char ordinalText[4] = {(char)0xFF, (char)LOBYTE(item.text.ordinal), (char)HIBYTE(item.text.ordinal), 0};
    LPCSTR text = item.text.ordinal ? ordinalText : item.text.text.c_str();
    HWND control = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, classArg, text, item.style | WS_CHILD,
                                   MulDiv(item.x, font.baseX, 4), MulDiv(item.y, font.baseY, 8),
                                   MulDiv(item.cx, font.baseX, 4), MulDiv(item.cy, font.baseY, 8), dialog,
                                   (HMENU)(UINT_PTR)item.id, instance, (LPVOID)item.creationData);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    if (font.font) SendMessageA(control, WM_SETFONT, (WPARAM)font.font, FALSE);
    // The first button that says it is the default is the dialog's default.
    if (!firstDefault && (dialogCode(control) & DLGC_DEFPUSHBUTTON)) firstDefault = (WORD)item.id;
  }
  if (firstDefault) withState(dialog, [&](DialogState& s) { s.defaultId = firstDefault; });
  return true;
}

HWND createDialog(HINSTANCE instance, const void* data, size_t size, HWND owner, DLGPROC proc, LPARAM param) {
  std::optional<DialogTemplate> t = parseDialogTemplate(data, size);
  if (!t) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  // Every dialog has the three-dimensional look; one of its own (not a
  // control of another window) clips its siblings, as Windows makes them.
  DWORD style = (t->style & ~WS_VISIBLE) | DS_3DLOOK;
  if (!(style & WS_CHILD)) style |= WS_CLIPSIBLINGS;
  DWORD exStyle = t->exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTROL) {
    // A dialog inside another: no caption of its own, and tabbing goes into it.
    style &= ~(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  DialogFont font = dialogFont(*t);
  HMENU menu = nullptr;
  if (!t->menu.empty() && !(style & WS_CHILD)) menu = LoadMenuA(instance, nameArgument(t->menu));
  RECT frame{0, 0, MulDiv(t->cx, font.baseX, 4), MulDiv(t->cy, font.baseY, 8)};
  AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
  SIZE outer{frame.right - frame.left, frame.bottom - frame.top};
  POINT at = dialogPosition(*t, style, owner, POINT{MulDiv(t->x, font.baseX, 4), MulDiv(t->y, font.baseY, 8)}, outer);
  LPCSTR cls = t->className.empty() ? WC_DIALOG : nameArgument(t->className);
  HWND dialog = CreateWindowExA(exStyle, cls, t->title.c_str(), style, at.x, at.y, outer.cx, outer.cy, owner,
                                (style & WS_CHILD) ? nullptr : menu, instance, nullptr);
  if (!dialog) {
    if (font.owned) DeleteObject(font.font);
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  {
    std::lock_guard lock(stateMutex());
    DialogState& s = states()[dialog];
    s = DialogState{};
    s.font = font.font;
    s.ownedFont = font.owned ? font.font : nullptr;
    s.ownedMenu = menu;
    s.baseX = font.baseX;
    s.baseY = font.baseY;
  }
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, (LONG_PTR)proc);
  if (font.font) SendMessageA(dialog, WM_SETFONT, (WPARAM)font.font, FALSE);
  if (!IsWindow(dialog)) return nullptr;
  if (!createControls(dialog, *t, font, instance)) {
    DWORD error = GetLastError();  // why the control failed, not what destroying says
    DestroyWindow(dialog);
    SetLastError(error);
    return nullptr;
  }
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  // TRUE from WM_INITDIALOG asks for the focus on the first tab stop.
  if (SendMessageA(dialog, WM_INITDIALOG, (WPARAM)first, param) && IsWindow(dialog) &&
      (!(t->style & DS_CONTROL) || (t->style & WS_VISIBLE))) {
    HWND target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (target) {
      withState(dialog, [&](DialogState& s) { s.savedFocus = target; });
      focusControl(target);
    }
  }
  if (!IsWindow(dialog)) return nullptr;
  if ((t->style & WS_VISIBLE) && !IsWindowVisible(dialog)) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
  }
  return IsWindow(dialog) ? dialog : nullptr;
}

// --- the modal loop --------------------------------------------------------------

bool endedOrGone(HWND dialog, INT_PTR& result) {
  bool ended = true;  // a dialog destroyed without EndDialog ends the loop with -1
  if (!withState(dialog, [&](DialogState& s) {
        ended = s.ended;
        result = s.result;
      }))
    result = -1;
  return ended || !IsWindow(dialog);
}

INT_PTR runModal(HWND dialog, HWND owner) {
  HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  bool disabledHere = top && IsWindowEnabled(top);
  if (disabledHere) {
    EnableWindow(top, FALSE);
    withState(dialog, [&](DialogState& s) { s.disabledOwner = top; });
  }
  INT_PTR result = 0;
  bool idleMessages = !(GetWindowLongA(dialog, GWL_STYLE) & DS_NOIDLEMSG);
  MSG msg;
  while (!endedOrGone(dialog, result)) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // The queue went empty: the dialog shows now, whatever its template
      // says (what WM_INITDIALOG posted ran first), and the window it was
      // created for may do idle work (or end the dialog).
      if (!IsWindowVisible(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
      }
      if (endedOrGone(dialog, result)) break;
      if (idleMessages && owner) SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)dialog);
      if (endedOrGone(dialog, result)) break;
    }
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT belongs to the loop outside; the dialog answers the result it
      // has (0 unless EndDialog gave one), never shown when nothing was idle.
      PostQuitMessage((int)msg.wParam);
      endedOrGone(dialog, result);
      break;
    }
    if (got == -1) break;
    if (!CallMsgFilterA(&msg, MSGF_DIALOGBOX) && !IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // EndDialog enabled the owner already; a dialog destroyed without it did not.
  withState(dialog, [&](DialogState& s) { s.disabledOwner = nullptr; });
  if (disabledHere && IsWindow(top) && !IsWindowEnabled(top)) EnableWindow(top, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

const void* dialogResource(HINSTANCE instance, LPCSTR name, size_t& size) {
  HRSRC info = FindResourceA(instance, name, RT_DIALOG);
  if (!info) return nullptr;
  size = SizeofResource(instance, info);
  return LockResource(LoadResource(instance, info));
}

const SystemClass kDialogClass({WC_DIALOG, DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA, IDC_ARROW, 0});

}  // namespace

bool isDialogWindow(HWND hwnd) {
  return withState(hwnd, [](DialogState&) {});
}

}  // namespace win32::user

using namespace win32::user;

extern "C" LRESULT WINAPI DefDlgProcA(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(dialog)) return 0;
  if (msg == WM_NCCREATE) startDialogState(dialog);
  // A window without the dialog's extra bytes has no dialog procedure.
  DWORD error = GetLastError();
  auto proc = (DLGPROC)GetWindowLongPtrA(dialog, DWLP_DLGPROC);
  INT_PTR handled = 0;
  if (proc) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
    handled = proc(dialog, msg, wParam, lParam);
  }
  SetLastError(error);
  if (!handled) return IsWindow(dialog) ? defaultAnswer(dialog, msg, wParam, lParam) : 0;
  if (answersDirectly(msg)) return handled;
  return IsWindow(dialog) ? GetWindowLongPtrA(dialog, DWLP_MSGRESULT) : 0;
}

extern "C" HWND WINAPI CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner, DLGPROC proc,
                                                  LPARAM param) {
  if (!tmpl) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return createDialog(instance, tmpl, SIZE_MAX, owner, proc, param);
}

extern "C" HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
  size_t size = 0;
  const void* data = dialogResource(instance, name, size);
  return data ? createDialog(instance, data, size, owner, proc, param) : nullptr;
}

extern "C" INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner, DLGPROC proc,
                                                  LPARAM param) {
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;  // a bad owner answers 0, every other failure -1
  }
  if (!tmpl) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  HWND dialog = createDialog(instance, tmpl, SIZE_MAX, owner, proc, param);
  return dialog ? runModal(dialog, owner) : -1;
}

extern "C" INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  size_t size = 0;
  const void* data = dialogResource(instance, name, size);
  if (!data) return -1;
  HWND dialog = createDialog(instance, data, size, owner, proc, param);
  return dialog ? runModal(dialog, owner) : -1;
}

extern "C" BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  HWND owner = nullptr;
  if (!withState(dialog, [&](DialogState& s) {
        s.ended = true;
        s.result = result;
        owner = s.disabledOwner;
        s.disabledOwner = nullptr;
      })) {
    SetLastError(ERROR_WINDOW_NOT_DIALOG);
    return FALSE;
  }
  // The owner is enabled before the dialog hides, so that it is the one activated.
  if (owner) EnableWindow(owner, TRUE);
  bool wasActive = GetActiveWindow() == dialog;
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  HWND next = owner ? owner : GetWindow(dialog, GW_OWNER);
  if (wasActive && next && IsWindowEnabled(next)) SetActiveWindow(next);
  PostMessageA(dialog, WM_NULL, 0, 0);  // wakes the modal loop
  return TRUE;
}

extern "C" BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int x = 0, y = 0;
  if (!withState(dialog, [&](DialogState& s) {
        x = s.baseX;
        y = s.baseY;
      })) {
    SetLastError(IsWindow(dialog) ? ERROR_WINDOW_NOT_DIALOG : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  rect->left = MulDiv(rect->left, x, 4);
  rect->right = MulDiv(rect->right, x, 4);
  rect->top = MulDiv(rect->top, y, 8);
  rect->bottom = MulDiv(rect->bottom, y, 8);
  return TRUE;
}
