// The layer's one printf engine, bounded, with Microsoft's output forms:
// three-digit exponents, "1.#INF"/"1.#QNAN"/"-1.#IND", %I64d/%I32d/%Id,
// 32-bit %ld (a Windows LONG), %p as 16 upper-case hex digits, %S/%ls as
// 16-bit (char16_t) strings, "(null)" for a null %s.
//
// Deliberate choices where Microsoft's CRTs differ between versions:
// - Floating-point output follows the classic CRT (decimal.h): 17 significant
//   digits, then zeros; decimal half-up rounding; "1.#INF00" for "%f".
// - %n is refused, as the CRTs since 2005 refuse it: the call fails (-1,
//   errno EINVAL).
// - %Lf reads a double: Windows' long double is a double, and the run-time
//   keeps such values as double.
// - Floating precision above 512 is taken as 512, keeping every conversion
//   bounded; no caller asks for more.
// - An unknown conversion letter is written as it stands ("%y" gives "y").
#include <internal/codepage.h>
#include <mscrt.h>
#include <winnls.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "decimal.h"

namespace {

constexpr int kMaxFloatPrecision = 512;

// Writes into a fixed buffer and counts what would have been written.
class Output {
 public:
  Output(char* buffer, size_t capacity) : buffer_(buffer), capacity_(buffer ? capacity : 0) {}

  void put(char c) {
    if (length_ < capacity_) buffer_[length_] = c;
    ++length_;
  }
  void put(std::string_view text) {
    if (length_ < capacity_ && !text.empty())
      std::memcpy(buffer_ + length_, text.data(), std::min(text.size(), capacity_ - length_));
    length_ += text.size();
  }
  void repeat(char c, size_t count) {
    if (length_ < capacity_) std::memset(buffer_ + length_, c, std::min(count, capacity_ - length_));
    length_ += count;
  }
  size_t length() const { return length_; }

 private:
  char* buffer_;
  size_t capacity_;
  size_t length_ = 0;
};

enum class Size { Default, Char, Short, Long, LongLong, LongDouble, Int32, Int64, Pointer, Wide };

struct Directive {
  bool left = false, plus = false, space = false, alternate = false, zero = false;
  int width = 0;
  int precision = -1;  // -1: none given
  Size size = Size::Default;
  char conversion = 0;
};

// A decimal number in the format, saturating at INT_MAX.
int readNumber(const char*& p) {
  long long n = 0;
  while (*p >= '0' && *p <= '9') {
    n = std::min<long long>(n * 10 + (*p - '0'), INT_MAX);
    ++p;
  }
  return static_cast<int>(n);
}

// Parses flags, width, precision and size after '%'; `p` is left on the
// conversion letter (or the terminator).
Directive readDirective(const char*& p, va_list& args) {
  Directive s;
  for (;; ++p) {
    if (*p == '-') s.left = true;
    else if (*p == '+') s.plus = true;
    else if (*p == ' ') s.space = true;
    else if (*p == '#') s.alternate = true;
    else if (*p == '0') s.zero = true;
    else break;
  }
  if (*p == '*') {
    ++p;
    const int w = va_arg(args, int);
    if (w < 0) {
      s.left = true;
      s.width = w == INT_MIN ? INT_MAX : -w;
    } else {
      s.width = w;
    }
  } else {
    s.width = readNumber(p);
  }
  if (*p == '.') {
    ++p;
    if (*p == '*') {
      ++p;
      const int precision = va_arg(args, int);
      s.precision = precision < 0 ? -1 : precision;  // negative: as if omitted
    } else {
      s.precision = readNumber(p);
    }
  }
  switch (*p) {
    case 'h':
      ++p;
      s.size = Size::Short;
      if (*p == 'h') ++p, s.size = Size::Char;
      break;
    case 'l':
      ++p;
      s.size = Size::Long;
      if (*p == 'l') ++p, s.size = Size::LongLong;
      break;
    case 'L': ++p, s.size = Size::LongDouble; break;
    case 'w': ++p, s.size = Size::Wide; break;
    case 'j': ++p, s.size = Size::Int64; break;
    case 'z':
    case 't': ++p, s.size = Size::Pointer; break;
    case 'I':
      if (p[1] == '6' && p[2] == '4') p += 3, s.size = Size::Int64;
      else if (p[1] == '3' && p[2] == '2') p += 3, s.size = Size::Int32;
      else ++p, s.size = Size::Pointer;
      break;
    default: break;
  }
  s.conversion = *p;
  return s;
}

void pad(Output& out, const Directive& s, size_t bodyLength, bool before) {
  if (s.width > 0 && static_cast<size_t>(s.width) > bodyLength && s.left != before)
    out.repeat(' ', static_cast<size_t>(s.width) - bodyLength);
}

// Writes prefix (sign, "0x"), leading zeros and body within the field width.
// The '0' flag pads every conversion with zeros, strings too, as Microsoft's
// CRT does; only an integer with a precision ignores it.
void putField(Output& out, const Directive& s, std::string_view prefix, size_t zeros, std::string_view body,
              bool zeroPadAllowed) {
  size_t length = prefix.size() + zeros + body.size();
  if (s.zero && !s.left && zeroPadAllowed && static_cast<size_t>(s.width) > length) {
    zeros += static_cast<size_t>(s.width) - length;
    length = static_cast<size_t>(s.width);
  }
  pad(out, s, length, true);
  out.put(prefix);
  out.repeat('0', zeros);
  out.put(body);
  pad(out, s, length, false);
}

uint64_t readUnsigned(const Directive& s, va_list& args) {
  switch (s.size) {
    case Size::Char: return static_cast<unsigned char>(va_arg(args, unsigned));
    case Size::Short: return static_cast<uint16_t>(va_arg(args, unsigned));
    case Size::LongLong:
    case Size::Int64:
    case Size::Pointer: return va_arg(args, uint64_t);
    default: return va_arg(args, uint32_t);  // int, Windows long, I32
  }
}

int64_t readSigned(const Directive& s, va_list& args) {
  switch (s.size) {
    case Size::Char: return static_cast<signed char>(va_arg(args, int));
    case Size::Short: return static_cast<int16_t>(va_arg(args, int));
    case Size::LongLong:
    case Size::Int64:
    case Size::Pointer: return va_arg(args, int64_t);
    default: return va_arg(args, int32_t);
  }
}

void putInteger(Output& out, const Directive& s, va_list& args) {
  const char c = s.conversion;
  const bool isSigned = c == 'd' || c == 'i';
  uint64_t magnitude;
  bool negative = false;
  if (isSigned) {
    const int64_t v = readSigned(s, args);
    negative = v < 0;
    magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  } else {
    magnitude = readUnsigned(s, args);
  }
  const int base = c == 'o' ? 8 : (c == 'x' || c == 'X') ? 16 : 10;
  char digits[24];
  size_t n = 0;
  if (!(magnitude == 0 && s.precision == 0)) {
    n = static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr - digits);
    if (c == 'X')
      for (size_t i = 0; i < n; ++i)
        if (digits[i] >= 'a') digits[i] = static_cast<char>(digits[i] - 'a' + 'A');
  }
  std::string_view prefix;
  if (negative) prefix = "-";
  else if (isSigned && s.plus) prefix = "+";
  else if (isSigned && s.space) prefix = " ";
  else if (s.alternate && base == 16 && magnitude != 0) prefix = c == 'X' ? "0X" : "0x";
  size_t zeros = s.precision > 0 && static_cast<size_t>(s.precision) > n ? static_cast<size_t>(s.precision) - n : 0;
  if (s.alternate && base == 8 && zeros == 0 && (n == 0 || digits[0] != '0')) zeros = 1;
  putField(out, s, prefix, zeros, std::string_view(digits, n), s.precision < 0);
}

