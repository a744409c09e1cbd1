// The combo box's window messages: its children made at WM_CREATE, layout,
// keys and mouse on the combo, the CB_* messages it translates into the
// list's and the edit's, and the private numbers it hands to its children.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "combobox.h"
#include "editcontrol.h"
#include "library.h"
#include "ravlets.h"
#include "suballocator.h"

namespace {

constexpr UINT kOldComboShift = 0x2C0;  // WM_USER + n - 0x2C0 = CB_GETEDITSEL + n

bool dropDownStyle(const HCRecord* r) { return (r->head.style & HCS_DROPDOWN) != 0; }
bool keyHeld(int key) { return GetKeyState(key) < 0; }

// The leading "%<number>" of a window text: the drop height; the text after it.
const char* takeDropHeight(const char* text, int* height) {
  *height = -1;
  if (text == nullptr || text[0] != '%' || text[1] < '0' || text[1] > '9') return text ? text : "";
  char* end = nullptr;
  const long value = std::strtol(text + 1, &end, 10);
  *height = static_cast<int>(std::clamp<long>(value, 0, 32767));
  return end;
}

// The edit's text: the items' type without the codes' prefix.
std::string editSpecification(const char* items) {
  std::string text = items;
  if (text.size() > 5 && text[3] == '%') text.erase(3, 3);
  return text;
}

int faceHeight(HCRecord* r) { return HIWORD(HCtlAvgCharSize(r->head.font)) + 8; }

LRESULT create(HCRecord* r, const CREATESTRUCTA* cs) {
  char prefix[256] = {};
  const int length = GetClassNameA(r->head.window, prefix, sizeof prefix);
  prefix[std::max(length - 4, 0)] = '\0';
  const std::string listClass = std::string(prefix) + "Drop";
  int height = -1;
  const char* items = takeDropHeight(cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "", &height);
  const DWORD style = static_cast<DWORD>(cs->style);
  r->head.style = style;
  if (height < 0) {
    if (dropDownStyle(r)) height = 3 * cs->cy < 40 ? 100 : 3 * cs->cy;
    else height = std::max(cs->cy - faceHeight(r), 0);
  }
  r->dropHeight = height;
  HINSTANCE module = HCtlLibraryModule();
  if (dropDownStyle(r)) {
    r->list = CreateWindowExA(WS_EX_TOOLWINDOW, listClass.c_str(), items, (style & 0xE7FFF7F6u) | WS_CHILD, 0, 0, cs->cx,
                              height, GetDesktopWindow(), reinterpret_cast<HMENU>(HC_LIST_ID), module, nullptr);
  } else {
    r->list = CreateWindowExA(0, listClass.c_str(), items, (style & 0xF7FFF7F6u) | WS_CHILD | WS_VISIBLE, 0, 0,
                              cs->cx, height, r->head.window, reinterpret_cast<HMENU>(HC_LIST_ID), module, nullptr);
  }
  if (r->list == nullptr) return -1;
  SendMessageA(r->list, KYM_SETNOTIFYWND, reinterpret_cast<WPARAM>(r->head.window), 0);
  r->listRecord = HLRecordOf(r->list);
  if (HCEditable(r)) {
    DWORD editStyle = WS_CHILD | WS_VISIBLE | HES_AUTOSCROLL | (style & 0xF7FF0080u);
    if (style & HCS_3DFRAME) editStyle |= HES_3DFRAME;
    if (style & HCS_FOCUSBRUSH) editStyle |= HES_FOCUSBRUSH;
    r->face = CreateWindowExA(0, (std::string(prefix) + "Edit_SS").c_str(), editSpecification(items).c_str(), editStyle,
                              0, 0, cs->cx, faceHeight(r), r->head.window, reinterpret_cast<HMENU>(HC_EDIT_ID), module,
                              nullptr);
  } else {
    const DWORD faceStyle = (style & 0xF7FFF7F7u) | WS_CHILD | WS_VISIBLE | HLS_NOSCROLL | HLS_NOINTEGRAL | HLS_SINGLEITEM;
    r->face = CreateWindowExA(0, (std::string(prefix) + "List").c_str(), items, faceStyle, 0, 0, cs->cx, faceHeight(r),
                              r->head.window, reinterpret_cast<HMENU>(HC_FACE_ID), module, nullptr);
    if (r->face != nullptr && r->listRecord != nullptr) HLShareStore(r->face, r->listRecord->store);
  }
  if (r->face == nullptr || r->listRecord == nullptr) {
    if (r->face) DestroyWindow(r->face);
    DestroyWindow(r->list);
    r->face = r->list = nullptr;
    return -1;
  }
  r->faceRecord = reinterpret_cast<HCtlRecord*>(SendMessageA(r->face, KYM_GETINSTANCE, 0, 0));
  SetWindowLongA(r->head.window, GWL_STYLE, static_cast<LONG>(style & ~(WS_BORDER | WS_HSCROLL | WS_VSCROLL)));
  SetWindowLongPtrA(r->list, sizeof(LONG_PTR), reinterpret_cast<LONG_PTR>(r->face));
  r->faceProc = HCtlSubclass(r->face, HCFaceProc);
  HCLayout(r);
  return 0;
}

// Keys on the combo, also as offered by the face first: 1 when used here.
LRESULT keyDown(HCRecord* r, UINT key) {
  const bool dropped = (r->head.flags & HCF_DROPPED) != 0;
  const bool wantKeys = (r->head.style & HCS_WANTKEYS) != 0;
  switch (key) {
    case VK_TAB:
      if (wantKeys) HCtlNotify(&r->head, keyHeld(VK_SHIFT) ? HL_N_BACKTAB : HL_N_TAB);
      else SendMessageA(GetParent(r->head.window), WM_NEXTDLGCTL, keyHeld(VK_SHIFT) ? 1 : 0, 0);
      return 1;
    case VK_RETURN: case VK_ESCAPE:
      if (dropped) {
        HCCloseUp(r, r->head.window);
        return 1;
      }
      if (wantKeys) HCtlNotify(&r->head, key == VK_RETURN ? HL_N_ENTER : HL_N_ESCAPE);
      return 0;
    case VK_F4: HCToggle(r); return 1;
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
      if (!HCEditable(r)) {
        // The single-item face moves by itself; a dropped list takes the key.
        if (!dropped) return 0;
        SendMessageA(r->list, WM_KEYDOWN, key, 0);
        return 1;
      }
      if (r->head.flags & HCF_DIFFERS) HCSync(r, 0, FALSE);
      else SendMessageA(r->list, WM_KEYDOWN, key, 0);
      return 1;
    default: return 0;
  }
}

bool onButton(HCRecord* r, int x, int y) {
  const RECT button = HCButtonRect(r);
  const POINT p{x, y};
  return dropDownStyle(r) && PtInRect(&button, p);
}

void mouse(HCRecord* r, UINT message, int x, int y) {
  HWND window = r->head.window;
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
      if (GetFocus() != r->face) SetFocus(r->face);
      if (onButton(r, x, y)) {
        r->head.flags |= HCF_HELD | HCF_PRESSED;
        HCDrawButton(window, nullptr, TRUE);
        HCToggle(r);
        SetCapture(window);
      }
      if (message == WM_LBUTTONDBLCLK) HCtlNotify(&r->head, HC_N_DBLCLK);
      return;
    case WM_MOUSEMOVE: {
      if (!(r->head.flags & HCF_HELD)) return;
      const bool on = onButton(r, x, y);
      if (on != ((r->head.flags & HCF_PRESSED) != 0)) {
        r->head.flags ^= HCF_PRESSED;
        HCDrawButton(window, nullptr, on);
      }
      // Reaching the dropped list hands the drag over to it.
      POINT p{x, y};
      ClientToScreen(window, &p);
      RECT listRect;
      GetWindowRect(r->list, &listRect);
      if ((r->head.flags & HCF_DROPPED) && PtInRect(&listRect, p)) {
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        ScreenToClient(r->list, &p);
        SendMessageA(r->list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
      }
      return;
    }
    case WM_LBUTTONUP:
      if (!(r->head.flags & HCF_HELD)) return;
      r->head.flags &= ~(HCF_HELD | HCF_PRESSED);
      if (GetCapture() == window) ReleaseCapture();
      HCDrawButton(window, nullptr, FALSE);
      return;
    default: return;
  }
}

LRESULT childCommand(HCRecord* r, int id, int code) {
  switch (id) {
    case HC_EDIT_ID:
      if (code == HED_N_CHANGE) {
        // Typed text picks the first item it begins.
        if (r->listRecord->store->dataType == 's') HCSync(r, 1, FALSE);
        HCtlNotify(&r->head, HC_N_EDITCHANGE);
      } else if (code == HED_N_MODIFIED) {
        HCtlNotify(&r->head, HC_N_EDITMODIFIED);
      }
      return 1;
    case HC_FACE_ID:
      if (code == HL_N_CHANGE) HCSync(r, 1, TRUE);
      return 1;
    case HC_LIST_ID:
      if (code == HL_N_CHANGE) HCSync(r, 0, TRUE);
      else if (code == HL_N_DBLCLK && HCEditable(r)) HCtlNotify(&r->head, HC_N_DBLCLK);
      return 1;
    default: return 0;
  }
}

// Owner-draw messages of the list go to the owner as the combo's.
LRESULT ownerItem(HCRecord* r, UINT message, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      item->CtlType = ODT_COMBOBOX;
      item->CtlID = r->head.id;
      item->hwndItem = r->head.window;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      item->CtlType = ODT_COMBOBOX;
      item->CtlID = r->head.id;
      break;
    }
    default: {
      auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
      item->CtlType = ODT_COMBOBOX;
      item->CtlID = r->head.id;
      break;
    }
  }
  return SendMessageA(r->head.notifyTarget, message, r->head.id, lParam) != 0 ? 1 : 0;
}

