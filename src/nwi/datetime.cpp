// Date-time record: Julian days, conversions from and to every storage
// form, and the effective date/time picture.
#include "datetime.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "intlsettings.h"
#include "textbuffer.h"

namespace {

// Day 0 of the 'Q' and 'q' forms (1 January 1900) and of 'u' (30 December
// 1899) as Julian days.
constexpr int32_t kDayZeroQ = 2415021;
constexpr int32_t kDayZeroU = 2415019;
constexpr int32_t kMsPerDay = 86400000;
// Day numbers further out than this would leave the record's 16-bit year.
constexpr double kMaxDays = 10000000.0;
// The C run-time's 64-bit time functions cover 1970-01-01 00:00:00 to
// 3000-12-31 23:59:59 UTC and refuse anything else.
constexpr int64_t kMaxTimeValue = 32535215999LL;

template <typename T>
T load(const void* value, size_t offset = 0) {
  return HCtlLoad<T>(value, offset);
}

template <typename T>
void store(void* value, size_t offset, T field) {
  HCtlStore(value, offset, field);
}

bool leapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

bool validDate(const HCtlDateTime& r) {
  return r.month >= 1 && r.month <= 12 && r.day >= 1 && r.day <= daysInMonth(r.year, r.month);
}

bool emptyDate(const HCtlDateTime& r) { return r.year == 0 && r.month == 0 && r.day == 0; }

bool validTime(const HCtlDateTime& r) {
  return r.hour < 24 && r.minute < 60 && r.second < 60 && r.milliseconds < 1000;
}

void setTime(HCtlDateTime& r, int32_t ms) {
  int hour, minute, second, milliseconds;
  HCtlSplitMs(ms, &hour, &minute, &second, &milliseconds);
  r.hour = static_cast<uint8_t>(hour);
  r.minute = static_cast<uint8_t>(minute);
  r.second = static_cast<uint8_t>(second);
  r.milliseconds = static_cast<uint16_t>(milliseconds);
}

int32_t msOfDay(const HCtlDateTime& r) { return HCtlMsOfDay(r.hour, r.minute, r.second, r.milliseconds); }

bool fromDays(HCtlDateTime& r, int64_t julianDay, int32_t ms) {
  if (ms < 0 || ms >= kMsPerDay) return false;
  HCtlCalendarDate(static_cast<int32_t>(julianDay), &r);
  setTime(r, ms);
  return true;
}

// 'u': days since 30 December 1899; the fraction is the time of day, also
// for days before it (OLE dates: -1.25 is 29 December 1899, 06:00).
bool fromOleDays(HCtlDateTime& r, double value) {
  if (!std::isfinite(value) || std::fabs(value) > kMaxDays) return false;
  double days = std::trunc(value);
  auto ms = static_cast<int64_t>(std::fabs(value - days) * kMsPerDay + 0.5);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += 1;
  }
  return fromDays(r, static_cast<int64_t>(days) + kDayZeroU, static_cast<int32_t>(ms));
}

double toOleDays(const HCtlDateTime& r) {
  const double days = HCtlJulianDay(r.year, r.month, r.day) - kDayZeroU;
  const double fraction = msOfDay(r) / static_cast<double>(kMsPerDay);
  return days < 0 ? days - fraction : days + fraction;
}

bool fromTm(HCtlDateTime& r, const MsTm& t) {
  const int64_t year = int64_t{t.tm_year} + 1900;
  if (year < INT16_MIN || year > INT16_MAX || t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1 || t.tm_mday > 31 ||
      t.tm_hour < 0 || t.tm_hour > 23 || t.tm_min < 0 || t.tm_min > 59 || t.tm_sec < 0 || t.tm_sec > 61)
    return false;
  r.year = static_cast<int16_t>(year);
  r.month = static_cast<uint8_t>(t.tm_mon + 1);
  r.day = static_cast<uint8_t>(t.tm_mday);
  r.hour = static_cast<uint8_t>(t.tm_hour);
  r.minute = static_cast<uint8_t>(t.tm_min);
  r.second = static_cast<uint8_t>(t.tm_sec % 60);
  return true;
}

