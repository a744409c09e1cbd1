// The tab control's messages: the tabs and their properties, selection with
// its vetoable notifications, the keyboard and the mouse, the captions as
// window text.
#include "tabs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "library.h"
#include "suballocator.h"
#include "tokencodec.h"

namespace {

HTabsRecord* recordOf(HCtlRecord* head) { return reinterpret_cast<HTabsRecord*>(head); }
bool valid(const HTabsRecord* r, WPARAM index) { return static_cast<INT_PTR>(index) >= 0 && static_cast<INT_PTR>(index) < r->count; }
bool selectable(const HTabItem& t) { return (t.flags & (HTI_DISABLED | HTI_HIDDEN)) == 0; }

void relayout(HTabsRecord* r) {
  HCtlTabsLayout(r);
  InvalidateRect(r->head.window, nullptr, TRUE);
}

void repaintTab(HTabsRecord* r, int index) {
  RECT box = HTabsTabRect(r, index);
  InflateRect(&box, 3, 3);
  InvalidateRect(r->head.window, &box, TRUE);
  if (index == r->current) InvalidateRect(r->head.window, nullptr, TRUE);  // its page colour
}

// --- the tab array ---------------------------------------------------------------------------

bool reserve(HTabsRecord* r, int count) {
  if (count <= r->capacity) return true;
  const int capacity = std::max(count, r->capacity + 8);
  const int bytes = capacity * static_cast<int>(sizeof(HTabItem));
  void* grown = r->tabs ? HCtlRealloc(r->tabs, bytes) : HCtlAlloc(bytes);
  if (grown == nullptr) return false;
  r->tabs = static_cast<HTabItem*>(grown);
  r->capacity = capacity;
  return true;
}

// Inserts a tab at `index` (clamped); the new tab takes the first tab's user
// bits, word and colours. FALSE when memory runs out.
bool insertTab(HTabsRecord* r, int index, const char* caption) {
  if (!reserve(r, r->count + 1)) return false;
  LPSTR copy = HCtlStrDup(caption != nullptr ? caption : "");
  if (copy == nullptr) return false;
  index = std::clamp(index, 0, r->count);
  HTabItem tab{0, copy, 0, kHTabsGray, kHTabsGray, 0};
  if (r->count > 0) {
    const HTabItem& first = r->tabs[0];
    tab.flags = first.flags & (HTI_USER | HTI_VALUEMASK);
    tab.userWord = first.userWord;
    tab.tabColor = first.tabColor;
    tab.pageColor = first.pageColor;
  }
  std::memmove(r->tabs + index + 1, r->tabs + index, (r->count - index) * sizeof(HTabItem));
  r->tabs[index] = tab;
  ++r->count;
  if (index <= r->current && r->count > 1) ++r->current;
  return true;
}

void deleteTab(HTabsRecord* r, int index) {
  HCtlFree(r->tabs[index].caption);
  std::memmove(r->tabs + index, r->tabs + index + 1, (r->count - index - 1) * sizeof(HTabItem));
  --r->count;
  if (index < r->current) --r->current;
  r->current = std::clamp(r->current, 0, std::max(r->count - 1, 0));
  if (r->count == 0) r->head.flags &= ~HTF_SELECTED;
}

void deleteAll(HTabsRecord* r) {
  while (r->count > 0) deleteTab(r, r->count - 1);
  r->current = 0;
}

// Tells the target of a new tab, with the current index on it meanwhile.
void announceAdded(HTabsRecord* r, int index) {
  const int current = r->current;
  r->current = index;
  HWND window = r->head.window;
  HCtlNotify(&r->head, HTN_ADDED);
  if (IsWindow(window)) r->current = current;
}

void defaultCaption(char* out, size_t size, int number) { std::snprintf(out, size, "Tab%d", number); }

LRESULT setCount(HTabsRecord* r, int count) {
  while (r->count > std::max(count, 0)) deleteTab(r, r->count - 1);
  while (r->count < count) {
    char caption[16];
    defaultCaption(caption, sizeof caption, r->count + 1);
    if (!insertTab(r, r->count, caption)) break;
    announceAdded(r, r->count - 1);
  }
  relayout(r);
  return r->count == count ? 1 : 0;
}

void setCaptions(HTabsRecord* r, const char* text) {
  deleteAll(r);
  for (const char* p = text != nullptr ? text : ""; *p != '\0';) {
    const char* next = p;
    const std::string caption = HCtlTakeToken(p, ';', '\\', '^', '\n', &next);
    if (!insertTab(r, r->count, caption.c_str())) break;
    p = next;
  }
  r->current = 0;
  r->head.flags &= ~HTF_SELECTED;
}

// --- selection ---------------------------------------------------------------------------------

LRESULT select(HTabsRecord* r, int index, bool forced) {
  HWND window = r->head.window;
  if (!valid(r, index)) return 0;
  HTabItem* tab = &r->tabs[index];
  const bool hasSelection = (r->head.flags & HTF_SELECTED) != 0;
  if ((index == r->current && hasSelection) || (tab->flags & HTI_HIDDEN) || ((tab->flags & HTI_DISABLED) && !forced))
    return 0;
  if (hasSelection && HCtlNotify(&r->head, HTN_SELCHANGING) != 0) return 0;
  if (!IsWindow(window)) return 0;
  const int previous = r->current;
  r->current = index;
  bool vetoed = false;
  if (!(r->tabs[index].flags & HTI_VISITED)) {
    vetoed = HCtlNotify(&r->head, HTN_FIRSTVISIT) != 0;
    if (!IsWindow(window)) return 0;
    if (!vetoed) r->tabs[index].flags |= HTI_VISITED;
  }
  if (!vetoed && !forced) {
    vetoed = HCtlNotify(&r->head, HTN_SELCHANGE) != 0;
    if (!IsWindow(window)) return 0;
  }
  if (vetoed) {
    // The previous tab comes back, and the target hears of it once more.
    r->current = previous;
    HCtlNotify(&r->head, HTN_SELCHANGE);
    return 0;
  }
  r->head.flags |= HTF_SELECTED;
  if (!forced) r->head.flags |= HTF_NOTFORCED;
  relayout(r);
  return 1;
}

// The nearest selectable tab from `from` on in the direction, wrapping; -1 for none.
int nearestSelectable(const HTabsRecord* r, int from, int direction) {
  for (int n = 0; n < r->count; ++n) {
    const int i = ((from + n * direction) % r->count + r->count) % r->count;
    if (selectable(r->tabs[i])) return i;
  }
  return -1;
}

void keyDown(HTabsRecord* r, UINT key) {
  if (r->count == 0) return;
  const int last = r->count - 1, per = std::max(r->perRow, 1), at = r->current;
  int target = at, direction = 1;
  switch (key) {
    case VK_LEFT: target = at == 0 ? last : at - 1, direction = -1; break;
    case VK_RIGHT: target = at == last ? 0 : at + 1; break;
    case VK_UP:  // one row towards the back; from the back row to the front row's column
      target = at / per == last / per ? at % per : std::min(at + per, last);
      break;
    case VK_DOWN:  // one row towards the front; from the front row to the back row's column
      target = at < per ? std::min(last / per * per + at % per, last) : at - per, direction = -1;
      break;
    default: return;
  }
  const int found = nearestSelectable(r, target, direction);
  if (found >= 0) select(r, found, false);
}

// --- captions as text --------------------------------------------------------------------------

// The escaped caption (at most 255 characters: the token buffer's limit).
const char* escapedCaption(const HTabsRecord* r, int index) {
  return HCtlEscapeText(valid(r, index) ? r->tabs[index].caption : "", '\\', '^', '\n');
}

LRESULT copyCaption(const HTabsRecord* r, int index, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0 || !valid(r, index)) return 0;
  return HCtlCopyText(buffer, escapedCaption(r, index), size);
}

