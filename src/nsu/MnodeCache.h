// The node cache of a name index: a fixed number of buckets, each one node
// image with its file offset and a dirty flag, read from and written to the
// file in one transfer of 1248 bytes. A bucket not used since the clock
// hand last passed it is reused (pinned ones never); a dirty one is written
// first. Every block of an index file is a node, so a node's place in the
// file gives its slot in a table of buckets: a look-up touches no hash.
#pragma once

#include <cstdint>
#include <vector>

#include "Mnode.h"

// A failure inside the index, carried to the exported call that started
// the work and answered there; it never leaves the library.
struct IndexFailure {
  ExceptionCode code;
};
inline void Check(ExceptionCode code) {
  if (code != NoException) throw IndexFailure{code};
}

class MnodeCache {
 public:
  // Three nodes are held at once while a node is split or refilled, so a
  // cache of fewer buckets is given that many.
  static constexpr int kFewestBuckets = 4;

  MnodeCache(Fmgr& file, int buckets);
  MnodeCache(const MnodeCache&) = delete;
  MnodeCache& operator=(const MnodeCache&) = delete;
  ~MnodeCache();

  // The node at the offset, held in the cache until Unpin; read and checked
  // when not cached. `fresh`: a new block, zeroed instead of read.
  Mnode& Pin(uint32_t offset, bool fresh = false);
  void Unpin(uint32_t offset);
  void MarkDirty(uint32_t offset);
  // Forgets a node whose block is freed, without writing it.
  void Drop(uint32_t offset);
  // Writes every dirty node.
  void Flush();

 private:
  // What a look-up needs of a cached node sits in its slot, so that a hit
  // touches the slot table and the node only.
  struct Slot {
    int32_t bucket = -1;  // -1: not cached
    uint16_t pins = 0;
    bool dirty = false;
    bool used = false;  // since the clock hand last passed
  };

  // The slot of the node at the offset; a node that is not where nodes lie
  // is a damaged file.
  size_t slotOf(uint32_t offset);
  Slot& cached(uint32_t offset);
  int freeBucket();
  void write(int b);
  void forget(int b);

  Fmgr& m_file;
  // Node images in memory of huge pages where the system has them: a large
  // cache is read at random, and page-table misses would cost more than
  // the search.
  Mnode* m_nodes = nullptr;
  size_t m_count = 0;
  size_t m_mapped = 0;
  std::vector<uint32_t> m_offsets;  // bucket -> offset of its node, 0 when unused
  std::vector<Slot> m_slots;        // node number in the file -> its bucket
  size_t m_hand = 0;
};

// Holds one node of the cache while it is worked on.
class MnodePin {
 public:
  MnodePin(MnodeCache& cache, uint32_t offset, bool fresh = false)
      : m_cache(cache), m_offset(offset), m_node(&cache.Pin(offset, fresh)) {}
  MnodePin(const MnodePin&) = delete;
  MnodePin& operator=(const MnodePin&) = delete;
  ~MnodePin() { m_cache.Unpin(m_offset); }
  Mnode& operator*() const { return *m_node; }
  Mnode* operator->() const { return m_node; }
  uint32_t Offset() const { return m_offset; }
  void Dirty() { m_cache.MarkDirty(m_offset); }

 private:
  MnodeCache& m_cache;
  uint32_t m_offset;
  Mnode* m_node;
};
