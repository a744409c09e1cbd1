// The password scatter.
#include "KyPasswordScatter.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>

namespace kyscatter {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of a hex text; false on a character that is not a digit.
bool fromHex(std::string_view hex, uint8_t* out) {
  for (size_t i = 0; i < hex.size() / 2; ++i) {
    const int high = hexValue(hex[2 * i]), low = hexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

void appendHex(std::string& out, const uint8_t* bytes, size_t n) {
  static const char digits[] = "0123456789abcdef";
  for (size_t i = 0; i < n; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 0xF];
  }
}

std::mt19937& generator() {
  thread_local std::mt19937 engine{std::random_device{}()};
  return engine;
}

}  // namespace

Table DrawTable() {
  std::array<uint8_t, kBlock> positions;
  std::iota(positions.begin(), positions.end(), 0);
  std::shuffle(positions.begin(), positions.end(), generator());
  Table table{};
  std::copy(positions.begin(), positions.end() - 1, table.begin() + 1);
  return table;
}

std::string Scatter(std::string_view text, Table table) {
  const size_t length = std::min(text.size(), kBlock - 1);
  table[0] = static_cast<uint8_t>(length);
  std::array<uint8_t, kBlock> block;
  std::uniform_int_distribution<int> filler(0, 255);
  for (uint8_t& b : block) b = static_cast<uint8_t>(filler(generator()));
  for (size_t k = 0; k < length; ++k) block[table[k + 1] % kBlock] = static_cast<uint8_t>(text[k]);
  std::string form;
  form.reserve(kFormLength);
  appendHex(form, block.data(), kBlock);
  appendHex(form, table.data(), kBlock);
  return form;
}

std::string Gather(std::string_view form) {
  if (form.size() != kFormLength) return "";
  std::array<uint8_t, kBlock> block, table;
  if (!fromHex(form.substr(0, 2 * kBlock), block.data()) || !fromHex(form.substr(2 * kBlock), table.data()))
    return "";
  if (table[0] >= kBlock) return "";
  std::string text(table[0], '\0');
  for (size_t k = 0; k < text.size(); ++k) {
    if (table[k + 1] >= kBlock) return "";
    text[k] = static_cast<char>(block[table[k + 1]]);
  }
  return text;
}

}  // namespace kyscatter
