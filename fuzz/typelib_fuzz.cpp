// Type library files on arbitrary bytes: the reader refuses what it cannot
// read without reading outside the bytes, and a library it accepts writes
// back into a file that reads into the same library again.
//
// The file form is compiled into the target so that the fuzzer sees its
// branches.
#include "../platform/ole/typelibfile.cpp"

#include <cstdlib>

using namespace oleaut::tlb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  Library library;
  if (FAILED(readFile(bytes, &library))) return 0;
  std::vector<uint8_t> written;
  if (!writeFile(library, &written)) return 0;  // a name too long for the form
  Library again;
  if (FAILED(readFile(written, &again))) std::abort();
  std::vector<uint8_t> rewritten;
  if (!writeFile(again, &rewritten) || rewritten != written) std::abort();
  return 0;
}
