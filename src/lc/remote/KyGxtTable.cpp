// KyGxtTable: loading, validation and the conversion engine.
//
// The engine is a state machine over the sub-tables, starting at sub-table
// 1 (a first sub-table of type 0 is a plain 256-byte map instead). Each
// step may step the input back, reads the sub-table's input width as one
// big-endian value, and by type emits bytes and picks the next sub-table.
// Every offset it uses was checked at load, and the walk is bounded in
// steps, so a table that loops without consuming input ends the conversion
// instead of hanging the caller.
#include "KyGxtTable.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "KyCodePageSettings.h"
#include "KyGxtFormat.h"

namespace {

constexpr size_t kMaxFileSize = 16u << 20;

uint32_t read32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// Number of entries of a sub-table with bounds lo..hi (0 when lo > hi).
size_t entryCount(uint16_t lo, uint16_t hi) { return lo <= hi ? size_t(hi) - lo + 1 : 0; }

// Checks one sub-table against the rules the engine relies on.
bool validSubTable(const KyGxtTable& table, const std::vector<uint8_t>& st, size_t count, bool first) {
  if (st.size() < 4) return false;
  const uint8_t type = st[0], width = st[2], outLength = st[3];
  if (type == kygxt::SingleByteMap) return first && st.size() >= kygxt::kSingleByteMapSize;
  if (type > kygxt::Bitmap) return true;  // ends the conversion when reached
  if (width > 4 || outLength > 4) return false;
  auto nextOk = [&](size_t at) { return at + 2 <= st.size() && table.Word(st, at) <= count; };
  if (type == kygxt::Emit) return st.size() >= 10 && nextOk(4);
  if (st.size() < size_t(kygxt::kSubTableFixed) || !nextOk(8)) return false;
  const size_t n = entryCount(table.Word(st, 4), table.Word(st, 6));
  const size_t base = kygxt::kSubTableFixed;
  switch (type) {
    case kygxt::Pairs:
      if (base + 2 * n > st.size()) return false;
      if (outLength != 2)
        for (size_t i = 0; i < n; ++i)
          if (st[base + 2 * i] != 0x80 && table.Word(st, base + 2 * i) > count) return false;
      return true;
    case kygxt::Records:
      if (base + 6 * n > st.size()) return false;
      for (size_t i = 0; i < n; ++i)
        if (table.Word(st, base + 6 * i) > count) return false;
      return true;
    case kygxt::Quads:
      if (base + 4 * n > st.size()) return false;
      if (outLength != 4)
        for (size_t i = 0; i < n; ++i)
          if (st[base + 4 * i] != 0x80 && table.Word(st, base + 4 * i + 2) > count) return false;
      return true;
    case kygxt::Bitmap:
      return st.size() >= 20 + (n + 7) / 8 && nextOk(14);
    default:
      return false;
  }
}

// The walk's position and output.
struct Walk {
  const KyGxtTable& table;
  const uint8_t* source;
  size_t sourceLength;
  uint8_t* target;
  size_t targetLength;
  size_t in = 0;
  KyGxtResult result;
  bool full = false;

  // Appends the bytes unless they are all zero; a run that no longer fits
  // ends the conversion (no character is cut in half).
  void emit(const uint8_t* bytes, size_t n) {
    if (std::all_of(bytes, bytes + n, [](uint8_t b) { return b == 0; })) return;
    if (result.written + n > targetLength) {
      full = true;
      return;
    }
    std::memcpy(target + result.written, bytes, n);
    result.written += n;
  }
};

void mapSingleBytes(const std::vector<uint8_t>& map, Walk& walk) {
  const size_t n = std::min(walk.sourceLength, walk.targetLength);
  for (size_t i = 0; i < n; ++i) walk.target[i] = map[4 + walk.source[i]];
  walk.result.written = n;
}

void runStateMachine(Walk& walk) {
  const KyGxtTable& table = walk.table;
  static const uint8_t substitute[4] = {0x00, 0x00, 0x40, 0x40};
  size_t current = 1;
  size_t defaultNext = 1;
  // Each step consumes input or emits; a sound table needs a few steps per
  // source byte. More than that is a loop.
  const size_t maxSteps = 64 * (walk.sourceLength + 4);
  for (size_t step = 0; step < maxSteps && !walk.full; ++step) {
    const std::vector<uint8_t>& st = table.subTables[current];
    const uint8_t type = st[0], width = st[2], outLength = st[3];
    if (type > kygxt::Bitmap || type == kygxt::SingleByteMap) return;
    if (st[1] & 1) walk.in -= std::min<size_t>(walk.in, width);
    if (type != kygxt::Emit) {
      if (uint16_t next = table.Word(st, 8)) defaultNext = next;
    }
    long long value = 0;
    if (type != kygxt::Emit && width != 0) {
      if (walk.in + width > walk.sourceLength) {
        if (defaultNext == 1) return;
        value = -1;
      } else {
        for (int i = 0; i < width; ++i) value = value << 8 | walk.source[walk.in + i];
        walk.in += width;
      }
    }
    const long long lo = type == kygxt::Emit ? 0 : table.Word(st, 4);
    const long long hi = type == kygxt::Emit ? -1 : table.Word(st, 6);
    const bool inside = value >= lo && value <= hi;
    const size_t i = inside ? size_t(value - lo) : 0;
    size_t next = defaultNext;
    switch (type) {
      case kygxt::Emit:
        walk.emit(&st[10 - outLength], outLength);
        next = table.Word(st, 4);
        break;
      case kygxt::Pairs: {
        if (!inside) {
          walk.emit(substitute + 4 - outLength, outLength);
          ++walk.result.substitutions;
          break;
        }
        const uint8_t* entry = &st[kygxt::kSubTableFixed + 2 * i];
        if (outLength == 2)
          walk.emit(entry, 2);
        else if (entry[0] == 0x80)
          walk.emit(entry + 1, 1);
        else if (uint16_t to = table.Word(st, kygxt::kSubTableFixed + 2 * i))
          next = to;
        break;
      }
      case kygxt::Records:
        if (inside) {
          const size_t at = kygxt::kSubTableFixed + 6 * i;
          if (uint16_t to = table.Word(st, at)) next = to;
          walk.emit(&st[at + 6 - outLength], outLength);
        } else {
          walk.emit(&st[kygxt::kSubTableFixed - outLength], outLength);
        }
        break;
      case kygxt::Quads:
        if (inside) {
          const size_t at = kygxt::kSubTableFixed + 4 * i;
          if (outLength == 4)
            walk.emit(&st[at], 4);
          else if (st[at] == 0x80)
            walk.emit(&st[at + 4 - outLength], outLength);
          else if (uint16_t to = table.Word(st, at + 2))
            next = to;
        } else {
          walk.emit(&st[kygxt::kSubTableFixed - outLength], outLength);
        }
        break;
      case kygxt::Bitmap: {
        size_t record = 8;
        if (inside && (st[20 + i / 8] & (0x80 >> (i % 8)))) record = 14;
        if (uint16_t to = table.Word(st, record)) next = to;
        walk.emit(&st[record + 6 - outLength], outLength);
        break;
      }
    }
    if (next == 0 || next >= table.subTables.size()) return;  // checked at load; kept for safety
    current = next;
  }
}

}  // namespace