void putPointer(Output& out, const Directive& s, va_list& args) {
  const auto value = reinterpret_cast<uintptr_t>(va_arg(args, void*));
  char digits[2 * sizeof(void*)];
  for (size_t i = 0; i < sizeof digits; ++i)
    digits[i] = "0123456789ABCDEF"[(value >> (4 * (sizeof digits - 1 - i))) & 0xF];
  putField(out, s, {}, 0, std::string_view(digits, sizeof digits), true);
}

void putFloat(Output& out, const Directive& s, va_list& args) {
  const double value = va_arg(args, double);
  const msvcrt::Decimal d = msvcrt::toDecimal(value);
  const int precision = std::min(s.precision < 0 ? 6 : s.precision, kMaxFloatPrecision);
  const char c = s.conversion;
  std::string body;
  if (c == 'f') body = msvcrt::fixedForm(d, precision, s.alternate);
  else if (c == 'e' || c == 'E') body = msvcrt::exponentForm(d, precision, s.alternate, c == 'E');
  else body = msvcrt::generalForm(d, s.precision < 0 ? -1 : precision, s.alternate, c == 'G');
  std::string_view prefix = d.negative ? "-" : s.plus ? "+" : s.space ? " " : "";
  putField(out, s, prefix, 0, body, true);
}

// Text of a 16-bit string or character in the ANSI code page.
std::string narrowed(const WCHAR* text, int length) {
  if (length == 0) return {};
  const int needed = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string out(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), needed, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();  // the terminator it counted
  return out;
}

