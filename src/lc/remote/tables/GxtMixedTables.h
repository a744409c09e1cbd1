// The ".gxt" sub-tables of a mixed host code page (EBCDIC single bytes, and
// double bytes between shift-out 0x0E and shift-in 0x0F) and its PC code
// page (single bytes and lead + trail byte pairs), built from iconv's
// converters. Header-only: the build-time generator writes the files with
// it and the tests check the engine's output against iconv with it.
//
// Host to PC (state machine of the conversion engine):
//   1 single-byte mode: each byte's PC byte; 0x0E to 2
//   2 double-byte mode: 0x0F to 1; a lead byte to its sub-table
//   3 and on: one sub-table per lead byte (trail bytes 0x40-0xFE), the PC
//     pair, or through an emitting sub-table a single PC byte; then 2
// PC to host:
//   1 single-byte mode: each byte's host byte; a lead byte to 2
//   2 emits 0x0E, then 3 reads the lead byte again (steps back)
//   4 double-byte mode: a lead byte to its sub-table; another byte to 5;
//     the end of the text emits 0x0F and ends through 7
//   5 emits 0x0F, then 6 reads the byte again in single-byte mode
//   7 single-byte mode whose end state is the end
//   8 and on: one sub-table per lead byte, the host pair; then 4
// A character without counterpart becomes the substitute: 0x1A towards
// the PC, 0x3F (single) or 0xFEFE (double) towards the host.
#pragma once

#include <errno.h>
#include <iconv.h>

#include <map>
#include <optional>
#include <vector>

#include "KyGxtFormat.h"

