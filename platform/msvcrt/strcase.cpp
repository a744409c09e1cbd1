// String case and order in the CRT's "C" locale: only ASCII letters have
// case, as in a Microsoft program that never called setlocale.
#include <mscrt.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }
unsigned char upper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

extern "C" {

// Compares the lower-cased bytes: '_' sorts before letters, as Microsoft's does.
int _strnicmp(const char* a, const char* b, size_t count) {
  if (!a || !b) {
    errno = EINVAL;
    return _NLSCMPERROR;
  }
  for (size_t i = 0; i < count; ++i) {
    const int x = lower(static_cast<unsigned char>(a[i]));
    const int y = lower(static_cast<unsigned char>(b[i]));
    if (x != y || x == 0) return x - y;
  }
  return 0;
}

int _stricmp(const char* a, const char* b) { return _strnicmp(a, b, SIZE_MAX); }

int _stricoll(const char* a, const char* b) { return _stricmp(a, b); }

char* _strupr(char* text) {
  if (!text) {
    errno = EINVAL;
    return nullptr;
  }
  for (char* p = text; *p; ++p) *p = static_cast<char>(upper(static_cast<unsigned char>(*p)));
  return text;
}

char* _strlwr(char* text) {
  if (!text) {
    errno = EINVAL;
    return nullptr;
  }
  for (char* p = text; *p; ++p) *p = static_cast<char>(lower(static_cast<unsigned char>(*p)));
  return text;
}

char* _strrev(char* text) {
  if (!text) {
    errno = EINVAL;
    return nullptr;
  }
  for (char *left = text, *right = text + std::strlen(text); left < right && left < --right; ++left) {
    const char c = *left;
    *left = *right;
    *right = c;
  }
  return text;
}

char* _strdup(const char* text) {
  if (!text) return nullptr;
  const size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, text, n);
  else errno = ENOMEM;
  return copy;
}

}  // extern "C"
