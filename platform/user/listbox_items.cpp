// The block list behind a list box's items (listbox.h).
#include "listbox.h"

#include <algorithm>

namespace win32::user {

std::pair<int, int> ListItems::locate(int index) const {
  auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
  size_t block = (size_t)(it - starts_.begin()) - 1;
  return {(int)block, index - starts_[block]};
}

ListItem& ListItems::at(int index) {
  auto [block, offset] = locate(index);
  return blocks_[block][offset];
}

const ListItem& ListItems::at(int index) const {
  auto [block, offset] = locate(index);
  return blocks_[block][offset];
}

void ListItems::renumberFrom(size_t block) {
  starts_.resize(blocks_.size());
  int start = block ? starts_[block - 1] + (int)blocks_[block - 1].size() : 0;
  for (size_t b = block; b < blocks_.size(); ++b) {
    starts_[b] = start;
    start += (int)blocks_[b].size();
  }
}

void ListItems::insert(int index, ListItem item) {
  if (blocks_.empty()) {
    blocks_.emplace_back().reserve(kBlock);
    starts_.assign(1, 0);
  }
  size_t block;
  int offset;
  if (index >= count_) {
    block = blocks_.size() - 1;
    offset = (int)blocks_[block].size();
  } else {
    auto [b, o] = locate(index);
    block = (size_t)b;
    offset = o;
  }
  auto& items = blocks_[block];
  items.insert(items.begin() + offset, std::move(item));
  ++count_;
  // A full block splits in two halves: appends then fill a fresh block.
  if ((int)items.size() > 2 * kBlock) {
    std::vector<ListItem> tail(std::make_move_iterator(items.begin() + kBlock), std::make_move_iterator(items.end()));
    items.erase(items.begin() + kBlock, items.end());
    blocks_.insert(blocks_.begin() + (long)block + 1, std::move(tail));
  }
  renumberFrom(block);
}

ListItem ListItems::take(int index) {
  auto [block, offset] = locate(index);
  auto& items = blocks_[block];
  ListItem item = std::move(items[offset]);
  items.erase(items.begin() + offset);
  --count_;
  if (items.empty() && blocks_.size() > 1) blocks_.erase(blocks_.begin() + block);
  renumberFrom(std::min((size_t)block, blocks_.size() - 1));
  return item;
}

void ListItems::clear() {
  blocks_.clear();
  starts_.clear();
  count_ = 0;
}

void ListItems::reserve(int more) {
  // Blocks are allocated as items arrive; reserving only sizes the block table.
  reserved_ = std::max(reserved_, count_ + more);
  blocks_.reserve((size_t)reserved_ / kBlock + 1);
  starts_.reserve((size_t)reserved_ / kBlock + 1);
}

}  // namespace win32::user
