// The "SysTabControl32" control: one row of tabs above a display area.
// Each tab is as wide as its text plus padding (TCS_FIXEDWIDTH: as the
// widest); a click on another tab, or the Left and Right keys, offer the
// change to the parent (TCN_SELCHANGING; a non-zero answer vetoes it), make
// it and report it (TCN_SELCHANGE). TCM_SETCURSEL changes the selection
// without telling anyone, as documented. Several rows (TCS_MULTILINE) and
// image lists are not offered: one row holds every tab.
#include "commonstate.h"

#include <algorithm>
#include <string>
#include <vector>

namespace win32::comctl {
namespace {

constexpr int kPaddingX = 6;  // pixels each side of a tab's text
constexpr int kPaddingY = 3;
constexpr int kFirstTabX = 2;
constexpr int kSelectedRaise = 2;  // the selected tab stands this much taller and wider

struct Tab {
  std::string text;
  LPARAM param = 0;
  DWORD state = 0;
};

struct TabControl {
  std::vector<Tab> tabs;
  int selected = -1;
  int focused = -1;
  HFONT font = nullptr;
};

TabControl* tabsOf(HWND hwnd) { return stateOf<TabControl>(hwnd); }

// Height of the row of tabs, from the font's text height.
int rowHeight(HWND hwnd, const TabControl& tc) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, tc.font ? tc.font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return tm.tmHeight + 2 * kPaddingY + kSelectedRaise;
}

// The rectangles of every tab, left to right.
std::vector<RECT> tabRects(HWND hwnd, const TabControl& tc) {
  std::vector<RECT> rects;
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, tc.font ? tc.font : GetStockObject(DEFAULT_GUI_FONT));
  std::vector<int> widths;
  for (const Tab& tab : tc.tabs) {
    SIZE size{};
    GetTextExtentPoint32A(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &size);
    widths.push_back(size.cx + 2 * kPaddingX);
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  if (GetWindowLongA(hwnd, GWL_STYLE) & TCS_FIXEDWIDTH) {
    const int widest = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    std::fill(widths.begin(), widths.end(), widest);
  }
  const int height = rowHeight(hwnd, tc);
  int x = kFirstTabX;
  for (int width : widths) {
    rects.push_back(RECT{x, kSelectedRaise, x + width, height});
    x += width;
  }
  return rects;
}

int hitTest(HWND hwnd, const TabControl& tc, POINT pt) {
  const std::vector<RECT> rects = tabRects(hwnd, tc);
  for (size_t i = 0; i < rects.size(); ++i)
    if (PtInRect(&rects[i], pt)) return static_cast<int>(i);
  return -1;
}

// Offers the change to the parent, makes it and reports it; false when the
// parent vetoed it.
bool selectByUser(HWND hwnd, TabControl& tc, int index) {
  if (index < 0 || index >= static_cast<int>(tc.tabs.size()) || index == tc.selected) return false;
  NMHDR header{};
  if (notify(hwnd, TCN_SELCHANGING, &header)) return false;
  tc.selected = tc.focused = index;
  InvalidateRect(hwnd, nullptr, TRUE);
  NMHDR changed{};
  notify(hwnd, TCN_SELCHANGE, &changed);
  return true;
}

void paint(HWND hwnd, const TabControl& tc) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int top = rowHeight(hwnd, tc);
  RECT display{client.left, top, client.right, client.bottom};
  DrawEdge(dc, &display, EDGE_RAISED, BF_RECT);
  HGDIOBJ oldFont = SelectObject(dc, tc.font ? tc.font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const std::vector<RECT> rects = tabRects(hwnd, tc);
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r = rects[i];
    const bool selected = static_cast<int>(i) == tc.selected;
    if (selected) InflateRect(&r, kSelectedRaise, 0), r.top -= kSelectedRaise, r.bottom += 1;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
    DrawTextA(dc, tc.tabs[i].text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && static_cast<int>(i) == tc.focused && GetFocus() == hwnd) {
      RECT focus = r;
      InflateRect(&focus, -3, -3);
      DrawFocusRect(dc, &focus);
    }
  }
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

LRESULT getItem(const TabControl& tc, int index, TCITEMA* item) {
  if (!item || index < 0 || index >= static_cast<int>(tc.tabs.size())) return FALSE;
  const Tab& tab = tc.tabs[index];
  if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
    const size_t n = std::min(tab.text.size(), static_cast<size_t>(item->cchTextMax - 1));
    tab.text.copy(item->pszText, n);
    item->pszText[n] = '\0';
  }
  if (item->mask & TCIF_PARAM) item->lParam = tab.param;
  if (item->mask & TCIF_IMAGE) item->iImage = -1;
  if (item->mask & TCIF_STATE) item->dwState = tab.state & item->dwStateMask;
  return TRUE;
}

