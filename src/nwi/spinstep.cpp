// One step of a spin's value: numbers by the increment, clamped to the
// range; dates and times by one unit of the part of the text under the
// selection, with carry into the higher units when the whole text (or more
// than the part) is selected. A step whose result the value's storage
// cannot hold is refused as the edit refuses such a text: the old value
// stays and the target hears 0x602.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "datetime.h"
#include "library.h"
#include "spin.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || (c & 0x80) != 0; }
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int runOf(const char* p, char c) {
  int n = 0;
  while (lower(p[n]) == c) ++n;
  return n;
}

// Characters of `text` from `at` on that satisfy `keep` (at least one, as
// the formatter always writes something for a part).
template <typename Keep>
int spanAt(const char* text, int at, int length, Keep keep) {
  int n = 0;
  while (at + n < length && keep(text[at + n])) ++n;
  return std::max(n, 1);
}

void record(HSpPart parts[HSP_SLOTS], int slot, int position, int length) {
  if (parts[slot].position < 0) parts[slot] = {position, length};
}

// The picture the text was written by: the edit form's effective picture
// while focused, else the picture as given.
void pictureOf(const HEdRecord* r, char* out, int size) {
  const bool datePart = r->type == 'a' || r->type == 'd';
  const bool timePart = r->type == 'a' || r->type == 't';
  const char* given = r->picture != nullptr ? r->picture : "";
  if ((r->head.flags & HED_FOCUS) != 0 || *given == '\0') HCtlBuildPicture(given, datePart, timePart, out, size);
  else HCtlCopyText(out, given, size);
}

bool selectionIs(const HEdRecord* r, int from, int to) {
  return std::min(r->anchor, r->caret) == from && std::max(r->anchor, r->caret) == to;
}

// --- numbers -------------------------------------------------------------------------------

int numberStep(HSpRecord* s, bool up) {
  HEdRecord* r = &s->edit;
  if (r->storage == 'M') return 1;  // 64-bit values are not stepped
  double number = 0;
  if (!HEdValueToNumber(&number, r->value, r->type, r->storage)) return 0;
  number += up ? s->increment : -s->increment;
  const double* minimum = (r->rangeFlags & HED_HASMIN) ? &r->minimum : nullptr;
  const double* maximum = (r->rangeFlags & HED_HASMAX) ? &r->maximum : nullptr;
  const int clamped = HEdClampNumber(&number, minimum, maximum);
  if (!HEdNumberToValue(number, r->value, r->type, r->storage)) {
    HCtlNotify(&r->head, HED_N_REJECTED);  // beyond the storage: the value stays
    return 1;
  }
  r->head.flags &= ~HED_NULL;
  if (clamped < 0) HCtlNotify(&r->head, HED_N_BELOWMIN);
  if (clamped > 0) HCtlNotify(&r->head, HED_N_ABOVEMAX);
  return 1;
}

// --- dates and times -----------------------------------------------------------------------

// Moves one unit by one; with carry a wrap steps the next unit too. Answers
// whether the last unit stepped wrapped.
bool unitStep(HCtlDateTime& d, int slot, bool up, bool carry) {
  const int delta = up ? 1 : -1;
  auto cyclic = [&](int value, int low, int high, auto assign) {
    int next = value + delta;
    const bool wrapped = next > high || next < low;
    if (next > high) next = low;
    if (next < low) next = high;
    assign(next);
    return wrapped;
  };
  bool wrapped = false;
  switch (slot) {
    case HSP_FRACTION: wrapped = cyclic(d.milliseconds, 0, 999, [&](int v) { d.milliseconds = static_cast<uint16_t>(v); }); break;
    case HSP_SECOND: wrapped = cyclic(d.second, 0, 59, [&](int v) { d.second = static_cast<uint8_t>(v); }); break;
    case HSP_MINUTE: wrapped = cyclic(d.minute, 0, 59, [&](int v) { d.minute = static_cast<uint8_t>(v); }); break;
    case HSP_HOUR: wrapped = cyclic(d.hour, 0, 23, [&](int v) { d.hour = static_cast<uint8_t>(v); }); break;
    case HSP_DAY:
      if (!up && d.day <= 1) {
        // Going down from the 1st: with carry the previous month's last day.
        if (carry) {
          unitStep(d, HSP_MONTH, false, true);
          carry = false;
        }
        d.day = static_cast<uint8_t>(HSpDaysInMonth(d.year, d.month));
        return true;
      }
      wrapped = cyclic(d.day, 1, HSpDaysInMonth(d.year, d.month), [&](int v) { d.day = static_cast<uint8_t>(v); });
      break;
    case HSP_MONTH: wrapped = cyclic(d.month, 1, 12, [&](int v) { d.month = static_cast<uint8_t>(v); }); break;
    case HSP_YEAR: d.year = static_cast<int16_t>(d.year + delta); return false;
    default: return false;
  }
  if (wrapped && carry && slot < HSP_YEAR) return unitStep(d, slot + 1, up, true);
  return wrapped;
}

