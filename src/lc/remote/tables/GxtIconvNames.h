// Which iconv converter stands for a CCSID of the code-page settings. The
// table generator builds from it, and the tests check the tables against
// the same converters.
#pragma once

#include <iconv.h>

#include <cstdio>
#include <string>

namespace kygxt {

// A CCSID in the 8000s or 9000s is a variant of CCSID - 8000 / - 9000.
inline unsigned BaseCcsid(unsigned ccsid) { return ccsid >= 9000 ? ccsid - 9000 : ccsid >= 8000 ? ccsid - 8000 : ccsid; }

inline bool IsDoubleByte(unsigned ccsid) {
  switch (BaseCcsid(ccsid)) {
    case 930: case 932: case 933: case 935: case 936: case 937: case 939: case 949: case 950:
      return true;
    default:
      return false;
  }
}

// iconv's name of a CCSID (host: EBCDIC; else the PC's Windows or DOS code
// page), or "" when this iconv has no converter for it.
inline std::string IconvName(unsigned ccsid, bool host) {
  const unsigned base = BaseCcsid(ccsid);
  std::string name;
  if (!host && ((base >= 1250 && base <= 1258) || base == 874)) {
    name = "WINDOWS-" + std::to_string(base);
  } else if (!host && (base == 932 || base == 936 || base == 949 || base == 950)) {
    name = "CP" + std::to_string(base);
  } else {
    char text[16];
    std::snprintf(text, sizeof text, "IBM%03u", base);
    name = text;
  }
  iconv_t probe = iconv_open("UTF-8", name.c_str());
  if (probe == reinterpret_cast<iconv_t>(-1)) return "";
  iconv_close(probe);
  return name;
}

// The single byte that `byte` converts to through cd, or -1 (no
// conversion, or not to exactly one byte).
inline int ConvertByte(iconv_t cd, unsigned char byte) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char in[1] = {static_cast<char>(byte)};
  char out[8];
  char* pin = in;
  char* pout = out;
  size_t inLeft = 1, outLeft = sizeof out;
  if (iconv(cd, &pin, &inLeft, &pout, &outLeft) != 0 || inLeft != 0) return -1;
  return sizeof out - outLeft == 1 ? static_cast<unsigned char>(out[0]) : -1;
}

// The substitute of a byte without counterpart: EBCDIC SUB towards the
// host, ASCII SUB towards the PC.
inline constexpr unsigned char kHostSubstitute = 0x3F;
inline constexpr unsigned char kPcSubstitute = 0x1A;

}  // namespace kygxt
