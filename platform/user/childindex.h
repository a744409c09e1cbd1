// A spatial index of one window's children, kept by parents that hold many
// of them: which children may meet a rectangle, without looking at every
// child. Painting asks it when an area of the parent is invalidated (a
// child shown, hidden, moved or destroyed beside thousands of siblings).
//
// The client area is cut into square cells; a child is listed in every cell
// its window rectangle touches, or, when it is empty or spans many cells,
// in a list that every query returns. The index answers a superset: the
// caller still compares each child's rectangle. Order is not kept (z-order
// is the children list's).
#pragma once

#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace win32::user {

struct Window;

class ChildIndex {
 public:
  // Children a parent holds before it keeps an index.
  static constexpr size_t kThreshold = 128;

  // A linked child, at its window rectangle (noted in the child).
  void add(Window* child);
  // A child as it was added.
  void remove(Window* child);
  // Every child that may meet `box`, each once; nullptr when the box spans
  // too many cells to be worth it (the caller looks at every child). The
  // list lives until the next call.
  const std::vector<Window*>* meeting(const RECT& box);

 private:
  static constexpr int kCellShift = 6;        // 64-pixel cells
  static constexpr long kMostCellsListed = 64;  // more: the child is "large"
  static constexpr long kMostCellsAsked = 256;  // more: the caller scans

  struct Span {
    int left, top, right, bottom;  // cells, inclusive
    long count() const { return long(right - left + 1) * long(bottom - top + 1); }
  };
  static Span spanOf(const RECT& r);
  static uint64_t key(int x, int y) { return uint64_t(uint32_t(x)) << 32 | uint32_t(y); }
  void nextStamp();

  std::unordered_map<uint64_t, std::vector<Window*>> cells_;
  std::vector<Window*> large_;
  std::vector<Window*> found_;
  uint32_t stamp_ = 0;
};

}  // namespace win32::user
