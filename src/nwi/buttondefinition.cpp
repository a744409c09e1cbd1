// The button's definition string:
//   digits    up to three: text, picture and relative alignment (0-8)
//   storage   a check box's value storage letter (valid for type 'b')
//   ...;      the rest up to and including the first ';' is skipped
//   colours   "[text colour];[key colour];" - optional; an empty first
//             colour is written as a bare ';' (dialog templates say "444;;OK")
//   caption;pictures;sound   '\' escapes, '^' breaks lines, pictures are
//             separated by ':'
#include <cctype>
#include <cstring>

#include "button.h"
#include "datatypes.h"
#include "library.h"
#include "markup.h"
#include "nwiresource.h"
#include "tokencodec.h"

namespace {

std::string libraryString(UINT id) {
  char text[64] = {};
  LoadStringA(HCtlLibraryModule(), id, text, sizeof text);
  return text;
}

// Where the raw field that begins at `p` ends: at its first unescaped ';'
// or the terminator. DBCS pairs and escaped characters are stepped over whole.
const char* fieldEnd(const char* p) {
  while (*p != '\0' && *p != ';') {
    if ((*p == '\\' || HCtlIsLeadByte(*p)) && p[1] != '\0') ++p;
    ++p;
  }
  return p;
}

// A bracketed colour token at `p` ("[...]"); `p` moves past it. FALSE (and
// `p` untouched) when there is no closing bracket.
bool takeColour(const char*& p, COLORREF* color, BOOL* found) {
  const char* close = std::strchr(p, ']');
  if (close == nullptr) return false;
  COLORREF c = 0;
  if (HCtlColorToken(p + 1, static_cast<int>(close - p - 1), &c)) {
    *color = c;
    if (found != nullptr) *found = TRUE;
  }
  p = close + 1;
  return true;
}

const char* takeColourPrefix(const char* p, HButtDefinition* out) {
  if (*p != '[' && *p != ';') return p;
  if (*p == '[' && !takeColour(p, &out->textColor, &out->hasTextColor)) return p;
  if (*p != ';') return p;  // a text colour directly followed by the caption
  ++p;
  const char* key = p;
  if (*key == '[' && takeColour(key, &out->keyColor, nullptr)) {
    p = key;
    if (*p == ';') ++p;
  }
  return p;
}

bool holdsState(int type) { return type == HBT_CHECK || type == HBT_3STATE; }

}  // namespace

std::string HButtCompleteDefinition(const char* text, int type) {
  const char* given = text != nullptr ? text : "";
  if (std::isdigit(static_cast<unsigned char>(*given))) return given;
  UINT prefix = IDS_HBPUSH_PREFIX, caption = IDS_HBPUSH_CAPTION, suffix = 0;
  switch (type) {
    case HBT_CHECK: prefix = IDS_HBCHECK_PREFIX, caption = IDS_HBCHECK_CAPTION, suffix = IDS_HBCHECK_SUFFIX; break;
    case HBT_RADIO: prefix = IDS_HBRADIO_PREFIX, caption = IDS_HBRADIO_CAPTION, suffix = IDS_HBRADIO_SUFFIX; break;
    case HBT_3STATE: prefix = IDS_HB3STATE_PREFIX, caption = IDS_HB3STATE_CAPTION, suffix = IDS_HB3STATE_SUFFIX; break;
    default: break;
  }
  std::string definition = libraryString(prefix) + (*given != '\0' ? std::string(given) : libraryString(caption));
  if (suffix != 0) definition += libraryString(suffix);
  return definition;
}

void HButtParseDefinition(const char* definition, int type, HButtDefinition* out) {
  *out = HButtDefinition{};
  const char* p = definition != nullptr ? definition : "";
  int* digits[3] = {&out->textAlign, &out->pictureAlign, &out->relativeAlign};
  for (int i = 0; i < 3 && std::isdigit(static_cast<unsigned char>(*p)); ++i, ++p)
    if (*p != '9') *digits[i] = *p - '0';
  if (holdsState(type) && *p != '\0' && *p != ';' && HCtlStorageValid('b', *p) && HCtlStorageSize('b', *p) > 0)
    out->storage = *p;
  p = std::strchr(p, ';');
  p = p != nullptr ? p + 1 : "";
  p = takeColourPrefix(p, out);
  const char* next = p;
  out->caption = HCtlTakeToken(p, ';', '\\', '^', '\n', &next);
  if (*fieldEnd(p) == '\0') return;
  p = next;
  const char* end = fieldEnd(p);
  const std::string pictures(p, end);
  for (const char* name = pictures.c_str(); *name != '\0';) {
    const char* after = name;
    out->pictures.push_back(HCtlTakeToken(name, ':', '\\', 0, 0, &after));
    if (after == name) break;
    name = after;
  }
  if (*end == '\0') return;
  out->sound = HCtlTakeToken(end + 1, ';', '\\', '^', '\n', nullptr);
}
