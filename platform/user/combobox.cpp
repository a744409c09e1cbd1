// The "ComboBox" window class: a face (an edit child with id 1001, or a
// static text for CBS_DROPDOWNLIST) joined with a list ("ComboLBox") that
// stays below the face (CBS_SIMPLE) or drops down from a button. The CB_*
// messages are mostly the list's LB_* messages with the face kept in step.
// Dropping and closing, keys and clicks live in combobox_dropdown.cpp,
// painting in combobox_paint.cpp.
#include "combobox.h"

#include "control.h"
#include "listbox.h"
#include "systemclass.h"

#include <algorithm>
#include <memory>
#include <string>

namespace win32::user {

// A combo box by its state, whatever its class is called (superclasses too).
ComboBox* comboOf(HWND hwnd) { return hwnd ? control::state<ComboBox>(hwnd) : nullptr; }

void notifyCombo(ComboBox& cb, int code) {
  if (cb.parent) SendMessageA(cb.parent, WM_COMMAND, MAKEWPARAM(cb.id, code), (LPARAM)cb.self);
}

int faceHeight(const ComboBox& cb) { return cb.faceItemHeight + 8; }

RECT faceRect(ComboBox& cb) {
  RECT c{};
  GetClientRect(cb.self, &c);
  if (cb.simple()) c.bottom = std::min<LONG>(c.bottom, faceHeight(cb));
  return c;
}

RECT buttonRect(ComboBox& cb) {
  RECT f = faceRect(cb);
  if (cb.simple()) return RECT{f.right, f.top, f.right, f.top};
  int width = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{std::max<LONG>(f.left + 2, f.right - 2 - width), f.top + 2, f.right - 2, f.bottom - 2};
}

RECT textRect(ComboBox& cb) {
  RECT f = faceRect(cb);
  RECT b = buttonRect(cb);
  RECT r{f.left + 3, f.top + 3, (cb.simple() ? f.right : b.left) - 1 - (cb.simple() ? 2 : 0), f.bottom - 3};
  if (r.right < r.left) r.right = r.left;
  return r;
}

namespace {

std::string itemText(ComboBox& cb, int index) {
  LRESULT length = SendMessageA(cb.list, LB_GETTEXTLEN, index, 0);
  if (length < 0 || !cb.hasStrings()) return {};
  std::string text((size_t)length + 1, '\0');
  SendMessageA(cb.list, LB_GETTEXT, index, (LPARAM)text.data());
  text.resize((size_t)length);
  return text;
}

// CBS_UPPERCASE / CBS_LOWERCASE apply to the texts the list gets.
std::string cased(const ComboBox& cb, const char* text) {
  std::string s = text ? text : "";
  if (cb.style & CBS_UPPERCASE) CharUpperBuffA(s.data(), (DWORD)s.size());
  else if (cb.style & CBS_LOWERCASE) CharLowerBuffA(s.data(), (DWORD)s.size());
  return s;
}

void layout(ComboBox& cb) {
  RECT t = textRect(cb);
  if (cb.edit) MoveWindow(cb.edit, t.left, t.top, t.right - t.left, t.bottom - t.top, TRUE);
  if (cb.simple() && cb.list) {
    RECT c{};
    GetClientRect(cb.self, &c);
    int top = faceHeight(cb);
    MoveWindow(cb.list, 0, top, c.right, std::max<LONG>(0, c.bottom - top), TRUE);
  }
  InvalidateRect(cb.self, nullptr, TRUE);
}

void measureFace(ComboBox& cb) {
  HDC dc = GetDC(cb.self);
  {
    control::FontScope font(dc, cb.font);
    cb.faceItemHeight = control::lineHeight(dc);
  }
  ReleaseDC(cb.self, dc);
  if (!cb.ownerDraw()) return;
  // The owner measures the face as item -1.
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ODT_COMBOBOX;
  mi.CtlID = cb.id;
  mi.itemID = (UINT)-1;
  mi.itemHeight = (UINT)cb.faceItemHeight;
  SendMessageA(cb.parent, WM_MEASUREITEM, cb.id, (LPARAM)&mi);
  if (mi.itemHeight > 0 && mi.itemHeight <= 255) cb.faceItemHeight = (int)mi.itemHeight;
}

DWORD listStyle(const ComboBox& cb) {
  DWORD s = WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_COMBOBOX;
  static constexpr std::pair<DWORD, DWORD> kMap[] = {
      {CBS_SORT, LBS_SORT},
      {CBS_OWNERDRAWFIXED, LBS_OWNERDRAWFIXED},
      {CBS_OWNERDRAWVARIABLE, LBS_OWNERDRAWVARIABLE},
      {CBS_HASSTRINGS, LBS_HASSTRINGS},
      {CBS_NOINTEGRALHEIGHT, LBS_NOINTEGRALHEIGHT},
      {CBS_DISABLENOSCROLL, LBS_DISABLENOSCROLL},
  };
  for (auto [combo, list] : kMap)
    if (cb.style & combo) s |= list;
  s |= cb.simple() ? WS_CHILD | WS_VISIBLE : WS_POPUP;
  return s;
}

LRESULT onCreate(HWND hwnd, const CREATESTRUCTA* cs) {
  ComboBox& cb = *control::attach<ComboBox>(hwnd);
  cb.self = hwnd;
  cb.style = cs->style;
  cb.parent = cs->hwndParent;
  cb.id = (UINT)(UINT_PTR)cs->hMenu;
  measureFace(cb);
  HINSTANCE instance = cs->hInstance;
  cb.list = CreateWindowExA(0, "ComboLBox", nullptr, listStyle(cb), 0, faceHeight(cb), cs->cx,
                            std::max(0, cs->cy - faceHeight(cb)), cb.simple() ? hwnd : cs->hwndParent,
                            cb.simple() ? (HMENU)(INT_PTR)1000 : nullptr, instance, hwnd);
  if (!cb.list) return -1;
  if (!cb.dropList()) {
    DWORD edit = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if (cb.style & CBS_AUTOHSCROLL) edit |= ES_AUTOHSCROLL;
    if (cb.style & CBS_UPPERCASE) edit |= ES_UPPERCASE;
    if (cb.style & CBS_LOWERCASE) edit |= ES_LOWERCASE;
    if (cb.style & CBS_OEMCONVERT) edit |= ES_OEMCONVERT;
    cb.edit = CreateWindowExA(0, "Edit", nullptr, edit, 0, 0, 10, 10, hwnd, (HMENU)(INT_PTR)KY_COMBO_EDIT_ID, instance,
                              nullptr);
    if (!cb.edit) return -1;
    cb.editProc = (WNDPROC)SetWindowLongPtrA(cb.edit, GWLP_WNDPROC, (LONG_PTR)comboEditProc);
  }
  // A drop-down combo is as high as its face; the height asked for is the dropped list's.
  cb.dropHeight = std::max(0, cs->cy - faceHeight(cb));
  if (!cb.simple()) SetWindowPos(hwnd, nullptr, 0, 0, cs->cx, faceHeight(cb), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  layout(cb);
  return 0;
}

// Size changes of a drop-down combo set the dropped height and keep the face's.
void onPosChanging(ComboBox& cb, WINDOWPOS* pos) {
  if (cb.simple() || !pos || (pos->flags & SWP_NOSIZE)) return;
  if (pos->cy > faceHeight(cb)) cb.dropHeight = pos->cy - faceHeight(cb);
  pos->cy = faceHeight(cb);
}

LRESULT setCurrent(ComboBox& cb, int index) {
  LRESULT r = SendMessageA(cb.list, LB_SETCURSEL, index, 0);
  cb.notifiedSelection = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  showSelection(cb);
  return r;
}

LRESULT addString(ComboBox& cb, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::string text;
  if (cb.hasStrings()) {
    text = cased(cb, (const char*)lParam);
    lParam = (LPARAM)text.c_str();
  }
  LRESULT r = SendMessageA(cb.list, msg == CB_ADDSTRING ? LB_ADDSTRING : LB_INSERTSTRING, wParam, lParam);
  cb.notifiedSelection = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  return r;
}

LRESULT deleteString(ComboBox& cb, int index) {
  int before = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  LRESULT r = SendMessageA(cb.list, LB_DELETESTRING, index, 0);
  cb.notifiedSelection = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  if (before == index && cb.dropList()) InvalidateRect(cb.self, nullptr, FALSE);
  return r;
}

LRESULT selectString(ComboBox& cb, int start, const char* text) {
  LRESULT index = SendMessageA(cb.list, LB_SELECTSTRING, start, (LPARAM)text);
  if (index == LB_ERR) return CB_ERR;
  cb.notifiedSelection = (int)index;
  showSelection(cb);
  return index;
}

LRESULT setItemHeight(ComboBox& cb, int index, int height) {
  if (index != -1) return SendMessageA(cb.list, LB_SETITEMHEIGHT, index, height);
  if (height <= 0 || height > 255) return CB_ERR;
  cb.faceItemHeight = height;
  if (!cb.simple()) {
    RECT w;
    GetWindowRect(cb.self, &w);
    SetWindowPos(cb.self, nullptr, 0, 0, w.right - w.left, faceHeight(cb), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  layout(cb);
  return CB_OKAY;
}

LRESULT comboInfo(ComboBox& cb, COMBOBOXINFO* info) {
  if (!info || info->cbSize != sizeof(COMBOBOXINFO)) return FALSE;
  info->rcItem = textRect(cb);
  info->rcButton = buttonRect(cb);
  info->stateButton = cb.simple() ? STATE_SYSTEM_INVISIBLE : (cb.dropped ? STATE_SYSTEM_PRESSED : 0);
  info->hwndCombo = cb.self;
  info->hwndItem = cb.edit ? cb.edit : cb.self;
  info->hwndList = cb.list;
  return TRUE;
}

// CB_* messages that are the list's LB_* messages unchanged.
constexpr std::pair<UINT, UINT> kForwarded[] = {
    {CB_GETCOUNT, LB_GETCOUNT},
    {CB_GETCURSEL, LB_GETCURSEL},
    {CB_GETLBTEXT, LB_GETTEXT},
    {CB_GETLBTEXTLEN, LB_GETTEXTLEN},
    {CB_FINDSTRING, LB_FINDSTRING},
    {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT},
    {CB_GETITEMDATA, LB_GETITEMDATA},
    {CB_SETITEMDATA, LB_SETITEMDATA},
    {CB_GETTOPINDEX, LB_GETTOPINDEX},
    {CB_SETTOPINDEX, LB_SETTOPINDEX},
    {CB_GETHORIZONTALEXTENT, LB_GETHORIZONTALEXTENT},
    {CB_SETHORIZONTALEXTENT, LB_SETHORIZONTALEXTENT},
    {CB_INITSTORAGE, LB_INITSTORAGE},
    {CB_SETLOCALE, LB_SETLOCALE},
    {CB_GETLOCALE, LB_GETLOCALE},
    {CB_DIR, LB_DIR},
};

LRESULT comboMessage(ComboBox& cb, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (auto [combo, list] : kForwarded)
    if (combo == msg) {
      LRESULT r = SendMessageA(cb.list, list, wParam, lParam);
      if (msg == CB_GETCURSEL && r == LB_ERR) return CB_ERR;
      return r;
    }
  int index = (int)(INT_PTR)wParam;
  switch (msg) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING: return addString(cb, msg, wParam, lParam);
    case CB_DELETESTRING: return deleteString(cb, index);
    case CB_RESETCONTENT:
      SendMessageA(cb.list, LB_RESETCONTENT, 0, 0);
      cb.notifiedSelection = -1;
      showSelection(cb);
      return CB_OKAY;
    case CB_SETCURSEL: return setCurrent(cb, index);
    case CB_SELECTSTRING: return selectString(cb, index, (const char*)lParam);
    case CB_SHOWDROPDOWN:
      if (wParam) dropDown(cb, false);
      else closeUp(cb, false);
      return TRUE;
    case CB_GETDROPPEDSTATE: return cb.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (!lParam) return CB_ERR;
      *(RECT*)lParam = droppedRect(cb);
      return TRUE;
    case CB_SETEXTENDEDUI: cb.extendedUI = wParam != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return cb.extendedUI ? TRUE : FALSE;
    case CB_SETITEMHEIGHT: return setItemHeight(cb, index, (int)lParam);
    case CB_GETITEMHEIGHT: return index == -1 ? cb.faceItemHeight : SendMessageA(cb.list, LB_GETITEMHEIGHT, index, 0);
    case CB_SETDROPPEDWIDTH: {
      RECT w;
      GetWindowRect(cb.self, &w);
      cb.droppedWidth = std::max(0, index);
      return std::max<LRESULT>(cb.droppedWidth, w.right - w.left);
    }
    case CB_GETDROPPEDWIDTH: {
      RECT w;
      GetWindowRect(cb.self, &w);
      return std::max<LRESULT>(cb.droppedWidth, w.right - w.left);
    }
    case CB_GETEDITSEL: return cb.edit ? SendMessageA(cb.edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
      if (!cb.edit) return CB_ERR;
      SendMessageA(cb.edit, EM_SETSEL, (WPARAM)(INT_PTR)(short)LOWORD(lParam), (LPARAM)(short)HIWORD(lParam));
      return TRUE;
    case CB_LIMITTEXT:
      if (!cb.edit) return CB_ERR;
      SendMessageA(cb.edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETCOMBOBOXINFO: return comboInfo(cb, (COMBOBOXINFO*)lParam);
    default: return 0;
  }
}

// Notifications of the list (LBN_*) and of the edit (EN_*) become the combo's.
void onChildCommand(ComboBox& cb, HWND from, WORD code) {
  if (from == cb.list) {
    switch (code) {
      case LBN_SELCHANGE:
        cb.notifiedSelection = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
        showSelection(cb);
        notifyCombo(cb, CBN_SELCHANGE);
        break;
      case LBN_DBLCLK:
        if (cb.simple()) notifyCombo(cb, CBN_DBLCLK);
        break;
      case LBN_ERRSPACE: notifyCombo(cb, CBN_ERRSPACE); break;
      default: break;
    }
    return;
  }
  if (from != cb.edit) return;
  switch (code) {
    case EN_SETFOCUS:
      // However the edit got the focus, its text is selected whole, as Windows does.
      SendMessageA(cb.edit, EM_SETSEL, 0, -1);
      if (!cb.focused) {
        cb.focused = true;
        notifyCombo(cb, CBN_SETFOCUS);
      }
      break;
    case EN_KILLFOCUS: {
      HWND focus = GetFocus();
      if (focus == cb.self || focus == cb.list) break;
      if (cb.dropped) closeUp(cb, false);
      cb.focused = false;
      notifyCombo(cb, CBN_KILLFOCUS);
      break;
    }
    case EN_UPDATE:
      if (!cb.settingEdit) notifyCombo(cb, CBN_EDITUPDATE);
      break;
    case EN_CHANGE: {
      if (cb.settingEdit) break;
      // Typing moves the list to the first item the text begins (without selecting for the owner).
      int length = GetWindowTextLengthA(cb.edit);
      std::string text((size_t)length + 1, '\0');
      GetWindowTextA(cb.edit, text.data(), length + 1);
      text.resize((size_t)length);
      LRESULT found = length ? SendMessageA(cb.list, LB_FINDSTRING, (WPARAM)-1, (LPARAM)text.c_str()) : LB_ERR;
      if (found >= 0 && (cb.simple() || cb.dropped)) {
        SendMessageA(cb.list, LB_SETCURSEL, found, 0);
        SendMessageA(cb.list, LB_SETTOPINDEX, found, 0);
      } else if (found < 0) {
        SendMessageA(cb.list, LB_SETCURSEL, (WPARAM)-1, 0);
      }
      notifyCombo(cb, CBN_EDITCHANGE);
      break;
    }
    default: break;
  }
}

void onFocus(ComboBox& cb, bool gained, HWND other) {
  if (gained) {
    if (cb.edit) {
      SetFocus(cb.edit);  // the edit's EN_SETFOCUS selects its text
      return;
    }
    if (!cb.focused) {
      cb.focused = true;
      InvalidateRect(cb.self, nullptr, FALSE);
      notifyCombo(cb, CBN_SETFOCUS);
    }
    return;
  }
  if (cb.edit || other == cb.list) return;
  if (cb.dropped) closeUp(cb, false);
  if (!cb.focused) return;
  cb.focused = false;
  InvalidateRect(cb.self, nullptr, FALSE);
  notifyCombo(cb, CBN_KILLFOCUS);
}

LRESULT onSetText(ComboBox& cb, const char* text) {
  if (cb.edit) {
    cb.settingEdit = true;
    std::string s = cased(cb, text);
    SetWindowTextA(cb.edit, s.c_str());
    cb.settingEdit = false;
    return TRUE;
  }
  // A drop-down list shows only its items: the text selects the item it names.
  LRESULT found = text ? SendMessageA(cb.list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text) : LB_ERR;
  if (found < 0) return CB_ERR;
  setCurrent(cb, (int)found);
  return TRUE;
}

LRESULT onGetText(ComboBox& cb, size_t size, char* out) {
  if (cb.edit) return SendMessageA(cb.edit, WM_GETTEXT, size, (LPARAM)out);
  if (!out || !size) return 0;
  int current = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  std::string text = current >= 0 ? itemText(cb, current) : std::string();
  size_t n = std::min(text.size(), size - 1);
  text.copy(out, n);
  out[n] = 0;
  return (LRESULT)n;
}

LRESULT onGetTextLength(ComboBox& cb) {
  if (cb.edit) return GetWindowTextLengthA(cb.edit);
  int current = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  return current >= 0 ? (LRESULT)itemText(cb, current).size() : 0;
}

LRESULT onSetFont(ComboBox& cb, HFONT font, bool redraw) {
  cb.font = font;
  if (cb.edit) SendMessageA(cb.edit, WM_SETFONT, (WPARAM)font, redraw);
  SendMessageA(cb.list, WM_SETFONT, (WPARAM)font, redraw);
  if (!cb.ownerDraw()) {
    measureFace(cb);
    if (!cb.simple()) {
      RECT w;
      GetWindowRect(cb.self, &w);
      SetWindowPos(cb.self, nullptr, 0, 0, w.right - w.left, faceHeight(cb),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  layout(cb);
  return 0;
}

LRESULT CALLBACK comboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE && lParam) {
    // Scroll bar styles belong to the list: the combo itself never shows bars.
    CREATESTRUCTA cs = *(const CREATESTRUCTA*)lParam;
    cs.style &= ~(WS_VSCROLL | WS_HSCROLL);
    SetWindowLongA(hwnd, GWL_STYLE, (LONG)cs.style);
    return DefWindowProcA(hwnd, msg, wParam, (LPARAM)&cs);
  }
  if (msg == WM_CREATE) return onCreate(hwnd, (const CREATESTRUCTA*)lParam);
  ComboBox* cb = comboOf(hwnd);
  if (!cb) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg >= CB_GETEDITSEL && msg <= CB_GETCOMBOBOXINFO) return comboMessage(*cb, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY:
      if (cb->dropped) closeUp(*cb, false);
      // The edit ends with its own procedure, whatever outlives the combo's state.
      if (cb->edit && cb->editProc) SetWindowLongPtrA(cb->edit, GWLP_WNDPROC, (LONG_PTR)cb->editProc);
      if (cb->list && !cb->simple()) DestroyWindow(cb->list);
      cb->list = nullptr;
      return 0;
    case WM_NCDESTROY:
      control::detach<ComboBox>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
      onPosChanging(*cb, (WINDOWPOS*)lParam);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      if (cb->edit || cb->simple()) layout(*cb);
      return 0;
    case WM_SETFONT: return onSetFont(*cb, (HFONT)wParam, LOWORD(lParam) != 0);
    case WM_GETFONT: return (LRESULT)cb->font;
    case WM_SETTEXT: return onSetText(*cb, (const char*)lParam);
    case WM_GETTEXT: return onGetText(*cb, (size_t)wParam, (char*)lParam);
    case WM_GETTEXTLENGTH: return onGetTextLength(*cb);
    case WM_COMMAND:
      if (lParam) onChildCommand(*cb, (HWND)lParam, HIWORD(wParam));
      return 0;
    case WM_SETFOCUS: onFocus(*cb, true, (HWND)wParam); return 0;
    case WM_KILLFOCUS: onFocus(*cb, false, (HWND)wParam); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      control::PaintScope paint(hwnd, msg == WM_PRINTCLIENT ? wParam : 0);
      if (paint.dc()) paintCombo(*cb, paint.dc());
      return 0;
    }
    case WM_ENABLE:
      if (cb->edit) EnableWindow(cb->edit, (BOOL)wParam);
      if (cb->simple()) EnableWindow(cb->list, (BOOL)wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      const MSG* m = (const MSG*)lParam;
      if (cb->dropped && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (!comboKey(*cb, (UINT)wParam, false)) return DefWindowProcA(hwnd, msg, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (!comboKey(*cb, (UINT)wParam, (lParam & (1 << 29)) != 0)) return DefWindowProcA(hwnd, msg, wParam, lParam);
      return 0;
    case WM_CHAR:
      if (cb->dropList()) SendMessageA(cb->list, WM_CHAR, wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: comboButtonDown(*cb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: comboButtonUp(*cb); return 0;
    case WM_MOUSEWHEEL:
      if (!cb->dropped) SendMessageA(cb->list, WM_KEYDOWN, (short)HIWORD(wParam) > 0 ? VK_UP : VK_DOWN, 0);
      else SendMessageA(cb->list, msg, wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      // The edit child's colours are the owner's choice, as for the face.
      return cb->parent ? SendMessageA(cb->parent, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: return cb->parent ? SendMessageA(cb->parent, msg, wParam, lParam) : 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

const SystemClass comboClass({"ComboBox", comboProc, CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW,
                              control::kStateBytes, IDC_ARROW, 0});

}  // namespace

void showSelection(ComboBox& cb) {
  int current = (int)SendMessageA(cb.list, LB_GETCURSEL, 0, 0);
  if (cb.edit) {
    std::string text = current >= 0 ? itemText(cb, current) : std::string();
    cb.settingEdit = true;
    SetWindowTextA(cb.edit, text.c_str());
    if (cb.focused) SendMessageA(cb.edit, EM_SETSEL, 0, -1);
    cb.settingEdit = false;
  }
  InvalidateRect(cb.self, nullptr, FALSE);
}

void comboListDone(HWND combo, bool chosen) {
  if (ComboBox* cb = comboOf(combo)) {
    if (cb->simple()) {
      if (chosen) SetFocus(cb->self);
      return;
    }
    closeUp(*cb, chosen);
  }
}

}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi) {
  if (!IsWindow(hwndCombo)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  ComboBox* cb = comboOf(hwndCombo);
  if (!cb || !pcbi || pcbi->cbSize != sizeof(COMBOBOXINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return (BOOL)SendMessageA(hwndCombo, CB_GETCOMBOBOXINFO, 0, (LPARAM)pcbi);
}
