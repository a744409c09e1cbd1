// The "SysListView32" control: items with a label, subitems by column, an
// image, a parameter and state bits; columns; selection and focus changed
// by the program and by the mouse and keys. Every change of an item's
// state is offered to the parent first (LVN_ITEMCHANGING, a non-zero
// answer refuses it) and reported after (LVN_ITEMCHANGED), whoever made it;
// clicks report NM_CLICK, NM_DBLCLK (with LVN_ITEMACTIVATE on an item) and
// NM_RCLICK, keys LVN_KEYDOWN first. Geometry and painting live in
// listview_paint.cpp. Not offered: label editing, owner data
// (LVS_OWNERDATA), groups, tiles, drag images and icon arrangement.
#include "listview.h"

#include <algorithm>
#include <cstring>

namespace win32::comctl::listview {
namespace {

int countOf(const ListView& lv) { return static_cast<int>(lv.items.size()); }
bool validItem(const ListView& lv, int index) { return index >= 0 && index < countOf(lv); }
bool singleSelection(const ListView& lv) { return styleOf(lv) & LVS_SINGLESEL; }

void invalidateAll(ListView& lv) {
  if (lv.redraw) InvalidateRect(lv.self, nullptr, TRUE);
}

void invalidateItem(ListView& lv, int index) {
  if (!lv.redraw || !validItem(lv, index)) return;
  RECT r = rowRect(lv, index);
  r.left = 0;
  r.right = clientOf(lv).right;
  InvalidateRect(lv.self, &r, TRUE);
}

// Copies `text` into a caller's buffer of `size` characters, cut to fit;
// answers the characters copied.
int copyText(const std::string& text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  const int n = std::min(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

LRESULT notifyList(ListView& lv, UINT code, int item, int subItem, UINT newState = 0, UINT oldState = 0,
                   UINT changed = 0, POINT at = POINT{0, 0}) {
  NMLISTVIEW info{};
  info.iItem = item;
  info.iSubItem = subItem;
  info.uNewState = newState;
  info.uOldState = oldState;
  info.uChanged = changed;
  info.ptAction = at;
  info.lParam = validItem(lv, item) ? lv.items[item].param : 0;
  return notify(lv.self, code, &info.hdr);
}

UINT keyFlags() {
  UINT flags = 0;
  if (GetKeyState(VK_MENU) < 0) flags |= LVKF_ALT;
  if (GetKeyState(VK_CONTROL) < 0) flags |= LVKF_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) flags |= LVKF_SHIFT;
  return flags;
}

void notifyActivate(ListView& lv, UINT code, int item, int subItem, POINT at) {
  NMITEMACTIVATE info{};
  info.iItem = item;
  info.iSubItem = subItem;
  info.ptAction = at;
  info.lParam = validItem(lv, item) ? lv.items[item].param : 0;
  info.uKeyFlags = keyFlags();
  notify(lv.self, code, &info.hdr);
}

// Changes the bits of `mask` of one item to those of `state`, offering and
// reporting the change; false when nothing changed or the parent refused.
bool changeState(ListView& lv, int index, UINT state, UINT mask) {
  Item& item = lv.items[index];
  const UINT old = item.state;
  const UINT next = (old & ~mask) | (state & mask);
  if (next == old) return false;
  if (notifyList(lv, LVN_ITEMCHANGING, index, 0, next, old, LVIF_STATE)) return false;
  if (!validItem(lv, index)) return false;  // the parent deleted it meanwhile
  lv.items[index].state = next;
  invalidateItem(lv, index);
  notifyList(lv, LVN_ITEMCHANGED, index, 0, next, old, LVIF_STATE);
  return true;
}

int focusedItem(const ListView& lv) {
  for (int i = 0; i < countOf(lv); ++i)
    if (lv.items[i].state & LVIS_FOCUSED) return i;
  return -1;
}

// The state change the program or the user asks for on one item; one item
// holds the focus, and a single-selection list one selection.
void setState(ListView& lv, int index, UINT state, UINT mask) {
  if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED)) {
    const int previous = focusedItem(lv);
    if (previous >= 0 && previous != index) changeState(lv, previous, 0, LVIS_FOCUSED);
  }
  if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && singleSelection(lv))
    for (int i = 0; i < countOf(lv); ++i)
      if (i != index && (lv.items[i].state & LVIS_SELECTED)) changeState(lv, i, 0, LVIS_SELECTED);
  if (validItem(lv, index)) changeState(lv, index, state, mask);
}

