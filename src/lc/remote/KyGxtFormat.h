// The ".gxt" code-page table file: its layout, its file name, and a writer.
// The build-time generator writes the delivered tables with the writer; the
// loader (KyGxtTable.h) reads what it writes. Header-only so that the
// generator, which runs before the run-time exists, needs no library.
//
// File (32-bit numbers big-endian; 16-bit fields big-endian unless the
// byte-order word says little-endian):
//   0  u32  header length (44 and more; bytes past 44 are skipped)
//   4  44-byte header: +0 u16 tag, +2 u16 byte order (0x0102 in the
//      reader's order = little-endian), +4 u16 source CCSID, +6 u16 target
//      CCSID, +8 u16 number of sub-tables, the rest zero
//   then each sub-table: u32 length, that many bytes.
// Sub-tables are numbered from 1 (0 is the header, or "default next").
// Sub-table: +0 type (0-5), +1 flags (bit 0: step the input back by the
// width before reading), +2 input width in bytes (0-4), +3 output length,
// +4 u16 low bound, +6 u16 high bound, +8 u16 next sub-table; the entries
// of each type follow (see KyGxtConvert).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kygxt {

inline constexpr int kHeaderSize = 44;
inline constexpr uint16_t kTag = 0x4758;             // "GX"
inline constexpr uint16_t kLittleEndianMark = 0x0102;
inline constexpr int kSubTableFixed = 14;             // bytes before the entries of types 2-5
inline constexpr int kSingleByteMapSize = 4 + 256;    // type 0

enum SubTableType : uint8_t { SingleByteMap = 0, Emit = 1, Pairs = 2, Records = 3, Quads = 4, Bitmap = 5 };

// "Aeheaeoe.gxt" for 1140 -> 1252: each CCSID as four hexadecimal digits,
// every digit written as a letter ('0' "a" ... 'f' "p"), the first upper-case.
inline std::string FileName(uint16_t source, uint16_t target) {
  std::string name;
  for (uint16_t ccsid : {source, target})
    for (int shift = 12; shift >= 0; shift -= 4) name += static_cast<char>('a' + ((ccsid >> shift) & 0xF));
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name + ".gxt";
}

// Builds sub-tables and lays out a whole file, big-endian.
class SubTable {
 public:
  SubTable(uint8_t type, uint8_t width, uint8_t outLength, uint16_t low = 0, uint16_t high = 0, uint16_t next = 0,
           uint8_t flags = 0)
      : bytes_(type == SingleByteMap ? kSingleByteMapSize : kSubTableFixed, 0) {
    bytes_[0] = type;
    bytes_[1] = flags;
    bytes_[2] = width;
    bytes_[3] = outLength;
    if (type == SingleByteMap) return;
    put16(4, low);
    put16(6, high);
    put16(8, next);
  }
  void put8(size_t at, uint8_t value) {
    grow(at + 1);
    bytes_[at] = value;
  }
  void put16(size_t at, uint16_t value) {
    grow(at + 2);
    bytes_[at] = static_cast<uint8_t>(value >> 8);
    bytes_[at + 1] = static_cast<uint8_t>(value);
  }
  // Bytes that end at `end` (the outputs are right-aligned in their slot).
  void putEnding(size_t end, const std::vector<uint8_t>& output) {
    grow(end);
    for (size_t i = 0; i < output.size(); ++i) bytes_[end - output.size() + i] = output[i];
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  void grow(size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
  }
  std::vector<uint8_t> bytes_;
};

inline void Append32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

inline std::vector<uint8_t> LayOut(uint16_t source, uint16_t target, const std::vector<SubTable>& tables) {
  std::vector<uint8_t> out;
  Append32(out, kHeaderSize);
  std::vector<uint8_t> header(kHeaderSize, 0);
  auto put16 = [&](int at, uint16_t value) {
    header[at] = static_cast<uint8_t>(value >> 8);
    header[at + 1] = static_cast<uint8_t>(value);
  };
  put16(0, kTag);
  put16(4, source);
  put16(6, target);
  put16(8, static_cast<uint16_t>(tables.size()));
  out.insert(out.end(), header.begin(), header.end());
  for (const SubTable& table : tables) {
    Append32(out, static_cast<uint32_t>(table.bytes().size()));
    out.insert(out.end(), table.bytes().begin(), table.bytes().end());
  }
  return out;
}

}  // namespace kygxt
