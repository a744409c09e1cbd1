// KyGxtTable: one loaded ".gxt" code-page table (KyGxtFormat.h) and the
// conversion engine that walks it.
//
// A table is validated whole when it is loaded: every length, bound, entry
// and next sub-table number must lie inside the file, so that the engine
// never reads outside a sub-table. The files come from the search path;
// a damaged one is refused like a missing one (the direction then copies).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct KyGxtTable {
  uint16_t sourceCcsid = 0;
  uint16_t targetCcsid = 0;
  bool littleEndian = false;  // the 16-bit fields' byte order
  // [0] stays empty (the header); [1..n] the sub-tables as in the file.
  std::vector<std::vector<uint8_t>> subTables;

  uint16_t Word(const std::vector<uint8_t>& table, size_t at) const {
    return littleEndian ? static_cast<uint16_t>(table[at] | table[at + 1] << 8)
                        : static_cast<uint16_t>(table[at] << 8 | table[at + 1]);
  }
};

// Parses and validates a table file's bytes; null when they do not form a
// sound table for the pair (source, target).
std::unique_ptr<KyGxtTable> KyParseGxtTable(const uint8_t* pBytes, size_t nBytes, uint16_t source, uint16_t target);

// Reads the table file of the pair from the search path (SearchPathA);
// null when it is missing, unreadable, damaged or for another pair, or when
// the pair is not one of the code-page settings' (or both CCSIDs are equal).
std::unique_ptr<KyGxtTable> KyLoadGxtTable(uint16_t source, uint16_t target);

struct KyGxtResult {
  size_t written = 0;    // converted bytes, before the fill
  int substitutions = 0; // characters the table had no conversion for
};

// Converts source into target (see KyGxtTable.cpp for the walk), then fills
// the rest of target: a fill below 256 as bytes, a larger one as 16-bit
// units, high byte first (the double-byte blank). Without a table the
// bytes are copied.
KyGxtResult KyGxtConvert(const KyGxtTable* pTable, const uint8_t* pSource, size_t nSource, uint8_t* pTarget,
                         size_t nTarget, unsigned fill);
