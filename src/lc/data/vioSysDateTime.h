// vioSysDate and vioSysTime: a calendar time (64-bit seconds since the
// epoch), the current time when made, whose date or time parts generated
// code reads and sets in local time. Setting a part normalises the whole
// (month 13 is January of the next year); a time below 18000 seconds is
// first raised to 18000, so that local time exists in every zone. Years are
// counted from 1900 on both sides; months are 1 to 12.
#pragma once

#include <cstdint>
#include <ctime>

class vioSysClock {
 public:
  int64_t GetTime() const { return m_Time; }

 protected:
  vioSysClock();
  // Changes parts of the local time and normalises; -1 (value unchanged)
  // when the result is no time, else 0.
  template <class Change>
  int change(Change&& changeParts) {
    std::tm parts{};
    if (!localParts(&parts)) return -1;
    changeParts(parts);
    return store(parts);
  }
  bool localParts(std::tm* pParts) const;
  int store(std::tm& parts);
  int part(int std::tm::*member) const;

  int64_t m_Time;
};

class vioSysDate : public vioSysClock {
 public:
  // Month 1-12, day, years since 1900.
  int SetSysDate(signed char cMonth, signed char cDay, int iYear);
  int SetSysMonth(signed char cMonth);
  int SetSysDay(signed char cDay);
  int SetSysYear(signed char cYear);
  int GetSysMonth() const { return part(&std::tm::tm_mon) + 1; }
  int GetSysDay() const { return part(&std::tm::tm_mday); }
  int GetSysYear() const { return part(&std::tm::tm_year); }
};

class vioSysTime : public vioSysClock {
 public:
  int SetSysTime(int iHour, int iMinute, int iSecond);
  int SetSysHour(int iHour);
  int SetSysMinute(int iMinute);
  int SetSysSecond(int iSecond);
  int GetSysHour() const { return part(&std::tm::tm_hour); }
  int GetSysMinute() const { return part(&std::tm::tm_min); }
  int GetSysSecond() const { return part(&std::tm::tm_sec); }
};