// Parts that move with a carried step: the slot and every higher one the text shows.
void widenSelection(HEdRecord* r, const HSpPart parts[HSP_SLOTS], int slot) {
  int from = parts[slot].position, to = parts[slot].position + parts[slot].length;
  for (int s = slot + 1; s <= HSP_YEAR; ++s) {
    if (parts[s].position < 0) continue;
    from = std::min(from, parts[s].position);
    to = std::max(to, parts[s].position + parts[s].length);
  }
  SendMessageA(r->head.window, KYM_SETSEL, 0, MAKELPARAM(from, to));
}

void selectPart(HEdRecord* r, const HSpPart& part) {
  SendMessageA(r->head.window, KYM_SETSEL, 0, MAKELPARAM(part.position, part.position + part.length));
}

// The first unit, smallest first, whose text lies within the selection (or
// holds the caret when nothing is selected); HSP_SLOTS when none.
int partToStep(const HEdRecord* r, const HSpPart parts[HSP_SLOTS], bool* exact) {
  const int from = std::min(r->anchor, r->caret), to = std::max(r->anchor, r->caret);
  for (int slot = 0; slot <= HSP_YEAR; ++slot) {
    const HSpPart& p = parts[slot];
    if (p.position < 0) continue;
    const bool inside = from == to ? (from >= p.position && from <= p.position + p.length)
                                   : (p.position >= from && p.position + p.length <= to);
    if (inside) {
      *exact = from == p.position && to == p.position + p.length;
      return slot;
    }
  }
  return HSP_SLOTS;
}

void clampToRange(HEdRecord* r, HCtlDateTime& d) {
  double days = 0;
  if (!(r->rangeFlags & (HED_HASMIN | HED_HASMAX)) || !HCtlRecordToStorage(&d, &days, 'u')) return;
  const double* minimum = (r->rangeFlags & HED_HASMIN) ? &r->minimum : nullptr;
  const double* maximum = (r->rangeFlags & HED_HASMAX) ? &r->maximum : nullptr;
  const int clamped = HEdClampNumber(&days, minimum, maximum);
  if (clamped == 0) return;
  HCtlRecordFromStorage(&d, &days, 'u');
  HCtlNotify(&r->head, clamped < 0 ? HED_N_BELOWMIN : HED_N_ABOVEMAX);
}

HCtlDateTime currentValue(const HEdRecord* r) {
  HCtlDateTime d{};
  if ((r->head.flags & HED_NULL) == 0 && HCtlRecordFromStorage(&d, r->value, r->storage)) return d;
  // A field without a valid value steps from now.
  SYSTEMTIME now;
  GetLocalTime(&now);
  d = {static_cast<int16_t>(now.wYear), static_cast<uint8_t>(now.wMonth), static_cast<uint8_t>(now.wDay),
       static_cast<uint8_t>(r->type == 'd' ? 0 : now.wHour), static_cast<uint8_t>(r->type == 'd' ? 0 : now.wMinute),
       static_cast<uint8_t>(r->type == 'd' ? 0 : now.wSecond), 0, 0};
  return d;
}

// Stores the record; FALSE (value untouched, 0x602 told) when the storage cannot hold it.
bool store(HEdRecord* r, const HCtlDateTime& d) {
  if (HCtlRecordToStorage(&d, r->value, r->storage)) {
    r->head.flags &= ~HED_NULL;
    return true;
  }
  HCtlNotify(&r->head, HED_N_REJECTED);
  return false;
}