LRESULT setText(HCRecord* r, const char* text) {
  int height = -1;
  const char* rest = takeDropHeight(text, &height);
  if (height >= 0) {
    r->dropHeight = height;
    HCLayout(r);
  }
  if (*rest != '%') return 1;
  SendMessageA(r->list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rest));
  // A list face shows the list's new store at once: its pointer to the old
  // one, which the list has freed, must not be used again.
  if (HCEditable(r)) SendMessageA(r->face, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(editSpecification(rest).c_str()));
  else HLShareStore(r->face, r->listRecord->store);
  return 1;
}

LRESULT getText(HCRecord* r, UINT message, WPARAM size, LPARAM buffer) {
  if (HCEditable(r)) return SendMessageA(r->face, message, size, buffer);
  const int index = r->listRecord->current;
  char text[256] = {};
  const int length = index >= 0 ? HLItemText(r->listRecord, index, text, sizeof text, nullptr) : 0;
  if (message == WM_GETTEXTLENGTH) return length;
  if (buffer == 0 || size == 0) return 0;
  return HCtlCopyText(reinterpret_cast<LPSTR>(buffer), text, static_cast<int>(std::min<WPARAM>(size, sizeof text)));
}

LRESULT itemData(HCRecord* r, int index) {
  const HLItemStore* s = r->listRecord->store;
  const int bytes = s->codes ? HLValueBytes(s->codeType, s->codeStorage, HLCodeAt(r->listRecord, index)) : 0;
  // Only codes of up to four bytes fit the 32-bit item data.
  if (bytes < 1 || bytes > 4 || HLIsText(s->codeType, s->codeStorage)) return CB_ERR;
  DWORD value = 0;
  std::memcpy(&value, HLCodeAt(r->listRecord, index), bytes);
  return value;
}

