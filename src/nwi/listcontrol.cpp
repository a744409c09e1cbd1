// The list control's window messages: creation and destruction, focus,
// the standard messages it answers (and the list-box messages in their older
// WM_USER numbering), and its private messages.
#include "listcontrol.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "drawing.h"
#include "library.h"
#include "markup.h"
#include "suballocator.h"

namespace {

constexpr UINT kOldListShift = 0x280;  // WM_USER + n - 0x280 = LB_ADDSTRING + n
constexpr DWORD kSelectionStyles = HLS_MULTIPLE | HLS_EXTENDED;

int short16(WPARAM v) { return static_cast<SHORT>(LOWORD(v)); }
bool focused(const HLRecord* r) { return GetFocus() == r->head.window; }

int compareIndices(const void* key, const void* item) {
  const int a = *static_cast<const int*>(key), b = *static_cast<const int*>(item);
  return a < b ? -1 : a > b ? 1 : 0;
}

bool classIsList(HWND window) {
  char name[256] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  if (length < 4) return false;
  return std::strcmp(name + length - 4, "List") == 0 || std::strcmp(name + length - 4, "Drop") == 0;
}

void freeRecord(HLRecord* r) {
  if (!(r->head.flags & HLF_SHAREDSTORE)) HLDestroyStore(r->store);
  HCtlListDestroy(r->selection);
  HCtlFree(r->tabs);
  HCtlFree(r);
}

LRESULT create(HWND window, const CREATESTRUCTA* cs, BOOL* passOn) {
  auto* r = static_cast<HLRecord*>(HCtlAlloc(sizeof(HLRecord)));
  if (r == nullptr) return FALSE;
  HCtlInitRecord(&r->head, window, cs);
  DWORD style = r->head.style;
  if (style & HLS_SINGLEITEM) {
    style &= ~(kSelectionStyles | HLS_3DFRAME | HLS_NOINTEGRAL | HLS_MULTICOLUMN | WS_VSCROLL);
  }
  if (style & HLS_EXTENDED) style &= ~HLS_MULTIPLE;
  r->head.style = style;
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(style));
  if (!(style & kSelectionStyles)) r->head.flags |= HLF_SINGLESEL | HLF_NOCURRENT;
  r->textColor = r->secondColor = HCTL_SYSCOLOR | COLOR_WINDOWTEXT;
  r->backColor = kHCtlNoColor;
  r->current = r->anchor = r->pressIndex = -1;
  if (style & HLS_FOCUSBRUSH)
    r->focusBrush = static_cast<HBRUSH>(GetStockObject(GetSysColor(COLOR_WINDOW) == 0xFFFFFF ? LTGRAY_BRUSH : WHITE_BRUSH));
  const char* definition = (cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) ? cs->lpszName : "";
  r->store = HLCreateStore(definition, style, &r->textColor, &r->secondColor);
  if (!(style & HLS_SINGLEITEM) && !(r->head.flags & HLF_SINGLESEL))
    r->selection = HCtlListCreate(sizeof(int), nullptr, nullptr, compareIndices, nullptr, nullptr, TRUE);
  if (r->store == nullptr || (!(r->head.flags & HLF_SINGLESEL) && r->selection == nullptr)) {
    freeRecord(r);
    SendMessageA(window, KYM_SETINSTANCE, 0, 0);
    return FALSE;
  }
  *passOn = TRUE;
  return TRUE;
}

void destroy(HWND window, HLRecord* r) {
  freeRecord(r);
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
}

// A new type definition: the items go with the old store.
LRESULT setSpecification(HLRecord* r, const char* text) {
  HLItemStore* store = HLCreateStore(text, r->head.style, &r->textColor, &r->secondColor);
  if (store == nullptr) return FALSE;
  HLStoreClear(r);
  if (!(r->head.flags & HLF_SHAREDSTORE)) HLDestroyStore(r->store);
  r->head.flags &= ~HLF_SHAREDSTORE;
  r->store = store;
  HLLayout(r);
  HLRepaint(r);
  return TRUE;
}

void showFocus(HLRecord* r, bool on) {
  if (on) r->head.flags |= HLF_FOCUSRECT;
  else r->head.flags &= ~HLF_FOCUSRECT;
  if ((r->head.style & (HLS_FOCUSBRUSH | HLS_SINGLEITEM)) || r->current < 0) HLRepaint(r);
  else HLRepaintItem(r, r->current);
  HCtlNotify(&r->head, on ? HL_N_SETFOCUS : HL_N_KILLFOCUS);
}

