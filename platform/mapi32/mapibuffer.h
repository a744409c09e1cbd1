// Memory that MAPI32.DLL hands to its caller (a read message, a resolved
// recipient, an address list). Each answer is one block: everything it
// points to lives in the block, and the caller frees it all with one
// MAPIFreeBuffer of the pointer it was given.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace mapi32 {

class BufferBlock {
 public:
  // `count` zeroed objects of a plain C structure.
  template <class T>
  T* array(size_t count) {
    storage_.push_back(std::make_unique<std::byte[]>(sizeof(T) * (count ? count : 1)));
    return reinterpret_cast<T*>(storage_.back().get());
  }
  // A copy of `text`, or nullptr for an empty one.
  char* text(const std::string& text);

 private:
  std::vector<std::unique_ptr<std::byte[]>> storage_;
};

// Hands `block` over; `root`, one of its allocations, is the caller's
// pointer. Answers `root`.
void* publishBuffer(void* root, std::unique_ptr<BufferBlock> block);
// Frees the block published under `root`; false for any other pointer.
bool freeBuffer(void* root);

}  // namespace mapi32