MsTm toMsTm(const std::tm& t) {
  return MsTm{t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday, t.tm_yday, t.tm_isdst};
}

// The time value to local broken-down time, within the run-time's range.
bool localTime(int64_t timeValue, MsTm& out) {
  if (timeValue < 0 || timeValue > kMaxTimeValue) return false;
  const auto value = static_cast<std::time_t>(timeValue);
  std::tm t{};
  if (!localtime_r(&value, &t)) return false;
  out = toMsTm(t);
  return true;
}

// Normalises the record as local time to a time value and the broken-down
// time. Years up to 1900 are refused, not converted with a year left over
// from an earlier call.
bool makeTime(const HCtlDateTime& r, int64_t& timeValue, MsTm& normalised) {
  if (r.year <= 1900 || !validDate(r) || !validTime(r)) return false;
  std::tm t{};
  t.tm_year = r.year - 1900;
  t.tm_mon = r.month - 1;
  t.tm_mday = r.day;
  t.tm_hour = r.hour;
  t.tm_min = r.minute;
  t.tm_sec = r.second;
  t.tm_isdst = -1;
  const std::time_t value = std::mktime(&t);
  if (value == static_cast<std::time_t>(-1) || value < 0 || value > kMaxTimeValue) return false;
  timeValue = value;
  normalised = toMsTm(t);
  return true;
}

}  // namespace

int32_t HCtlJulianDay(int year, int month, int day) {
  if (year == 0) year = 1992;
  if (year < 0) ++year;  // there is no year 0
  double y, m;
  if (month <= 2) {
    y = year - 1;
    m = month + 13;
  } else {
    y = year;
    m = month + 1;
  }
  auto julian = static_cast<int32_t>(std::floor(365.25 * y) + std::floor(30.6001 * m) + day + 1720995);
  // The Gregorian reform: 15 October 1582 and later.
  if ((static_cast<int64_t>(year) * 12 + month) * 31 + day >= 588829) {
    const auto a = static_cast<int32_t>(0.01 * y);
    julian += 2 - a + static_cast<int32_t>(0.25 * a);
  }
  return julian;
}

void HCtlCalendarDate(int32_t julianDay, HCtlDateTime* record) {
  if (!record) return;
  int64_t a = julianDay;
  if (julianDay >= 2299161) {
    const auto alpha = static_cast<int64_t>(((julianDay - 1867216) - 0.25) / 36524.25);
    a = julianDay + 1 + alpha - static_cast<int64_t>(0.25 * alpha);
  }
  const int64_t b = a + 1524;
  const auto c = static_cast<int64_t>(6680.0 + ((b - 2439870) - 122.1) / 365.25);
  const int64_t d = 365 * c + static_cast<int64_t>(0.25 * c);
  const auto e = static_cast<int64_t>((b - d) / 30.6001);
  const int64_t day = b - d - static_cast<int64_t>(30.6001 * e);
  const int64_t month = e > 13 ? e - 13 : e - 1;
  int64_t year = month > 2 ? c - 4716 : c - 4715;
  if (year <= 0) --year;
  record->year = static_cast<int16_t>(year);
  record->month = static_cast<uint8_t>(month);
  record->day = static_cast<uint8_t>(day);
}

int32_t HCtlMsOfDay(int hour, int minute, int second, int milliseconds) {
  return ((hour * 60 + minute) * 60 + second) * 1000 + milliseconds;
}

void HCtlSplitMs(int32_t ms, int* hour, int* minute, int* second, int* milliseconds) {
  if (hour) *hour = ms / 3600000;
  if (minute) *minute = ms % 3600000 / 60000;
  if (second) *second = ms % 60000 / 1000;
  if (milliseconds) *milliseconds = ms % 1000;
}