// With Alt down: the tab, from the current one on, whose '&' character's key is down.
int mnemonicTab(const HTabsRecord* r) {
  if (GetKeyState(VK_MENU) >= 0) return -1;
  for (int n = 0; n < r->count; ++n) {
    const int i = (r->current + n) % r->count;
    const char* amp = r->tabs[i].caption ? std::strchr(r->tabs[i].caption, '&') : nullptr;
    if (amp == nullptr || amp[1] == '\0') continue;
    const int key = std::toupper(static_cast<unsigned char>(amp[1]));
    if (GetKeyState(key) < 0) return i;
  }
  return -1;
}

LRESULT getText(HTabsRecord* r, WPARAM size, LPSTR buffer) {
  int index = r->current;
  const int found = mnemonicTab(r);
  if (found >= 0) {
    PostMessageA(r->head.window, KYM_TABSSELECT, found, 1);
    index = found;
  }
  return copyCaption(r, index, buffer, static_cast<int>(std::min<WPARAM>(size, 0x7FFFFFFF)));
}

// --- per-tab messages --------------------------------------------------------------------------

// Applies a setter to one tab, or every tab for index -1; 0 for another index outside.
template <typename Set>
LRESULT forTabs(HTabsRecord* r, WPARAM index, bool layout, Set set) {
  if (static_cast<INT_PTR>(index) == -1) {
    for (int i = 0; i < r->count; ++i) set(r->tabs[i]);
  } else if (valid(r, index)) {
    set(r->tabs[index]);
  } else {
    return 0;
  }
  if (layout || static_cast<INT_PTR>(index) == -1) relayout(r);
  else repaintTab(r, static_cast<int>(index));
  return 1;
}