void putString(Output& out, const Directive& s, bool wide, va_list& args) {
  std::string converted;
  std::string_view text;
  if (wide) {
    const auto* w = va_arg(args, const WCHAR*);
    if (!w) {
      text = "(null)";
    } else {
      converted = narrowed(w, -1);
      text = converted;
    }
  } else {
    const char* p = va_arg(args, const char*);
    if (!p) p = "(null)";
    // Bounded by the precision: the text need not be terminated within it.
    const size_t limit = s.precision < 0 ? SIZE_MAX : static_cast<size_t>(s.precision);
    text = std::string_view(p, strnlen(p, limit));
  }
  if (s.precision >= 0 && text.size() > static_cast<size_t>(s.precision)) {
    // Converted text is cut between characters: a double-byte character
    // that does not fit whole is left out, as the CRT converts one
    // character at a time.
    size_t keep = 0;
    while (wide && keep < text.size()) {
      const size_t next = keep + win32::ansiCharLength(converted.c_str() + keep);
      if (next > static_cast<size_t>(s.precision)) break;
      keep = next;
    }
    text = text.substr(0, wide ? keep : static_cast<size_t>(s.precision));
  }
  putField(out, s, {}, 0, text, true);
}

void putChar(Output& out, const Directive& s, bool wide, va_list& args) {
  std::string text;
  if (wide) {
    const WCHAR w = static_cast<WCHAR>(va_arg(args, int));
    text = narrowed(&w, 1);
  } else {
    text.assign(1, static_cast<char>(va_arg(args, int)));
  }
  putField(out, s, {}, 0, text, true);
}

// Formats into `buffer` (at most `capacity` bytes, no terminator) and
// answers the full length, or -1 for a refused format.
long long formatInto(char* buffer, size_t capacity, const char* format, va_list& args) {
  Output out(buffer, capacity);
  for (const char* p = format; *p; ++p) {
    if (*p != '%') {
      out.put(*p);
      continue;
    }
    ++p;
    const Directive s = readDirective(p, args);
    const bool wideSize = s.size == Size::Long || s.size == Size::Wide;
    switch (s.conversion) {
      case '\0': return static_cast<long long>(out.length());  // a lone '%' at the end
      case 'd': case 'i': case 'u': case 'o': case 'x': case 'X': putInteger(out, s, args); break;
      case 'e': case 'E': case 'f': case 'g': case 'G': putFloat(out, s, args); break;
      case 'p': putPointer(out, s, args); break;
      case 's': putString(out, s, wideSize, args); break;
      case 'S': putString(out, s, s.size != Size::Short, args); break;
      case 'c': putChar(out, s, wideSize, args); break;
      case 'C': putChar(out, s, s.size != Size::Short, args); break;
      case 'n': errno = EINVAL; return -1;
      default: out.put(s.conversion); break;  // "%%" and unknown letters
    }
  }
  return static_cast<long long>(out.length());
}

// formatInto with the length checked against int.
int formatLength(char* buffer, size_t capacity, const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const long long n = formatInto(buffer, capacity, format, copy);
  va_end(copy);
  if (n > INT_MAX) {
    errno = ERANGE;
    return -1;
  }
  return static_cast<int>(n);
}

}  // namespace

extern "C" {

int _vsnprintf(char* buffer, size_t count, const char* format, va_list args) {
  if (!format || (!buffer && count != 0)) {
    errno = EINVAL;
    return -1;
  }
  const int n = formatLength(buffer, count, format, args);
  if (n < 0) return -1;
  if (static_cast<size_t>(n) < count) buffer[n] = '\0';
  return static_cast<size_t>(n) <= count || !buffer ? n : -1;
}

int _snprintf(char* buffer, size_t count, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = _vsnprintf(buffer, count, format, args);
  va_end(args);
  return n;
}

int _vscprintf(const char* format, va_list args) {
  if (!format) {
    errno = EINVAL;
    return -1;
  }
  return formatLength(nullptr, 0, format, args);
}

int _scprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = _vscprintf(format, args);
  va_end(args);
  return n;
}

int _vsnprintf_s(char* buffer, size_t size, size_t count, const char* format, va_list args) {
  if (!buffer || size == 0 || !format) {
    errno = EINVAL;
    return -1;
  }
  const bool truncate = count == _TRUNCATE || count < size;
  const size_t capacity = count == _TRUNCATE ? size - 1 : std::min(count, size - 1);
  const int n = formatLength(buffer, capacity, format, args);
  if (n >= 0 && static_cast<size_t>(n) <= capacity) {
    buffer[n] = '\0';
    return n;
  }
  if (n >= 0 && truncate) {
    buffer[capacity] = '\0';
    return -1;
  }
  buffer[0] = '\0';
  errno = n < 0 ? EINVAL : ERANGE;
  return -1;
}

int _snprintf_s(char* buffer, size_t size, size_t count, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = _vsnprintf_s(buffer, size, count, format, args);
  va_end(args);
  return n;
}

int vsprintf_s(char* buffer, size_t size, const char* format, va_list args) {
  if (!buffer || size == 0 || !format) {
    errno = EINVAL;
    return -1;
  }
  const int n = formatLength(buffer, size - 1, format, args);
  if (n >= 0 && static_cast<size_t>(n) <= size - 1) {
    buffer[n] = '\0';
    return n;
  }
  buffer[0] = '\0';
  errno = n < 0 ? EINVAL : ERANGE;
  return -1;
}

int sprintf_s(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = vsprintf_s(buffer, size, format, args);
  va_end(args);
  return n;
}

}  // extern "C"