int HCtlRecordFromStorage(HCtlDateTime* record, const void* value, char storage) {
  if (!record || !value) return 0;
  HCtlDateTime r{};
  switch (storage) {
    case 'A': {
      const uint16_t w = load<uint16_t>(value);
      r.year = static_cast<int16_t>((w & 0x7F) + 1980);
      r.month = (w >> 7) & 0x0F;
      r.day = static_cast<uint8_t>(w >> 11);
      break;
    }
    case 'l': {
      const int32_t n = load<int32_t>(value);
      if (n / 10000 < INT16_MIN || n / 10000 > INT16_MAX) return 0;
      r.year = static_cast<int16_t>(n / 10000);
      r.month = static_cast<uint8_t>(n % 10000 / 100);
      r.day = static_cast<uint8_t>(n % 100);
      break;
    }
    case 'a':
      r.day = load<uint8_t>(value);
      r.month = load<uint8_t>(value, 1);
      r.year = load<int16_t>(value, 2);
      break;
    case 'd':
      r.year = load<int16_t>(value);
      r.month = static_cast<uint8_t>(load<uint16_t>(value, 2));
      r.day = static_cast<uint8_t>(load<uint16_t>(value, 4));
      break;
    case 'I': {
      const uint16_t w = load<uint16_t>(value);
      r.hour = w & 0x1F;
      r.minute = (w >> 5) & 0x3F;
      r.second = static_cast<uint8_t>((w >> 11) * 2);
      break;
    }
    case 'i':
      r.hour = load<uint8_t>(value);
      r.minute = load<uint8_t>(value, 1);
      r.second = load<uint8_t>(value, 2);
      r.milliseconds = static_cast<uint16_t>(load<uint8_t>(value, 3) * 10);
      break;
    case 't':
      r.hour = static_cast<uint8_t>(load<uint16_t>(value));
      r.minute = static_cast<uint8_t>(load<uint16_t>(value, 2));
      r.second = static_cast<uint8_t>(load<uint16_t>(value, 4));
      break;
    case 'D':
      r = load<HCtlDateTime>(value);
      break;
    case 'Q': {
      const int32_t day = load<int32_t>(value);
      if (std::abs(static_cast<double>(day)) > kMaxDays) return 0;
      if (!fromDays(r, int64_t{day} + kDayZeroQ, load<int32_t>(value, 4))) return 0;
      break;
    }
    case 'q': {
      const uint16_t minutes = load<uint16_t>(value, 2);
      if (minutes >= 24 * 60) return 0;
      if (!fromDays(r, int64_t{load<uint16_t>(value)} + kDayZeroQ, minutes * 60000)) return 0;
      break;
    }
    case 'u':
      if (!fromOleDays(r, load<double>(value))) return 0;
      break;
    case 'T': {
      MsTm t;
      if (!localTime(load<int64_t>(value), t) || !fromTm(r, t)) return 0;
      break;
    }
    case 'm':
      if (!fromTm(r, load<MsTm>(value))) return 0;
      break;
    case 's':
      r.year = load<int16_t>(value);
      r.month = static_cast<uint8_t>(load<uint16_t>(value, 2));
      r.day = static_cast<uint8_t>(load<uint16_t>(value, 4));
      r.hour = static_cast<uint8_t>(load<uint16_t>(value, 6));
      r.minute = static_cast<uint8_t>(load<uint16_t>(value, 8));
      r.second = static_cast<uint8_t>(load<uint16_t>(value, 10));
      r.milliseconds = static_cast<uint16_t>(load<uint32_t>(value, 12));
      break;
    default:
      return 0;
  }
  *record = r;
  return 1;
}