void setBits(WORD& flags, WORD bits, bool on) { flags = on ? (flags | bits) : (flags & ~bits); }

BOOL tabMessage(HTabsRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT& out = *result;
  const HTabItem* tab = valid(r, wParam) ? &r->tabs[wParam] : nullptr;
  switch (message) {
    case KYM_TABSREPAINT: InvalidateRect(r->head.window, nullptr, TRUE); out = 0; return TRUE;
    case KYM_TABSGETCURRENT: out = r->current; return TRUE;
    case KYM_TABSSELECT: out = select(r, static_cast<int>(wParam), lParam == 0); return TRUE;
    case KYM_TABSGETCOUNT: out = r->count; return TRUE;
    case KYM_TABSSETCOUNT: out = setCount(r, static_cast<int>(wParam)); return TRUE;
    case KYM_TABSINSERT: {
      const int index = std::clamp(static_cast<int>(wParam), 0, r->count);
      char caption[16];
      defaultCaption(caption, sizeof caption, index + 1);
      const char* text = lParam != 0 ? HCtlTakeToken(reinterpret_cast<LPCSTR>(lParam), 0, '\\', '^', '\n', nullptr) : caption;
      out = insertTab(r, index, text) ? 1 : 0;
      if (out) announceAdded(r, index);
      if (IsWindow(r->head.window)) relayout(r);
      return TRUE;
    }
    case KYM_TABSDELETE:
      if (static_cast<INT_PTR>(wParam) == -1) deleteAll(r);
      else if (tab != nullptr) deleteTab(r, static_cast<int>(wParam));
      else { out = 0; return TRUE; }
      relayout(r);
      out = 1;
      return TRUE;
    case KYM_TABSISENABLED: out = tab ? !(tab->flags & HTI_DISABLED) : 0; return TRUE;
    case KYM_TABSENABLE: out = forTabs(r, wParam, true, [&](HTabItem& t) { setBits(t.flags, HTI_DISABLED, lParam == 0); }); return TRUE;
    case KYM_TABSISVISIBLE: out = tab ? !(tab->flags & HTI_HIDDEN) : 0; return TRUE;
    case KYM_TABSSHOW: out = forTabs(r, wParam, true, [&](HTabItem& t) { setBits(t.flags, HTI_HIDDEN, lParam == 0); }); return TRUE;
    case KYM_TABSGETVALUE: out = tab ? (tab->flags & HTI_VALUEMASK) >> 4 : 0; return TRUE;
    case KYM_TABSSETVALUE:
      out = forTabs(r, wParam, false, [&](HTabItem& t) {
        t.flags = static_cast<WORD>((t.flags & ~HTI_VALUEMASK) | ((lParam & 0xF) << 4));
      });
      return TRUE;
    case KYM_TABSGETCOLOR: out = tab ? tab->tabColor : 0; return TRUE;
    case KYM_TABSSETCOLOR: out = forTabs(r, wParam, false, [&](HTabItem& t) { t.tabColor = static_cast<COLORREF>(lParam); }); return TRUE;
    case KYM_TABSSETCAPTION: {
      const std::string text = HCtlTakeToken(reinterpret_cast<LPCSTR>(lParam), 0, '\\', '^', '\n', nullptr);
      out = forTabs(r, wParam, true, [&](HTabItem& t) { HCtlReplaceDup(&t.caption, text.c_str()); });
      return TRUE;
    }
    case KYM_TABSGETCAPTIONLEN:
      out = tab ? static_cast<LRESULT>(std::strlen(escapedCaption(r, static_cast<int>(wParam)))) : 0;
      return TRUE;
    case KYM_TABSGETCAPTION: {
      // The size rides in the high word; without one the buffer is as long as
      // KYM_TABSGETCAPTIONLEN said, plus the terminator.
      const int index = static_cast<SHORT>(LOWORD(wParam));
      int size = HIWORD(wParam);
      if (size == 0 && valid(r, index)) size = static_cast<int>(std::strlen(escapedCaption(r, index))) + 1;
      out = copyCaption(r, index, reinterpret_cast<LPSTR>(lParam), size);
      return TRUE;
    }
    case KYM_TABSGETWORD: out = tab ? tab->userWord : 0; return TRUE;
    case KYM_TABSSETWORD: out = forTabs(r, wParam, false, [&](HTabItem& t) { t.userWord = static_cast<WORD>(lParam); }); return TRUE;
    case KYM_TABSGETPAGECOLOR: out = tab ? tab->pageColor : 0; return TRUE;
    case KYM_TABSSETPAGECOLOR: out = forTabs(r, wParam, false, [&](HTabItem& t) { t.pageColor = static_cast<COLORREF>(lParam); }); return TRUE;
    case KYM_TABSVISITED: out = tab ? (tab->flags & HTI_VISITED) != 0 : 0; return TRUE;
    case KYM_TABSGETFLAG: out = tab ? (tab->flags & HTI_USER) != 0 : 0; return TRUE;
    case KYM_TABSSETFLAG: out = forTabs(r, wParam, false, [&](HTabItem& t) { setBits(t.flags, HTI_USER, lParam != 0); }); return TRUE;
    case KYM_TABSGETDATA: out = tab ? tab->data : 0; return TRUE;
    case KYM_TABSSETDATA: out = forTabs(r, wParam, false, [&](HTabItem& t) { t.data = lParam; }); return TRUE;
    case KYM_TABSPAGERECT:
      if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = HTabsPageRect(r);
      out = 0;
      return TRUE;
    default: return FALSE;
  }
}