LRESULT setItemData(HCRecord* r, int index, LPARAM data) {
  const HLItemStore* s = r->listRecord->store;
  const int bytes = s->codes ? HLValueBytes(s->codeType, s->codeStorage, HLCodeAt(r->listRecord, index)) : 0;
  if (bytes < 1 || bytes > 4 || HLIsText(s->codeType, s->codeStorage)) return CB_ERR;
  alignas(8) BYTE value[8] = {};
  const DWORD word = static_cast<DWORD>(data);
  std::memcpy(value, &word, bytes);
  return HLSetCode(r->list, index, value) ? 0 : CB_ERR;
}

// CB_* messages: the combo's own, or the list's and the edit's numbers.
bool standardMessage(HCRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND window = r->head.window;
  auto toList = [&](UINT to) { *result = SendMessageA(window, to, wParam, lParam); };
  switch (message) {
    case CB_GETEDITSEL: *result = SendMessageA(r->face, KYM_EDITGETSEL, wParam, lParam); return true;
    case CB_SETEDITSEL: *result = SendMessageA(r->face, KYM_SETSEL, 0, lParam); return true;
    case CB_LIMITTEXT:
      *result = lParam ? SendMessageA(r->face, KYM_SETSEL, 0, lParam) : SendMessageA(r->face, KYM_EDITSETLIMIT, wParam, 0);
      return true;
    case CB_ADDSTRING: toList(KYM_LISTADDITEM); return true;
    case CB_DELETESTRING: toList(KYM_LISTDELETEITEM); return true;
    case CB_GETCOUNT: toList(KYM_LISTGETCOUNT); return true;
    case CB_GETCURSEL: toList(KYM_LISTGETCURRENT); return true;
    case CB_GETLBTEXT: toList(KYM_LISTGETTEXT); return true;
    case CB_GETLBTEXTLEN: toList(KYM_LISTGETTEXTLEN); return true;
    case CB_INSERTSTRING: toList(KYM_LISTINSERTITEM); return true;
    case CB_RESETCONTENT: toList(KYM_LISTCLEAR); return true;
    case CB_FINDSTRING: toList(KYM_LISTFINDTEXT); return true;
    case CB_SELECTSTRING: toList(KYM_LISTSELECTTEXT); return true;
    case CB_SETCURSEL: toList(KYM_LISTSETCURRENT); return true;
    case CB_FINDSTRINGEXACT: toList(KYM_LISTFINDDATA); return true;
    case CB_SHOWDROPDOWN:
      if (wParam) HCDropDown(window);
      else HCCloseUp(r, window);
      *result = 1;
      return true;
    case CB_GETITEMDATA: *result = itemData(r, static_cast<int>(wParam)); return true;
    case CB_SETITEMDATA: *result = setItemData(r, static_cast<int>(wParam), lParam); return true;
    case CB_GETDROPPEDCONTROLRECT:
      if (lParam) GetWindowRect(r->list, reinterpret_cast<RECT*>(lParam));
      *result = 0;
      return true;
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(wParam) != -1) { *result = CB_ERR; return true; }
      if (dropDownStyle(r)) {
        SetWindowPos(window, nullptr, 0, 0, WindowWidth(window), static_cast<int>(lParam), SWP_NOMOVE | SWP_NOZORDER);
      } else {
        r->dropHeight = std::max(WindowHeight(window) - static_cast<int>(lParam), 0);
        HCLayout(r);
      }
      *result = 1;
      return true;
    case CB_GETITEMHEIGHT:
      *result = static_cast<int>(wParam) == -1 ? WindowHeight(r->face) : SendMessageA(r->list, LB_GETITEMHEIGHT, 0, 0);
      return true;
    case CB_SETEXTENDEDUI: *result = CB_ERR; return true;
    case CB_GETEXTENDEDUI: *result = 0; return true;
    case CB_GETDROPPEDSTATE: *result = (r->head.flags & HCF_DROPPED) ? 1 : 0; return true;
    default: return false;
  }
}