std::unique_ptr<KyGxtTable> KyParseGxtTable(const uint8_t* p, size_t n, uint16_t source, uint16_t target) {
  if (!p || n < 4 + size_t(kygxt::kHeaderSize) || n > kMaxFileSize) return nullptr;
  const uint32_t headerLength = read32(p);
  if (headerLength < uint32_t(kygxt::kHeaderSize) || headerLength > n - 4) return nullptr;
  auto table = std::make_unique<KyGxtTable>();
  const uint8_t* header = p + 4;
  // The byte-order word as this machine (little-endian) reads it.
  table->littleEndian = (header[2] | header[3] << 8) == kygxt::kLittleEndianMark;
  std::vector<uint8_t> headerBytes(header, header + kygxt::kHeaderSize);
  table->sourceCcsid = table->Word(headerBytes, 4);
  table->targetCcsid = table->Word(headerBytes, 6);
  const size_t count = table->Word(headerBytes, 8);
  if (table->sourceCcsid != source || table->targetCcsid != target || count == 0) return nullptr;
  size_t at = 4 + size_t(headerLength);
  table->subTables.resize(1);
  for (size_t k = 0; k < count; ++k) {
    if (n - at < 4) return nullptr;
    const uint32_t length = read32(p + at);
    at += 4;
    if (length > n - at) return nullptr;
    table->subTables.emplace_back(p + at, p + at + length);
    at += length;
  }
  for (size_t k = 1; k <= count; ++k)
    if (!validSubTable(*table, table->subTables[k], count, k == 1)) return nullptr;
  return table;
}

std::unique_ptr<KyGxtTable> KyLoadGxtTable(uint16_t source, uint16_t target) {
  if (source == target || !KyIsKnownCcsidPair(source, target)) return nullptr;
  const std::string name = kygxt::FileName(source, target);
  char path[MAX_PATH];
  const DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, sizeof path, path, nullptr);
  if (length == 0 || length >= sizeof path) return nullptr;
  // The host path of what SearchPathA found is a plain file name here.
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return nullptr;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() <= kMaxFileSize)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return KyParseGxtTable(bytes.data(), bytes.size(), source, target);
}

KyGxtResult KyGxtConvert(const KyGxtTable* pTable, const uint8_t* pSource, size_t nSource, uint8_t* pTarget,
                         size_t nTarget, unsigned fill) {
  KyGxtResult result;
  if (!pTarget) return result;
  if (!pSource) nSource = 0;
  if (!pTable || pTable->subTables.size() < 2) {
    result.written = std::min(nSource, nTarget);
    if (result.written) std::memmove(pTarget, pSource, result.written);
  } else {
    Walk walk{*pTable, pSource, nSource, pTarget, nTarget};
    if (pTable->subTables[1][0] == kygxt::SingleByteMap)
      mapSingleBytes(pTable->subTables[1], walk);
    else
      runStateMachine(walk);
    result = walk.result;
  }
  size_t at = result.written;
  if (fill < 256) {
    std::memset(pTarget + at, static_cast<int>(fill), nTarget - at);
  } else {
    for (; at + 1 < nTarget; at += 2) {
      pTarget[at] = static_cast<uint8_t>(fill >> 8);
      pTarget[at + 1] = static_cast<uint8_t>(fill);
    }
    if (at < nTarget) pTarget[at] = static_cast<uint8_t>(fill >> 8);
  }
  return result;
}
