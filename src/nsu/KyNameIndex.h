// A name index file: names of up to 31 characters, matched without regard
// to case, mapped to 32-bit values in a B-tree on disk with a cache of
// nodes in memory. The constructor always creates the file anew, so an
// index lives for one run of its owner.
//
// A failure of the file (I/O, a damaged file, a full cache) is reported on
// standard output and answered 0; from then on the index refuses further
// work, since the tree may be only partly written. LastError tells why.
#pragma once

#include <windows.h>

#include <memory>

#include "Fmgr.h"

class NameIndexTree;

class KyNameIndex {
 public:
  // Creates the file (an existing one is replaced) with an empty root and
  // a cache of `cacheSize` nodes (at least 4).
  KyNameIndex(const char* file, int cacheSize);
  KyNameIndex(const KyNameIndex&) = delete;
  KyNameIndex& operator=(const KyNameIndex&) = delete;
  // Writes the index header and the dirty nodes, and closes the file.
  virtual ~KyNameIndex();

  // 1 when the pair was added; 0 for a null name, a name longer than 31
  // characters, or a failure.
  int AddEntry(const char* name, LONG value);
  // Moves the value from the old name to the new one. The new entry is
  // added before the old one is removed, so a failed add loses nothing;
  // answers the add's result.
  int ChangeEntry(const char* oldName, const char* newName, LONG value);
  // The value of the first entry with the name (the smallest value); 0
  // when there is none, which a stored 0 cannot be told from.
  LONG FindEntry(const char* name);
  // 1 when exactly that pair was there and is removed.
  int RemoveEntry(const char* name, LONG value);
  // fn with every value, in key order.
  void WalkIndex(void (*fn)(LONG));

  bool IsUsable() const { return m_tree != nullptr && m_error == NoException; }
  ExceptionCode LastError() const { return m_error; }

 private:
  enum class Removal { Removed, Missing, Failed };
  Removal remove(const char* name, LONG value);
  template <typename Work>
  bool run(Work&& work);

  std::unique_ptr<NameIndexTree> m_tree;
  ExceptionCode m_error = NoException;
};