int dateStep(HSpRecord* s, bool up) {
  HEdRecord* r = &s->edit;
  HCtlDateTime d = currentValue(r);
  HSpPart parts[HSP_SLOTS];
  HSpPictureParts(r, parts);
  const int length = HEdTextLength(r);
  const bool whole = selectionIs(r, 0, length) && length > 0;
  const bool editing = (r->head.flags & HED_DISPLAY) == 0;
  const HSpPart& ampm = parts[HSP_AMPM];
  if (!whole && ampm.position >= 0 && selectionIs(r, ampm.position, ampm.position + ampm.length)) {
    d.hour = static_cast<uint8_t>((d.hour + 12) % 24);
    if (store(r, d)) HEdShow(r, editing);
    selectPart(r, ampm);
    return 1;
  }
  bool exact = false;
  const int slot = partToStep(r, parts, &exact);
  if (slot == HSP_SLOTS) return 1;  // no unit under the selection
  if (!whole) {
    if (exact) selectPart(r, parts[slot]);
    else widenSelection(r, parts, slot);
  }
  const bool carry = whole || !exact;
  unitStep(d, slot, up, carry);
  d.day = static_cast<uint8_t>(std::min<int>(d.day, HSpDaysInMonth(d.year, d.month)));
  clampToRange(r, d);
  if (!store(r, d)) return 1;
  HEdShow(r, editing);
  if (whole) {
    SendMessageA(r->head.window, KYM_SETSEL, 0, MAKELPARAM(0, HEdTextLength(r)));
  } else {
    HSpPictureParts(r, parts);
    if (parts[slot].position >= 0) selectPart(r, parts[slot]);
  }
  return 1;
}

}  // namespace

int HSpDaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

void HSpPictureParts(const HEdRecord* r, HSpPart parts[HSP_SLOTS]) {
  for (int i = 0; i < HSP_SLOTS; ++i) parts[i] = {-1, 0};
  char picture[128];
  pictureOf(r, picture, sizeof picture);
  const char* text = r->text != nullptr ? r->text : "";
  const int length = static_cast<int>(std::strlen(text));
  const bool timeOnly = r->type == 't';
  bool hourSeen = false;
  int at = 0;
  // Walks the picture as the date formatter writes it, one part at a time.
  for (const char* p = picture; *p != '\0' && at <= length;) {
    const char c = lower(*p);
    const int run = runOf(p, c);
    const int numeral = spanAt(text, at, length, isDigit);
    switch (c) {
      case 'd':
      case 'm': {
        const bool minute = c == 'm' && (timeOnly || (hourSeen && p > picture && (lower(p[-1]) == 'h' ||
                                                                                  (p - 1 > picture && lower(p[-2]) == 'h'))));
        if (minute && run < 2) break;  // a lone 'm' after the hour is written as it stands
        const int take = minute ? 2 : std::min(run, 4);
        const int width = take <= 2 ? numeral : spanAt(text, at, length, isLetter);
        record(parts, c == 'd' ? HSP_DAY : minute ? HSP_MINUTE : HSP_MONTH, at, width);
        at += width;
        p += take;
        continue;
      }
      case 'h':
        record(parts, HSP_HOUR, at, numeral);
        hourSeen = true;
        at += numeral;
        p += run >= 2 ? 2 : 1;
        continue;
      case 's':
      case 'f':
        if (run < 2) break;
        record(parts, c == 's' ? HSP_SECOND : HSP_FRACTION, at, numeral);
        at += numeral;
        p += c == 's' ? 2 : std::min(run, 3);
        continue;
      case 'y':
        if (run < 2) break;
        record(parts, HSP_YEAR, at, numeral);
        at += numeral + (run == 3 ? 1 : 0);
        p += run >= 4 ? 4 : run;
        continue;
      case 'a':
        if (lower(p[1]) != 'p') break;
        record(parts, HSP_AMPM, at, 2);
        at += 2;
        p += 2;
        continue;
      case '[': {
        const char* close = std::strchr(p, ']');  // colours take no place in the text
        p = close != nullptr ? close + 1 : p + std::strlen(p);
        continue;
      }
      case '\\':
        if (p[1] != '\0') ++p;
        break;
      default: break;
    }
    ++at;  // a literal character
    ++p;
  }
}

int HSpStep(HSpRecord* s, BOOL up) {
  if (s == nullptr) return 0;
  switch (s->edit.type) {
    case 'n':
    case 'c': return numberStep(s, up != FALSE);
    case 'a':
    case 'd':
    case 't': return dateStep(s, up != FALSE);
    default: return 0;
  }
}