void deselectAllBut(ListView& lv, int keep) {
  for (int i = 0; i < countOf(lv); ++i)
    if (i != keep && (lv.items[i].state & LVIS_SELECTED)) changeState(lv, i, 0, LVIS_SELECTED);
}

void setTop(ListView& lv, int top) {
  top = std::clamp(top, 0, std::max(0, countOf(lv) - rowsPerPage(lv)));
  if (top == lv.top) return;
  lv.top = top;
  invalidateAll(lv);
  updateScrollBars(lv);
}

bool ensureVisible(ListView& lv, int index, bool partialOk) {
  if (!validItem(lv, index)) return false;
  const int page = rowsPerPage(lv);
  if (index < lv.top) setTop(lv, index);
  else if (index >= lv.top + page) {
    const bool partlyShown = index == lv.top + page && partialOk &&
                             rowRect(lv, index).top < clientOf(lv).bottom;
    if (!partlyShown) setTop(lv, index - page + 1);
  }
  return true;
}

// Selection as a click or a key makes it: `extend` (Shift) selects from
// the mark to the item, `toggle` (Ctrl) flips the item, otherwise the item
// alone is selected; the item takes the focus.
void selectByUser(ListView& lv, int index, bool extend, bool toggle) {
  if (singleSelection(lv)) extend = toggle = false;
  if (!validItem(lv, index)) {
    if (!toggle && !extend) deselectAllBut(lv, -1);
    return;
  }
  if (extend && validItem(lv, lv.mark)) {
    const int from = std::min(lv.mark, index), to = std::max(lv.mark, index);
    for (int i = 0; i < countOf(lv); ++i)
      changeState(lv, i, (i >= from && i <= to) ? LVIS_SELECTED : 0, LVIS_SELECTED);
    setState(lv, index, LVIS_FOCUSED, LVIS_FOCUSED);
  } else if (toggle) {
    setState(lv, index, LVIS_FOCUSED | (lv.items[index].state & LVIS_SELECTED ? 0 : LVIS_SELECTED),
             LVIS_FOCUSED | LVIS_SELECTED);
    lv.mark = index;
  } else {
    deselectAllBut(lv, index);
    setState(lv, index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    lv.mark = index;
  }
  ensureVisible(lv, index, false);
}

// The item and column under a client point; flags as LVM_HITTEST answers.
// In the report view a point counts on an item over column 0's image and
// label, or anywhere on the row with LVS_EX_FULLROWSELECT.
int hitTest(const ListView& lv, LVHITTESTINFO& info, bool subItems) {
  info.flags = LVHT_NOWHERE;
  info.iItem = -1;
  info.iSubItem = 0;
  const RECT client = clientOf(lv);
  if (info.pt.y < headerHeight(lv)) {
    info.flags = info.pt.y < 0 ? LVHT_ABOVE : LVHT_NOWHERE;
    return -1;
  }
  if (info.pt.y >= client.bottom) info.flags = LVHT_BELOW;
  if (info.pt.x < 0) info.flags = LVHT_TOLEFT;
  if (info.pt.x >= client.right) info.flags = LVHT_TORIGHT;
  if (info.flags != LVHT_NOWHERE) return -1;
  const int index = lv.top + (info.pt.y - headerHeight(lv)) / rowHeight(lv);
  if (!validItem(lv, index)) return -1;
  RECT icon{}, label{}, bounds{};
  itemPart(lv, index, 0, LVIR_ICON, icon);
  itemPart(lv, index, 0, LVIR_LABEL, label);
  itemPart(lv, index, 0, LVIR_BOUNDS, bounds);
  int column = -1;
  const std::vector<int> widths = columnWidths(lv);
  for (int c = 0, x = bounds.left; c < static_cast<int>(widths.size()); x += widths[c], ++c)
    if (info.pt.x >= x && info.pt.x < x + widths[c]) column = c;
  const bool fullRow = report(lv) && (lv.extended & LVS_EX_FULLROWSELECT);
  if (PtInRect(&icon, info.pt)) info.flags = LVHT_ONITEMICON;
  else if (PtInRect(&label, info.pt) || (fullRow && PtInRect(&bounds, info.pt))) info.flags = LVHT_ONITEMLABEL;
  else if (!(subItems && column > 0)) return -1;
  info.flags = info.flags == LVHT_NOWHERE ? LVHT_ONITEMLABEL : info.flags;
  info.iItem = index;
  info.iSubItem = subItems && column > 0 ? column : 0;
  return index;
}

POINT pointOf(LPARAM lParam) { return POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}; }

