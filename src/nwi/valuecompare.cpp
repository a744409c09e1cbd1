// Sorting comparisons of typed values (lists, combo boxes, grid columns).
#include <cstring>
#include <tuple>

#include "datatypes.h"
#include "datetime.h"
#include "textbuffer.h"

namespace {

template <typename T>
T load(const void* value, size_t offset = 0) {
  return HCtlLoad<T>(value, offset);
}

template <typename T>
int order(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Unordered values (NaN) compare as equal, as the tables of the controls
// expect a total answer.
template <typename T>
int compareNumber(const void* a, const void* b) {
  return order(load<T>(a), load<T>(b));
}

// 'D': the record itself: year (signed), month, day, hour, minute, second,
// milliseconds.
int compareRecord(const void* a, const void* b) {
  const HCtlDateTime x = load<HCtlDateTime>(a), y = load<HCtlDateTime>(b);
  return order(std::tuple(x.year, x.month, x.day, x.hour, x.minute, x.second, x.milliseconds),
               std::tuple(y.year, y.month, y.day, y.hour, y.minute, y.second, y.milliseconds));
}

int compareDayMs(const void* a, const void* b) {
  return order(std::tuple(load<int32_t>(a), load<int32_t>(a, 4)), std::tuple(load<int32_t>(b), load<int32_t>(b, 4)));
}

int compareDayMinutes(const void* a, const void* b) {
  return order(std::tuple(load<uint16_t>(a), load<uint16_t>(a, 2)), std::tuple(load<uint16_t>(b), load<uint16_t>(b, 2)));
}

auto timestampKey(const void* v) {
  return std::tuple(load<int16_t>(v), load<uint16_t>(v, 2), load<uint16_t>(v, 4), load<uint16_t>(v, 6),
                    load<uint16_t>(v, 8), load<uint16_t>(v, 10), load<uint32_t>(v, 12));
}
int compareTimestamp(const void* a, const void* b) { return order(timestampKey(a), timestampKey(b)); }

auto tmKey(const void* v) {
  const MsTm t = load<MsTm>(v);
  return std::tuple(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}
int compareTm(const void* a, const void* b) { return order(tmKey(a), tmKey(b)); }

// 'T': the whole 64-bit time value; its low 32 bits alone misorder every
// time across 2038.
int compareTimeValue(const void* a, const void* b) { return compareNumber<int64_t>(a, b); }

// 'A' packed date: year bits, then month bits, then day bits.
auto packedDateKey(const void* v) {
  const uint16_t w = load<uint16_t>(v);
  return std::tuple(w & 0x7F, (w >> 7) & 0x0F, w >> 11);
}
int comparePackedDate(const void* a, const void* b) { return order(packedDateKey(a), packedDateKey(b)); }

// 'a': day u8, month u8, year int16.
auto dayMonthYearKey(const void* v) {
  return std::tuple(load<int16_t>(v, 2), load<uint8_t>(v, 1), load<uint8_t>(v, 0));
}
int compareDayMonthYear(const void* a, const void* b) { return order(dayMonthYearKey(a), dayMonthYearKey(b)); }

auto yearMonthDayKey(const void* v) {
  return std::tuple(load<int16_t>(v), load<uint16_t>(v, 2), load<uint16_t>(v, 4));
}
int compareYearMonthDay(const void* a, const void* b) { return order(yearMonthDayKey(a), yearMonthDayKey(b)); }

// 'I' packed time: hour bits, minute bits, second bits.
auto packedTimeKey(const void* v) {
  const uint16_t w = load<uint16_t>(v);
  return std::tuple(w & 0x1F, (w >> 5) & 0x3F, w >> 11);
}
int comparePackedTime(const void* a, const void* b) { return order(packedTimeKey(a), packedTimeKey(b)); }

auto hmshKey(const void* v) {
  return std::tuple(load<uint8_t>(v), load<uint8_t>(v, 1), load<uint8_t>(v, 2), load<uint8_t>(v, 3));
}
int compareTimeBytes(const void* a, const void* b) { return order(hmshKey(a), hmshKey(b)); }

auto hmsKey(const void* v) {
  return std::tuple(load<uint16_t>(v), load<uint16_t>(v, 2), load<uint16_t>(v, 4));
}
int compareTimeWords(const void* a, const void* b) { return order(hmsKey(a), hmsKey(b)); }

// Locale string order, decided once per process: in Japan (country 81)
// the strings are compared as UTF-16 code units (ordinal, case-sensitive);
// everywhere else, and when a conversion fails, CompareStringA of the
// system locale ignoring case, accents, kana type and width.
enum class StringOrder { undecided, ordinalWide, localeWords };
StringOrder stringOrder = StringOrder::undecided;

StringOrder decideStringOrder() {
  if (stringOrder == StringOrder::undecided) {
    char country[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, country, sizeof country);
    stringOrder = std::strcmp(country, "81") == 0 ? StringOrder::ordinalWide : StringOrder::localeWords;
  }
  return stringOrder;
}

int compareText(const char* a, int lengthA, const char* b, int lengthB) {
  if (decideStringOrder() == StringOrder::ordinalWide) {
    WCHAR wideA[512], wideB[512];
    const int countA = MultiByteToWideChar(CP_ACP, 0, a, lengthA, wideA, 512);
    const int countB = MultiByteToWideChar(CP_ACP, 0, b, lengthB, wideB, 512);
    if (countA > 0 && countB > 0) {
      // A terminated conversion counts its terminator; leave it out.
      const int usedA = countA - (lengthA < 0 ? 1 : 0), usedB = countB - (lengthB < 0 ? 1 : 0);
      for (int i = 0; i < usedA && i < usedB; ++i)
        if (wideA[i] != wideB[i]) return wideA[i] < wideB[i] ? -1 : 1;
      return order(usedA, usedB);
    }
  }
  const DWORD flags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
  const int result = CompareStringA(LOCALE_SYSTEM_DEFAULT, flags, a, lengthA, b, lengthB);
  return result ? result - 2 : 0;
}

int compareStrings(const void* a, const void* b) {
  return compareText(static_cast<const char*>(a), -1, static_cast<const char*>(b), -1);
}

// A 'h' value is one byte with no terminator: compared as one character.
int compareCharacters(const void* a, const void* b) {
  return compareText(static_cast<const char*>(a), 1, static_cast<const char*>(b), 1);
}

HCtlCompareFn numericComparator(char storage) {
  switch (storage) {
    case 'h': return compareNumber<int8_t>;
    case 'b': return compareNumber<uint8_t>;
    case 's': return compareNumber<int16_t>;
    case 'w': return compareNumber<uint16_t>;
    case 'i': case 'l': return compareNumber<int32_t>;
    case 'u': case 'W': return compareNumber<uint32_t>;
    case 'f': return compareNumber<float>;
    case 'd': return compareNumber<double>;
    case 'M': return compareNumber<int64_t>;
    default: return nullptr;
  }
}

HCtlCompareFn dateTimeComparator(char storage) {
  switch (storage) {
    case 'D': return compareRecord;
    case 'Q': return compareDayMs;
    case 'q': return compareDayMinutes;
    case 's': return compareTimestamp;
    case 'm': return compareTm;
    case 'T': return compareTimeValue;
    case 'u': return compareNumber<double>;
    default: return nullptr;
  }
}

}  // namespace

HCtlCompareFn HCtlComparator(char type, char storage) {
  if (!HCtlStorageValid(type, storage)) return nullptr;
  switch (type) {
    case 'a': case 'k': return dateTimeComparator(storage);
    case 'b': case 'c': case 'i': case 'n': case 'z': return numericComparator(storage);
    case 'd':
      switch (storage) {
        case 'A': return comparePackedDate;
        case 'a': return compareDayMonthYear;
        case 'd': return compareYearMonthDay;
        case 'l': return compareNumber<int32_t>;
      }
      return nullptr;
    case 't':
      switch (storage) {
        case 'I': return comparePackedTime;
        case 'i': return compareTimeBytes;
        case 't': return compareTimeWords;
      }
      return nullptr;
    case 'h': return compareCharacters;
    case 'm': case 's': return compareStrings;
    default: return nullptr;
  }
}
