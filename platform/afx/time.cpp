// CTime and CTimeSpan (see afxtime.h).
#include <afx.h>

#include <mscrt.h>

#include <array>
#include <string>

namespace {

// 3000-12-31 23:59:59 UTC, the last instant of the 64-bit time functions.
constexpr __time64_t maxTime = 32535215999LL;
// FILETIME counts 100-nanosecond steps from 1601-01-01 UTC.
constexpr int64_t fileTimeTicksPerSecond = 10000000;
constexpr int64_t fileTimeEpochOffset = 11644473600LL;  // seconds 1601 -> 1970

bool inRange(__time64_t t) { return t >= 0 && t <= maxTime; }

struct tm toTm(__time64_t t, bool local) {
  if (!inRange(t)) AfxThrowInvalidArgException();
  time_t value = static_cast<time_t>(t);
  struct tm result {};
  if (!(local ? localtime_r(&value, &result) : gmtime_r(&value, &result))) AfxThrowInvalidArgException();
  return result;
}

__time64_t fromLocalFields(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  if (nYear < 1900) AfxThrowInvalidArgException();
  struct tm fields {};
  fields.tm_year = nYear - 1900;
  fields.tm_mon = nMonth - 1;
  fields.tm_mday = nDay;
  fields.tm_hour = nHour;
  fields.tm_min = nMin;
  fields.tm_sec = nSec;
  fields.tm_isdst = nDST < 0 ? -1 : (nDST > 0 ? 1 : 0);
  time_t t = mktime(&fields);
  if (t == static_cast<time_t>(-1) || !inRange(t)) AfxThrowInvalidArgException();
  return t;
}

// --- strftime of the C run-time's "C" locale -----------------------------------

constexpr std::array<const char*, 7> dayNames = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> monthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                    "July",    "August",   "September", "October", "November", "December"};

class TimeFormatter {
 public:
  TimeFormatter(const struct tm& fields, const char* zoneName) : t_(fields), zone_(zoneName) {}

  CString run(LPCSTR format) {
    for (const char* p = format ? format : ""; *p; ++p) {
      if (*p != '%') {
        out_ += *p;
        continue;
      }
      bool alternate = p[1] == '#';
      if (alternate) ++p;
      if (p[1] == '\0') break;
      conversion(*++p, alternate);
    }
    return CString(out_.c_str(), static_cast<int>(out_.size()));
  }

 private:
  void number(int value, int width, bool alternate) {
    char text[16];
    _snprintf(text, sizeof text, alternate ? "%d" : "%0*d", alternate ? value : width, value);
    text[sizeof text - 1] = '\0';
    out_ += text;
  }
  int hour12() const { return t_.tm_hour % 12 == 0 ? 12 : t_.tm_hour % 12; }
  // Week of the year whose weeks start on firstDay (0 Sunday, 1 Monday);
  // days before the first such day are week 0.
  int week(int firstDay) const { return (t_.tm_yday + 7 - (t_.tm_wday - firstDay + 7) % 7) / 7; }
  void date(bool alternate) {
    if (alternate) {  // long date: "Tuesday, March 14, 1995"
      out_ += dayNames[t_.tm_wday];
      out_ += ", ";
      out_ += monthNames[t_.tm_mon];
      out_ += ' ';
      number(t_.tm_mday, 2, true);
      out_ += ", ";
      number(t_.tm_year + 1900, 4, true);
      return;
    }
    number(t_.tm_mon + 1, 2, false);
    out_ += '/';
    number(t_.tm_mday, 2, false);
    out_ += '/';
    number(t_.tm_year % 100, 2, false);
  }
  void time() {
    number(t_.tm_hour, 2, false);
    out_ += ':';
    number(t_.tm_min, 2, false);
    out_ += ':';
    number(t_.tm_sec, 2, false);
  }

  void conversion(char code, bool alternate) {
    switch (code) {
      case 'a': out_.append(dayNames[t_.tm_wday], 3); break;
      case 'A': out_ += dayNames[t_.tm_wday]; break;
      case 'b': out_.append(monthNames[t_.tm_mon], 3); break;
      case 'B': out_ += monthNames[t_.tm_mon]; break;
      case 'c': date(alternate); out_ += ' '; time(); break;
      case 'd': number(t_.tm_mday, 2, alternate); break;
      case 'H': number(t_.tm_hour, 2, alternate); break;
      case 'I': number(hour12(), 2, alternate); break;
      case 'j': number(t_.tm_yday + 1, 3, alternate); break;
      case 'm': number(t_.tm_mon + 1, 2, alternate); break;
      case 'M': number(t_.tm_min, 2, alternate); break;
      case 'p': out_ += t_.tm_hour < 12 ? "AM" : "PM"; break;
      case 'S': number(t_.tm_sec, 2, alternate); break;
      case 'U': number(week(0), 2, alternate); break;
      case 'w': number(t_.tm_wday, 1, alternate); break;
      case 'W': number(week(1), 2, alternate); break;
      case 'x': date(alternate); break;
      case 'X': time(); break;
      case 'y': number(t_.tm_year % 100, 2, alternate); break;
      case 'Y': number(t_.tm_year + 1900, 4, alternate); break;
      case 'z':
      case 'Z': out_ += zone_ ? zone_ : ""; break;
      case '%': out_ += '%'; break;
      default: break;  // not a conversion of the run-time: no output
    }
  }