// A click on the header reports the column (unless LVS_NOSORTHEADER); true
// when the point was on the header.
bool clickHeader(ListView& lv, POINT at) {
  if (at.y >= headerHeight(lv)) return false;
  if (styleOf(lv) & LVS_NOSORTHEADER) return true;
  int x = -lv.scrollX;
  for (int c = 0; c < static_cast<int>(lv.columns.size()); ++c) {
    const int width = std::max(0, lv.columns[c].width);
    if (at.x >= x && at.x < x + width) {
      notifyList(lv, LVN_COLUMNCLICK, -1, c);
      break;
    }
    x += width;
  }
  return true;
}

void onButtonDown(ListView& lv, LPARAM lParam, bool right, bool twice) {
  const POINT at = pointOf(lParam);
  if (GetFocus() != lv.self) SetFocus(lv.self);
  if (!right && clickHeader(lv, at)) return;
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int index = hitTest(lv, hit, false);
  LVHITTESTINFO sub{};
  sub.pt = at;
  hitTest(lv, sub, true);
  hit.iSubItem = sub.iSubItem;
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  // A right click keeps a selection it lands in (the context menu acts on it).
  if (!(right && validItem(lv, index) && (lv.items[index].state & LVIS_SELECTED)))
    selectByUser(lv, index, shift && !right, ctrl && !right);
  if (right) {
    notifyActivate(lv, NM_RCLICK, index, hit.iSubItem, at);
    return;
  }
  notifyActivate(lv, twice ? NM_DBLCLK : NM_CLICK, index, hit.iSubItem, at);
  if (twice && validItem(lv, index)) notifyActivate(lv, LVN_ITEMACTIVATE, index, hit.iSubItem, at);
}

void onKeyDown(ListView& lv, WPARAM key, LPARAM lParam) {
  NMLVKEYDOWN down{};
  down.wVKey = static_cast<WORD>(key);
  down.flags = static_cast<UINT>(lParam);
  notify(lv.self, LVN_KEYDOWN, &down.hdr);
  const int focused = focusedItem(lv), last = countOf(lv) - 1, page = rowsPerPage(lv);
  int next = -2;
  switch (key) {
    case VK_UP: next = focused < 0 ? 0 : focused - 1; break;
    case VK_DOWN: next = focused < 0 ? 0 : focused + 1; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = last; break;
    case VK_PRIOR: next = focused < 0 ? 0 : focused - std::max(1, page - 1); break;
    case VK_NEXT: next = focused < 0 ? 0 : focused + std::max(1, page - 1); break;
    case VK_SPACE:
      if (validItem(lv, focused)) selectByUser(lv, focused, false, GetKeyState(VK_CONTROL) < 0);
      return;
    default: return;
  }
  if (last < 0) return;
  next = std::clamp(next, 0, last);
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  if (ctrl && !shift && !singleSelection(lv)) {
    // Ctrl with a moving key moves the focus only.
    setState(lv, next, LVIS_FOCUSED, LVIS_FOCUSED);
    ensureVisible(lv, next, false);
    return;
  }
  selectByUser(lv, next, shift, false);
}

