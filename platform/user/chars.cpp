// The character and string functions that Win32 keeps in USER32 and
// KERNEL32's lstr family: stepping through double-byte text, case mapping
// and character classes in the ANSI code page, comparison with the
// locale's word sort, and wsprintf.
#include <internal/codepage.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A pointer argument whose high word is zero carries one character.
bool isSingleCharacter(const void* p) { return (reinterpret_cast<UINT_PTR>(p) >> 16) == 0; }

DWORD mapCase(char* text, DWORD count, bool upper) {
  win32::mapAnsiCase(text, count, upper);
  return count;
}

// --- wsprintf -------------------------------------------------------------------

constexpr size_t kWsprintfLimit = 1024;  // characters with the terminator, as documented

// Output bounded to the wsprintf limit.
class Output {
 public:
  explicit Output(char* buffer) : buffer_(buffer) {}
  void put(std::string_view text) {
    const size_t n = std::min(text.size(), kWsprintfLimit - 1 - length_);
    std::memcpy(buffer_ + length_, text.data(), n);
    length_ += n;
  }
  int finish() {
    buffer_[length_] = '\0';
    return static_cast<int>(length_);
  }

 private:
  char* buffer_;
  size_t length_ = 0;
};

// One conversion of the wsprintf grammar: %[-][#][0][width][.precision]type
// with the size prefixes h, l, I64 (no '*', no floating point).
struct WsprintfSpec {
  std::string flags;
  int width = 0;
  int precision = -1;
  char size = 0;  // 'h', 'l' or 'I' (I64)
  char type = 0;
};

int readNumber(const char*& p) {
  int n = 0;
  while (*p >= '0' && *p <= '9') n = std::min(n * 10 + (*p++ - '0'), static_cast<int>(kWsprintfLimit));
  return n;
}

WsprintfSpec readSpec(const char*& p) {
  WsprintfSpec s;
  while (*p == '-' || *p == '#' || *p == '0') s.flags += *p++;
  s.width = readNumber(p);
  if (*p == '.') {
    ++p;
    s.precision = readNumber(p);
  }
  if (*p == 'h' || *p == 'l' || *p == 'w') {
    s.size = *p == 'w' ? 'l' : *p;
    ++p;
  } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
    s.size = 'I';
    p += 3;
  }
  s.type = *p;
  return s;
}

// Formats one integer or string conversion through the C library's bounded
// snprintf, whose output for these conversions is Windows' output.
std::string formatPiece(const WsprintfSpec& s, const char* lengthModifier, char type, ...) {
  char directive[48];
  std::snprintf(directive, sizeof directive, "%%%s*.*%s%c", s.flags.c_str(), lengthModifier, type);
  va_list args;
  va_start(args, type);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, directive, args);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, directive, again);
  va_end(again);
  va_end(args);
  return out;
}

std::string formatConversion(const WsprintfSpec& s, va_list& args) {
  const int width = s.width, precision = s.precision;
  switch (s.type) {
    case 'd':
    case 'i':
      if (s.size == 'I') return formatPiece(s, "ll", 'd', width, precision, va_arg(args, long long));
      if (s.size == 'h') return formatPiece(s, "", 'd', width, precision, static_cast<short>(va_arg(args, int)));
      return formatPiece(s, "", 'd', width, precision, va_arg(args, int));  // %ld: a Windows LONG
    case 'u':
    case 'x':
    case 'X':
      if (s.size == 'I') return formatPiece(s, "ll", s.type, width, precision, va_arg(args, unsigned long long));
      if (s.size == 'h')
        return formatPiece(s, "", s.type, width, precision, static_cast<unsigned short>(va_arg(args, unsigned)));
      return formatPiece(s, "", s.type, width, precision, va_arg(args, unsigned));
    case 'p': {
      WsprintfSpec pointer = s;
      pointer.flags = "0";
      return formatPiece(pointer, "ll", 'X', 16, -1,
                         static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
    }
    case 'c':
    case 'C': {
      const bool wide = s.type == 'C' ? s.size != 'h' : s.size == 'l';
      const int value = va_arg(args, int);
      std::string text = wide ? win32::wideToAnsi(std::u16string(1, static_cast<char16_t>(value)))
                              : std::string(1, static_cast<char>(value));
      return formatPiece(s, "", 's', width, -1, text.c_str());
    }
    case 's':
    case 'S': {
      const bool wide = s.type == 'S' ? s.size != 'h' : s.size == 'l';
      std::string text;
      if (wide) {
        if (const auto* w = va_arg(args, const char16_t*)) text = win32::wideToAnsi(w);
        else text.assign("(null)");
      } else {
        // A precision bounds the read: the text need not be terminated within it.
        const char* a = va_arg(args, const char*);
        if (!a) a = "(null)";
        text.assign(a, precision >= 0 ? strnlen(a, static_cast<size_t>(precision)) : std::strlen(a));
      }
      return formatPiece(s, "", 's', width, precision, text.c_str());
    }
    default: return std::string(1, s.type);  // "%%" and letters wsprintf does not know
  }
}

}  // namespace

