// Painting a list box: the visible items only, from the top item down to
// the client's bottom (or across the visible columns), so a paint costs the
// same for ten items as for a hundred thousand.
#include "listbox.h"

#include "control.h"

#include <algorithm>

namespace win32::user {

HWND ownerWindow(const ListBox& lb) { return lb.combo ? GetParent(lb.combo) : lb.parent; }
UINT ownerControlType(const ListBox& lb) { return lb.combo ? ODT_COMBOBOX : ODT_LISTBOX; }
UINT ownerControlId(const ListBox& lb) { return lb.combo ? (UINT)GetDlgCtrlID(lb.combo) : lb.id; }
HWND ownerItemWindow(const ListBox& lb) { return lb.combo ? lb.combo : lb.self; }

namespace {

// The background brush: the owner's WM_CTLCOLORLISTBOX answer (it also sets
// the DC's text and background colours), or the window colour.
HBRUSH backgroundBrush(ListBox& lb, HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  HWND owner = ownerWindow(lb);
  HBRUSH brush = owner ? (HBRUSH)SendMessageA(owner, WM_CTLCOLORLISTBOX, (WPARAM)dc, (LPARAM)lb.self) : nullptr;
  return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
}

void drawOwnerItem(ListBox& lb, HDC dc, int index, const RECT& r, UINT action, UINT state) {
  DRAWITEMSTRUCT di{};
  di.CtlType = ownerControlType(lb);
  di.CtlID = ownerControlId(lb);
  di.itemID = (UINT)index;
  di.itemAction = action;
  di.itemState = state;
  di.hwndItem = ownerItemWindow(lb);
  di.hDC = dc;
  di.rcItem = r;
  di.itemData = lb.valid(index) ? lb.items.at(index).data : 0;
  SendMessageA(ownerWindow(lb), WM_DRAWITEM, di.CtlID, (LPARAM)&di);
}

void drawTextItem(ListBox& lb, HDC dc, int index, const RECT& r, bool selected, bool enabled, HBRUSH brush,
                  COLORREF text, COLORREF back) {
  const ListItem& item = lb.items.at(index);
  if (selected) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  } else {
    FillRect(dc, &r, brush);
    SetTextColor(dc, enabled ? text : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, back);
  }
  int x = r.left + 2;
  if (lb.style & LBS_USETABSTOPS) {
    std::vector<int> stops = lb.tabStops;
    TabbedTextOutA(dc, x, r.top, item.text.c_str(), (int)item.text.size(), (int)stops.size(),
                   stops.empty() ? nullptr : stops.data(), x);
  } else {
    ExtTextOutA(dc, x, r.top, ETO_CLIPPED, &r, item.text.c_str(), (UINT)item.text.size(), nullptr);
  }
}

}  // namespace

void paintList(ListBox& lb, HDC dc, const RECT& update) {
  RECT c{};
  GetClientRect(lb.self, &c);
  control::FontScope font(dc, lb.font);
  HBRUSH brush = backgroundBrush(lb, dc);
  COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  FillRect(dc, &update, brush);
  bool enabled = IsWindowEnabled(lb.self) != 0;
  RECT r{};
  int n = lb.count();
  for (int i = lb.top; i < n; ++i) {
    if (!itemRect(lb, i, r)) break;
    RECT both;
    if (!IntersectRect(&both, &r, &update)) continue;
    bool selected = lb.isSelected(i);
    if (lb.ownerDraw()) {
      UINT state = (selected ? ODS_SELECTED : 0) | (lb.focused && i == lb.caret ? ODS_FOCUS : 0) |
                   (enabled ? 0 : ODS_DISABLED);
      drawOwnerItem(lb, dc, i, r, ODA_DRAWENTIRE, state);
      continue;
    }
    drawTextItem(lb, dc, i, r, selected, enabled, brush, text, back);
    if (lb.focused && i == lb.caret) DrawFocusRect(dc, &r);
  }
  // An empty owner-drawn list with the focus lets the owner draw the focus rectangle (item -1).
  if (n == 0 && lb.focused && lb.ownerDraw()) {
    RECT first{0, 0, c.right, lb.itemHeight};
    drawOwnerItem(lb, dc, -1, first, ODA_FOCUS, ODS_FOCUS);
  } else if (n == 0 && lb.focused && !lb.combo) {
    RECT first{0, 0, c.right, lb.itemHeight};
    DrawFocusRect(dc, &first);
  }
  SetBkMode(dc, oldMode);
}

}  // namespace win32::user