void onScroll(ListView& lv, bool vertical, int code) {
  if (!vertical) {
    int total = 0;
    for (int width : columnWidths(lv)) total += width;
    const int page = clientOf(lv).right;
    int x = lv.scrollX;
    switch (code) {
      case SB_LINELEFT: x -= 8; break;
      case SB_LINERIGHT: x += 8; break;
      case SB_PAGELEFT: x -= page; break;
      case SB_PAGERIGHT: x += page; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(lv.self, SB_HORZ, &si);
        x = si.nTrackPos;
        break;
      }
      default: return;
    }
    x = std::clamp(x, 0, std::max(0, total - page));
    if (x == lv.scrollX) return;
    lv.scrollX = x;
    invalidateAll(lv);
    updateScrollBars(lv);
    return;
  }
  const int page = rowsPerPage(lv);
  int top = lv.top;
  switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = countOf(lv); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(lv.self, SB_VERT, &si);
      top = si.nTrackPos;
      break;
    }
    default: return;
  }
  setTop(lv, top);
}

// --- items and columns ---

void storeItem(ListView& lv, Item& item, const LVITEMA& from) {
  if (from.mask & LVIF_TEXT) {
    if (from.iSubItem == 0) item.textCallback = from.pszText == LPSTR_TEXTCALLBACKA;
    const std::string text = from.pszText && from.pszText != LPSTR_TEXTCALLBACKA ? from.pszText : "";
    if (item.texts.size() <= static_cast<size_t>(from.iSubItem)) item.texts.resize(from.iSubItem + 1);
    item.texts[from.iSubItem] = text;
  }
  if (from.iSubItem != 0) return;
  if (from.mask & LVIF_IMAGE) item.image = from.iImage;
  if (from.mask & LVIF_PARAM) item.param = from.lParam;
  if (from.mask & LVIF_INDENT) item.indent = std::max(0, from.iIndent);
  (void)lv;
}

// Where a new item goes: at its index, or in order of its label when the
// list sorts itself.
int insertionPoint(const ListView& lv, const LVITEMA& item) {
  const DWORD style = styleOf(lv);
  const int count = countOf(lv);
  if (!(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) || !(item.mask & LVIF_TEXT) || !item.pszText ||
      item.pszText == LPSTR_TEXTCALLBACKA)
    return std::clamp(item.iItem, 0, count);
  const bool descending = style & LVS_SORTDESCENDING;
  for (int i = 0; i < count; ++i) {
    const int order = lstrcmpiA(item.pszText, textOf(lv, i, 0).c_str());
    if (descending ? order > 0 : order < 0) return i;
  }
  return count;
}

LRESULT insertItem(ListView& lv, const LVITEMA* from) {
  if (!from || from->iItem < 0 || from->iSubItem != 0) return -1;
  const int at = insertionPoint(lv, *from);
  Item item;
  item.texts.resize(1);
  storeItem(lv, item, *from);
  lv.items.insert(lv.items.begin() + at, item);
  if (lv.mark >= at) ++lv.mark;
  notifyList(lv, LVN_INSERTITEM, at, 0);
  // The state goes through the same offer and report as any later change.
  if ((from->mask & LVIF_STATE) && validItem(lv, at) && (from->state & from->stateMask))
    setState(lv, at, from->state, from->stateMask);
  updateScrollBars(lv);
  invalidateAll(lv);
  return at;
}

LRESULT getItem(ListView& lv, LVITEMA* into) {
  if (!into || !validItem(lv, into->iItem)) return FALSE;
  const Item& item = lv.items[into->iItem];
  if (into->iSubItem < 0 || (into->iSubItem > 0 && into->iSubItem >= std::max<int>(1, lv.columns.size())))
    return FALSE;
  if (into->mask & LVIF_TEXT) {
    if (into->iSubItem == 0 && item.textCallback) into->pszText = LPSTR_TEXTCALLBACKA;
    else copyText(textOf(lv, into->iItem, into->iSubItem), into->pszText, into->cchTextMax);
  }
  if (into->iSubItem != 0) return TRUE;
  if (into->mask & LVIF_IMAGE) into->iImage = item.image;
  if (into->mask & LVIF_PARAM) into->lParam = item.param;
  if (into->mask & LVIF_INDENT) into->iIndent = item.indent;
  if (into->mask & LVIF_STATE) into->state = item.state & into->stateMask;
  return TRUE;
}