extern "C" {

LPSTR WINAPI CharNextA(LPCSTR lpsz) {
  if (!lpsz || !*lpsz) return const_cast<LPSTR>(lpsz);
  return const_cast<LPSTR>(lpsz + win32::ansiCharLength(lpsz));
}

LPSTR WINAPI CharNextExA(WORD CodePage, LPCSTR lpCurrentChar, DWORD dwFlags) {
  if (!lpCurrentChar || !*lpCurrentChar) return const_cast<LPSTR>(lpCurrentChar);
  const bool lead = IsDBCSLeadByteEx(CodePage, static_cast<BYTE>(*lpCurrentChar));
  return const_cast<LPSTR>(lpCurrentChar + (lead && lpCurrentChar[1] ? 2 : 1));
}

// Walks from the start, as only a forward walk tells lead bytes from trail bytes.
LPSTR WINAPI CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent) {
  if (!lpszStart || !lpszCurrent || lpszCurrent <= lpszStart) return const_cast<LPSTR>(lpszStart);
  const char* p = lpszStart;
  for (;;) {
    const char* next = CharNextA(p);
    if (next >= lpszCurrent || next == p) return const_cast<LPSTR>(p);
    p = next;
  }
}

LPSTR WINAPI CharPrevExA(WORD CodePage, LPCSTR lpStart, LPCSTR lpCurrentChar, DWORD dwFlags) {
  if (!lpStart || !lpCurrentChar || lpCurrentChar <= lpStart) return const_cast<LPSTR>(lpStart);
  const char* p = lpStart;
  for (;;) {
    const char* next = CharNextExA(CodePage, p, 0);
    if (next >= lpCurrentChar || next == p) return const_cast<LPSTR>(p);
    p = next;
  }
}

LPSTR WINAPI CharUpperA(LPSTR lpsz) {
  if (isSingleCharacter(lpsz))
    return reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(win32::ansiToUpper(static_cast<unsigned char>(reinterpret_cast<UINT_PTR>(lpsz)))));
  mapCase(lpsz, static_cast<DWORD>(std::strlen(lpsz)), true);
  return lpsz;
}

LPSTR WINAPI CharLowerA(LPSTR lpsz) {
  if (isSingleCharacter(lpsz))
    return reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(win32::ansiToLower(static_cast<unsigned char>(reinterpret_cast<UINT_PTR>(lpsz)))));
  mapCase(lpsz, static_cast<DWORD>(std::strlen(lpsz)), false);
  return lpsz;
}

DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength) {
  return lpsz ? mapCase(lpsz, cchLength, true) : 0;
}

DWORD WINAPI CharLowerBuffA(LPSTR lpsz, DWORD cchLength) {
  return lpsz ? mapCase(lpsz, cchLength, false) : 0;
}

BOOL WINAPI IsCharAlphaA(CHAR ch) { return (win32::ansiCharType(static_cast<unsigned char>(ch)) & C1_ALPHA) != 0; }

BOOL WINAPI IsCharAlphaNumericA(CHAR ch) {
  return (win32::ansiCharType(static_cast<unsigned char>(ch)) & (C1_ALPHA | C1_DIGIT)) != 0;
}

BOOL WINAPI IsCharUpperA(CHAR ch) { return (win32::ansiCharType(static_cast<unsigned char>(ch)) & C1_UPPER) != 0; }
BOOL WINAPI IsCharLowerA(CHAR ch) { return (win32::ansiCharType(static_cast<unsigned char>(ch)) & C1_LOWER) != 0; }

// Word sort of the thread's locale; a null text sorts before any other.
int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) {
  if (!lpString1 || !lpString2) return lpString1 == lpString2 ? 0 : (lpString1 ? 1 : -1);
  return CompareStringA(GetThreadLocale(), 0, lpString1, -1, lpString2, -1) - CSTR_EQUAL;
}

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
  if (!lpString1 || !lpString2) return lpString1 == lpString2 ? 0 : (lpString1 ? 1 : -1);
  return CompareStringA(GetThreadLocale(), NORM_IGNORECASE, lpString1, -1, lpString2, -1) - CSTR_EQUAL;
}

int WINAPI lstrlenA(LPCSTR lpString) { return lpString ? static_cast<int>(std::strlen(lpString)) : 0; }

// Copies at most iMaxLength - 1 characters and always terminates (unless
// iMaxLength is 0).
LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
  if (!lpString1 || !lpString2) return nullptr;
  int i = 0;
  for (; i + 1 < iMaxLength && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  if (iMaxLength > 0) lpString1[i] = '\0';
  return lpString1;
}

int WINAPI wvsprintfA(LPSTR lpOutput, LPCSTR lpFmt, va_list arglist) {
  if (!lpOutput || !lpFmt) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  Output out(lpOutput);
  va_list args;
  va_copy(args, arglist);
  for (const char* p = lpFmt; *p; ++p) {
    if (*p != '%') {
      out.put(std::string_view(p, 1));
      continue;
    }
    ++p;
    const WsprintfSpec s = readSpec(p);
    if (!s.type) break;
    out.put(formatConversion(s, args));
  }
  va_end(args);
  return out.finish();
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
  va_list args;
  va_start(args, lpFmt);
  const int n = wvsprintfA(lpOut, lpFmt, args);
  va_end(args);
  return n;
}

}  // extern "C"
