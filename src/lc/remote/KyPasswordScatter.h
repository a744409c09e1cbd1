// The password scatter: a text of fewer than 160 bytes hidden in a 160-byte
// block of random filler, each byte at the position that a 160-byte table
// names for it (entry 0: the length; entry k + 1: the position of byte k).
// The stored form is the block and then the table, each byte as two
// lower-case hex digits: 640 characters. The servers gather it with the
// table that travels with it, so the form hides the password from a casual
// look only (see the README's limits); its layout is what the servers read.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kyscatter {

inline constexpr size_t kBlock = 160;
inline constexpr size_t kFormLength = 4 * kBlock;  // 640
using Table = std::array<uint8_t, kBlock>;

// A fresh table: entry 0 zero, entries 1.. distinct random positions.
Table DrawTable();
// The 640-character form of the text (at most 159 bytes) with the table,
// whose entry 0 takes the text's length.
std::string Scatter(std::string_view text, Table table);
// The bytes of a 640-character form; "" when the form is not one (length,
// hex digits, a length or position out of range).
std::string Gather(std::string_view form);

}  // namespace kyscatter
