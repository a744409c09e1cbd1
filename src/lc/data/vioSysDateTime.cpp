// vioSysDate and vioSysTime: parts of local time through mktime.
#include "vioSysDateTime.h"

namespace {
constexpr int64_t kEarliest = 18000;  // five hours: local time exists in every zone
}

vioSysClock::vioSysClock() : m_Time(static_cast<int64_t>(std::time(nullptr))) {}

bool vioSysClock::localParts(std::tm* pParts) const {
  const std::time_t time = static_cast<std::time_t>(m_Time < kEarliest ? kEarliest : m_Time);
  return localtime_r(&time, pParts) != nullptr;
}

int vioSysClock::store(std::tm& parts) {
  parts.tm_isdst = -1;  // the zone's rule for the new date decides
  const std::time_t time = std::mktime(&parts);
  if (time == static_cast<std::time_t>(-1)) return -1;
  m_Time = static_cast<int64_t>(time);
  return 0;
}

int vioSysClock::part(int std::tm::*member) const {
  std::tm parts{};
  return localParts(&parts) ? parts.*member : 0;
}

int vioSysDate::SetSysDate(signed char cMonth, signed char cDay, int iYear) {
  return change([&](std::tm& t) {
    t.tm_mon = cMonth - 1;
    t.tm_mday = cDay;
    t.tm_year = iYear;
  });
}
int vioSysDate::SetSysMonth(signed char cMonth) { return change([&](std::tm& t) { t.tm_mon = cMonth - 1; }); }
int vioSysDate::SetSysDay(signed char cDay) { return change([&](std::tm& t) { t.tm_mday = cDay; }); }
int vioSysDate::SetSysYear(signed char cYear) { return change([&](std::tm& t) { t.tm_year = cYear; }); }

int vioSysTime::SetSysTime(int iHour, int iMinute, int iSecond) {
  return change([&](std::tm& t) {
    t.tm_hour = iHour;
    t.tm_min = iMinute;
    t.tm_sec = iSecond;
  });
}
int vioSysTime::SetSysHour(int iHour) { return change([&](std::tm& t) { t.tm_hour = iHour; }); }
int vioSysTime::SetSysMinute(int iMinute) { return change([&](std::tm& t) { t.tm_min = iMinute; }); }
int vioSysTime::SetSysSecond(int iSecond) { return change([&](std::tm& t) { t.tm_sec = iSecond; }); }
