// The escaped-token text codec (see tokencodec.h).
#include "tokencodec.h"

#include "library.h"

namespace {

// The library's one token buffer; callers copy what they keep.
char tokenBuffer[kHCtlTokenBuffer];

class TokenWriter {
 public:
  TokenWriter() { tokenBuffer[0] = '\0'; }
  bool room(int count) const { return length_ + count <= kHCtlTokenBuffer - 1; }
  void put(char c) {
    if (room(1)) tokenBuffer[length_++] = c;
    full_ = full_ || !room(1);
  }
  // A DBCS pair goes in whole or not at all.
  void putPair(char lead, char trail) {
    if (room(2)) {
      tokenBuffer[length_++] = lead;
      tokenBuffer[length_++] = trail;
    } else {
      full_ = true;
    }
  }
  LPSTR finish() {
    tokenBuffer[length_] = '\0';
    return tokenBuffer;
  }

 private:
  int length_ = 0;
  bool full_ = false;
};

}  // namespace

LPSTR HCtlTakeToken(LPCSTR text, char delimiter, char escape, char special, char replacement, LPCSTR* next) {
  TokenWriter out;
  if (text == nullptr) {
    if (next != nullptr) *next = nullptr;
    return out.finish();
  }
  const char* p = text;
  while (*p != '\0') {
    const char c = *p;
    if (HCtlIsLeadByte(c) && p[1] != '\0') {
      out.putPair(c, p[1]);
      p += 2;
      continue;
    }
    if (escape != '\0' && c == escape) {
      if (p[1] == '\0') {
        ++p;
        break;
      }
      if (HCtlIsLeadByte(p[1]) && p[2] != '\0') {
        out.putPair(p[1], p[2]);
        p += 3;
      } else {
        out.put(p[1]);
        p += 2;
      }
      continue;
    }
    if (delimiter != '\0' && c == delimiter) {
      ++p;
      break;
    }
    if (special != '\0' && c == special) {
      if (replacement != '\0') out.put(replacement);
      ++p;
      continue;
    }
    out.put(c);
    ++p;
  }
  if (next != nullptr) *next = p;
  return out.finish();
}

LPSTR HCtlEscapeText(LPCSTR text, char escape, char special, char replacement) {
  TokenWriter out;
  if (text == nullptr) return out.finish();
  for (const char* p = text; *p != '\0'; ++p) {
    const char c = *p;
    if (HCtlIsLeadByte(c) && p[1] != '\0') {
      out.putPair(c, p[1]);
      ++p;
    } else if (replacement != '\0' && c == replacement) {
      out.put(special);
    } else if (c == escape || (special != '\0' && c == special)) {
      if (!out.room(2)) break;  // never split an escape from its character
      out.put(escape);
      out.put(c);
    } else {
      out.put(c);
    }
  }
  return out.finish();
}
