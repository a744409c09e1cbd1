// Case mapping of code page 1252 (see charcase.h).
#include "charcase.h"

#include <array>

namespace afx {
namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
};

constexpr CaseTables makeTables() {
  CaseTables t;
  for (int c = 0; c < 256; ++c) {
    t.upper[c] = static_cast<unsigned char>(c);
    t.lower[c] = static_cast<unsigned char>(c);
  }
  auto pair = [&t](int upperChar, int lowerChar) {
    t.upper[lowerChar] = static_cast<unsigned char>(upperChar);
    t.lower[upperChar] = static_cast<unsigned char>(lowerChar);
  };
  for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 0x20);
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) pair(c, c + 0x20);  // 0xD7 x, 0xF7 division: no case
  pair(0x8A, 0x9A);  // S caron
  pair(0x8C, 0x9C);  // OE ligature
  pair(0x8E, 0x9E);  // Z caron
  pair(0x9F, 0xFF);  // Y diaeresis
  return t;
}

constexpr CaseTables tables = makeTables();

}  // namespace

unsigned char toUpper1252(unsigned char c) { return tables.upper[c]; }
unsigned char toLower1252(unsigned char c) { return tables.lower[c]; }

int compareNoCase1252(const char* a, const char* b) {
  const auto* p = reinterpret_cast<const unsigned char*>(a ? a : "");
  const auto* q = reinterpret_cast<const unsigned char*>(b ? b : "");
  for (;; ++p, ++q) {
    int d = tables.lower[*p] - tables.lower[*q];
    if (d != 0 || *p == 0) return d;
  }
}

}  // namespace afx
