// AS/400 numbers: zoned, packed and binary forms, and state contents.
#include "KyAS400Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

int binaryBytes(char cPcLetter, int iDigits) { return cPcLetter == 'L' ? 8 : iDigits < 5 ? 2 : 4; }

// A decimal text taken apart: the sign, the integer digits without
// leading zeros and the fraction digits, as views into the text.
struct DecimalParts {
  bool negative = false;
  std::string_view whole, fraction;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// False for anything but an optional sign, digits and at most one point
// ('.', or ',' as some locales write it), or for a text without digits.
bool splitNumber(std::string_view text, DecimalParts* parts) {
  *parts = {};
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) parts->negative = text[i++] == '-';
  const size_t wholeStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  const size_t wholeEnd = i;
  size_t fractionStart = i;
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    fractionStart = ++i;
    while (i < text.size() && isDigit(text[i])) ++i;
  }
  if (i != text.size() || (wholeEnd == wholeStart && i == fractionStart)) return false;
  size_t first = wholeStart;
  while (first < wholeEnd && text[first] == '0') ++first;
  parts->whole = text.substr(first, wholeEnd - first);
  parts->fraction = text.substr(fractionStart, i - fractionStart);
  return true;
}

bool isFloating(char cPcLetter) { return cPcLetter == 'd' || cPcLetter == 'e' || cPcLetter == 's'; }

// A floating value's text rounded to the decimals into `room` (64 bytes,
// or `longText` for a value that needs more: 1e300 takes 301 digits); an
// empty view for a text that is not a finite number.
std::string_view roundedText(const char* pszValue, int iDecimals, char (&room)[64], std::string* longText) {
  std::string text(pszValue ? pszValue : "");
  for (char& c : text)
    if (c == ',') c = '.';
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(value)) return {};
  const int needed = std::snprintf(room, sizeof room, "%.*f", iDecimals, value);
  if (needed < 0) return {};
  if (static_cast<size_t>(needed) < sizeof room) return {room, static_cast<size_t>(needed)};
  longText->assign(static_cast<size_t>(needed) + 1, '\0');
  std::snprintf(longText->data(), longText->size(), "%.*f", iDecimals, value);
  longText->resize(static_cast<size_t>(needed));
  return *longText;
}

void putBigEndian(uint8_t* out, int bytes, int64_t value) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * (bytes - 1 - i)));
}

int64_t getBigEndian(const uint8_t* in, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | in[i];
  const int shift = 64 - 8 * bytes;
  return shift ? static_cast<int64_t>(value << shift) >> shift : static_cast<int64_t>(value);
}

}  // namespace

int KyAS400StorageLength(char cType, char cForm, char cPcLetter, int iLength) {
  if (cType != 'n') return iLength;
  switch (cForm) {
    case 'p': return iLength / 2 + 1;
    case 'z': return iLength;
    case 'b': return binaryBytes(cPcLetter, iLength);
    default: return iLength;
  }
}

std::string KyAS400ValueText(char cPcLetter, const char* pszValue, int iDecimals) {
  if (isFloating(cPcLetter)) {
    char room[64];
    std::string longText;
    return std::string(roundedText(pszValue, iDecimals, room, &longText));
  }
  DecimalParts parts;
  if (!splitNumber(pszValue ? pszValue : "", &parts)) return "";
  std::string text(pszValue);
  if (cPcLetter != 'f') {
    for (char& c : text)
      if (c == ',') c = '.';
    return text;  // integers as they are
  }
  text = parts.negative ? "-" : "";
  text += parts.whole.empty() ? std::string_view("0") : parts.whole;
  if (iDecimals > 0) {
    text += '.';
    text += parts.fraction.substr(0, static_cast<size_t>(iDecimals));
    text.append(static_cast<size_t>(iDecimals) - std::min(parts.fraction.size(), static_cast<size_t>(iDecimals)), '0');
  }
  return text;
}