LRESULT setItem(ListView& lv, const LVITEMA* from) {
  if (!from || !validItem(lv, from->iItem) || from->iSubItem < 0) return FALSE;
  if (from->iSubItem > 0 && from->iSubItem >= static_cast<int>(lv.columns.size())) return FALSE;
  Item& item = lv.items[from->iItem];
  const UINT dataMask = from->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
  if (dataMask) {
    const UINT changed = dataMask & (from->iSubItem ? LVIF_TEXT : ~0u);
    if (from->iSubItem == 0 && notifyList(lv, LVN_ITEMCHANGING, from->iItem, 0, 0, 0, changed)) return FALSE;
    storeItem(lv, lv.items[from->iItem], *from);
    if (from->iSubItem == 0) notifyList(lv, LVN_ITEMCHANGED, from->iItem, 0, 0, 0, changed);
    invalidateItem(lv, from->iItem);
  }
  if ((from->mask & LVIF_STATE) && from->iSubItem == 0) setState(lv, from->iItem, from->state, from->stateMask);
  (void)item;
  return TRUE;
}

LRESULT deleteItem(ListView& lv, int index) {
  if (!validItem(lv, index)) return FALSE;
  notifyList(lv, LVN_DELETEITEM, index, 0);
  if (!validItem(lv, index)) return FALSE;
  lv.items.erase(lv.items.begin() + index);
  if (lv.mark == index) lv.mark = -1;
  else if (lv.mark > index) --lv.mark;
  lv.top = std::clamp(lv.top, 0, std::max(0, countOf(lv) - rowsPerPage(lv)));
  updateScrollBars(lv);
  invalidateAll(lv);
  return TRUE;
}

LRESULT deleteAllItems(ListView& lv) {
  // A parent answering TRUE to LVN_DELETEALLITEMS wants no LVN_DELETEITEM per item.
  if (!notifyList(lv, LVN_DELETEALLITEMS, -1, 0))
    for (int i = 0; i < countOf(lv); ++i) notifyList(lv, LVN_DELETEITEM, i, 0);
  lv.items.clear();
  lv.mark = -1;
  lv.top = 0;
  updateScrollBars(lv);
  invalidateAll(lv);
  return TRUE;
}

bool matchesNext(const Item& item, UINT flags) {
  const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  return (item.state & wanted) == wanted;
}

// LVM_GETNEXTITEM: from `start` (not included; -1 begins before the first
// item) the next item with every state the flags name. LVNI_ABOVE and
// LVNI_TOLEFT search backwards; in the rows here below and to the right are
// the same direction.
LRESULT nextItem(const ListView& lv, int start, UINT flags) {
  const bool backwards = flags & (LVNI_ABOVE | LVNI_TOLEFT);
  const int count = countOf(lv);
  if (backwards) {
    for (int i = (start < 0 ? count : start) - 1; i >= 0; --i)
      if (matchesNext(lv.items[i], flags)) return i;
    return -1;
  }
  for (int i = std::max(-1, start) + 1; i < count; ++i)
    if (matchesNext(lv.items[i], flags)) return i;
  return -1;
}

LRESULT findItem(const ListView& lv, int start, const LVFINDINFOA* find) {
  if (!find) return -1;
  const int count = countOf(lv);
  const int first = std::max(-1, start) + 1;
  const int span = (find->flags & LVFI_WRAP) ? count : count - first;
  for (int n = 0; n < span; ++n) {
    const int i = (first + n) % std::max(1, count);
    if (find->flags & LVFI_PARAM) {
      if (lv.items[i].param == find->lParam) return i;
      continue;
    }
    if (!(find->flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->psz) return -1;
    const std::string label = textOf(lv, i, 0);
    const size_t length = std::strlen(find->psz);
    const bool found = (find->flags & LVFI_PARTIAL)
                           ? CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, label.c_str(),
                                            static_cast<int>(std::min(length, label.size())), find->psz,
                                            static_cast<int>(length)) == CSTR_EQUAL
                           : lstrcmpiA(label.c_str(), find->psz) == 0;
    if (found) return i;
  }
  return -1;
}

