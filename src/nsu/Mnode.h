// One node of a name index's B-tree as it lies in the file (1248 bytes):
// entry count, leftmost child, then 31 entries of name (32 bytes, upper
// case, NUL-terminated, zero-filled), value and the child that holds the
// keys following the entry. Child offsets are 0 in a leaf.
#pragma once

#include <cstdint>
#include <cstring>

#include "Fmgr.h"

struct MnodeEntry {
  char name[32];
  int32_t value;
  uint32_t child;
};

struct Mnode {
  static constexpr uint32_t kMaxEntries = 31;
  static constexpr uint32_t kMinEntries = 15;  // below this a node is refilled or merged
  static constexpr uint32_t kNameSize = 32;

  uint32_t count;
  uint32_t child0;
  MnodeEntry entries[kMaxEntries];

  bool IsLeaf() const { return child0 == 0; }
  // Child c: 0 the leftmost, c > 0 the one after entry c - 1.
  uint32_t Child(uint32_t c) const { return c == 0 ? child0 : entries[c - 1].child; }
  void SetChild(uint32_t c, uint32_t offset) { (c == 0 ? child0 : entries[c - 1].child) = offset; }
  // Checks a node read from the file against the file it came from: a
  // count within the node, children that are blocks of the file (all or
  // none), terminated names in key order. Names are zero-filled after their
  // end so that keys compare as whole 32-byte fields.
  bool CheckAndTidy(const Fmgr& file);
};
static_assert(sizeof(MnodeEntry) == 40 && sizeof(Mnode) == 1248);

// A name in the form the index keeps it: upper case, zero-filled.
struct MnodeKey {
  char name[Mnode::kNameSize];
  int32_t value;

  // False for a null name or one longer than 31 characters.
  bool Set(const char* text, int32_t v);
};

// Order of entries: by name (byte-wise), then by value.
inline int CompareNames(const char* a, const char* b) { return std::memcmp(a, b, Mnode::kNameSize); }
inline int CompareKeys(const char* name, int32_t value, const MnodeEntry& e) {
  if (int c = CompareNames(name, e.name)) return c;
  return value < e.value ? -1 : value > e.value ? 1 : 0;
}