// The integral height: whole items plus the frame.
void integralHeight(HLRecord* r, WINDOWPOS* position) {
  if (position == nullptr || (position->flags & SWP_NOSIZE) || !(r->head.flags & HLF_FONTSET) ||
      (r->head.style & (HLS_SINGLEITEM | HLS_NOINTEGRAL)))
    return;
  if (r->lineHeight == 0) HLLayout(r);
  const int itemHeight = std::max(r->itemHeight, 1);
  const int frame = (r->head.style & HLS_3DFRAME) ? 4 : 2;
  position->cy = frame + std::max(position->cy - frame, 0) / itemHeight * itemHeight;
}

void typedChar(HLRecord* r, char c) {
  const char text[2] = {c, '\0'};
  const int index = HLFindPrefix(r, text, r->current + 1);
  if (index < 0) return;
  if (r->head.style & HLS_EXTENDED) HLClickSelect(r, index, false, false);
  else HLSetCurrent(r, index, TRUE, FALSE);
}

void setTabStops(HLRecord* r, WPARAM count, LPARAM stops) {
  const int n = static_cast<int>(std::min<WPARAM>(count, 1024));
  int* tabs = nullptr;
  if (n > 0) {
    tabs = static_cast<int*>(HCtlAlloc(sizeof(int) * n));
    if (tabs == nullptr) return;
    if (n == 1) tabs[0] = std::max(static_cast<int>(stops), 0);
    else if (stops != 0) std::memcpy(tabs, reinterpret_cast<const int*>(stops), sizeof(int) * n);
  }
  HCtlFree(r->tabs);
  r->tabs = tabs;
  r->tabCount = tabs ? n : 0;
  HLRepaint(r);
}

void sample(HLRecord* r) {
  if (r->store->dataType != 's' || r->store->codes != nullptr) return;
  static const int stops[2] = {1, 6};
  setTabStops(r, 2, reinterpret_cast<LPARAM>(stops));
  const char separator = (r->head.style & HLS_TABS) ? '\t' : ' ';
  for (int i = 1; i <= 25; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "Line%c%d", separator, i);
    HLStoreInsert(r, -1, text, nullptr);
  }
  HLLayout(r);
  HLRepaint(r);
}

LRESULT copyCurrent(HLRecord* r, WPARAM size, LPARAM buffer, bool code) {
  if (r->current < 0 || buffer == 0 || (code && r->store->codes == nullptr)) return 0;
  HLItemStore* s = r->store;
  // A text without a size is refused: the buffer's room is unknown.
  return HLCopyValue(reinterpret_cast<void*>(buffer), static_cast<int>(size),
                     code ? HLCodeAt(r, r->current) : HLDataAt(r, r->current), code ? s->codeType : s->dataType,
                     code ? s->codeStorage : s->dataStorage);
}

LRESULT valueLength(HLRecord* r, int index, bool code) {
  const void* value = code ? HLCodeAt(r, index) : HLDataAt(r, index);
  if (value == nullptr) return -1;
  const char storage = code ? r->store->codeStorage : r->store->dataStorage;
  const int bytes = HLValueBytes(code ? r->store->codeType : r->store->dataType, storage, value);
  return HLIsText(code ? r->store->codeType : r->store->dataType, storage) ? bytes - 1 : bytes;
}

LRESULT getValue(HLRecord* r, WPARAM wParam, LPARAM buffer, bool code) {
  const int index = static_cast<int>(static_cast<DWORD>(wParam));
  const int size = static_cast<int>(static_cast<DWORD>(wParam >> 32));
  HWND window = r->head.window;
  return code ? HLGetCode(window, index, reinterpret_cast<void*>(buffer), size)
              : HLGetData(window, index, reinterpret_cast<void*>(buffer), size);
}

LRESULT selectedItems(HLRecord* r, WPARAM count, LPARAM out) {
  if (out == 0) return 0;
  auto* indices = reinterpret_cast<int*>(out);
  int written = 0;
  const int room = static_cast<int>(std::min<WPARAM>(count, 0x7FFFFFFF));
  for (int i = 0, n = HLCount(r); i < n && written < room; ++i)
    if (HLIsItemSelected(r, i)) indices[written++] = i;
  return written;
}

// Changing the sort bits sorts the items again.
void setStyle(HLRecord* r, DWORD style) {
  HLItemStore* s = r->store;
  const WORD before = s->flags & (HLI_BYDATA | HLI_BYCODE);
  s->flags &= ~(HLI_BYDATA | HLI_BYCODE);
  if (style & HLS_SORTDATA) s->flags |= HLI_BYDATA;
  else if ((style & HLS_SORTCODE) && s->codes != nullptr) s->flags |= HLI_BYCODE;
  if ((s->flags & (HLI_BYDATA | HLI_BYCODE)) != before && (s->flags & (HLI_BYDATA | HLI_BYCODE))) {
    HLStoreResort(r);
    HLMakeVisible(r, r->current);
    HLRepaint(r);
  }
}