// The value is read straight from its text (floating values rounded to the
// decimals first); its digits go into the form without a copy.
int KyNumberTo400(char cForm, char cPcLetter, const char* pszValue, int iDigits, int iDecimals, uint8_t* pOut) {
  auto empty = [&] {
    int length = 0;
    KyAS400StateContent('n', cForm, cPcLetter, iDigits, 1, pOut, &length);
    return 0;
  };
  char room[64];
  std::string longText;
  const std::string_view text =
      isFloating(cPcLetter) ? roundedText(pszValue, iDecimals, room, &longText) : std::string_view(pszValue ? pszValue : "");
  DecimalParts parts;
  if (!splitNumber(text, &parts)) return empty();
  const int decimals = std::max(iDecimals, 0);
  // Fraction digits past the field's decimals are dropped, missing ones are 0.
  auto fractionDigit = [&](int k) {
    return k < static_cast<int>(parts.fraction.size()) ? parts.fraction[static_cast<size_t>(k)] - '0' : 0;
  };
  bool zero = parts.whole.empty();
  for (int k = 0; zero && k < decimals; ++k) zero = fractionDigit(k) == 0;
  const bool negative = parts.negative && !zero;  // zero has no sign
  if (cForm == 'b') {
    if (cPcLetter != 'i' && cPcLetter != 'l' && cPcLetter != 'L') return empty();
    if (parts.whole.size() > 19) return empty();
    uint64_t magnitude = 0;
    for (char c : parts.whole) magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
    const uint64_t limit = cPcLetter == 'i' ? 32768u : cPcLetter == 'l' ? 2147483648u : 9223372036854775808u;
    if (magnitude > limit || (!negative && magnitude == limit)) return empty();
    const int64_t value = static_cast<int64_t>(negative ? ~magnitude + 1 : magnitude);
    putBigEndian(pOut, cPcLetter == 'i' ? 2 : cPcLetter == 'l' ? 4 : 8, value);
    return 1;
  }
  if (cForm != 'z' && cForm != 'p') return empty();
  if (static_cast<int>(parts.whole.size()) > iDigits - iDecimals) return empty();  // would lose leading digits
  const int used = static_cast<int>(parts.whole.size()) + decimals;
  if (iDigits <= 0 || used > iDigits) return empty();
  const int pad = iDigits - used;
  // Digit i of the n digits: zeros, the integer digits, the decimals.
  auto digitAt = [&](int i) {
    const int j = i - pad;
    if (j < 0) return 0;
    if (j < static_cast<int>(parts.whole.size())) return parts.whole[static_cast<size_t>(j)] - '0';
    return fractionDigit(j - static_cast<int>(parts.whole.size()));
  };
  if (cForm == 'z') {
    for (int i = 0; i < iDigits; ++i) pOut[i] = static_cast<uint8_t>(0xF0 | digitAt(i));
    if (negative) pOut[iDigits - 1] = static_cast<uint8_t>(0xD0 | (pOut[iDigits - 1] & 0x0F));
    return 1;
  }
  const int bytes = iDigits / 2 + 1;
  const int nibbles = 2 * bytes - 1, leading = nibbles - iDigits;
  auto nibble = [&](int k) { return k < leading ? 0 : digitAt(k - leading); };
  for (int i = 0; i < bytes; ++i) {
    const int low = 2 * i + 1 < nibbles ? nibble(2 * i + 1) : (negative ? 0xD : 0xF);
    pOut[i] = static_cast<uint8_t>(nibble(2 * i) << 4 | low);
  }
  return 1;
}

