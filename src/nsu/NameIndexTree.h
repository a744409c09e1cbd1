// The B-tree of a name index over its block file: the index header (20
// bytes behind the file manager's header), the node cache, and the tree's
// operations. Every operation throws IndexFailure on a file failure;
// KyNameIndex answers those. A tree is opened over an existing file only by
// the tests and the fuzz target, which check what a damaged file does.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "MnodeCache.h"

class NameIndexTree {
 public:
  static constexpr uint32_t kIndexHeaderSize = 20;
  static constexpr uint32_t kMaxHeight = 32;  // far above any tree a 2 GB file can hold

  struct Header {
    uint32_t root;
    uint32_t keySize;  // 32
    uint32_t entries;
    uint32_t nodes;
    uint32_t height;
  };

  // A new file with an empty root.
  static std::unique_ptr<NameIndexTree> Create(const char* path, int cacheSize);
  // An existing file, its header checked against the file.
  static std::unique_ptr<NameIndexTree> Open(const char* path, int cacheSize, bool readOnly);

  void Insert(const MnodeKey& key);
  // False when the pair is not in the index.
  bool Remove(const MnodeKey& key);
  // The value of the first entry with the key's name.
  bool Find(const MnodeKey& key, int32_t* value);
  void Walk(const std::function<void(int32_t)>& fn);
  // Walks the whole tree and throws FileCorrupted unless every leaf is at
  // the header's height, keys are in order across nodes, every node but the
  // root holds 15 to 31 entries, and the counts agree with the header.
  void Verify();
  // Dirty nodes and both headers to the file.
  void Flush();
  const Header& IndexHeader() const { return m_header; }
  Fmgr& File() { return m_file; }

 private:
  struct Step {
    uint32_t offset;
    uint32_t child;  // which child of the node the path went on to
  };
  class Path;

  NameIndexTree(int cacheSize) : m_cache(m_file, cacheSize) {}
  uint32_t allocateNode();
  void freeNode(uint32_t offset);
  void insertAbove(Path& path, uint32_t offset, uint32_t position, MnodeEntry carry);
  void refill(Path& path, uint32_t offset);
  void walkNode(uint32_t offset, uint32_t depth, const std::function<void(const MnodeEntry&)>& fn);

  Fmgr m_file;
  MnodeCache m_cache;
  Header m_header{};
};
