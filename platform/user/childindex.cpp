// The spatial index of many children (childindex.h).
#include "childindex.h"

#include <algorithm>

#include "window.h"

namespace win32::user {

namespace {

void eraseOne(std::vector<Window*>& list, Window* child) {
  auto it = std::find(list.begin(), list.end(), child);
  if (it == list.end()) return;
  *it = list.back();
  list.pop_back();
}

}  // namespace

ChildIndex::Span ChildIndex::spanOf(const RECT& r) {
  return Span{r.left >> kCellShift, r.top >> kCellShift, (r.right - 1) >> kCellShift, (r.bottom - 1) >> kCellShift};
}

void ChildIndex::add(Window* child) {
  const RECT& r = child->windowRect;
  child->indexedRect = r;
  const Span s = spanOf(r);
  child->indexedLarge = r.right <= r.left || r.bottom <= r.top || s.count() > kMostCellsListed;
  if (child->indexedLarge) {
    large_.push_back(child);
    return;
  }
  for (int y = s.top; y <= s.bottom; ++y)
    for (int x = s.left; x <= s.right; ++x) cells_[key(x, y)].push_back(child);
}

void ChildIndex::remove(Window* child) {
  if (child->indexedLarge) {
    eraseOne(large_, child);
    return;
  }
  const Span s = spanOf(child->indexedRect);
  for (int y = s.top; y <= s.bottom; ++y)
    for (int x = s.left; x <= s.right; ++x) {
      auto it = cells_.find(key(x, y));
      if (it == cells_.end()) continue;
      eraseOne(it->second, child);
      if (it->second.empty()) cells_.erase(it);
    }
}

const std::vector<Window*>* ChildIndex::meeting(const RECT& box) {
  found_.clear();
  if (box.right <= box.left || box.bottom <= box.top) return &found_;
  const Span s = spanOf(box);
  if (s.count() > kMostCellsAsked) return nullptr;
  nextStamp();
  found_ = large_;
  for (int y = s.top; y <= s.bottom; ++y)
    for (int x = s.left; x <= s.right; ++x) {
      auto it = cells_.find(key(x, y));
      if (it == cells_.end()) continue;
      for (Window* c : it->second) {
        if (c->indexStamp == stamp_) continue;
        c->indexStamp = stamp_;
        found_.push_back(c);
      }
    }
  return &found_;
}

void ChildIndex::nextStamp() {
  // Stamps tell a child already visited by this query; after a wrap every
  // child's stamp is cleared so that an old one cannot match.
  if (++stamp_ != 0) return;
  for (auto& [cell, list] : cells_)
    for (Window* c : list) c->indexStamp = 0;
  for (Window* c : large_) c->indexStamp = 0;
  stamp_ = 1;
}

}  // namespace win32::user
