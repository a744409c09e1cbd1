// The stacking order of one panel's child windows, kept by an order number
// per window. Sibling stacking order is also tab order, so the panel adds
// every control with its tab position and restacks them all once the
// controls exist (DrawAll).
#pragma once

#include <windows.h>

#include <vector>

class KyZOrderMngr {
 public:
  // Answers of RelativeOrder.
  enum zordering { FirstComesFirst = 0, SecondComesFirst = 1, NeitherListed = 2 };

  KyZOrderMngr() = default;
  KyZOrderMngr(const KyZOrderMngr&) = delete;
  KyZOrderMngr& operator=(const KyZOrderMngr&) = delete;
  virtual ~KyZOrderMngr();

  // Lists the window (or moves it) at its order and stacks it behind the
  // window now ahead of it; orders 0 and -1 sort as 4000. `flags` are
  // SetWindowPos flags added to SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE.
  void Add(HWND window, int order, int flags);
  // Drops the window's entry; nothing when it is not listed.
  void Remove(HWND window);
  void Clear();
  // Restacks every listed window in list order at the bottom of its
  // siblings (the head on top of the group), then UpdateWindows.
  void DrawAll(int flags);
  zordering RelativeOrder(HWND a, HWND b) const;
  // UpdateWindow on every listed window, in list order.
  void UpdateWindows() const;

  // The listed windows, top of the group first.
  std::vector<HWND> Windows() const;

 private:
  struct Entry {
    HWND window;
    int32_t order;
  };

  // Adds one deferral to the open pass; a failed one ends the pass (the
  // layer has already dropped the handle, so it is not ended either).
  void defer(HWND window, HWND after, int flags);
  void endPass();

  HDWP m_hdwp = nullptr;
  std::vector<Entry> m_entries;  // ascending order; equal orders keep insertion order
};
