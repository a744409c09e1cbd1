// Writes the gauge's type library to the path given (run by the build).
#include <cstdio>

#include "gaugetypelib.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.tlb>\n", argv[0]);
    return 2;
  }
  const HRESULT hr = writeGaugeTypeLib(argv[1]);
  if (FAILED(hr)) std::fprintf(stderr, "%s: writing %s failed (0x%08X)\n", argv[0], argv[1], static_cast<unsigned>(hr));
  return FAILED(hr) ? 1 : 0;
}
