#include "MnodeCache.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

namespace {

// The index's names compare in upper case (ASCII letters only, so that
// the order never depends on the host's locale).
constexpr char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool MnodeKey::Set(const char* text, int32_t v) {
  if (!text) return false;
  size_t n = std::strlen(text);
  if (n >= Mnode::kNameSize) return false;
  std::memset(name, 0, sizeof name);
  for (size_t i = 0; i < n; ++i) name[i] = upper(text[i]);
  value = v;
  return true;
}

bool Mnode::CheckAndTidy(const Fmgr& file) {
  if (count > kMaxEntries) return false;
  if (child0 != 0 && !file.IsBlock(child0, sizeof(Mnode))) return false;
  for (uint32_t i = 0; i < count; ++i) {
    MnodeEntry& e = entries[i];
    if ((e.child == 0) != IsLeaf() || (e.child != 0 && !file.IsBlock(e.child, sizeof(Mnode)))) return false;
    auto* end = static_cast<char*>(std::memchr(e.name, 0, kNameSize));
    if (!end) return false;
    std::fill(end, e.name + kNameSize, 0);
    if (i > 0 && CompareKeys(e.name, e.value, entries[i - 1]) < 0) return false;
  }
  return true;
}

MnodeCache::MnodeCache(Fmgr& file, int buckets)
    : m_file(file), m_count(static_cast<size_t>(std::max(buckets, kFewestBuckets))) {
  constexpr size_t kHugePage = 2u << 20;
  m_mapped = (m_count * sizeof(Mnode) + kHugePage - 1) / kHugePage * kHugePage;
  void* p = mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  madvise(p, m_mapped, MADV_HUGEPAGE);
  m_nodes = static_cast<Mnode*>(p);
  m_offsets.assign(m_count, 0);
}

MnodeCache::~MnodeCache() { munmap(m_nodes, m_mapped); }

size_t MnodeCache::slotOf(uint32_t offset) {
  const uint32_t first = m_file.HeaderAreaSize();
  if (!m_file.IsBlock(offset, sizeof(Mnode)) || (offset - first) % sizeof(Mnode) != 0)
    throw IndexFailure{FileCorrupted};
  size_t slot = (offset - first) / sizeof(Mnode);
  if (slot >= m_slots.size()) m_slots.resize(std::max(slot + 1, m_slots.size() * 2));
  return slot;
}

// The slot of a node pinned before (its offset was checked then).
MnodeCache::Slot& MnodeCache::cached(uint32_t offset) {
  static Slot none;
  size_t slot = (offset - m_file.HeaderAreaSize()) / sizeof(Mnode);
  if (slot >= m_slots.size()) return none = Slot{};
  return m_slots[slot];
}

void MnodeCache::write(int b) {
  Check(m_file.Write(&m_nodes[b], sizeof(Mnode), m_offsets[b]));
  cached(m_offsets[b]).dirty = false;
}

void MnodeCache::forget(int b) {
  if (m_offsets[b] != 0) m_slots[slotOf(m_offsets[b])] = Slot{};
  m_offsets[b] = 0;
}

// The clock: a used node gets a second chance, an unused unpinned one
// gives up its bucket. Two sweeps find one unless every node is pinned.
int MnodeCache::freeBucket() {
  for (size_t step = 0; step < 2 * m_count + 1; ++step) {
    int b = static_cast<int>(m_hand);
    m_hand = (m_hand + 1) % m_count;
    if (m_offsets[b] == 0) return b;
    Slot& s = m_slots[slotOf(m_offsets[b])];
    if (s.pins > 0) continue;
    if (s.used) {
      s.used = false;
      continue;
    }
    if (s.dirty) write(b);
    forget(b);
    return b;
  }
  throw IndexFailure{CacheFull};
}

Mnode& MnodeCache::Pin(uint32_t offset, bool fresh) {
  const size_t slot = slotOf(offset);
  if (m_slots[slot].bucket < 0) {
    int b = freeBucket();
    Mnode& node = m_nodes[b];
    if (fresh) {
      std::memset(&node, 0, sizeof node);
    } else {
      ExceptionCode e = m_file.Read(&node, sizeof node, offset);
      if (!e && !node.CheckAndTidy(m_file)) e = FileCorrupted;
      if (e) throw IndexFailure{e};  // the bucket stays unused
    }
    m_offsets[b] = offset;
    m_slots[slot] = Slot{b, 0, fresh, false};
  } else {
    // The search reads a few entries spread over the node: fetch its lines
    // together rather than one miss after another.
    const char* p = reinterpret_cast<const char*>(&m_nodes[m_slots[slot].bucket]);
    for (size_t line = 0; line < sizeof(Mnode); line += 64) __builtin_prefetch(p + line);
  }
  Slot& s = m_slots[slot];
  s.used = true;
  ++s.pins;
  return m_nodes[s.bucket];
}

void MnodeCache::Unpin(uint32_t offset) {
  Slot& s = cached(offset);
  if (s.pins > 0) --s.pins;
}

void MnodeCache::MarkDirty(uint32_t offset) {
  Slot& s = cached(offset);
  if (s.bucket >= 0) s.dirty = true;
}

void MnodeCache::Drop(uint32_t offset) {
  Slot& s = cached(offset);
  if (s.bucket >= 0) forget(s.bucket);
}

void MnodeCache::Flush() {
  // In file order, so that the writes go forward through the file.
  for (size_t slot = 0; slot < m_slots.size(); ++slot)
    if (m_slots[slot].bucket >= 0 && m_slots[slot].dirty) write(m_slots[slot].bucket);
}