// Private numbers: the combo's own, then its children's.
LRESULT privateMessage(HCRecord* r, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = r->head.window;
  const bool simpleFocusBrush = !dropDownStyle(r) && (r->head.style & HCS_FOCUSBRUSH);
  switch (message) {
    case KYM_GETFLAG2000:
      return (r->listRecord->head.flags & HCTL_CHANGED) || SendMessageA(r->face, KYM_GETFLAG2000, 0, 0) ? 1 : 0;
    case KYM_COMBOFACEFOCUS:
      if (simpleFocusBrush) InvalidateRect(r->list, nullptr, TRUE);
      HCtlNotify(&r->head, HC_N_SETFOCUS);
      return 1;
    case KYM_COMBOFACEBLUR:
      if (simpleFocusBrush) InvalidateRect(r->list, nullptr, TRUE);
      HCCloseUp(r, window);
      if (HCEditable(r)) SendMessageA(r->face, KYM_SETSEL, 0, 0);
      if ((r->head.flags & HCF_CHANGED) && HCtlNotify(&r->head, HC_N_LEFTCHANGED) && !IsWindow(window)) return 1;
      r->head.flags &= ~HCF_CHANGED;
      HCtlNotify(&r->head, HC_N_KILLFOCUS);
      return 1;
    case KYM_COMBOSYSKEY:
      if (wParam == VK_UP || wParam == VK_DOWN) HCToggle(r);
      return 1;
    case KYM_COMBOGETDROPHEIGHT: return r->dropHeight;
    case KYM_COMBOSETDROPHEIGHT: r->dropHeight = static_cast<int>(wParam); HCLayout(r); return 1;
    case KYM_COMBOGETDROPWIDTH: return r->dropWidth;
    case KYM_COMBOSETDROPWIDTH:
      if (!dropDownStyle(r)) return 0;
      r->dropWidth = static_cast<int>(wParam);
      if (r->head.flags & HCF_DROPPED) {
        HCCloseUp(r, window);
        HCDropDown(window);
      }
      return 1;
    case KYM_SETTEXTCOLOR: case KYM_SETBKCOLOR: case KYM_LISTSETBKBRUSH: case KYM_LISTSETPICTURE:
      SendMessageA(r->list, message, wParam, lParam);
      break;
    case KYM_LISTSETFOCUSBRUSH:
      if ((r->head.style & HCS_FOCUSBRUSH) && dropDownStyle(r)) SendMessageA(r->list, message, wParam, lParam);
      break;
    case KYM_LISTCLEAR: case KYM_LISTDELETEITEM: case KYM_LISTADDITEM: case KYM_LISTINSERTITEM: {
      const LRESULT result = SendMessageA(r->list, message, wParam, lParam);
      InvalidateRect(r->face, nullptr, TRUE);
      return result;
    }
    case KYM_LISTSELECTDATA: case KYM_LISTSELECTCODE: wParam = 1; break;
    default: break;
  }
  const bool toFace = message >= WM_USER + 25 && message < WM_USER + 150;
  const LRESULT result = SendMessageA(toFace ? r->face : r->list, message, wParam, lParam);
  if (!IsWindow(window)) return result;
  switch (message) {
    case KYM_SETDATA: HCSync(r, 1, FALSE); break;
    case KYM_LISTSELECTITEM: case KYM_LISTSELECTTEXT: case KYM_LISTSELECTDATA: case KYM_LISTSETCODELINK:
    case KYM_LISTSELECTCODE: case KYM_LISTSETCURRENT:
      HCSync(r, 0, FALSE);
      break;
    default: break;
  }
  return result;
}

}  // namespace

