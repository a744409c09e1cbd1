// KyPanel's Tab key: the focus moves along the tab stops of the panel's
// view (sibling order is tab order; of a radio group with a checked button
// only that one) and wraps at its ends. A panel nested
// in a site hands the focus on at its ends to the tab stops around it in
// the enclosing panels, level by level; a splitter pane whose panel lets
// Tab cross (the third value of its pane configuration) hands it to the
// neighbouring pane.
#include "KyPanel.h"
#include "KySplitter.h"

namespace {

bool isRadioButton(HWND hWnd) { return (SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0; }

// A radio button that is not checked while another of its group is: Tab
// lands on the checked one of a group, as the dialog manager's does.
bool uncheckedInCheckedGroup(HWND hWnd) {
  if (!isRadioButton(hWnd) || SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) return false;
  HWND hParent = GetParent(hWnd);
  constexpr int kMaxGroup = 256;  // the walk comes round to hWnd; a bound all the same
  HWND h = hWnd;
  for (int i = 0; i < kMaxGroup; ++i) {
    h = GetNextDlgGroupItem(hParent, h, FALSE);
    if (!h || h == hWnd) return false;
    if (isRadioButton(h) && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) return true;
  }
  return false;
}

bool isTabStop(HWND hWnd) {
  return IsWindowVisible(hWnd) && IsWindowEnabled(hWnd) && (GetWindowLongA(hWnd, GWL_STYLE) & WS_TABSTOP) &&
         !uncheckedInCheckedGroup(hWnd);
}

std::vector<HWND> tabStops(HWND hParent) {
  std::vector<HWND> order;
  for (HWND h = hParent ? GetWindow(hParent, GW_CHILD) : nullptr; h; h = GetWindow(h, GW_HWNDNEXT))
    if (isTabStop(h)) order.push_back(h);
  return order;
}

const auto inside = &KyPanel::WindowHolds;

// The focus enters a window: a nested panel's window (or a pane) passes it
// to its first tab stop, or its last going backwards.
void focusInto(HWND hWnd, bool back) {
  for (;;) {
    const std::vector<HWND> inner = tabStops(hWnd);
    if (inner.empty()) break;
    hWnd = back ? inner.back() : inner.front();
  }
  SetFocus(hWnd);
}

// The next (previous) tab stop among the siblings after (before) hChild.
HWND siblingTabStop(HWND hChild, bool back) {
  for (HWND h = GetWindow(hChild, back ? GW_HWNDPREV : GW_HWNDNEXT); h; h = GetWindow(h, back ? GW_HWNDPREV : GW_HWNDNEXT))
    if (isTabStop(h)) return h;
  return nullptr;
}

}  // namespace

bool KyPanel::tabKey(bool back) {
  const std::vector<HWND> order = tabStops(m_hView);
  if (order.empty()) return true;
  HWND hFocus = GetFocus();
  size_t at = order.size();
  for (size_t i = 0; i < order.size(); ++i)
    if (inside(order[i], hFocus)) at = i;
  const bool atEnd = at < order.size() && (back ? at == 0 : at + 1 == order.size());
  if (atEnd && m_iKind == KySiteChild && leaveNestedPanel(back)) return true;
  if (atEnd && m_iKind == KySplitterPane && crossPane(back)) return true;
  size_t next;
  if (at == order.size())
    next = back ? order.size() - 1 : 0;
  else
    next = back ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  focusInto(order[next], back);
  return true;
}

bool KyPanel::leaveNestedPanel(bool back) {
  HWND hChild = m_hWnd;
  for (KyPanel* pOuter = m_pParentPanel; pOuter && hChild; pOuter = pOuter->m_pParentPanel) {
    if (HWND hNext = siblingTabStop(hChild, back)) {
      focusInto(hNext, back);
      return true;
    }
    // Past the ends of this level: the level around it, or round again in
    // the outermost panel.
    if (pOuter->m_iKind != KySiteChild) {
      const std::vector<HWND> order = tabStops(pOuter->m_hView);
      if (order.empty()) return false;
      focusInto(back ? order.back() : order.front(), back);
      return true;
    }
    hChild = pOuter->m_hWnd;
  }
  return false;
}

bool KyPanel::crossPane(bool back) {
  if (!m_PaneConfig[2]) return false;
  KyPanel* pHost = GetPaneHostPanel();
  KySplitterHost* pSplitterHost = pHost ? pHost->FindSplitterHost() : nullptr;
  KySplitter* pSplitter = pSplitterHost ? pSplitterHost->GetSplitter() : nullptr;
  if (!pSplitter) return false;
  const bool rows = pSplitterHost->GetOrientation() == KySplitterHost::kRows;
  const int count = pSplitter->GetPaneCount(pSplitterHost->GetOrientation());
  for (int i = 0; i < count; ++i) {
    CWnd* pPane = rows ? pSplitter->GetPane(i, 0) : pSplitter->GetPane(0, i);
    if (!pPane || pPane->m_hWnd != m_hWnd) continue;
    const int neighbour = back ? i - 1 : i + 1;
    if (neighbour < 0 || neighbour >= count) return false;
    CWnd* pNext = rows ? pSplitter->GetPane(neighbour, 0) : pSplitter->GetPane(0, neighbour);
    if (!pNext || !pNext->m_hWnd) return false;
    focusInto(pNext->m_hWnd, back);
    return true;
  }
  return false;
}
