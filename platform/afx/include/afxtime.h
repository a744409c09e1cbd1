// CTime and CTimeSpan: an instant as seconds since 1970-01-01 00:00:00 UTC
// (64-bit), and a signed interval in seconds.
//
// Instants are valid from 1970-01-01 00:00:00 UTC to 3000-12-31 23:59:59
// UTC, the range of the C run-time's 64-bit time functions. Building a
// CTime outside it, or from a year before 1900, and asking the fields or
// text of an out-of-range value, throw CInvalidArgException*. Local time
// follows the host's zone (TZ), as the C run-time follows its TZ setting.
#pragma once

#include "afxstr.h"

#include <cstdint>
#include <ctime>

typedef int64_t __time64_t;

class CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(__time64_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  LONGLONG GetDays() const { return m_timeSpan / (24 * 3600); }
  LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
  LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
  LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
  LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
  LONGLONG GetTotalSeconds() const { return m_timeSpan; }
  LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }
  __time64_t GetTimeSpan() const { return m_timeSpan; }

  CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
  CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
  CTimeSpan& operator+=(CTimeSpan span) {
    m_timeSpan += span.m_timeSpan;
    return *this;
  }
  CTimeSpan& operator-=(CTimeSpan span) {
    m_timeSpan -= span.m_timeSpan;
    return *this;
  }
  bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
  bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
  bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
  bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
  bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
  bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

  // %D days, %H hours (00-23), %M minutes, %S seconds, %% a percent sign;
  // other conversions produce nothing.
  CString Format(LPCSTR pFormat) const;
  CString Format(UINT nFormatID) const;

 private:
  __time64_t m_timeSpan = 0;
};

class CTime {
 public:
  static CTime GetCurrentTime();
  static BOOL IsValidFILETIME(const FILETIME& fileTime);

  CTime() = default;
  CTime(__time64_t time) : m_time(time) {}
  // Local time; nDST -1 lets the zone's rules decide whether daylight
  // saving applies, 0 and 1 force standard or daylight time. Fields out of
  // their ranges carry over (the 32nd of January is the 1st of February).
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
  // A year before 1900 gives the time 0, as the framework does.
  CTime(const SYSTEMTIME& sysTime, int nDST = -1);
  // The instant the FILETIME (UTC) names; nDST is not needed for it.
  CTime(const FILETIME& fileTime, int nDST = -1);

  struct tm* GetGmtTm(struct tm* ptm) const;
  struct tm* GetLocalTm(struct tm* ptm) const;
  BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;
  __time64_t GetTime() const { return m_time; }

  int GetYear() const { return localTm().tm_year + 1900; }
  int GetMonth() const { return localTm().tm_mon + 1; }
  int GetDay() const { return localTm().tm_mday; }
  int GetHour() const { return localTm().tm_hour; }
  int GetMinute() const { return localTm().tm_min; }
  int GetSecond() const { return localTm().tm_sec; }
  int GetDayOfWeek() const { return localTm().tm_wday + 1; }  // 1 = Sunday

  // strftime conversions of the C run-time in its "C" locale, with the '#'
  // flag (%#d no leading zero, %#c and %#x long date forms).
  CString Format(LPCSTR pszFormat) const;
  CString FormatGmt(LPCSTR pszFormat) const;
  CString Format(UINT nFormatID) const;
  CString FormatGmt(UINT nFormatID) const;

  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
  CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
  CTime& operator+=(CTimeSpan span) {
    m_time += span.GetTimeSpan();
    return *this;
  }
  CTime& operator-=(CTimeSpan span) {
    m_time -= span.GetTimeSpan();
    return *this;
  }
  bool operator==(CTime time) const { return m_time == time.m_time; }
  bool operator!=(CTime time) const { return m_time != time.m_time; }
  bool operator<(CTime time) const { return m_time < time.m_time; }
  bool operator>(CTime time) const { return m_time > time.m_time; }
  bool operator<=(CTime time) const { return m_time <= time.m_time; }
  bool operator>=(CTime time) const { return m_time >= time.m_time; }

 private:
  struct tm localTm() const;

  __time64_t m_time = 0;
};
