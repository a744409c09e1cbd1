// Writes the ".gxt" code-page tables of every code-page setting into the
// directory named by the first argument, from glibc's iconv converters (and
// ICU's IBM converter for a host code page iconv lacks, GxtByteConverter.h).
// Run at build time; the tables are never written by hand.
//
// A CCSID in the 8000s or 9000s is a variant of CCSID - 8000 / - 9000 and
// converts like it. A pair whose code pages neither library knows gets no
// file: the run-time then copies that direction unchanged, as it does for
// any missing table.
//
// Single-byte pairs become a 256-byte map (sub-table type 0). A byte that
// has no single-byte counterpart becomes the target's substitute
// character: 0x3F (EBCDIC SUB) towards the host, 0x1A (ASCII SUB) towards
// the PC. Double-byte pairs (a mixed EBCDIC host code page with shift-out
// and shift-in, a PC code page of lead and trail bytes) become the state
// machines of GxtMixedTables.h.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "KyCodePageSettings.h"
#include "GxtByteConverter.h"
#include "GxtIconvNames.h"
#include "GxtMixedTables.h"
#include "KyGxtFormat.h"

namespace {

bool isHost(unsigned ccsid, const KyCodePageSetting& entry) { return entry.hostCcsid == ccsid; }

std::vector<kygxt::SubTable> singleByteTables(const kygxt::ByteConverter& converter, bool toHost) {
  kygxt::SubTable map(kygxt::SingleByteMap, 1, 1);
  for (int byte = 0; byte < 256; ++byte) {
    const int converted = converter.convert(static_cast<unsigned char>(byte));
    map.put8(4 + byte, converted >= 0 ? converted : toHost ? kygxt::kHostSubstitute : kygxt::kPcSubstitute);
  }
  return {map};
}

// Mixed pairs are built from iconv alone: it knows every double-byte
// code page of the settings.
std::vector<kygxt::SubTable> mixedTables(unsigned source, unsigned target, bool toHost) {
  const std::string from = kygxt::IconvName(source, !toHost), to = kygxt::IconvName(target, toHost);
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::vector<kygxt::SubTable> tables = toHost ? kygxt::PcToHostMixed(cd) : kygxt::HostToPcMixed(cd);
  iconv_close(cd);
  return tables;
}

bool writeTable(const std::string& directory, unsigned source, unsigned target, bool toHost) {
  std::vector<kygxt::SubTable> tables;
  if (kygxt::IsDoubleByte(source) || kygxt::IsDoubleByte(target)) {
    tables = mixedTables(source, target, toHost);
  } else {
    const kygxt::ByteConverter converter(source, !toHost, target, toHost);
    if (converter.ok()) tables = singleByteTables(converter, toHost);
  }
  if (tables.empty()) return false;
  const std::vector<uint8_t> file = kygxt::LayOut(source, target, tables);
  std::ofstream out(directory + "/" + kygxt::FileName(source, target), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s output-directory\n", argv[0]);
    return 2;
  }
  const std::string directory = argv[1];
  std::set<std::pair<unsigned, unsigned>> done;
  int failures = 0;
  for (const KyCodePageSetting& entry : kKyCodePageSettings) {
    for (const auto& [source, target] : {std::pair<unsigned, unsigned>{entry.hostCcsid, entry.pcCcsid},
                                         std::pair<unsigned, unsigned>{entry.pcCcsid, entry.hostCcsid}}) {
      if (!done.insert({source, target}).second) continue;
      if (!kygxt::HasConverter(source, isHost(source, entry)) || !kygxt::HasConverter(target, isHost(target, entry)))
        continue;
      if (!writeTable(directory, source, target, isHost(target, entry))) {
        std::fprintf(stderr, "cannot write the table %u -> %u\n", source, target);
        ++failures;
      }
    }
  }
  return failures ? 1 : 0;
}