// --- creation ----------------------------------------------------------------------------------

LRESULT create(HWND window, CREATESTRUCTA* cs, BOOL* passOn) {
  auto* r = static_cast<HTabsRecord*>(HCtlAlloc(sizeof(HTabsRecord)));
  if (r == nullptr) return FALSE;
  cs->style &= ~(WS_BORDER | WS_CLIPCHILDREN);
  HCtlInitRecord(&r->head, window, cs);
  r->color = kHTabsGray;
  setCaptions(r, (cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) ? cs->lpszName : "");
  PostMessageA(window, WM_SIZE, 0, 0);
  *passOn = TRUE;
  return TRUE;
}

void destroy(HWND window, HTabsRecord* r) {
  deleteAll(r);
  HCtlFree(r->tabs);
  HCtlFree(r);
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
}

}  // namespace

LRESULT HTabsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) return create(window, reinterpret_cast<CREATESTRUCTA*>(lParam), passOn);
  HTabsRecord* r = recordOf(head);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  LRESULT result = 0;
  switch (message) {
    case WM_NCDESTROY: destroy(window, r); *passOn = TRUE; return 0;
    case WM_SETTEXT:
      setCaptions(r, reinterpret_cast<LPCSTR>(lParam));
      relayout(r);
      return 1;
    case WM_GETTEXT: return getText(r, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
      return r->count > 0 ? static_cast<LRESULT>(std::strlen(escapedCaption(r, r->current))) : 0;
    case WM_SETFONT: {
      HFONT previous = r->head.font;
      r->head.font = reinterpret_cast<HFONT>(wParam);
      relayout(r);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_NCHITTEST: {
      POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      ScreenToClient(window, &at);
      const RECT page = HTabsPageRect(r);
      if (PtInRect(&page, at)) return HTTRANSPARENT;
      *passOn = TRUE;
      return 0;
    }
    case WM_SIZE: HCtlTabsLayout(r); InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      r->head.flags = message == WM_SETFOCUS ? (r->head.flags | HTF_FOCUS) : (r->head.flags & ~HTF_FOCUS);
      repaintTab(r, r->current);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      const int index = HTabsTabAt(r, {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
      if (index >= 0) select(r, index, false);
      return 0;
    }
    case WM_KEYDOWN: keyDown(r, static_cast<UINT>(wParam)); return 0;
    case WM_ERASEBKGND:
      HTabsPaint(r, reinterpret_cast<HDC>(wParam));
      r->paintedByErase = TRUE;
      return 1;
    case WM_PAINT:
      return HCtlPaintWithErase(head, &r->paintedByErase,
                                [](HCtlRecord* h, HDC dc) { HTabsPaint(reinterpret_cast<HTabsRecord*>(h), dc); });
    default: break;
  }
  if (message >= WM_USER && tabMessage(r, message, wParam, lParam, &result)) return result;
  *passOn = TRUE;
  return 0;
}
