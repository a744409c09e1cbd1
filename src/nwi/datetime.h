// Dates, times and date-times: their storage forms, the one date-time
// record they all convert through, Julian day numbers, and the date/time
// pictures (DateTimeToString, parsing, validation, key handling).
//
// Storage forms (sizes in bytes, little-endian, the layouts peers store):
//   type 'd': 'A' 2 packed (bits 0-6 year-1980, 7-10 month, 11-15 day)
//             'l' 4 int32 yyyymmdd
//             'a' 6 day u8, month u8, year int16, 2 bytes not used
//             'd' 6 year int16, month u16, day u16
//   type 't': 'I' 2 packed (bits 0-4 hour, 5-10 minute, 11-15 second/2)
//             'i' 4 hour, minute, second, hundredths (u8 each)
//             't' 6 hour, minute, second (u16 each)
//   type 'a': 'D' 10 the record itself
//             'Q' 8 day number int32 (0 = 1 Jan 1900) and ms of the day int32
//             'q' 4 day number u16 (same day 0) and minutes of the day u16
//             'u' 8 double days since 30 Dec 1899, time as the fraction
//             'T' 8 int64 calendar time (seconds since 1970 UTC), local time
//             'm' 36 Microsoft's struct tm (MsTm below)
//             's' 16 year int16, month/day/hour/minute/second u16, fraction
//                  u32 holding milliseconds
//   type 'k': 'T' only.
#pragma once
#include <windows.h>

#include <cstdint>

// The date-time record: 10 bytes. A missing part is 0.
struct HCtlDateTime {
  int16_t year;
  uint8_t month;  // 1-12
  uint8_t day;
  uint8_t hour;
  uint8_t minute;
  uint8_t second;
  uint8_t filler;
  uint16_t milliseconds;
};
static_assert(sizeof(HCtlDateTime) == 10, "the record is a 10-byte layout that values are stored in");

// The C run-time's broken-down time as Microsoft lays it out: nine 32-bit
// fields, 36 bytes. Declared here, not taken from <ctime>: glibc's struct tm
// has two more fields (56 bytes) and would misread every stored 'm' value.
struct MsTm {
  int32_t tm_sec;
  int32_t tm_min;
  int32_t tm_hour;
  int32_t tm_mday;
  int32_t tm_mon;   // 0-11
  int32_t tm_year;  // years since 1900
  int32_t tm_wday;
  int32_t tm_yday;
  int32_t tm_isdst;
};
static_assert(sizeof(MsTm) == 36, "storage 'm' is Microsoft's 36-byte struct tm");

// Julian day number of a calendar date (Gregorian from 15 October 1582,
// Julian before; a year of 0 counts as 1992, negative years have no 0).
int32_t HCtlJulianDay(int year, int month, int day);
// Year, month and day of a Julian day into the record (time untouched).
void HCtlCalendarDate(int32_t julianDay, HCtlDateTime* record);
// Milliseconds of the day, and back (each output optional).
int32_t HCtlMsOfDay(int hour, int minute, int second, int milliseconds);
void HCtlSplitMs(int32_t ms, int* hour, int* minute, int* second, int* milliseconds);

// Storage form to record: 1, or 0 for an invalid storage, a corrupt value
// (fields out of range) or a time the C run-time cannot convert.
int HCtlRecordFromStorage(HCtlDateTime* record, const void* value, char storage);
// Record to storage form: 1, or 0 when the record does not fit the form
// ('A' outside 1980-2107, 'q' outside its 65536 days, 'T'/'m' outside the
// C run-time's 1970-3000) or holds an impossible date or time. The value is
// untouched on failure.
int HCtlRecordToStorage(const HCtlDateTime* record, void* value, char storage);

// The picture in force: the default date and/or time picture reduced to
// the components that `picture` names (or the defaults whole when it is
// empty). Writes at most outSize - 1 characters; returns the length.
int HCtlBuildPicture(const char* picture, int datePart, int timePart, char* out, int outSize);

// Text into the record by the effective picture (select set, the form an
// edit shows) or by the picture as given (select 0, the display form; an
// empty picture is always the effective one). 1 when the text holds a
// valid date and time (missing year: this year; missing month or day: 1),
// 0 for month 13, 31 February, hour 24 and the like.
int HCtlParseDateTime(HCtlDateTime* record, const char* text, const char* picture, int datePart, int timePart,
                      int select = 1);
// 1 when the record's date is valid; missing parts are filled in first.
int HCtlValidDate(HCtlDateTime* record, int yearGiven, int monthGiven, int dayGiven);
// 1 when hour, minute, second and milliseconds are in range.
int HCtlValidTime(const HCtlDateTime* record);
int HCtlCurrentYear();

// One typed key in a date/time text of textSize bytes. 0 accepted (text
// updated, *newCaret and *count = positions advanced), non-zero refused.
int HCtlDateKey(char* text, int textSize, const char* picture, int datePart, int timePart, int caret, char key,
                int* newCaret, int* count);

extern "C" {
// Writes the record by the picture (select: the picture only chooses which
// components of the default pictures are shown). Returns the length.
int WINAPI DateTimeToString(const HCtlDateTime* record, const char* picture, char* out, int outSize, int select,
                            int datePart, int timePart);
}
