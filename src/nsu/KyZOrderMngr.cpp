#include "KyZOrderMngr.h"

#include <algorithm>

namespace {

constexpr int32_t kDefaultOrder = 4000;  // what "no order" (0 or -1) sorts as
constexpr UINT kRestackOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

}  // namespace

KyZOrderMngr::~KyZOrderMngr() { Clear(); }

void KyZOrderMngr::defer(HWND window, HWND after, int flags) {
  if (!m_hdwp) return;  // an earlier deferral of this pass failed
  m_hdwp = DeferWindowPos(m_hdwp, window, after, 0, 0, 0, 0, static_cast<UINT>(flags) | kRestackOnly);
}

void KyZOrderMngr::endPass() {
  if (m_hdwp) EndDeferWindowPos(m_hdwp);
  m_hdwp = nullptr;
}

void KyZOrderMngr::Add(HWND window, int order, int flags) {
  Remove(window);
  if (order == 0 || order == -1) order = kDefaultOrder;
  if (!m_hdwp) m_hdwp = BeginDeferWindowPos(1);
  // Before the first entry with a greater order: equal orders stay ahead.
  auto at = std::upper_bound(m_entries.begin(), m_entries.end(), order,
                             [](int32_t o, const Entry& e) { return o < e.order; });
  HWND after = at == m_entries.begin() ? HWND_BOTTOM : std::prev(at)->window;
  m_entries.insert(at, Entry{window, order});
  defer(window, after, flags);
  endPass();
}

void KyZOrderMngr::Remove(HWND window) {
  auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.window == window; });
  if (it != m_entries.end()) m_entries.erase(it);
}

void KyZOrderMngr::Clear() { m_entries.clear(); }

void KyZOrderMngr::DrawAll(int flags) {
  if (!m_hdwp) m_hdwp = BeginDeferWindowPos(20);
  HWND after = HWND_BOTTOM;
  for (const Entry& e : m_entries) {
    defer(e.window, after, flags);
    after = e.window;
  }
  endPass();
  UpdateWindows();
}

KyZOrderMngr::zordering KyZOrderMngr::RelativeOrder(HWND a, HWND b) const {
  for (const Entry& e : m_entries) {
    if (e.window == a) return FirstComesFirst;
    if (e.window == b) return SecondComesFirst;
  }
  return NeitherListed;
}

void KyZOrderMngr::UpdateWindows() const {
  for (const Entry& e : m_entries) UpdateWindow(e.window);
}

std::vector<HWND> KyZOrderMngr::Windows() const {
  std::vector<HWND> out;
  for (const Entry& e : m_entries) out.push_back(e.window);
  return out;
}