int HCtlRecordToStorage(const HCtlDateTime* record, void* value, char storage) {
  if (!record || !value) return 0;
  const HCtlDateTime& r = *record;
  // Forms that hold only a time check the time; the others the date as
  // well, where an empty date (all 0) passes only for forms that keep the
  // fields as they are.
  const bool timeOnly = storage == 'I' || storage == 'i' || storage == 't';
  const bool keepsFields = storage == 'l' || storage == 'a' || storage == 'd' || storage == 'D' || storage == 's';
  if (!validTime(r)) return 0;
  if (!timeOnly && !validDate(r) && !(keepsFields && emptyDate(r))) return 0;
  switch (storage) {
    case 'A':
      if (r.year < 1980 || r.year > 1980 + 127) return 0;
      store<uint16_t>(value, 0, static_cast<uint16_t>((r.year - 1980) | (r.month << 7) | (r.day << 11)));
      return 1;
    case 'l': store<int32_t>(value, 0, (r.year * 100 + r.month) * 100 + r.day); return 1;
    case 'a':
      store<uint8_t>(value, 0, r.day);
      store<uint8_t>(value, 1, r.month);
      store<int16_t>(value, 2, r.year);
      return 1;
    case 'd':
      store<int16_t>(value, 0, r.year);
      store<uint16_t>(value, 2, r.month);
      store<uint16_t>(value, 4, r.day);
      return 1;
    case 'I':
      store<uint16_t>(value, 0, static_cast<uint16_t>(r.hour | (r.minute << 5) | ((r.second / 2) << 11)));
      return 1;
    case 'i':
      store<uint8_t>(value, 0, r.hour);
      store<uint8_t>(value, 1, r.minute);
      store<uint8_t>(value, 2, r.second);
      store<uint8_t>(value, 3, static_cast<uint8_t>(r.milliseconds / 10));
      return 1;
    case 't':
      store<uint16_t>(value, 0, r.hour);
      store<uint16_t>(value, 2, r.minute);
      store<uint16_t>(value, 4, r.second);
      return 1;
    case 'D': store(value, 0, r); return 1;
    case 'Q':
      // The milliseconds are kept: a value read back is the value stored.
      store<int32_t>(value, 0, HCtlJulianDay(r.year, r.month, r.day) - kDayZeroQ);
      store<int32_t>(value, 4, msOfDay(r));
      return 1;
    case 'q': {
      const int32_t day = HCtlJulianDay(r.year, r.month, r.day) - kDayZeroQ;
      if (day < 0 || day > 0xFFFF) return 0;  // the form holds 1900 to 2079
      store<uint16_t>(value, 0, static_cast<uint16_t>(day));
      store<uint16_t>(value, 2, static_cast<uint16_t>(r.hour * 60 + r.minute));
      return 1;
    }
    case 'u': store<double>(value, 0, toOleDays(r)); return 1;
    case 'T': case 'm': {
      int64_t timeValue = 0;
      MsTm normalised{};
      if (!makeTime(r, timeValue, normalised)) return 0;
      if (storage == 'T') store<int64_t>(value, 0, timeValue);
      else store(value, 0, normalised);
      return 1;
    }
    case 's':
      store<int16_t>(value, 0, r.year);
      store<uint16_t>(value, 2, r.month);
      store<uint16_t>(value, 4, r.day);
      store<uint16_t>(value, 6, r.hour);
      store<uint16_t>(value, 8, r.minute);
      store<uint16_t>(value, 10, r.second);
      store<uint32_t>(value, 12, r.milliseconds);
      return 1;
    default:
      return 0;
  }
}

int HCtlValidDate(HCtlDateTime* record, int yearGiven, int monthGiven, int dayGiven) {
  if (!record) return 0;
  if (!yearGiven) record->year = static_cast<int16_t>(HCtlCurrentYear());
  if (!monthGiven) record->month = 1;
  if (!dayGiven) record->day = 1;
  return validDate(*record);
}

int HCtlValidTime(const HCtlDateTime* record) { return record && validTime(*record); }

int HCtlCurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return t.tm_year + 1900;
}

// --- the effective picture --------------------------------------------------

