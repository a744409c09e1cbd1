// Writes the type library of one of our controls ("gauge" or "picture") to
// the path given (run by the build).
#include <cstdio>
#include <cstring>

#include "controltypelibs.h"

int main(int argc, char** argv) {
  const struct {
    const char* name;
    HRESULT (*write)(const std::string&);
  } libraries[] = {{"gauge", writeGaugeTypeLib}, {"picture", writePictureTypeLib}};
  for (const auto& library : libraries) {
    if (argc != 3 || std::strcmp(argv[1], library.name) != 0) continue;
    const HRESULT hr = library.write(argv[2]);
    if (FAILED(hr)) std::fprintf(stderr, "%s: writing %s failed (0x%08X)\n", argv[0], argv[2], static_cast<unsigned>(hr));
    return FAILED(hr) ? 1 : 0;
  }
  std::fprintf(stderr, "usage: %s gauge|picture <file.tlb>\n", argv[0]);
  return 2;
}