namespace kygxt {

inline constexpr uint8_t kShiftOut = 0x0E, kShiftIn = 0x0F;
inline constexpr uint8_t kTrailLow = 0x40, kTrailHigh = 0xFE;

// The bytes iconv makes of a whole sequence (its shift state closed), or
// nothing; *pIncomplete tells a sequence that only lacks bytes.
inline std::optional<std::vector<uint8_t>> ConvertBytes(iconv_t cd, const std::vector<uint8_t>& in,
                                                        bool* pIncomplete = nullptr) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::vector<char> source(in.begin(), in.end());
  char out[16];
  char* pin = source.data();
  char* pout = out;
  size_t inLeft = source.size(), outLeft = sizeof out;
  const size_t r = iconv(cd, &pin, &inLeft, &pout, &outLeft);
  if (pIncomplete) *pIncomplete = r == static_cast<size_t>(-1) && errno == EINVAL;
  if (r == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  if (iconv(cd, nullptr, nullptr, &pout, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
  return std::vector<uint8_t>(out, pout);
}

namespace mixed {

// A Quads sub-table over all 256 byte values.
inline SubTable byteStates(uint8_t outLength, uint16_t next, uint8_t flags = 0) {
  return SubTable(Quads, 1, outLength, 0, 0xFF, next, flags);
}
inline void putOutput(SubTable& st, int value, uint16_t low, std::vector<uint8_t> output) {
  std::vector<uint8_t> entry{0x80, 0x00, 0x00, 0x00};
  for (size_t i = 0; i < output.size() && i < 3; ++i) entry[4 - output.size() + i] = output[i];
  st.putEnding(kSubTableFixed + 4 * (value - low) + 4, entry);
}
inline void putNext(SubTable& st, int value, uint16_t low, uint16_t next) {
  st.putEnding(kSubTableFixed + 4 * (value - low) + 4, {0x00, 0x00, uint8_t(next >> 8), uint8_t(next)});
}

}  // namespace mixed

// Host (mixed EBCDIC) to PC through cd (host to PC).
inline std::vector<SubTable> HostToPcMixed(iconv_t cd) {
  using namespace mixed;
  std::vector<SubTable> tables{byteStates(1, 1), byteStates(1, 1)};
  std::map<uint8_t, uint16_t> emitters;  // a single PC byte out of double-byte mode
  auto emitter = [&](uint8_t byte) {
    auto [it, added] = emitters.try_emplace(byte, 0);
    if (added) {
      SubTable emit(Emit, 0, 1, 2);
      emit.put8(9, byte);
      tables.push_back(emit);
      it->second = static_cast<uint16_t>(tables.size());
    }
    return it->second;
  };
  for (int b = 0; b < 256; ++b) {
    if (b == kShiftOut) {
      putNext(tables[0], b, 0, 2);
      putNext(tables[1], b, 0, 2);
      continue;
    }
    if (b == kShiftIn) {
      putNext(tables[0], b, 0, 1);
      putNext(tables[1], b, 0, 1);
      continue;
    }
    const auto single = ConvertBytes(cd, {uint8_t(b)});
    putOutput(tables[0], b, 0, {single && single->size() == 1 ? (*single)[0] : kPcSubstitute});
    putNext(tables[1], b, 0, 2);  // not a lead byte: dropped in double-byte mode
  }
  for (int lead = kTrailLow; lead <= kTrailHigh; ++lead) {
    SubTable st(Quads, 1, 2, kTrailLow, kTrailHigh, 2);
    st.putEnding(kSubTableFixed, {kPcSubstitute, kPcSubstitute});
    for (int trail = kTrailLow; trail <= kTrailHigh; ++trail) {
      const auto pc = ConvertBytes(cd, {kShiftOut, uint8_t(lead), uint8_t(trail), kShiftIn});
      if (pc && pc->size() == 2)
        putOutput(st, trail, kTrailLow, *pc);
      else
        putNext(st, trail, kTrailLow, emitter(pc && pc->size() == 1 ? (*pc)[0] : kPcSubstitute));
    }
    tables.push_back(st);
    putNext(tables[1], lead, 0, static_cast<uint16_t>(tables.size()));
  }
  return tables;
}

// PC to host (mixed EBCDIC) through cd (PC to host).
inline std::vector<SubTable> PcToHostMixed(iconv_t cd) {
  using namespace mixed;
  constexpr uint16_t kSingle = 1, kEmitShiftOut = 2, kLead = 3, kDouble = 4, kEmitShiftIn = 5, kAgain = 6, kEnd = 7;
  SubTable single = byteStates(1, kSingle);
  SubTable lead = byteStates(1, 0, 1);
  SubTable dbcs = byteStates(1, kEnd);
  dbcs.put8(kSubTableFixed - 1, kShiftIn);  // the end of the text in double-byte mode
  SubTable shiftOut(Emit, 0, 1, kLead);
  shiftOut.put8(9, kShiftOut);
  SubTable shiftIn(Emit, 0, 1, kAgain);
  shiftIn.put8(9, kShiftIn);
  std::vector<SubTable> leads;
  for (int b = 0; b < 256; ++b) {
    bool incomplete = false;
    const auto host = ConvertBytes(cd, {uint8_t(b)}, &incomplete);
    if (!incomplete) {
      putOutput(single, b, 0, {host && host->size() == 1 ? (*host)[0] : kHostSubstitute});
      putNext(lead, b, 0, kDouble);
      putNext(dbcs, b, 0, kEmitShiftIn);
      continue;
    }
    SubTable st(Quads, 1, 2, kTrailLow, kTrailHigh, kDouble);
    st.putEnding(kSubTableFixed, {0xFE, 0xFE});
    for (int trail = kTrailLow; trail <= kTrailHigh; ++trail) {
      const auto out = ConvertBytes(cd, {uint8_t(b), uint8_t(trail)});
      const bool pair = out && out->size() == 4 && (*out)[0] == kShiftOut && (*out)[3] == kShiftIn;
      putOutput(st, trail, kTrailLow, pair ? std::vector<uint8_t>{(*out)[1], (*out)[2]} : std::vector<uint8_t>{0xFE, 0xFE});
    }
    leads.push_back(st);
    const auto number = static_cast<uint16_t>(kEnd + leads.size());
    putNext(single, b, 0, kEmitShiftOut);
    putNext(lead, b, 0, number);
    putNext(dbcs, b, 0, number);
  }
  SubTable again = single;
  again.put8(1, 1);  // steps back to read the byte that ended double-byte mode
  std::vector<SubTable> tables{single, shiftOut, lead, dbcs, shiftIn, again, single};
  tables.insert(tables.end(), leads.begin(), leads.end());
  return tables;
}

}  // namespace kygxt
