// AS/400 numbers: zoned, packed and binary forms, and state contents.
#include "KyAS400Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int binaryBytes(char cPcLetter, int iDigits) { return cPcLetter == 'L' ? 8 : iDigits < 5 ? 2 : 4; }

// Splits "-123.45" into sign, integer digits (no leading zeros) and
// fraction digits; false for anything but an optional sign, digits and at
// most one point.
bool splitNumber(const std::string& text, bool* negative, std::string* whole, std::string* fraction) {
  size_t i = 0;
  *negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) *negative = text[i++] == '-';
  whole->clear();
  fraction->clear();
  bool point = false, any = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      (point ? *fraction : *whole) += c;
      any = true;
    } else {
      return false;
    }
  }
  whole->erase(0, whole->find_first_not_of('0') == std::string::npos ? whole->size() : whole->find_first_not_of('0'));
  return any;
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
  std::string text(pszValue ? pszValue : "");
  for (char& c : text)
    if (c == ',') c = '.';
  if (cPcLetter == 'd' || cPcLetter == 'e' || cPcLetter == 's') {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value)) return "";
    // Sized by the value itself: 1e300 takes 301 digits, not a fixed buffer.
    const int needed = std::snprintf(nullptr, 0, "%.*f", iDecimals, value);
    std::string formatted(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(formatted.data(), formatted.size(), "%.*f", iDecimals, value);
    formatted.resize(static_cast<size_t>(needed));
    return formatted;
  }
  bool negative;
  std::string whole, fraction;
  if (!splitNumber(text, &negative, &whole, &fraction)) return "";
  if (cPcLetter != 'f') return text;  // integers as they are
  fraction.resize(static_cast<size_t>(iDecimals), '0');
  std::string result = (negative ? "-" : "") + (whole.empty() ? std::string("0") : whole);
  if (iDecimals > 0) result += "." + fraction;
  return result;
}

int KyNumberTo400(char cForm, char cPcLetter, const char* pszValue, int iDigits, int iDecimals, uint8_t* pOut) {
  auto empty = [&] {
    int length = 0;
    KyAS400StateContent('n', cForm, cPcLetter, iDigits, 1, pOut, &length);
    return 0;
  };
  bool negative;
  std::string whole, fraction;
  const std::string text = KyAS400ValueText(cPcLetter, pszValue, iDecimals);
  if (!splitNumber(text, &negative, &whole, &fraction)) return empty();
  fraction.resize(static_cast<size_t>(iDecimals < 0 ? 0 : iDecimals), '0');
  if (whole.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos)
    negative = false;  // zero has no sign
  if (cForm == 'b') {
    const int bytes = binaryBytes(cPcLetter, iDigits);
    if (cPcLetter != 'i' && cPcLetter != 'l' && cPcLetter != 'L') return empty();
    if (whole.size() > 19) return empty();
    const long double magnitude = whole.empty() ? 0 : std::strtold(whole.c_str(), nullptr);
    const long double limit = cPcLetter == 'i' ? 32768.0L : cPcLetter == 'l' ? 2147483648.0L : 9223372036854775808.0L;
    if (magnitude > limit || (!negative && magnitude == limit)) return empty();
    const int64_t value = static_cast<int64_t>(negative ? -magnitude : magnitude);
    putBigEndian(pOut, cPcLetter == 'i' ? 2 : cPcLetter == 'l' ? 4 : 8, value);
    (void)bytes;
    return 1;
  }
  if (cForm != 'z' && cForm != 'p') return empty();
  if (static_cast<int>(whole.size()) > iDigits - iDecimals) return empty();  // would lose leading digits
  std::string digits = whole + fraction;
  digits.insert(0, static_cast<size_t>(iDigits) - digits.size(), '0');
  if (cForm == 'z') {
    for (int i = 0; i < iDigits; ++i) pOut[i] = static_cast<uint8_t>(0xF0 | (digits[i] - '0'));
    if (negative) pOut[iDigits - 1] = static_cast<uint8_t>(0xD0 | (pOut[iDigits - 1] & 0x0F));
    return 1;
  }
  const int bytes = iDigits / 2 + 1;
  std::string nibbles(static_cast<size_t>(2 * bytes - 1 - iDigits), '0');
  nibbles += digits;
  for (int i = 0; i < bytes; ++i) {
    const int high = nibbles[2 * i] - '0';
    const int low = 2 * i + 1 < static_cast<int>(nibbles.size()) ? nibbles[2 * i + 1] - '0' : (negative ? 0xD : 0xF);
    pOut[i] = static_cast<uint8_t>(high << 4 | low);
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
  // Packed: expanded to zoned, the sign nibble becoming the last zone.
  std::string zoned;
  if (cForm == 'p') {
    const int bytes = iDigits / 2 + 1;
    std::string nibbles;
    for (int i = 0; i < bytes; ++i) {
      nibbles += static_cast<char>(pIn[i] >> 4);
      nibbles += static_cast<char>(pIn[i] & 0xF);
    }
    const char sign = nibbles.back();
    nibbles.pop_back();
    nibbles.erase(0, nibbles.size() - static_cast<size_t>(iDigits));
    for (char n : nibbles) zoned += static_cast<char>(0xF0 | n);
    zoned.back() = static_cast<char>((sign << 4) | (zoned.back() & 0x0F));
  } else if (cForm == 'z') {
    zoned.assign(reinterpret_cast<const char*>(pIn), static_cast<size_t>(iDigits));
  } else {
    return "0";
  }
  std::string text;
  if ((static_cast<uint8_t>(zoned.back()) & 0xF0) != 0xF0) text += '-';
  bool started = false;
  for (int i = 0; i < iDigits; ++i) {
    if (i == iDigits - iDecimals && iDecimals > 0) {
      if (!started) text += '0';
      text += '.';
      started = true;
    }
    const int digit = static_cast<uint8_t>(zoned[i]) & 0x0F;
    if (digit > 9) continue;
    if (!started && digit == 0) continue;
    started = true;
    text += static_cast<char>('0' + digit);
  }
  if (text.size() > static_cast<size_t>(iDigits) + 3) {
    text.resize(static_cast<size_t>(iDigits) + 3);
    if (piOverflow) *piOverflow = 2;
  }
  if (text.empty() || text == "-") text = "0";
  return text;
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