  struct tm t_;
  const char* zone_;
  std::string out_;
};

CString formatTime(__time64_t t, LPCSTR format, bool local) {
  struct tm fields = toTm(t, local);
  tzset();
  // The run-time names the local zone for %Z also in GMT formatting.
  const char* zone = local ? fields.tm_zone : tzname[0];
  return TimeFormatter(fields, zone).run(format);
}

}  // namespace

// --- CTimeSpan -------------------------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(nSecs + 60 * (static_cast<__time64_t>(nMins) + 60 * (nHours + 24 * static_cast<__time64_t>(lDays)))) {}

CString CTimeSpan::Format(LPCSTR pFormat) const {
  CString result;
  for (const char* p = pFormat ? pFormat : ""; *p; ++p) {
    if (*p != '%') {
      result += *p;
      continue;
    }
    switch (*++p) {
      case 'D': result += std::to_string(GetDays()).c_str(); break;
      case 'H': result.AppendFormat("%02d", static_cast<int>(GetHours())); break;
      case 'M': result.AppendFormat("%02d", static_cast<int>(GetMinutes())); break;
      case 'S': result.AppendFormat("%02d", static_cast<int>(GetSeconds())); break;
      case '%': result += '%'; break;
      case '\0': return result;
      default: break;
    }
  }
  return result;
}

CString CTimeSpan::Format(UINT nFormatID) const {
  CString format;
  if (!format.LoadString(nFormatID)) return CString();
  return Format(format);
}

// --- CTime -----------------------------------------------------------------------

CTime CTime::GetCurrentTime() { return CTime(static_cast<__time64_t>(::time(nullptr))); }

BOOL CTime::IsValidFILETIME(const FILETIME& fileTime) {
  int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime);
  return ticks >= 0 && inRange(ticks / fileTimeTicksPerSecond - fileTimeEpochOffset);
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(fromLocalFields(nYear, nMonth, nDay, nHour, nMin, nSec, nDST)) {}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : m_time(fromLocalFields((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F, wDosTime >> 11,
                             (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST)) {}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST) {
  if (sysTime.wYear >= 1900)
    m_time = fromLocalFields(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute,
                             sysTime.wSecond, nDST);
}

CTime::CTime(const FILETIME& fileTime, int nDST) {
  if (!IsValidFILETIME(fileTime)) AfxThrowInvalidArgException();
  uint64_t ticks = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  m_time = static_cast<__time64_t>(ticks / fileTimeTicksPerSecond) - fileTimeEpochOffset;
}

struct tm CTime::localTm() const { return toTm(m_time, true); }

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
  if (!ptm) return nullptr;
  *ptm = toTm(m_time, false);
  return ptm;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  if (!ptm) return nullptr;
  *ptm = toTm(m_time, true);
  return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const {
  if (!inRange(m_time)) return FALSE;
  struct tm t = localTm();
  timeDest.wYear = static_cast<WORD>(t.tm_year + 1900);
  timeDest.wMonth = static_cast<WORD>(t.tm_mon + 1);
  timeDest.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  timeDest.wDay = static_cast<WORD>(t.tm_mday);
  timeDest.wHour = static_cast<WORD>(t.tm_hour);
  timeDest.wMinute = static_cast<WORD>(t.tm_min);
  timeDest.wSecond = static_cast<WORD>(t.tm_sec);
  timeDest.wMilliseconds = 0;
  return TRUE;
}

CString CTime::Format(LPCSTR pszFormat) const { return formatTime(m_time, pszFormat, true); }
CString CTime::FormatGmt(LPCSTR pszFormat) const { return formatTime(m_time, pszFormat, false); }

CString CTime::Format(UINT nFormatID) const {
  CString format;
  if (!format.LoadString(nFormatID)) return CString();
  return Format(format);
}

CString CTime::FormatGmt(UINT nFormatID) const {
  CString format;
  if (!format.LoadString(nFormatID)) return CString();
  return FormatGmt(format);
}
