#include "NameIndexTree.h"

#include <set>

namespace {

constexpr uint32_t kNodeSize = sizeof(Mnode);
constexpr uint32_t kKeySize = Mnode::kNameSize;

// Entries not greater than the key: where an insert goes, after equal keys.
uint32_t upperBound(const Mnode& n, const MnodeKey& key) {
  uint32_t lo = 0, hi = n.count;
  while (lo < hi) {
    uint32_t mid = (lo + hi) / 2;
    if (CompareKeys(key.name, key.value, n.entries[mid]) < 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

// The first entry not less than the key (by name alone when byName).
uint32_t lowerBound(const Mnode& n, const MnodeKey& key, bool byName) {
  uint32_t lo = 0, hi = n.count;
  while (lo < hi) {
    uint32_t mid = (lo + hi) / 2;
    int c = byName ? CompareNames(key.name, n.entries[mid].name) : CompareKeys(key.name, key.value, n.entries[mid]);
    if (c > 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

void setKey(MnodeEntry& to, const MnodeEntry& from) {
  std::memcpy(to.name, from.name, sizeof to.name);
  to.value = from.value;
}

void insertAt(Mnode& n, uint32_t position, const MnodeEntry& e) {
  std::memmove(&n.entries[position + 1], &n.entries[position], (n.count - position) * sizeof e);
  n.entries[position] = e;
  ++n.count;
}

void eraseAt(Mnode& n, uint32_t position) {
  std::memmove(&n.entries[position], &n.entries[position + 1], (n.count - position - 1) * sizeof(MnodeEntry));
  --n.count;
  std::memset(&n.entries[n.count], 0, sizeof(MnodeEntry));
}

}  // namespace

// The nodes from the root down to where an operation works, with the child
// taken at each; as deep as the tree at most.
class NameIndexTree::Path {
 public:
  void Push(Step s) {
    if (m_depth == kMaxHeight) throw IndexFailure{StackFull};
    m_steps[m_depth++] = s;
  }
  Step Pop() {
    if (m_depth == 0) throw IndexFailure{StackEmpty};
    return m_steps[--m_depth];
  }
  bool Empty() const { return m_depth == 0; }

 private:
  Step m_steps[kMaxHeight];
  uint32_t m_depth = 0;
};

namespace {

// A leaf exactly at the header's height, inner nodes above it: anything
// else is a damaged file (and this bounds every descent).
void checkLevel(const Mnode& n, uint32_t depth, uint32_t height) {
  if (depth > height || n.IsLeaf() != (depth == height)) throw IndexFailure{FileCorrupted};
}

}  // namespace

std::unique_ptr<NameIndexTree> NameIndexTree::Create(const char* path, int cacheSize) {
  std::unique_ptr<NameIndexTree> t(new NameIndexTree(cacheSize));
  Check(t->m_file.Create(path, kIndexHeaderSize));
  uint32_t root = t->allocateNode();
  { MnodePin fresh(t->m_cache, root, true); }
  t->m_header = Header{root, kKeySize, 0, 1, 1};
  t->Flush();
  return t;
}

std::unique_ptr<NameIndexTree> NameIndexTree::Open(const char* path, int cacheSize, bool readOnly) {
  std::unique_ptr<NameIndexTree> t(new NameIndexTree(cacheSize));
  Check(t->m_file.Open(path, readOnly ? 1 : 0));
  if (t->m_file.HeaderAreaSize() != Fmgr::kHeaderSize + kIndexHeaderSize) throw IndexFailure{WrongFileType};
  Header& h = t->m_header;
  Check(t->m_file.Read(&h, sizeof h, Fmgr::kHeaderSize));
  if (h.keySize != kKeySize || h.height == 0 || h.height > kMaxHeight || !t->m_file.IsBlock(h.root, kNodeSize))
    throw IndexFailure{FileCorrupted};
  return t;
}

uint32_t NameIndexTree::allocateNode() {
  uint32_t offset;
  Check(m_file.Allocate(kNodeSize, &offset));
  ++m_header.nodes;
  return offset;
}

void NameIndexTree::freeNode(uint32_t offset) {
  m_cache.Drop(offset);
  Check(m_file.Free(kNodeSize, offset));
  --m_header.nodes;
}

void NameIndexTree::Insert(const MnodeKey& key) {
  Path path;
  uint32_t offset = m_header.root, position;
  for (uint32_t depth = 1;; ++depth) {
    MnodePin n(m_cache, offset);
    checkLevel(*n, depth, m_header.height);
    position = upperBound(*n, key);
    if (n->IsLeaf()) break;
    path.Push({offset, position});
    offset = n->Child(position);
  }
  MnodeEntry e{};
  std::memcpy(e.name, key.name, sizeof e.name);
  e.value = key.value;
  insertAbove(path, offset, position, e);
  ++m_header.entries;
}

// Puts the entry into the node; a full node is split into 15 and 16
// entries around the middle one, which goes on up with the new right node
// as its child. A split root makes a new root one level higher.
void NameIndexTree::insertAbove(Path& path, uint32_t offset, uint32_t position, MnodeEntry carry) {
  for (;;) {
    MnodePin n(m_cache, offset);
    if (n->count < Mnode::kMaxEntries) {
      insertAt(*n, position, carry);
      n.Dirty();
      return;
    }
    // The blocks first, so that a failure leaves the tree as it was.
    uint32_t rightOffset = allocateNode(), rootOffset = 0;
    if (path.Empty()) {
      try {
        rootOffset = allocateNode();
      } catch (const IndexFailure&) {
        freeNode(rightOffset);
        throw;
      }
    }
    MnodeEntry all[Mnode::kMaxEntries + 1];
    std::memcpy(all, n->entries, position * sizeof carry);
    all[position] = carry;
    std::memcpy(all + position + 1, n->entries + position, (Mnode::kMaxEntries - position) * sizeof carry);
    constexpr uint32_t kLeft = Mnode::kMinEntries;  // all[kLeft] goes up
    MnodePin right(m_cache, rightOffset, true);
    right->child0 = all[kLeft].child;
    right->count = Mnode::kMaxEntries - kLeft;
    std::memcpy(right->entries, all + kLeft + 1, right->count * sizeof carry);
    n->count = kLeft;
    std::memcpy(n->entries, all, kLeft * sizeof carry);
    std::memset(n->entries + kLeft, 0, (Mnode::kMaxEntries - kLeft) * sizeof carry);
    right.Dirty();
    n.Dirty();
    carry = all[kLeft];
    carry.child = rightOffset;
    if (path.Empty()) {
      MnodePin root(m_cache, rootOffset, true);
      root->child0 = offset;
      root->count = 1;
      root->entries[0] = carry;
      root.Dirty();
      m_header.root = rootOffset;
      ++m_header.height;
      return;
    }
    Step up = path.Pop();
    offset = up.offset;
    position = up.child;
  }
}

bool NameIndexTree::Remove(const MnodeKey& key) {
  Path path;
  uint32_t offset = m_header.root, position, depth;
  bool leaf;
  for (depth = 1;; ++depth) {
    MnodePin n(m_cache, offset);
    checkLevel(*n, depth, m_header.height);
    position = lowerBound(*n, key, false);
    leaf = n->IsLeaf();
    if (position < n->count && CompareKeys(key.name, key.value, n->entries[position]) == 0) break;
    if (leaf) return false;
    path.Push({offset, position});
    offset = n->Child(position);
  }
  uint32_t leafOffset = offset;
  if (leaf) {
    MnodePin n(m_cache, offset);
    eraseAt(*n, position);
    n.Dirty();
  } else {
    // The successor, first entry of the leftmost leaf right of the entry,
    // takes the entry's place and leaves its leaf.
    path.Push({offset, position + 1});
    uint32_t child;
    {
      MnodePin n(m_cache, offset);
      child = n->Child(position + 1);
    }
    for (++depth;; ++depth) {
      MnodePin m(m_cache, child);
      checkLevel(*m, depth, m_header.height);
      if (m->IsLeaf()) break;
      path.Push({child, 0});
      child = m->child0;
    }
    leafOffset = child;
    MnodePin inner(m_cache, offset);
    MnodePin successor(m_cache, leafOffset);
    if (successor->count == 0) throw IndexFailure{FileCorrupted};
    setKey(inner->entries[position], successor->entries[0]);
    eraseAt(*successor, 0);
    inner.Dirty();
    successor.Dirty();
  }
  --m_header.entries;
  refill(path, leafOffset);
  MnodePin root(m_cache, m_header.root);
  if (root->count == 0 && m_header.height > 1) {
    uint32_t old = m_header.root;
    m_header.root = root->child0;
    --m_header.height;
    freeNode(old);
  }
  return true;
}

// A node left with fewer than 15 entries takes one from a neighbour that
// can spare it, or is merged with a neighbour (the right one of the pair
// is freed); a merge may leave the parent short in turn.
void NameIndexTree::refill(Path& path, uint32_t offset) {
  while (!path.Empty()) {
    {
      MnodePin n(m_cache, offset);
      if (n->count >= Mnode::kMinEntries) return;
    }
    Step up = path.Pop();
    MnodePin parent(m_cache, up.offset);
    MnodePin n(m_cache, offset);
    const uint32_t c = up.child;
    auto sameLevel = [&](const Mnode& sibling) {
      if (sibling.IsLeaf() != n->IsLeaf()) throw IndexFailure{FileCorrupted};
    };
    if (c > 0) {
      MnodePin left(m_cache, parent->Child(c - 1));
      sameLevel(*left);
      if (left->count > Mnode::kMinEntries) {
        MnodeEntry& last = left->entries[left->count - 1];
        MnodeEntry moved{};
        setKey(moved, parent->entries[c - 1]);
        moved.child = n->child0;
        insertAt(*n, 0, moved);
        n->child0 = last.child;
        setKey(parent->entries[c - 1], last);
        eraseAt(*left, left->count - 1);
        left.Dirty(), n.Dirty(), parent.Dirty();
        return;
      }
    }
    if (c < parent->count) {
      MnodePin right(m_cache, parent->Child(c + 1));
      sameLevel(*right);
      if (right->count > Mnode::kMinEntries) {
        MnodeEntry moved{};
        setKey(moved, parent->entries[c]);
        moved.child = right->child0;
        insertAt(*n, n->count, moved);
        setKey(parent->entries[c], right->entries[0]);
        right->child0 = right->entries[0].child;
        eraseAt(*right, 0);
        right.Dirty(), n.Dirty(), parent.Dirty();
        return;
      }
    }
    if (c == 0 && parent->count == 0) throw IndexFailure{FileCorrupted};  // a lone child under an empty node
    // Merge the pair (k-th child and the one after it) into the left one.
    const uint32_t k = c > 0 ? c - 1 : c;
    const uint32_t leftOffset = parent->Child(k), rightOffset = parent->Child(k + 1);
    {
      MnodePin left(m_cache, leftOffset);
      MnodePin right(m_cache, rightOffset);
      if (left->count + right->count + 1 > Mnode::kMaxEntries) throw IndexFailure{FileCorrupted};
      MnodeEntry separator{};
      setKey(separator, parent->entries[k]);
      separator.child = right->child0;
      insertAt(*left, left->count, separator);
      std::memcpy(left->entries + left->count, right->entries, right->count * sizeof separator);
      left->count += right->count;
      eraseAt(*parent, k);
      left.Dirty(), parent.Dirty();
    }
    freeNode(rightOffset);
    offset = up.offset;
  }
}

bool NameIndexTree::Find(const MnodeKey& key, int32_t* value) {
  bool found = false;
  uint32_t offset = m_header.root;
  for (uint32_t depth = 1;; ++depth) {
    MnodePin n(m_cache, offset);
    checkLevel(*n, depth, m_header.height);
    uint32_t i = lowerBound(*n, key, true);
    if (i < n->count && CompareNames(key.name, n->entries[i].name) == 0) {
      *value = n->entries[i].value;  // deeper matches come earlier
      found = true;
    }
    if (n->IsLeaf()) return found;
    offset = n->Child(i);
  }
}

// In key order; each node is copied out of the cache, so that a walk as
// deep as the tree holds no bucket.
void NameIndexTree::walkNode(uint32_t offset, uint32_t depth, const std::function<void(const MnodeEntry&)>& fn) {
  Mnode n;
  {
    MnodePin pin(m_cache, offset);
    checkLevel(*pin, depth, m_header.height);
    n = *pin;
  }
  for (uint32_t c = 0; c <= n.count; ++c) {
    if (!n.IsLeaf()) walkNode(n.Child(c), depth + 1, fn);
    if (c < n.count) fn(n.entries[c]);
  }
}

void NameIndexTree::Walk(const std::function<void(int32_t)>& fn) {
  walkNode(m_header.root, 1, [&](const MnodeEntry& e) { fn(e.value); });
}

void NameIndexTree::Verify() {
  std::set<uint32_t> seen;
  uint64_t entries = 0;
  const MnodeEntry* previous = nullptr;
  MnodeEntry last{};
  auto visit = [&](auto&& self, uint32_t offset, uint32_t depth) -> void {
    if (!seen.insert(offset).second) throw IndexFailure{FileCorrupted};  // a node reached twice
    Mnode n;
    {
      MnodePin pin(m_cache, offset);
      checkLevel(*pin, depth, m_header.height);
      n = *pin;
    }
    bool root = depth == 1;
    if (!root && n.count < Mnode::kMinEntries) throw IndexFailure{FileCorrupted};
    if (root && n.count == 0 && m_header.height > 1) throw IndexFailure{FileCorrupted};
    for (uint32_t c = 0; c <= n.count; ++c) {
      if (!n.IsLeaf()) self(self, n.Child(c), depth + 1);
      if (c == n.count) break;
      if (previous && CompareKeys(n.entries[c].name, n.entries[c].value, last) < 0) throw IndexFailure{FileCorrupted};
      last = n.entries[c];
      previous = &last;
      ++entries;
    }
  };
  visit(visit, m_header.root, 1);
  if (entries != m_header.entries || seen.size() != m_header.nodes) throw IndexFailure{FileCorrupted};
}

void NameIndexTree::Flush() {
  m_cache.Flush();
  Check(m_file.Write(&m_header, sizeof m_header, Fmgr::kHeaderSize));
  Check(m_file.Flush());
}
