// The "ListBox" window class: its messages (LB_*), selection state and
// notifications. Geometry and scrolling live in listbox_layout.cpp, painting
// in listbox_paint.cpp, keyboard and mouse in listbox_input.cpp.
//
// Both the "ListBox" and the "ComboLBox" class run this procedure; a
// ComboLBox is created by its combo box with the combo's handle as the
// creation parameter, and notifies the combo instead of its parent.
#include "listbox.h"

#include "combobox.h"
#include "control.h"
#include "systemclass.h"

#include <winnls.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace win32::user {

bool ListBox::isSelected(int index) const {
  if (!valid(index)) return false;
  return multiple() ? items.at(index).selected : index == current;
}

ListBox* listOf(HWND hwnd) { return hwnd ? control::state<ListBox>(hwnd) : nullptr; }

void notifyList(ListBox& lb, int code) {
  bool always = code == LBN_SETFOCUS || code == LBN_KILLFOCUS || code == LBN_ERRSPACE;
  if (!always && !(lb.style & LBS_NOTIFY) && !lb.combo) return;
  HWND target = lb.combo ? lb.combo : lb.parent;
  if (target) SendMessageA(target, WM_COMMAND, MAKEWPARAM(lb.id, code), (LPARAM)lb.self);
}

void moveCaret(ListBox& lb, int index) {
  if (index == lb.caret) return;
  int old = lb.caret;
  lb.caret = index;
  if (lb.focused) {
    invalidateItem(lb, old);
    invalidateItem(lb, index);
  }
}

void selectSingle(ListBox& lb, int index) {
  int old = lb.current;
  lb.current = lb.valid(index) ? index : -1;
  if (old != lb.current) {
    invalidateItem(lb, old);
    invalidateItem(lb, lb.current);
  }
  if (lb.current >= 0) moveCaret(lb, lb.current);
}

void setSelected(ListBox& lb, int index, bool on) {
  if (!lb.valid(index)) return;
  ListItem& item = lb.items.at(index);
  if (item.selected == on) return;
  item.selected = on;
  invalidateItem(lb, index);
}

void setRange(ListBox& lb, int first, int last, bool on) {
  first = std::max(first, 0);
  last = std::min(last, lb.count() - 1);
  for (int i = first; i <= last; ++i) setSelected(lb, i, on);
}

