#include "mapibuffer.h"

#include <cstring>
#include <map>
#include <mutex>

namespace mapi32 {
namespace {

struct Published {
  std::mutex lock;
  std::map<void*, std::unique_ptr<BufferBlock>> blocks;
};

Published& published() {
  static Published table;
  return table;
}

}  // namespace

char* BufferBlock::text(const std::string& text) {
  if (text.empty()) return nullptr;
  char* copy = array<char>(text.size() + 1);
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

void* publishBuffer(void* root, std::unique_ptr<BufferBlock> block) {
  Published& table = published();
  std::lock_guard guard(table.lock);
  table.blocks[root] = std::move(block);
  return root;
}

bool freeBuffer(void* root) {
  std::unique_ptr<BufferBlock> block;  // freed after the lock is let go
  Published& table = published();
  std::lock_guard guard(table.lock);
  auto found = table.blocks.find(root);
  if (found == table.blocks.end()) return false;
  block = std::move(found->second);
  table.blocks.erase(found);
  return true;
}

}  // namespace mapi32