void storeColumn(Column& column, const LVCOLUMNA& from) {
  if ((from.mask & LVCF_TEXT) && from.pszText) column.text = from.pszText;
  if (from.mask & LVCF_FMT) column.format = from.fmt;
  if (from.mask & LVCF_WIDTH) column.width = std::max(0, from.cx);
  if (from.mask & LVCF_SUBITEM) column.subItem = from.iSubItem;
  if (from.mask & LVCF_IMAGE) column.image = from.iImage;
}

LRESULT insertColumn(ListView& lv, int index, const LVCOLUMNA* from) {
  if (!from || index < 0) return -1;
  const int at = std::min(index, static_cast<int>(lv.columns.size()));
  Column column;
  column.subItem = at;
  storeColumn(column, *from);
  lv.columns.insert(lv.columns.begin() + at, column);
  // The subitems move with their columns; column 0 stays the label.
  if (at > 0)
    for (Item& item : lv.items)
      if (item.texts.size() > static_cast<size_t>(at)) item.texts.insert(item.texts.begin() + at, std::string());
  updateScrollBars(lv);
  invalidateAll(lv);
  return at;
}

LRESULT getColumn(const ListView& lv, int index, LVCOLUMNA* into) {
  if (!into || index < 0 || index >= static_cast<int>(lv.columns.size())) return FALSE;
  const Column& column = lv.columns[index];
  if (into->mask & LVCF_TEXT) copyText(column.text, into->pszText, into->cchTextMax);
  if (into->mask & LVCF_FMT) into->fmt = column.format;
  if (into->mask & LVCF_WIDTH) into->cx = column.width;
  if (into->mask & LVCF_SUBITEM) into->iSubItem = column.subItem;
  if (into->mask & LVCF_IMAGE) into->iImage = column.image;
  if (into->mask & LVCF_ORDER) into->iOrder = index;
  return TRUE;
}

int textWidth(const ListView& lv, const std::string& text) {
  HDC dc = GetDC(lv.self);
  HGDIOBJ old = SelectObject(dc, fontOf(lv));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(lv.self, dc);
  return size.cx;
}

LRESULT setColumnWidth(ListView& lv, int index, int width) {
  if (!report(lv)) return FALSE;  // the one column of the list view is as wide as the client
  if (index < 0 || index >= static_cast<int>(lv.columns.size())) return FALSE;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    int widest = width == LVSCW_AUTOSIZE_USEHEADER ? textWidth(lv, lv.columns[index].text) + 12 : 0;
    for (int i = 0; i < countOf(lv); ++i) widest = std::max(widest, textWidth(lv, textOf(lv, i, index)) + 12);
    width = widest;
  }
  lv.columns[index].width = std::max(0, width);
  updateScrollBars(lv);
  invalidateAll(lv);
  return TRUE;
}

LRESULT sortItems(ListView& lv, LPARAM data, PFNLVCOMPARE compare) {
  if (!compare) return FALSE;
  std::stable_sort(lv.items.begin(), lv.items.end(),
                   [&](const Item& a, const Item& b) { return compare(a.param, b.param, data) < 0; });
  lv.mark = -1;
  invalidateAll(lv);
  return TRUE;
}

LRESULT itemRect(ListView& lv, int index, RECT* rect, bool subItem) {
  if (!rect) return FALSE;
  return itemPart(lv, index, subItem ? rect->top : 0, rect->left, *rect) ? TRUE : FALSE;
}

HIMAGELIST setImageList(ListView& lv, WPARAM which, HIMAGELIST list) {
  if (which > LVSIL_STATE) return nullptr;
  HIMAGELIST old = lv.images[which];
  lv.images[which] = list;
  updateScrollBars(lv);
  invalidateAll(lv);
  return old;
}