namespace {

// Case-insensitive comparison by the list's locale, as sorted lists order and search.
int compareText(const ListBox& lb, const char* a, int aLength, const char* b, int bLength) {
  int r = CompareStringA(lb.locale, NORM_IGNORECASE, a, aLength, b, bLength);
  return r ? r - CSTR_EQUAL : 0;
}

// WM_COMPAREITEM for sorted owner-drawn lists without strings: the owner orders them.
int compareByOwner(ListBox& lb, ULONG_PTR newData, int existing) {
  COMPAREITEMSTRUCT ci{};
  ci.CtlType = ownerControlType(lb);
  ci.CtlID = ownerControlId(lb);
  ci.hwndItem = ownerItemWindow(lb);
  ci.itemID1 = (UINT)-1;
  ci.itemData1 = newData;
  ci.itemID2 = (UINT)existing;
  ci.itemData2 = lb.items.at(existing).data;
  ci.dwLocaleId = lb.locale;
  return (int)SendMessageA(ownerWindow(lb), WM_COMPAREITEM, ci.CtlID, (LPARAM)&ci);
}

int compareWith(ListBox& lb, const ListItem& item, int existing) {
  if (!lb.hasStrings()) return compareByOwner(lb, item.data, existing);
  const std::string& other = lb.items.at(existing).text;
  return compareText(lb, item.text.data(), (int)item.text.size(), other.data(), (int)other.size());
}

// Where a sorted list takes a new item: after the items that compare equal.
// Items often arrive in order (a sorted query, a log), so the end is tried first.
int sortedPosition(ListBox& lb, const ListItem& item) {
  int lo = 0, hi = lb.count();
  if (hi > 0 && compareWith(lb, item, hi - 1) >= 0) return hi;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (compareWith(lb, item, mid) < 0) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

// Whether `item` placed at `index` leaves a list of strings in sorted order.
bool keepsOrder(ListBox& lb, const ListItem& item, int index) {
  if (!lb.hasStrings()) return false;
  return (index == 0 || compareWith(lb, item, index - 1) >= 0) &&
         (index == lb.count() || compareWith(lb, item, index) <= 0);
}

// Indices at or after `index` move one place up (insert) or down (delete).
void shiftIndex(int& value, int index, int delta) {
  if (value >= index && value >= 0) value += delta;
}

}  // namespace

LRESULT insertItem(ListBox& lb, int index, LPARAM lParam, bool sorted) {
  if (index < -1 || index > lb.count()) return LB_ERR;
  ListItem item;
  if (lb.hasStrings()) item.text = lParam ? (const char*)lParam : "";
  else item.data = (ULONG_PTR)lParam;
  try {
    if (sorted) index = sortedPosition(lb, item);
    else if (index == -1) index = lb.count();
    if (lb.variable()) item.height = measureVariable(lb, index, (ULONG_PTR)lParam);
    if (!sorted && lb.inOrder) lb.inOrder = keepsOrder(lb, item, index);
    lb.items.insert(index, std::move(item));
  } catch (const std::bad_alloc&) {
    notifyList(lb, LBN_ERRSPACE);
    return LB_ERRSPACE;
  }
  shiftIndex(lb.current, index, 1);
  shiftIndex(lb.caret, index, 1);
  shiftIndex(lb.anchor, index, 1);
  // The first item of a list that had no caret gets it, as Windows does for the focus rectangle.
  if (lb.caret < 0 && lb.multiple()) lb.caret = 0;
  invalidateFrom(lb, index);
  updateScrollBars(lb);
  return index;
}

namespace {

// WM_DELETEITEM goes to the owner of owner-drawn lists and of items with data.
void sendDeleteItem(ListBox& lb, int index, const ListItem& item) {
  if (!lb.ownerDraw() && !item.data) return;
  DELETEITEMSTRUCT di{};
  di.CtlType = ownerControlType(lb);
  di.CtlID = ownerControlId(lb);
  di.itemID = (UINT)index;
  di.hwndItem = ownerItemWindow(lb);
  di.itemData = item.data;
  SendMessageA(ownerWindow(lb), WM_DELETEITEM, di.CtlID, (LPARAM)&di);
}

LRESULT deleteItem(ListBox& lb, int index) {
  if (!lb.valid(index)) return LB_ERR;
  ListItem item = lb.items.take(index);
  sendDeleteItem(lb, index, item);
  for (int* value : {&lb.current, &lb.caret, &lb.anchor}) {
    if (*value == index) *value = -1;
    else shiftIndex(*value, index + 1, -1);
  }
  if (lb.caret < 0 && lb.count()) lb.caret = std::min(index, lb.count() - 1);
  lb.top = std::min(lb.top, maxTop(lb));
  invalidateFrom(lb, index);
  updateScrollBars(lb);
  return lb.count();
}

void resetContent(ListBox& lb) {
  // The owner hears of each item from the first, to free its data; the items go together after.
  for (int i = 0; i < lb.count(); ++i) sendDeleteItem(lb, i, lb.items.at(i));
  lb.items.clear();
  lb.inOrder = true;
  lb.current = lb.caret = lb.anchor = -1;
  lb.top = 0;
  lb.horizontalPos = 0;
  if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
  updateScrollBars(lb);
}

LRESULT getText(ListBox& lb, int index, char* out) {
  if (!lb.valid(index)) return LB_ERR;
  const ListItem& item = lb.items.at(index);
  if (!lb.hasStrings()) {
    // Lists without strings answer the item data in the buffer (a ULONG_PTR).
    if (out) memcpy(out, &item.data, sizeof item.data);
    return sizeof item.data;
  }
  if (!out) return LB_ERR;
  memcpy(out, item.text.data(), item.text.size());
  out[item.text.size()] = 0;
  return (LRESULT)item.text.size();
}

LRESULT setCurrentSelection(ListBox& lb, int index) {
  if (lb.multiple()) return LB_ERR;
  if (!lb.valid(index)) {
    selectSingle(lb, -1);
    return LB_ERR;
  }
  selectSingle(lb, index);
  ensureVisible(lb, index);
  return index;
}

LRESULT setSelection(ListBox& lb, bool on, int index) {
  if (!lb.multiple()) return LB_ERR;
  if (index == -1) {
    setRange(lb, 0, lb.count() - 1, on);
    return LB_OKAY;
  }
  if (!lb.valid(index)) return LB_ERR;
  setSelected(lb, index, on);
  moveCaret(lb, index);
  if (on) lb.anchor = index;
  return LB_OKAY;
}

LRESULT selectedItems(ListBox& lb, int max, int* out) {
  if (!lb.multiple()) return LB_ERR;
  int n = 0;
  for (int i = 0; i < lb.count() && (!out || n < max); ++i)
    if (lb.items.at(i).selected) {
      if (out) out[n] = i;
      ++n;
    }
  return n;
}

// The tab stops in pixels from the ones in dialog units: a quarter of the
// font's average character width each, so they follow WM_SETFONT.
void tabStopsToPixels(ListBox& lb) {
  lb.tabStops.clear();
  if (lb.tabUnits.empty()) return;
  HDC dc = GetDC(lb.self);
  TEXTMETRICA tm{};
  {
    control::FontScope font(dc, lb.font);
    GetTextMetricsA(dc, &tm);
  }
  ReleaseDC(lb.self, dc);
  int unit = std::max<int>(1, tm.tmAveCharWidth);
  for (int stop : lb.tabUnits) lb.tabStops.push_back(std::max(1, stop * unit / 4));
}

LRESULT setTabStops(ListBox& lb, int count, const int* stops) {
  if (!(lb.style & LBS_USETABSTOPS)) return FALSE;
  // No stops asks for the default: one every two dialog units, as documented.
  if (count <= 0 || !stops) lb.tabUnits.assign(1, 2);
  else lb.tabUnits.assign(stops, stops + count);
  tabStopsToPixels(lb);
  if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
  return TRUE;
}

LRESULT selectString(ListBox& lb, int start, const char* text) {
  int index = findItem(lb, start, text, false);
  if (index == LB_ERR) return LB_ERR;
  if (lb.multiple()) {
    setSelected(lb, index, true);
    moveCaret(lb, index);
    ensureVisible(lb, index);
  } else {
    setCurrentSelection(lb, index);
  }
  return index;
}

LRESULT itemFromPoint(ListBox& lb, LPARAM lParam) {
  bool outside = false;
  int index = itemAt(lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, outside);
  if (index < 0) return MAKELRESULT(0xFFFF, 1);
  return MAKELRESULT(index, outside ? 1 : 0);
}

LRESULT setItemHeight(ListBox& lb, int index, int height) {
  if (height <= 0 || height > 255) return LB_ERR;
  if (lb.variable()) {
    if (!lb.valid(index)) return LB_ERR;
    lb.items.at(index).height = height;
  } else {
    lb.itemHeight = height;
  }
  lb.top = std::min(lb.top, maxTop(lb));
  if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
  updateScrollBars(lb);
  return LB_OKAY;
}

LRESULT getItemHeight(ListBox& lb, int index) {
  if (!lb.variable()) return lb.itemHeight;
  if (lb.count() == 0) return lb.itemHeight;
  return lb.valid(index) ? lb.items.at(index).height : LB_ERR;
}

LRESULT onCreate(HWND hwnd, const CREATESTRUCTA* cs, bool comboList) {
  auto lb = std::make_unique<ListBox>();
  lb->self = hwnd;
  lb->style = cs->style;
  lb->parent = cs->hwndParent;
  lb->id = (UINT)(UINT_PTR)cs->hMenu;
  lb->locale = GetUserDefaultLCID();
  lb->redraw = !(cs->style & LBS_NOREDRAW);
  if (comboList) {
    // Only a combo box may own a drop-down list: anything else makes a plain list.
    HWND combo = (HWND)cs->lpCreateParams;
    if (comboOf(combo)) lb->combo = combo;
    lb->id = 0;
  }
  // Variable heights cannot share columns; owner-drawn lists without strings have no texts to sort by.
  if (lb->style & LBS_MULTICOLUMN) lb->style &= ~LBS_OWNERDRAWVARIABLE;
  if (lb->style & LBS_MULTIPLESEL) lb->style &= ~LBS_EXTENDEDSEL;
  ListBox* raw = lb.release();
  setControlState(hwnd, &ControlKind<ListBox>::tag, raw);
  if (raw->combo) raw->font = (HFONT)SendMessageA(raw->combo, WM_GETFONT, 0, 0);
  measureFixed(*raw);
  raw->columnWidth = std::max(1, (int)(cs->cx / 2));
  onSize(*raw);
  return 0;
}

LRESULT onSetFont(ListBox& lb, HFONT font, bool redraw) {
  lb.font = font;
  measureFixed(lb);
  tabStopsToPixels(lb);
  onSize(lb);
  if (redraw && lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
  return 0;
}

void onFocus(ListBox& lb, bool gained) {
  lb.focused = gained;
  if (lb.caret >= 0) invalidateItem(lb, lb.caret);
  else if (lb.redraw) InvalidateRect(lb.self, nullptr, FALSE);
  if (!gained && lb.tracking) {
    lb.tracking = false;
    if (GetCapture() == lb.self) ReleaseCapture();
  }
  notifyList(lb, gained ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

LRESULT onPaint(ListBox& lb, HDC given) {
  control::PaintScope paint(lb.self, (WPARAM)given);
  RECT update{};
  if (!paint.dc() || (!given && !lb.redraw)) return 0;
  if (given || GetClipBox(paint.dc(), &update) == 0) GetClientRect(lb.self, &update);
  paintList(lb, paint.dc(), update);
  return 0;
}

LRESULT listMessage(ListBox& lb, UINT msg, WPARAM wParam, LPARAM lParam) {
  int index = (int)(INT_PTR)wParam;
  switch (msg) {
    case LB_ADDSTRING: return insertItem(lb, -1, lParam, (lb.style & LBS_SORT) != 0);
    case LB_INSERTSTRING: return insertItem(lb, index, lParam, false);
    case LB_ADDFILE: return insertItem(lb, -1, lParam, (lb.style & LBS_SORT) != 0);
    case LB_DELETESTRING: return deleteItem(lb, index);
    case LB_RESETCONTENT: resetContent(lb); return LB_OKAY;
    case LB_GETCOUNT: return lb.count();
    case LB_GETTEXT: return getText(lb, index, (char*)lParam);
    case LB_GETTEXTLEN:
      if (!lb.valid(index)) return LB_ERR;
      return lb.hasStrings() ? (LRESULT)lb.items.at(index).text.size() : (LRESULT)sizeof(ULONG_PTR);
    case LB_SETCURSEL: return setCurrentSelection(lb, index);
    case LB_GETCURSEL:
      if (lb.multiple()) return lb.caret >= 0 ? lb.caret : 0;
      return lb.current >= 0 ? lb.current : LB_ERR;
    case LB_SETSEL: return setSelection(lb, wParam != 0, (int)lParam);
    case LB_GETSEL: return lb.valid(index) ? (lb.isSelected(index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: return selectedItems(lb, 0, nullptr);
    case LB_GETSELITEMS: return selectedItems(lb, index, (int*)lParam);
    case LB_SELITEMRANGE:
      if (!lb.multiple()) return LB_ERR;
      setRange(lb, LOWORD(lParam), HIWORD(lParam), wParam != 0);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      if (!lb.multiple()) return LB_ERR;
      int last = (int)lParam;
      if (index <= last) setRange(lb, index, last, true);
      else setRange(lb, last, index, false);
      return LB_OKAY;
    }
    case LB_FINDSTRING: return findItem(lb, index, (const char*)lParam, false);
    case LB_FINDSTRINGEXACT: return findItem(lb, index, (const char*)lParam, true);
    case LB_SELECTSTRING: return selectString(lb, index, (const char*)lParam);
    case LB_SETITEMDATA:
      if (!lb.valid(index)) return LB_ERR;
      lb.items.at(index).data = (ULONG_PTR)lParam;
      return TRUE;
    case LB_GETITEMDATA: return lb.valid(index) ? (LRESULT)lb.items.at(index).data : LB_ERR;
    case LB_SETITEMHEIGHT: return setItemHeight(lb, index, (int)LOWORD(lParam));
    case LB_GETITEMHEIGHT: return getItemHeight(lb, index);
    case LB_GETITEMRECT:
      if (!lParam || !lb.valid(index)) return LB_ERR;
      return itemRect(lb, index, *(RECT*)lParam) ? 1 : 0;
    case LB_ITEMFROMPOINT: return itemFromPoint(lb, lParam);
    case LB_SETTOPINDEX:
      if (index < 0 || (index >= lb.count() && index != 0)) return LB_ERR;
      setTop(lb, index);
      return LB_OKAY;
    case LB_GETTOPINDEX: return lb.top;
    case LB_SETCARETINDEX:
      if (!lb.valid(index)) return LB_ERR;
      if (!lb.multiple()) return setCurrentSelection(lb, index) < 0 ? LB_ERR : LB_OKAY;
      moveCaret(lb, index);
      ensureVisible(lb, index);
      return LB_OKAY;
    // Before any selection both answer 0, as Windows does.
    case LB_GETCARETINDEX: return lb.caret >= 0 ? lb.caret : 0;
    case LB_SETANCHORINDEX:
      if (!lb.valid(index) && index != -1) return LB_ERR;
      lb.anchor = index;
      return LB_OKAY;
    case LB_GETANCHORINDEX: return lb.anchor >= 0 ? lb.anchor : 0;
    case LB_SETCOLUMNWIDTH:
      lb.columnWidth = std::max(1, index);
      if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
      updateScrollBars(lb);
      return LB_OKAY;
    case LB_SETTABSTOPS: return setTabStops(lb, index, (const int*)lParam);
    case LB_SETHORIZONTALEXTENT:
      lb.horizontalExtent = std::max(0, index);
      updateScrollBars(lb);
      return 0;
    case LB_GETHORIZONTALEXTENT: return lb.horizontalExtent;
    case LB_INITSTORAGE:
      if (index < 0) return LB_ERRSPACE;
      try {
        lb.items.reserve(index);
      } catch (const std::bad_alloc&) {
        return LB_ERRSPACE;
      }
      return lb.count() + index;
    case LB_SETLOCALE: {
      LCID old = lb.locale;
      if (!IsValidLocale((LCID)wParam, LCID_SUPPORTED)) return LB_ERR;
      lb.locale = (LCID)wParam;
      return old;
    }
    case LB_GETLOCALE: return lb.locale;
    case LB_SETCOUNT: return LB_ERR;  // only LBS_NODATA lists have a bare count, and none are made
    case LB_DIR: return listDirectory(lb, (UINT)wParam, (const char*)lParam);
    case LB_GETLISTBOXINFO: return lb.multiColumn() ? rowsPerColumn(lb) : 0;
    default: return 0;
  }
}

LRESULT CALLBACK listBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool comboList) {
  if (msg == WM_CREATE) return onCreate(hwnd, (const CREATESTRUCTA*)lParam, comboList);
  ListBox* lb = listOf(hwnd);
  if (!lb) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg >= LB_ADDSTRING && msg <= LB_GETLISTBOXINFO) return listMessage(*lb, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY:
      // The owner hears of every item while it can still free their data.
      lb->redraw = false;
      resetContent(*lb);
      return 0;
    case WM_NCDESTROY: {
      setControlState(hwnd, &ControlKind<ListBox>::tag, nullptr);
      delete lb;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_SIZE: onSize(*lb); return 0;
    case WM_SETFONT: return onSetFont(*lb, (HFONT)wParam, LOWORD(lParam) != 0);
    case WM_GETFONT: return (LRESULT)lb->font;
    case WM_SETREDRAW:
      lb->redraw = wParam != 0;
      if (lb->redraw) {
        updateScrollBars(*lb);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case WM_ERASEBKGND: return 1;  // painting fills every pixel
    case WM_PAINT:
    case WM_PRINTCLIENT: return onPaint(*lb, (HDC)wParam);
    case WM_VSCROLL: onScroll(*lb, true, LOWORD(wParam)); return 0;
    case WM_HSCROLL: onScroll(*lb, false, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
      constexpr int kNotch = 120;  // wheel delta of one notch; a notch scrolls three lines
      lb->wheelRemainder += (short)HIWORD(wParam);
      int lines = lb->wheelRemainder / kNotch * 3;
      lb->wheelRemainder %= kNotch;
      if (lines) setTop(*lb, lb->top - (lb->multiColumn() ? lines / 3 * rowsPerColumn(*lb) : lines));
      return 0;
    }
    case WM_SETFOCUS: onFocus(*lb, true); return 0;
    case WM_KILLFOCUS: onFocus(*lb, false); return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: onListKeyDown(*lb, (UINT)wParam); return 0;
    case WM_CHAR: onListChar(*lb, (char)wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onListButtonDown(*lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (UINT)wParam,
                       msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE: onListMouseMove(*lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: onListButtonUp(*lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CAPTURECHANGED:
      if ((HWND)lParam == hwnd) return 0;
      lb->tracking = false;
      // A dropped list that loses the mouse to another window closes.
      if (lb->combo && !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) && IsWindowVisible(hwnd))
        comboListDone(lb->combo, false);
      return 0;
    case WM_MOUSEACTIVATE:
      // A drop-down list never takes activation from the window of its combo box.
      if (lb->combo) return MA_NOACTIVATE;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_STYLECHANGED:
      if (wParam == (WPARAM)GWL_STYLE && lParam) {
        // What the list was made as stays: drawing, columns, order and the selection mode.
        DWORD keep = LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_MULTICOLUMN | LBS_SORT |
                     LBS_MULTIPLESEL | LBS_EXTENDEDSEL;
        DWORD next = ((const STYLESTRUCT*)lParam)->styleNew;
        lb->style = (lb->style & keep) | (next & ~keep);
        updateScrollBars(*lb);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return listBoxProc(hwnd, msg, wParam, lParam, false);
}
LRESULT CALLBACK comboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return listBoxProc(hwnd, msg, wParam, lParam, true);
}

const SystemClass listBoxClass({"ListBox", listProc, CS_DBLCLKS, sizeof(void*), IDC_ARROW, 0});
const SystemClass comboListClass(
    {"ComboLBox", comboListProc, CS_DBLCLKS | CS_SAVEBITS, sizeof(void*), IDC_ARROW, 0});

}  // namespace

namespace {

// How the text of item `index` compares with `text` (its first `length`
// characters, when a prefix is sought).
int compareForFind(ListBox& lb, int index, const char* text, int length, bool exact) {
  const std::string& own = lb.items.at(index).text;
  const int ownLength = exact ? (int)own.size() : std::min((int)own.size(), length);
  return compareText(lb, own.data(), ownLength, text, length);
}

// A list in sorted order holds its matches side by side: the run is found
// by halves, and the first match after `start` (wrapping) taken from it.
int findInOrder(ListBox& lb, int start, const char* text, int length, bool exact) {
  const int n = lb.count();
  int lo = 0, hi = n;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (compareForFind(lb, mid, text, length, exact) < 0) lo = mid + 1;
    else hi = mid;
  }
  const int first = lo;
  hi = n;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (compareForFind(lb, mid, text, length, exact) <= 0) lo = mid + 1;
    else hi = mid;
  }
  const int end = lo;
  if (first == end) return LB_ERR;
  return start + 1 >= first && start + 1 < end ? start + 1 : first;
}

}  // namespace

int findItem(ListBox& lb, int start, const char* text, bool exact) {
  int n = lb.count();
  if (n == 0) return LB_ERR;
  if (start < -1 || start >= n) start = -1;
  if (lb.hasStrings() && !text) return LB_ERR;
  int length = lb.hasStrings() ? (int)strlen(text) : 0;
  if (lb.hasStrings() && lb.inOrder && n > 16) return findInOrder(lb, start, text, length, exact);
  for (int k = 1; k <= n; ++k) {
    int i = (start + k) % n;
    const ListItem& item = lb.items.at(i);
    if (!lb.hasStrings()) {
      // Without strings the search looks for the item data itself.
      if (item.data == (ULONG_PTR)text) return i;
      continue;
    }
    if (exact) {
      if (compareText(lb, item.text.data(), (int)item.text.size(), text, length) == 0) return i;
    } else if ((int)item.text.size() >= length &&
               compareText(lb, item.text.data(), length, text, length) == 0) {
      return i;
    }
  }
  return LB_ERR;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" DWORD WINAPI GetListBoxInfo(HWND hwnd) {
  if (!listOf(hwnd)) return 0;
  return (DWORD)SendMessageA(hwnd, LB_GETLISTBOXINFO, 0, 0);
}
