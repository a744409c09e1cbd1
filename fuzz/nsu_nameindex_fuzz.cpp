// Opening a name index file of arbitrary bytes and working on it: every
// damaged file must give an error code, never a crash, a read out of
// bounds or a loop. A file that opens is checked whole, walked, searched,
// and changed (inserts that split nodes, removes that merge them).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "NameIndexTree.h"

namespace {

std::string scratchFile() {
  static std::string path = "/tmp/nsu-fuzz-" + std::to_string(getpid()) + ".idx";
  return path;
}

MnodeKey keyOf(const char* name, int32_t value) {
  MnodeKey k;
  k.Set(name, value);
  return k;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = scratchFile();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  try {
    auto tree = NameIndexTree::Open(path.c_str(), 4, false);
    bool whole = true;
    try {
      tree->Verify();
    } catch (const IndexFailure&) {
      whole = false;
    }
    uint64_t walked = 0;
    tree->Walk([&](int32_t) { ++walked; });
    if (whole && walked != tree->IndexHeader().entries) std::abort();
    int32_t value;
    tree->Find(keyOf("A", 0), &value);
    for (int i = 0; i < 40; ++i) tree->Insert(keyOf("FUZZ", i));
    for (int i = 0; i < 40; ++i)
      if (!tree->Remove(keyOf("fuzz", i)) && whole) std::abort();  // a sound tree gives back what it took
    tree->Flush();
  } catch (const IndexFailure& failure) {
    if (failure.code == NoException) std::abort();
  }
  return 0;
}
