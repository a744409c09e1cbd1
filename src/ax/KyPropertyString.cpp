// Parsing and composing property strings. Two faults of the stored format
// are mended here: names take every identifier character (member names
// with "_" or double-byte letters were written but could not be read
// back), and a value holding a double quote is always quoted (it read back
// without its quotes). White space at the end of the text is accepted, as
// hand-written strings carry it.
#include "KyPropertyString.h"

#include <cctype>

#include "AxModule.h"
#include "axres.h"

namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The length of the identifier character at `p` (a double-byte character
// counts whole), 0 when it is not one.
int identifierLength(const char* p) {
  const auto c = static_cast<unsigned char>(*p);
  if (std::isalnum(c) || c == '_') return 1;
  if (c < 0x80) return 0;
  return (IsDBCSLeadByte(c) && p[1]) ? 2 : 1;
}

// Whether a value can be written as it is: not empty, no double quote, and
// every character alphanumeric or punctuation (so blanks, control
// characters and bytes above 127 force quotes).
bool writableBare(const char* value) {
  if (!*value) return false;
  for (const char* p = value; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '"' || !(std::isalnum(c) || std::ispunct(c))) return false;
  }
  return true;
}

}  // namespace

BOOL KyActiveXControlImpl::KyPropertyString::Parse(const char* text) {
  source_ = text ? text : "";
  error_.Empty();
  pairs_.clear();
  const char* p = source_;
  for (;;) {
    while (isSpace(*p)) ++p;
    if (!*p) return TRUE;
    const char* nameStart = p;
    while (int n = identifierLength(p)) p += n;
    CString name(nameStart, static_cast<int>(p - nameStart));
    while (isSpace(*p)) ++p;
    if (*p != '=') {
      error_ = ax::FormatText(IDS_AX_EQUALS_NOT_FOUND, name);
      return FALSE;
    }
    ++p;
    while (isSpace(*p)) ++p;
    CString value;
    if (*p == '"') {
      for (++p;; ++p) {
        if (!*p) {
          error_ = ax::FormatText(IDS_AX_CLOSING_QUOTE_NOT_FOUND, name);
          return FALSE;
        }
        if (*p == '"') {
          if (p[1] != '"') break;
          ++p;  // a doubled quote stands for one
        }
        value += *p;
      }
      ++p;
    } else {
      const char* valueStart = p;
      while (*p && !isSpace(*p)) ++p;
      value = CString(valueStart, static_cast<int>(p - valueStart));
    }
    pairs_.push_back(name);
    pairs_.push_back(value);
  }
}

void KyActiveXControlImpl::KyPropertyString::Append(const char* name, const char* value) {
  if (!name) name = "";
  if (!value) value = "";
  if (!source_.IsEmpty()) source_ += ' ';
  source_ += name;
  source_ += '=';
  if (writableBare(value)) {
    source_ += value;
  } else {
    source_ += '"';
    for (const char* p = value; *p; ++p) {
      if (*p == '"') source_ += '"';
      source_ += *p;
    }
    source_ += '"';
  }
  pairs_.emplace_back(name);
  pairs_.emplace_back(value);
}

void KyActiveXControlImpl::KyPropertyString::Clear() {
  source_.Empty();
  error_.Empty();
  pairs_.clear();
}

CString KyActiveXControlImpl::KyPropertyString::GetName(int n) const {
  return n >= 0 && n < GetCount() ? pairs_[2 * n] : CString();
}

CString KyActiveXControlImpl::KyPropertyString::GetValue(int n) const {
  return n >= 0 && n < GetCount() ? pairs_[2 * n + 1] : CString();
}