namespace {

bool isDateLetter(char c) { return c == 'd' || c == 'm' || c == 'y'; }
bool isTimeLetter(char c) { return c == 'h' || c == 'm' || c == 's'; }

// The default date picture with the unselected components (and one '/'
// beside each) left out, "yy" for "yyyy" unless four digits are wanted.
std::string reducedDatePicture(bool day, bool month, bool year, bool fourDigits) {
  const std::string picture = HCtlIntlSettings().datePicture;
  struct Item {
    std::string text;
    char component;  // 'd', 'm', 'y' or 0
  };
  std::vector<Item> items;
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    size_t j = i + 1;
    if (isDateLetter(c))
      while (j < picture.size() && picture[j] == c) ++j;
    items.push_back({picture.substr(i, j - i), isDateLetter(c) ? c : '\0'});
    i = j;
  }
  for (size_t i = 0; i < items.size();) {
    const char c = items[i].component;
    const bool keep = !c || (c == 'd' && day) || (c == 'm' && month) || (c == 'y' && year);
    if (keep) {
      if (c == 'y' && !fourDigits && items[i].text == "yyyy") items[i].text = "yy";
      ++i;
      continue;
    }
    items.erase(items.begin() + static_cast<long>(i));
    if (i < items.size() && items[i].text == "/") items.erase(items.begin() + static_cast<long>(i));
    else if (i > 0 && items[i - 1].text == "/") items.erase(items.begin() + static_cast<long>(--i));
  }
  std::string out;
  for (const Item& item : items) out += item.text;
  return out;
}

// The default time picture with only the selected components; a ':' stays
// between two kept components; the am/pm marker stays with any of them.
std::string reducedTimePicture(bool hour, bool minute, bool second) {
  const std::string picture = HCtlIntlSettings().timePicture;
  std::string out;
  bool kept = false;      // a component was kept
  bool pendingColon = false;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (isTimeLetter(c)) {
      const bool selected = (c == 'h' && hour) || (c == 'm' && minute) || (c == 's' && second);
      if (!selected) {
        pendingColon = false;
        continue;
      }
      if (pendingColon) out += ':';
      pendingColon = false;
      out += c;
      kept = true;
    } else if (c == ':') {
      pendingColon = kept && !out.empty() && isTimeLetter(out.back());
    } else if (kept) {
      out += c;  // the space and the 'a' and 'p' of the marker
    }
  }
  return kept ? out : std::string();
}

int writeOut(const std::string& text, char* out, int outSize) {
  if (!out || outSize < 1) return 0;
  const size_t count = std::min(text.size(), static_cast<size_t>(outSize - 1));
  std::memcpy(out, text.data(), count);
  out[count] = 0;
  return static_cast<int>(count);
}

}  // namespace

int HCtlBuildPicture(const char* picture, int datePart, int timePart, char* out, int outSize) {
  const HCtlIntl& intl = HCtlIntlSettings();
  std::string date, time;
  if (!picture || !*picture) {
    if (datePart) date = intl.datePicture;
    if (timePart) time = intl.timePicture;
  } else {
    std::string lower(picture);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (datePart) {
      const size_t firstHour = timePart ? lower.find('h') : std::string::npos;
      const size_t firstMonth = lower.find('m');
      const bool month = firstMonth != std::string::npos && (firstHour == std::string::npos || firstMonth < firstHour);
      const size_t firstYear = lower.find('y');
      const bool four = firstYear != std::string::npos && lower.compare(firstYear, 4, "yyyy") == 0 &&
                        std::strstr(intl.datePicture, "yyyy") != nullptr;
      date = reducedDatePicture(lower.find('d') != std::string::npos, month, firstYear != std::string::npos, four);
    }
    if (timePart) {
      const size_t colon = datePart ? lower.find(':') : 0;
      const bool minute = colon != std::string::npos && lower.find("mm", colon) != std::string::npos;
      time = reducedTimePicture(lower.find('h') != std::string::npos, minute, lower.find("ss") != std::string::npos);
    }
  }
  std::string effective = date;
  if (!date.empty() && !time.empty()) effective += ' ';
  effective += time;
  return writeOut(effective, out, outSize);
}