// The private messages; FALSE when the number is not the list's.
BOOL privateMessage(HLRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT& out = *result;
  HWND window = r->head.window;
  HLItemStore* s = r->store;
  const auto* value = reinterpret_cast<const void*>(lParam);
  switch (message) {
    case KYM_LISTGETBKBRUSH: out = reinterpret_cast<LRESULT>(r->backBrush); return TRUE;
    case KYM_LISTSETBKBRUSH: case KYM_LISTSETFOCUSBRUSH: {
      HBRUSH& brush = message == KYM_LISTSETBKBRUSH ? r->backBrush : r->focusBrush;
      out = reinterpret_cast<LRESULT>(brush);
      brush = reinterpret_cast<HBRUSH>(wParam);
      if (lParam) HLRepaint(r);
      return TRUE;
    }
    case KYM_LISTGETFOCUSBRUSH: out = reinterpret_cast<LRESULT>(r->focusBrush); return TRUE;
    case KYM_LISTGETPICTURE:
      out = lParam ? HCtlCopyText(reinterpret_cast<LPSTR>(lParam), s->picture ? s->picture : "", short16(wParam)) : 0;
      return TRUE;
    case KYM_LISTSETPICTURE:
      out = 0;
      if (s->dataType == 's' || lParam == 0) return TRUE;
      HCtlReplaceDup(&s->picture, HCtlTakeColours(reinterpret_cast<LPCSTR>(lParam), &r->textColor, &r->secondColor));
      if (wParam) HLRepaint(r);
      out = 1;
      return TRUE;
    case KYM_GETTEXTCOLOR: out = wParam ? r->secondColor : r->textColor; return TRUE;
    case KYM_SETTEXTCOLOR:
      (wParam ? r->secondColor : r->textColor) = static_cast<COLORREF>(lParam);
      HLRepaint(r);
      out = 0;
      return TRUE;
    case KYM_SETBKCOLOR: r->backColor = static_cast<COLORREF>(lParam); HLRepaint(r); out = 0; return TRUE;
    case KYM_LISTGETDATATYPE: out = s->dataType; return TRUE;
    case KYM_LISTGETCODETYPE: out = s->codeType; return TRUE;
    case KYM_LISTGETDATASTORAGE: out = s->dataStorage; return TRUE;
    case KYM_LISTGETCODESTORAGE: out = s->codeStorage; return TRUE;
    case KYM_LISTGETDATALENGTH: out = valueLength(r, static_cast<int>(wParam), false); return TRUE;
    case KYM_LISTGETCODELENGTH: out = valueLength(r, static_cast<int>(wParam), true); return TRUE;
    case KYM_LISTGETDATALINK: out = reinterpret_cast<LRESULT>(r->dataLink); return TRUE;
    case KYM_LISTGETCODELINK: out = reinterpret_cast<LRESULT>(r->codeLink); return TRUE;
    case KYM_LISTSETDATALINK: out = HLSetDataLink(window, reinterpret_cast<void*>(lParam), static_cast<int>(wParam)); return TRUE;
    case KYM_LISTSETCODELINK: out = HLSetCodeLink(window, reinterpret_cast<void*>(lParam), static_cast<int>(wParam)); return TRUE;
    case KYM_LISTGETCOUNT: out = HLCount(r); return TRUE;
    case KYM_LISTCLEAR: out = HLEmptyList(window); return TRUE;
    case KYM_LISTDELETEITEM: out = HLDeleteItem(window, short16(wParam)); return TRUE;
    case KYM_LISTSELECTITEM: case KYM_LISTSELECTITEM2:
      out = HLSelectOne(r, short16(static_cast<WPARAM>(lParam)), short16(wParam));
      return TRUE;
    case KYM_LISTGETDATA: out = getValue(r, wParam, lParam, false); return TRUE;
    case KYM_LISTGETCODE: out = getValue(r, wParam, lParam, true); return TRUE;
    case KYM_LISTGETTEXT: case KYM_LISTGETTEXTLEN: {
      const int index = static_cast<int>(wParam);
      if (index < 0 || index >= HLCount(r)) { out = -1; return TRUE; }
      char text[256];
      out = HLItemText(r, index, text, sizeof text, nullptr);
      if (message == KYM_LISTGETTEXT && lParam) std::memcpy(reinterpret_cast<char*>(lParam), text, out + 1);
      return TRUE;
    }
    case KYM_LISTSETCODE: out = HLStoreSetCode(r, static_cast<int>(wParam), value); return TRUE;
    case KYM_LISTFINDTEXT: out = HLFindPrefix(r, reinterpret_cast<LPCSTR>(lParam), std::max(static_cast<int>(wParam), 0)); return TRUE;
    case KYM_LISTSELECTTEXT:
      out = HLFindPrefix(r, reinterpret_cast<LPCSTR>(lParam), std::max(static_cast<int>(wParam), 0));
      if (out >= 0) HLSetCurrent(r, static_cast<int>(out), FALSE, FALSE);
      return TRUE;
    case KYM_LISTADDITEM: out = HLInsertItemEx(window, -1, value, nullptr); return TRUE;
    case KYM_LISTINSERTITEM: out = HLInsertItemEx(window, static_cast<int>(wParam), value, nullptr); return TRUE;
    case KYM_LISTFINDDATA: out = HLStoreFind(r, false, static_cast<int>(wParam), value); return TRUE;
    case KYM_LISTFINDCODE: out = HLStoreFind(r, true, static_cast<int>(wParam), value); return TRUE;
    case KYM_LISTSELECTDATA: out = HLSelectData(window, value, static_cast<int>(wParam)); return TRUE;
    case KYM_LISTSELECTCODE: out = HLSelectCode(window, value, static_cast<int>(wParam)); return TRUE;
    case KYM_LISTGETCURDATA: out = copyCurrent(r, wParam, lParam, false); return TRUE;
    case KYM_LISTGETCURCODE: out = copyCurrent(r, wParam, lParam, true); return TRUE;
    case KYM_LISTLAYOUT: HLLayout(r); out = 1; return TRUE;
    case KYM_LISTGETCURRENT: out = r->current; return TRUE;
    case KYM_LISTSETCURRENT: HLSetCurrent(r, short16(wParam), FALSE, FALSE); out = 0; return TRUE;
    case KYM_LISTISSELECTED: out = HLIsItemSelected(r, static_cast<int>(wParam)) ? 1 : 0; return TRUE;
    case KYM_LISTGETSELCOUNT:
      if (r->head.flags & HLF_SINGLESEL) out = r->current >= 0 ? 1 : 0;
      else out = r->selection ? r->selection->count : 0;
      return TRUE;
    case KYM_LISTSELECTRANGE:
      out = HLSelectRange(r, short16(static_cast<WPARAM>(lParam)), static_cast<SHORT>(HIWORD(lParam)),
                          wParam ? 1 : 0);
      return TRUE;
    case KYM_LISTGETSELITEMS: out = selectedItems(r, wParam, lParam); return TRUE;
    case KYM_LISTSETCOLUMNWIDTH:
      out = 0;
      if (!(r->head.style & HLS_MULTICOLUMN)) return TRUE;
      r->columnWidth = std::max(static_cast<int>(wParam), 1);
      r->head.flags |= HLF_COLUMNSET;
      HLLayout(r);
      HLRepaint(r);
      return TRUE;
    case KYM_LISTGETEXTENT: out = r->visibleColumns * r->columnWidth; return TRUE;
    case KYM_LISTGETITEMRECT: HLItemRect(r, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam)); out = 0; return TRUE;
    case KYM_LISTGETCOLUMNWIDTH:
      out = (r->head.style & HLS_MULTICOLUMN) ? r->columnWidth : r->client.right - r->client.left;
      return TRUE;
    case KYM_LISTGETTOP: out = r->top; return TRUE;
    case KYM_LISTSETTOP: HLSetTop(r, static_cast<int>(wParam)); out = r->top; return TRUE;
    case KYM_LISTSCROLL: HLScrollBy(r, short16(wParam)); out = 0; return TRUE;
    case KYM_LISTSETTABSTOPS: setTabStops(r, wParam, lParam); out = 0; return TRUE;
    case KYM_LISTSETREDRAW:
      if (wParam == 0) {
        r->head.flags |= HLF_NOREDRAW;
      } else {
        r->head.flags &= ~HLF_NOREDRAW;
        HLLayout(r);
        if (lParam) HLRepaint(r);
      }
      out = 0;
      return TRUE;
    case KYM_LISTGETFLAGS: out = r->head.flags; return TRUE;
    case KYM_LISTSETFLAGS:
      if (lParam) r->head.flags |= static_cast<WORD>(wParam);
      else r->head.flags &= static_cast<WORD>(~wParam);
      out = 0;
      return TRUE;
    case KYM_LISTSAMPLE: sample(r); out = 0; return TRUE;
    case KYM_LISTGETSTYLE: out = static_cast<LRESULT>(r->head.style); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

HLRecord* HLRecordOf(HWND window) {
  if (window == nullptr || !IsWindow(window) || !classIsList(window)) return nullptr;
  auto* r = reinterpret_cast<HLRecord*>(SendMessageA(window, KYM_GETINSTANCE, 0, 0));
  return r != nullptr && r->head.window == window ? r : nullptr;
}

void HLShareStore(HWND window, HLItemStore* store) {
  HLRecord* r = HLRecordOf(window);
  if (r == nullptr || store == nullptr || store == r->store) return;
  if (!(r->head.flags & HLF_SHAREDSTORE)) HLDestroyStore(r->store);
  r->store = store;
  r->head.flags |= HLF_SHAREDSTORE;
  r->current = r->anchor = -1;
  if (r->head.flags & HLF_SINGLESEL) r->head.flags |= HLF_NOCURRENT;
  r->top = 0;
  if (r->selection) HCtlListEmpty(r->selection);
  HLRepaint(r);
}

LRESULT HLProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) return create(window, reinterpret_cast<const CREATESTRUCTA*>(lParam), passOn);
  auto* r = reinterpret_cast<HLRecord*>(head);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  switch (message) {
    case WM_NCDESTROY: destroy(window, r); *passOn = TRUE; return 0;
    case WM_SIZE: HLLayout(r); *passOn = TRUE; return 0;
    case WM_SETFOCUS: showFocus(r, true); *passOn = TRUE; return 0;
    case WM_KILLFOCUS: showFocus(r, false); return 0;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<LPCSTR>(lParam);
      return text && *text == '%' ? setSpecification(r, text) : TRUE;
    }
    case WM_GETTEXT:
      if (lParam == 0 || wParam == 0) return 0;
      return HCtlCopyText(reinterpret_cast<LPSTR>(lParam), r->store->picture ? r->store->picture : "",
                          static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
    case WM_GETTEXTLENGTH: return r->store->picture ? static_cast<LRESULT>(std::strlen(r->store->picture)) : 0;
    case WM_PAINT:
      if (r->head.flags & HLF_NOREDRAW) {
        ValidateRect(window, nullptr);
        return 0;
      }
      HLPaint(r);
      return 0;
    case WM_ERASEBKGND: HLEraseBackground(r, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_SETCURSOR: SetCursor(HCtlArrowCursor()); *passOn = TRUE; return 0;
    case WM_MOUSEACTIVATE:
      if (!focused(r)) SetFocus(window);
      *passOn = TRUE;
      return 0;
    case WM_SETFONT:
      r->head.flags |= HLF_FONTSET;
      r->lineHeight = 0;
      *passOn = TRUE;
      return 0;
    case WM_WINDOWPOSCHANGING: integralHeight(r, reinterpret_cast<WINDOWPOS*>(lParam)); *passOn = TRUE; return 0;
    case WM_NCCALCSIZE:
      if (!(r->head.style & HLS_3DFRAME)) break;
      return HCtlFrameNcCalcSize(window, wParam, lParam);
    case WM_NCPAINT:
      if (!(r->head.style & HLS_3DFRAME)) break;
      HCtlFrameNcPaint(window, wParam, lParam);
      return 0;
    case WM_KEYDOWN: HLKeyDown(r, static_cast<UINT>(wParam)); *passOn = IsWindow(window); return 0;
    case WM_CHAR: typedChar(r, static_cast<char>(wParam)); *passOn = IsWindow(window); return 0;
    case WM_VSCROLL: HLVScroll(r, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))); return 0;
    case WM_HSCROLL: HLHScroll(r, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))); return 0;
    case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
      HLMouse(r, message, wParam, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return 0;
    case LB_ADDSTRING: return HLInsertItemEx(window, -1, reinterpret_cast<const void*>(lParam), nullptr);
    case LB_GETITEMHEIGHT: return r->itemHeight;
    case KYM_SETSTYLE: setStyle(r, static_cast<DWORD>(lParam)); *passOn = TRUE; return 0;
    default: break;
  }
  LRESULT result = 0;
  if (message >= WM_USER && privateMessage(r, message, wParam, lParam, &result)) return result;
  if (message >= WM_USER && message <= WM_USER + 35) return SendMessageA(window, message - kOldListShift, wParam, lParam);
  *passOn = TRUE;
  return 0;
}