LRESULT CALLBACK listViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    ListView* made = attachState<ListView>(hwnd);
    made->self = hwnd;
    made->background = made->textBackground = GetSysColor(COLOR_WINDOW);
    made->text = GetSysColor(COLOR_WINDOWTEXT);
  }
  ListView* lv = stateOfList(hwnd);
  if (!lv) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCDESTROY:
      if (!(styleOf(*lv) & LVS_SHAREIMAGELISTS))
        for (HIMAGELIST& list : lv->images)
          if (list) ImageList_Destroy(list), list = nullptr;
      detachState<ListView>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_DESTROY:
      deleteAllItems(*lv);
      return 0;
    case WM_PAINT: paint(*lv); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      lv->top = std::clamp(lv->top, 0, std::max(0, countOf(*lv) - rowsPerPage(*lv)));
      updateScrollBars(*lv);
      invalidateAll(*lv);
      return 0;
    case WM_SETFONT:
      lv->font = reinterpret_cast<HFONT>(wParam);
      updateScrollBars(*lv);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(lv->font);
    case WM_SETREDRAW:
      lv->redraw = wParam != 0;
      if (lv->redraw) updateScrollBars(*lv), InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      NMHDR header{};
      notify(hwnd, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &header);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_LBUTTONDOWN: onButtonDown(*lv, lParam, false, false); return 0;
    case WM_LBUTTONDBLCLK: onButtonDown(*lv, lParam, false, true); return 0;
    case WM_RBUTTONDOWN: onButtonDown(*lv, lParam, true, false); return 0;
    case WM_KEYDOWN: onKeyDown(*lv, wParam, lParam); return 0;
    case WM_VSCROLL: onScroll(*lv, true, LOWORD(wParam)); return 0;
    case WM_HSCROLL: onScroll(*lv, false, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:  // three rows a notch (120)
      setTop(*lv, lv->top - 3 * static_cast<short>(HIWORD(wParam)) / 120); return 0;

    case LVM_GETBKCOLOR: return lv->background;
    case LVM_SETBKCOLOR: lv->background = static_cast<COLORREF>(lParam); invalidateAll(*lv); return TRUE;
    case LVM_GETTEXTCOLOR: return lv->text;
    case LVM_SETTEXTCOLOR: lv->text = static_cast<COLORREF>(lParam); invalidateAll(*lv); return TRUE;
    case LVM_GETTEXTBKCOLOR: return lv->textBackground;
    case LVM_SETTEXTBKCOLOR: lv->textBackground = static_cast<COLORREF>(lParam); invalidateAll(*lv); return TRUE;
    case LVM_GETIMAGELIST: return wParam <= LVSIL_STATE ? reinterpret_cast<LRESULT>(lv->images[wParam]) : 0;
    case LVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(setImageList(*lv, wParam, reinterpret_cast<HIMAGELIST>(lParam)));
    case LVM_GETITEMCOUNT: return countOf(*lv);
    case LVM_GETITEMA: return getItem(*lv, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA: return setItem(*lv, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_INSERTITEMA: return insertItem(*lv, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM: return deleteItem(*lv, static_cast<int>(wParam));
    case LVM_DELETEALLITEMS: return deleteAllItems(*lv);
    case LVM_GETNEXTITEM: return nextItem(*lv, static_cast<int>(wParam), LOWORD(lParam));
    case LVM_FINDITEMA: return findItem(*lv, static_cast<int>(wParam), reinterpret_cast<const LVFINDINFOA*>(lParam));
    case LVM_GETITEMRECT: return itemRect(*lv, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam), false);
    case LVM_GETSUBITEMRECT: return itemRect(*lv, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam), true);
    case LVM_GETSTRINGWIDTHA: return lParam ? textWidth(*lv, reinterpret_cast<LPCSTR>(lParam)) : 0;
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      return info ? hitTest(*lv, *info, msg == LVM_SUBITEMHITTEST) : -1;
    }
    case LVM_ENSUREVISIBLE: return ensureVisible(*lv, static_cast<int>(wParam), lParam != 0);
    case LVM_SCROLL: {
      // dx in pixels; dy in pixels, taken in whole rows of the report view.
      setTop(*lv, lv->top + static_cast<int>(lParam) / rowHeight(*lv));
      int total = 0;
      for (int width : columnWidths(*lv)) total += width;
      const int x = std::clamp(lv->scrollX + static_cast<int>(wParam), 0, std::max(0, total - static_cast<int>(clientOf(*lv).right)));
      if (x != lv->scrollX) lv->scrollX = x, updateScrollBars(*lv), invalidateAll(*lv);
      return TRUE;
    }
    case LVM_REDRAWITEMS:
    case LVM_UPDATE: invalidateAll(*lv); return TRUE;
    case LVM_GETCOLUMNA: return getColumn(*lv, static_cast<int>(wParam), reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA: {
      const auto* from = reinterpret_cast<const LVCOLUMNA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!from || index < 0 || index >= static_cast<int>(lv->columns.size())) return FALSE;
      storeColumn(lv->columns[index], *from);
      updateScrollBars(*lv);
      invalidateAll(*lv);
      return TRUE;
    }
    case LVM_INSERTCOLUMNA:
      return insertColumn(*lv, static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN: {
      const int index = static_cast<int>(wParam);
      if (index < 0 || index >= static_cast<int>(lv->columns.size())) return FALSE;
      lv->columns.erase(lv->columns.begin() + index);
      if (index > 0)
        for (Item& item : lv->items)
          if (item.texts.size() > static_cast<size_t>(index)) item.texts.erase(item.texts.begin() + index);
      updateScrollBars(*lv);
      invalidateAll(*lv);
      return TRUE;
    }
    case LVM_GETCOLUMNWIDTH: {
      const int index = static_cast<int>(wParam);
      if (!report(*lv)) return clientOf(*lv).right;
      return index >= 0 && index < static_cast<int>(lv->columns.size()) ? lv->columns[index].width : 0;
    }
    case LVM_SETCOLUMNWIDTH: return setColumnWidth(*lv, static_cast<int>(wParam), static_cast<short>(LOWORD(lParam)));
    case LVM_GETHEADER: return 0;
    case LVM_GETTOPINDEX: return lv->top;
    case LVM_GETCOUNTPERPAGE: return rowsPerPage(*lv);
    case LVM_SETITEMSTATE: {
      const auto* from = reinterpret_cast<const LVITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!from) return FALSE;
      if (index == -1) {
        for (int i = 0; i < countOf(*lv); ++i) changeState(*lv, i, from->state, from->stateMask & ~LVIS_FOCUSED);
        if ((from->stateMask & LVIS_FOCUSED) && !(from->state & LVIS_FOCUSED))
          for (int i = 0; i < countOf(*lv); ++i) changeState(*lv, i, 0, LVIS_FOCUSED);
        return TRUE;
      }
      if (!validItem(*lv, index)) return FALSE;
      setState(*lv, index, from->state, from->stateMask);
      if ((from->stateMask & LVIS_SELECTED) && (from->state & LVIS_SELECTED)) lv->mark = index;
      return TRUE;
    }
    case LVM_GETITEMSTATE: {
      const int index = static_cast<int>(wParam);
      return validItem(*lv, index) ? lv->items[index].state & static_cast<UINT>(lParam) : 0;
    }
    case LVM_GETITEMTEXTA: {
      auto* into = reinterpret_cast<LVITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!into || !validItem(*lv, index)) return 0;
      return copyText(textOf(*lv, index, into->iSubItem), into->pszText, into->cchTextMax);
    }
    case LVM_SETITEMTEXTA: {
      const auto* from = reinterpret_cast<const LVITEMA*>(lParam);
      if (!from) return FALSE;
      LVITEMA item = *from;
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(wParam);
      return setItem(*lv, &item);
    }
    case LVM_SORTITEMS: return sortItems(*lv, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_GETSELECTEDCOUNT:
      return std::count_if(lv->items.begin(), lv->items.end(), [](const Item& i) { return i.state & LVIS_SELECTED; });
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD old = lv->extended, mask = wParam ? static_cast<DWORD>(wParam) : ~0u;
      lv->extended = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
      invalidateAll(*lv);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return lv->extended;
    case LVM_GETSELECTIONMARK: return lv->mark;
    case LVM_SETSELECTIONMARK: {
      const int old = lv->mark;
      lv->mark = validItem(*lv, static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
      return old;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

ListView* stateOfList(HWND hwnd) { return stateOf<ListView>(hwnd); }

}  // namespace win32::comctl::listview

namespace win32::comctl {

void registerListView() {
  registerControlClass(WC_LISTVIEWA, listview::listViewProc, CS_DBLCLKS, IDC_ARROW, 0);
}

}  // namespace win32::comctl