LRESULT HCProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) {
    auto* r = static_cast<HCRecord*>(HCtlAlloc(sizeof(HCRecord)));
    if (r == nullptr) return FALSE;
    HCtlInitRecord(&r->head, window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    *passOn = TRUE;
    return TRUE;
  }
  auto* r = reinterpret_cast<HCRecord*>(head);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      if (create(r, reinterpret_cast<const CREATESTRUCTA*>(lParam)) != 0) return -1;
      *passOn = TRUE;
      return 0;
    case WM_NCDESTROY:
      HCCloseUp(r, window);
      if (r->list != nullptr && IsWindow(r->list)) DestroyWindow(r->list);
      HCtlFree(r);
      SendMessageA(window, KYM_SETINSTANCE, 0, 0);
      *passOn = TRUE;
      return 0;
    case WM_SIZE: HCLayout(r); *passOn = TRUE; return 0;
    case WM_SETFOCUS: if (r->face) SetFocus(r->face); *passOn = TRUE; return 0;
    case WM_ENABLE: HCDrawButton(window, nullptr, FALSE); *passOn = TRUE; return 0;
    case WM_SETTEXT: return setText(r, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT: case WM_GETTEXTLENGTH: return getText(r, message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
      if (dropDownStyle(r)) HCDrawButton(window, reinterpret_cast<HDC>(wParam), (r->head.flags & HCF_PRESSED) != 0);
      return 1;
    }
    case WM_DRAWITEM: case WM_MEASUREITEM: case WM_DELETEITEM: return ownerItem(r, message, lParam);
    case WM_SETFONT:
      if (r->list) SendMessageA(r->list, WM_SETFONT, wParam, lParam);
      if (r->face) SendMessageA(r->face, WM_SETFONT, wParam, lParam);
      r->head.font = reinterpret_cast<HFONT>(wParam);
      if (dropDownStyle(r)) HCLayout(r);
      return 0;
    case WM_GETDLGCODE: {
      const LRESULT selection = HCEditable(r) ? DLGC_HASSETSEL : 0;
      if ((r->head.flags & HCF_DROPPED) || (r->head.style & HCS_WANTKEYS)) return DLGC_WANTALLKEYS | selection;
      return DLGC_WANTCHARS | DLGC_WANTARROWS | selection;
    }
    case WM_KEYDOWN: return keyDown(r, static_cast<UINT>(wParam));
    case WM_CHAR: return SendMessageA(r->face, message, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) HCToggle(r);
      return 1;
    case WM_COMMAND: return childCommand(r, LOWORD(wParam), HIWORD(wParam));
    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
      if ((r->head.style & HCS_FOCUSBRUSH) && GetFocus() == r->face) {
        const LRESULT brush = SendMessageA(r->face, KYM_EDITGETFOCUSBRUSH, 0, 0);
        if (brush) return brush;
      }
      return SendMessageA(r->head.notifyTarget, message, wParam, lParam);
    case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
      mouse(r, message, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return 1;
    default: break;
  }
  LRESULT result = 0;
  if (message >= CB_GETEDITSEL && message <= CB_GETDROPPEDSTATE + 16 && standardMessage(r, message, wParam, lParam, &result))
    return result;
  if (message >= WM_USER && message <= WM_USER + 24) return SendMessageA(window, message - kOldComboShift, wParam, lParam);
  if (message >= WM_USER + 25 && message != KYM_GETINSTANCE && message != KYM_SETINSTANCE && message != KYM_GETNOTIFYWND &&
      message != KYM_SETNOTIFYWND && message != KYM_GETSTYLE && message != KYM_SETSTYLE && message != KYM_VETO &&
      message != KYM_SETNONOTIFY && message != KYM_GETNONOTIFY && message != KYM_SETFLAG2000)
    return privateMessage(r, message, wParam, lParam);
  *passOn = TRUE;
  return 0;
}