std::string KyNumberFrom400(char cForm, char cPcLetter, const uint8_t* pIn, int iDigits, int iDecimals,
                            int* piOverflow) {
  if (piOverflow) *piOverflow = 0;
  if (cForm == 'b') {
    const int bytes = cPcLetter == 'i' ? 2 : cPcLetter == 'l' ? 4 : cPcLetter == 'L' ? 8 : 0;
    return bytes ? std::to_string(getBigEndian(pIn, bytes)) : std::string("0");
  }
  if ((cForm != 'p' && cForm != 'z') || iDigits <= 0) return "0";
  // Packed is read as the zoned form it expands to: each digit nibble with
  // zone 0xF, the sign nibble becoming the last digit's zone.
  const int leading = cForm == 'p' ? 2 * (iDigits / 2 + 1) - 1 - iDigits : 0;
  auto digitAt = [&](int i) {
    if (cForm == 'z') return pIn[i] & 0x0F;
    const int k = leading + i;
    return k % 2 ? pIn[k / 2] & 0x0F : pIn[k / 2] >> 4;
  };
  const int lastZone = cForm == 'z' ? pIn[iDigits - 1] >> 4 : pIn[iDigits / 2] & 0x0F;
  // The text is made in a room of its own (on the stack for the usual
  // number) and copied once into the result.
  char small[72];
  std::string large;
  const size_t room = static_cast<size_t>(iDigits) + 4;
  if (room > sizeof small) large.resize(room);
  char* out = large.empty() ? small : large.data();
  size_t n = 0;
  if (lastZone != 0xF) out[n++] = '-';
  bool started = false;
  for (int i = 0; i < iDigits; ++i) {
    if (i == iDigits - iDecimals && iDecimals > 0) {
      if (!started) out[n++] = '0';
      out[n++] = '.';
      started = true;
    }
    const int digit = digitAt(i);
    if (digit > 9) continue;
    if (!started && digit == 0) continue;
    started = true;
    out[n++] = static_cast<char>('0' + digit);
  }
  if (n > static_cast<size_t>(iDigits) + 3) {
    n = static_cast<size_t>(iDigits) + 3;
    if (piOverflow) *piOverflow = 2;
  }
  if (n == 0 || (n == 1 && out[0] == '-')) return "0";
  return std::string(out, n);
}

void KyAS400StateContent(char cType, char cForm, char cPcLetter, int iLength, int iState, uint8_t* pOut,
                         int* piLength) {
  *piLength = 0;
  const int kind = iState == 1 || iState == 4 ? 1 : iState == 2 ? 2 : iState == 8 ? 8 : 0;
  if (kind == 0) return;
  auto digitsText = [&](const char* digits, int n) {
    for (int i = 0; i < n; ++i) pOut[i] = digits[i] ? static_cast<uint8_t>(0xF0 | (digits[i] - '0')) : 0xF0;
  };
  switch (cType) {
    case 'c':
      *piLength = iLength;
      std::memset(pOut, kind == 1 ? 0x40 : kind == 2 ? 0x00 : 0xFF, static_cast<size_t>(iLength));
      return;
    case 'd':
    case 't':
    case 'z': {
      *piLength = iLength;
      std::memset(pOut, 0xF0, static_cast<size_t>(iLength));
      if (kind != 8) return;
      const char* high = cType == 'd' ? "99991231" : cType == 't' ? "235959" : "99991231235959999999";
      digitsText(high, std::min(iLength, static_cast<int>(std::strlen(high))));
      return;
    }
    case 'n':
      break;
    default:
      return;
  }
  const int bytes = KyAS400StorageLength('n', cForm, cPcLetter, iLength);
  *piLength = bytes;
  if (cForm == 'p') {
    std::memset(pOut, kind == 1 ? 0x00 : 0x99, static_cast<size_t>(bytes));
    pOut[bytes - 1] = kind == 1 ? 0x0F : kind == 2 ? 0x9D : 0x9F;
  } else if (cForm == 'z') {
    std::memset(pOut, kind == 1 ? 0xF0 : 0xF9, static_cast<size_t>(bytes));
    if (kind == 2) pOut[bytes - 1] = 0xD9;
  } else if (cForm == 'b') {
    const int64_t value = kind == 1 ? 0 : (bytes == 2 ? 9999 : 999999999) * (kind == 2 ? -1 : 1);
    putBigEndian(pOut, bytes, value);
  } else {
    *piLength = 0;
  }
}
