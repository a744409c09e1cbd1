// Test helper: the "intl" section of the test program's own WIN.INI,
// written for one scope and read with GetIntlSettings; the section is
// removed (and the defaults read back) when the scope ends.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>
#include <utility>

#include "intlsettings.h"

class IntlProfile {
 public:
  using Entries = std::initializer_list<std::pair<const char*, const char*>>;

  explicit IntlProfile(Entries entries = {}) {
    // ctest gives each program a WIN.INI of its own; run by hand, the
    // program must not write the user's.
    if (!std::getenv("KY_WIN_INI")) {
      static const std::string path = std::string("/tmp/nwi_test_") + std::to_string(::getpid()) + ".WIN.INI";
      ::setenv("KY_WIN_INI", path.c_str(), 1);
    }
    WriteProfileStringA("intl", nullptr, nullptr);
    for (const auto& [key, value] : entries) WriteProfileStringA("intl", key, value);
    GetIntlSettings();
  }
  ~IntlProfile() {
    WriteProfileStringA("intl", nullptr, nullptr);
    GetIntlSettings();
  }
  IntlProfile(const IntlProfile&) = delete;
  IntlProfile& operator=(const IntlProfile&) = delete;
};

// The local time zone for the tests of the 'T' and 'm' forms.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~TimeZone() {
    if (hadOld_) ::setenv("TZ", saved_.c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::string saved_;
  bool hadOld_ = false;
};