void setItem(Tab& tab, const TCITEMA& item) {
  if ((item.mask & TCIF_TEXT) && item.pszText) tab.text = item.pszText;
  if (item.mask & TCIF_PARAM) tab.param = item.lParam;
  if (item.mask & TCIF_STATE) tab.state = (tab.state & ~item.dwStateMask) | (item.dwState & item.dwStateMask);
}

LRESULT CALLBACK tabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) attachState<TabControl>(hwnd);
  TabControl* tc = tabsOf(hwnd);
  if (!tc) return DefWindowProcA(hwnd, msg, wParam, lParam);
  const int count = static_cast<int>(tc->tabs.size());
  switch (msg) {
    case WM_NCDESTROY:
      detachState<TabControl>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT:
      paint(hwnd, *tc);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      tc->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(tc->font);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_NCHITTEST: {
      // Only the tabs take the mouse: the display area lets it through to
      // the pages that lie there (which may be siblings below it).
      POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
      ScreenToClient(hwnd, &pt);
      return hitTest(hwnd, *tc, pt) < 0 ? HTTRANSPARENT : HTCLIENT;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN: {
      const int index = hitTest(hwnd, *tc, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
      if (index >= 0 && !(GetWindowLongA(hwnd, GWL_STYLE) & TCS_FOCUSNEVER)) SetFocus(hwnd);
      selectByUser(hwnd, *tc, index);
      return 0;
    }
    case WM_KEYDOWN: {
      NMTCKEYDOWN key{};
      key.wVKey = static_cast<WORD>(wParam);
      key.flags = static_cast<UINT>(lParam);
      notify(hwnd, TCN_KEYDOWN, &key.hdr);
      if (wParam == VK_LEFT || wParam == VK_RIGHT)
        selectByUser(hwnd, *tc, tc->selected + (wParam == VK_LEFT ? -1 : 1));
      return 0;
    }
    case TCM_GETITEMCOUNT:
      return count;
    case TCM_INSERTITEMA: {
      const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!item || index < 0) return -1;
      const int at = std::min(index, count);
      Tab tab;
      setItem(tab, *item);
      tc->tabs.insert(tc->tabs.begin() + at, tab);
      if (tc->selected >= at) ++tc->selected;
      if (tc->selected < 0) tc->selected = 0;  // the first tab is selected when it comes
      if (tc->focused < 0 || tc->focused >= at) tc->focused = tc->selected;
      InvalidateRect(hwnd, nullptr, TRUE);
      return at;
    }
    case TCM_GETITEMA:
      return getItem(*tc, static_cast<int>(wParam), reinterpret_cast<TCITEMA*>(lParam));
    case TCM_SETITEMA: {
      const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
      const int index = static_cast<int>(wParam);
      if (!item || index < 0 || index >= count) return FALSE;
      setItem(tc->tabs[index], *item);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TCM_DELETEITEM: {
      const int index = static_cast<int>(wParam);
      if (index < 0 || index >= count) return FALSE;
      tc->tabs.erase(tc->tabs.begin() + index);
      if (tc->selected == index) tc->selected = -1;
      else if (tc->selected > index) --tc->selected;
      tc->focused = tc->selected;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TCM_DELETEALLITEMS:
      tc->tabs.clear();
      tc->selected = tc->focused = -1;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEMRECT: {
      const int index = static_cast<int>(wParam);
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect || index < 0 || index >= count) return FALSE;
      *rect = tabRects(hwnd, *tc)[index];
      return TRUE;
    }
    case TCM_GETCURSEL:
      return tc->selected;
    case TCM_SETCURSEL: {
      const int index = static_cast<int>(wParam), previous = tc->selected;
      if (index < 0 || index >= count) return -1;
      tc->selected = tc->focused = index;
      InvalidateRect(hwnd, nullptr, TRUE);
      return previous;
    }
    case TCM_GETCURFOCUS:
      return tc->focused;
    case TCM_SETCURFOCUS: {
      const int index = static_cast<int>(wParam);
      if (index >= 0 && index < count && index != tc->selected) selectByUser(hwnd, *tc, index);
      return 0;
    }
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      if (!info) return -1;
      const int index = hitTest(hwnd, *tc, info->pt);
      info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
      return index;
    }
    case TCM_GETROWCOUNT:
      return 1;
    case TCM_ADJUSTRECT: {
      // Display area from window rectangle (FALSE) or back (TRUE): the row
      // of tabs above and a two-pixel edge round the display area.
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return 0;
      const int top = rowHeight(hwnd, *tc);
      const int sign = wParam ? -1 : 1;
      rect->left += sign * 2;
      rect->right -= sign * 2;
      rect->bottom -= sign * 2;
      rect->top += sign * (top + 2);
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerTabControl() { registerControlClass(WC_TABCONTROLA, tabProc, CS_DBLCLKS, IDC_ARROW, 0); }

}  // namespace win32::comctl
