// _splitpath and _makepath with Windows' rules: '\' and '/' both separate,
// a drive is the two characters before a ':' in second place, and in a
// double-byte code page a trail byte 0x5C ('\') is part of its character.
#include <internal/codepage.h>
#include <mscrt.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Copies [begin, end) cut to `size` - 1 characters, when `out` is given.
void copyPart(char* out, size_t size, const char* begin, const char* end) {
  if (!out) return;
  const size_t n = std::min(static_cast<size_t>(end - begin), size - 1);
  std::memcpy(out, begin, n);
  out[n] = '\0';
}

// Appends `text` to `out` (at `length`) without passing `size` - 1.
void append(char* out, size_t& length, size_t size, const char* text, size_t count) {
  const size_t n = std::min(count, size - 1 - length);
  std::memcpy(out + length, text, n);
  length += n;
}

}  // namespace

extern "C" {

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  if (!path) {
    errno = EINVAL;
    path = "";
  }
  const char* p = path;
  if (p[0] && p[1] == ':') {
    copyPart(drive, _MAX_DRIVE, p, p + 2);
    p += 2;
  } else {
    copyPart(drive, _MAX_DRIVE, p, p);
  }
  const char* name = p;       // after the last separator
  const char* dot = nullptr;  // the last '.'
  for (const char* q = p; *q; ++q) {
    if (win32::isAnsiLeadByte(static_cast<unsigned char>(*q)) && q[1]) {
      ++q;  // the trail byte is no separator and no dot
      continue;
    }
    if (isSeparator(*q)) name = q + 1;
    else if (*q == '.') dot = q;
  }
  const char* end = p + std::strlen(p);
  if (!dot || dot < name) dot = end;
  copyPart(dir, _MAX_DIR, p, name);
  copyPart(fname, _MAX_FNAME, name, dot);
  copyPart(ext, _MAX_EXT, dot, end);
}

// The result is cut at _MAX_PATH - 1 characters (the size Microsoft
// documents for the buffer), so it never writes past it.
void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext) {
  if (!path) {
    errno = EINVAL;
    return;
  }
  size_t length = 0;
  if (drive && *drive) {
    append(path, length, _MAX_PATH, drive, 1);
    append(path, length, _MAX_PATH, ":", 1);
  }
  if (dir && *dir) {
    const size_t n = std::strlen(dir);
    append(path, length, _MAX_PATH, dir, n);
    // The last character ends the directory unless it is a separator (and
    // not the trail byte of a double-byte character).
    const char* last = dir;
    for (const char* q = dir; *q; q += win32::ansiCharLength(q)) last = q;
    if (!(last == dir + n - 1 && isSeparator(*last))) append(path, length, _MAX_PATH, "\\", 1);
  }
  if (fname) append(path, length, _MAX_PATH, fname, std::strlen(fname));
  if (ext && *ext) {
    if (*ext != '.') append(path, length, _MAX_PATH, ".", 1);
    append(path, length, _MAX_PATH, ext, std::strlen(ext));
  }
  path[length] = '\0';
}

}  // extern "C"
