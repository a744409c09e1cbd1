// OCI.DLL: value conversions. Dates are stored in the database as
// "YYYY-MM-DD HH:MM:SS" texts (a time without a date takes Oracle's
// 4712-01-01); numbers as SQLite integers or reals; texts as they come.
#include "ocivalues.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace oci {
namespace {

constexpr ub1 kZeroExponent = 0x80;
constexpr ub1 kNegativeEnd = 102;
constexpr int kMaxDigitPairs = 20;

sword unsupported(OCIError* error, ub2 type) {
  return fail(error, 3115, "unsupported network datatype or representation (" + std::to_string(type) + ")");
}

// Date parts of a stored text: "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS[.f]" or
// "HH:MM:SS".
bool parseDate(const char* text, OCIDate* date) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!text) return false;
  if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
  } else if (std::sscanf(text, "%d:%d:%d", &h, &mi, &s) == 3) {
    y = 4712, mo = 1, d = 1;
  } else {
    return false;
  }
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) return false;
  date->OCIDateYYYY = static_cast<sb2>(y);
  date->OCIDateMM = static_cast<ub1>(mo);
  date->OCIDateDD = static_cast<ub1>(d);
  date->OCIDateTime.OCITimeHH = static_cast<ub1>(h);
  date->OCIDateTime.OCITimeMI = static_cast<ub1>(mi);
  date->OCIDateTime.OCITimeSS = static_cast<ub1>(s);
  return true;
}

std::string dateText(const OCIDate& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.OCIDateYYYY, date.OCIDateMM, date.OCIDateDD,
                date.OCIDateTime.OCITimeHH, date.OCIDateTime.OCITimeMI, date.OCIDateTime.OCITimeSS);
  return text;
}

// The 7-byte Oracle date: century and year of century each + 100, month,
// day, then hour, minute and second each + 1.
OCIDate fromOracleDate(const ub1* bytes) {
  OCIDate date{};
  date.OCIDateYYYY = static_cast<sb2>((bytes[0] - 100) * 100 + (bytes[1] - 100));
  date.OCIDateMM = bytes[2];
  date.OCIDateDD = bytes[3];
  date.OCIDateTime.OCITimeHH = static_cast<ub1>(bytes[4] - 1);
  date.OCIDateTime.OCITimeMI = static_cast<ub1>(bytes[5] - 1);
  date.OCIDateTime.OCITimeSS = static_cast<ub1>(bytes[6] - 1);
  return date;
}

void toOracleDate(const OCIDate& date, ub1* bytes) {
  bytes[0] = static_cast<ub1>(date.OCIDateYYYY / 100 + 100);
  bytes[1] = static_cast<ub1>(date.OCIDateYYYY % 100 + 100);
  bytes[2] = date.OCIDateMM;
  bytes[3] = date.OCIDateDD;
  bytes[4] = static_cast<ub1>(date.OCIDateTime.OCITimeHH + 1);
  bytes[5] = static_cast<ub1>(date.OCIDateTime.OCITimeMI + 1);
  bytes[6] = static_cast<ub1>(date.OCIDateTime.OCITimeSS + 1);
}

// A decimal number text bound as an integer when it is one, else a real.
int bindNumberText(sqlite3_stmt* statement, int index, const std::string& text) {
  if (text.find('.') == std::string::npos) {
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno == 0 && end && *end == '\0') return sqlite3_bind_int64(statement, index, value);
  }
  return sqlite3_bind_double(statement, index, std::strtod(text.c_str(), nullptr));
}

template <class T>
sword storeInteger(sqlite3_int64 value, void* target, OCIError* error) {
  if (value < static_cast<sqlite3_int64>(std::numeric_limits<T>::min()) ||
      (value > 0 && static_cast<unsigned long long>(value) > static_cast<unsigned long long>(std::numeric_limits<T>::max())))
    return fail(error, 1455, "converting column overflows integer datatype");
  const T narrowed = static_cast<T>(value);
  std::memcpy(target, &narrowed, sizeof narrowed);
  return OCI_SUCCESS;
}

sword defineInteger(sqlite3_int64 value, const Slot& slot, bool isSigned, OCIError* error) {
  switch (slot.size) {
    case 1: return isSigned ? storeInteger<sb1>(value, slot.value, error) : storeInteger<ub1>(value, slot.value, error);
    case 2: return isSigned ? storeInteger<sb2>(value, slot.value, error) : storeInteger<ub2>(value, slot.value, error);
    case 4: return isSigned ? storeInteger<sb4>(value, slot.value, error) : storeInteger<ub4>(value, slot.value, error);
    case 8: return isSigned || value >= 0 ? storeInteger<sqlite3_int64>(value, slot.value, error)
                                          : fail(error, 1455, "converting column overflows integer datatype");
    default: return unsupported(error, slot.type);
  }
}

bool integerOf(const void* value, sb4 size, bool isSigned, sqlite3_int64* out) {
  switch (size) {
    case 1: *out = isSigned ? *static_cast<const sb1*>(value) : *static_cast<const ub1*>(value); return true;
    case 2: {
      sb2 s;
      ub2 u;
      std::memcpy(&s, value, 2), std::memcpy(&u, value, 2);
      *out = isSigned ? static_cast<sqlite3_int64>(s) : static_cast<sqlite3_int64>(u);
      return true;
    }
    case 4: {
      sb4 s;
      ub4 u;
      std::memcpy(&s, value, 4), std::memcpy(&u, value, 4);
      // Each side widened on its own: a common type would be unsigned.
      *out = isSigned ? static_cast<sqlite3_int64>(s) : static_cast<sqlite3_int64>(u);
      return true;
    }
    case 8: std::memcpy(out, value, 8); return true;
    default: return false;
  }
}

// Text of a column for the text types: the column's bytes, truncated to
// the room there is.
sword defineText(const unsigned char* text, int bytes, const Slot& slot) {
  const bool terminated = slot.type == SQLT_STR || slot.type == SQLT_AVC;
  const size_t room = slot.size <= 0 ? 0 : static_cast<size_t>(slot.size) - (terminated ? 1 : 0);
  const size_t n = std::min(room, static_cast<size_t>(bytes));
  char* target = static_cast<char*>(slot.value);
  std::memcpy(target, text, n);
  size_t stored = n;
  if (slot.type == SQLT_AFC && n < room) {
    std::memset(target + n, ' ', room - n);  // CHAR is blank-padded
    stored = room;
  }
  if (terminated || stored < static_cast<size_t>(slot.size)) target[stored] = '\0';
  if (slot.length) *slot.length = static_cast<ub2>(std::min<size_t>(stored, 0xFFFF));
  if (n < static_cast<size_t>(bytes)) {
    if (slot.indicator) *slot.indicator = static_cast<sb2>(std::min(bytes, 0x7FFF));
    if (slot.returnCode) *slot.returnCode = 1406;
    return OCI_SUCCESS_WITH_INFO;
  }
  return OCI_SUCCESS;
}

}  // namespace

bool numberFromText(const char* text, ub1* bytes, ub1* length) {
  if (!text) return false;
  const char* p = text;
  while (*p == ' ') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  std::string digits;
  int point = 0;
  bool seenPoint = false, seenDigit = false;
  for (; *p; ++p) {
    if (*p >= '0' && *p <= '9') {
      digits += *p;
      seenDigit = true;
      if (!seenPoint) ++point;
    } else if (*p == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit) return false;
  if (*p == 'e' || *p == 'E') {
    char* end = nullptr;
    const long exponent = std::strtol(p + 1, &end, 10);
    if (end == p + 1 || std::labs(exponent) > 1000) return false;
    point += static_cast<int>(exponent);
    p = end;
  }
  while (*p == ' ') ++p;
  if (*p) return false;
  size_t lead = 0;
  while (lead < digits.size() && digits[lead] == '0') ++lead;
  digits.erase(0, lead);
  point -= static_cast<int>(lead);
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) {
    bytes[0] = kZeroExponent;
    *length = 1;
    return true;
  }
  if (point % 2 != 0) {
    digits.insert(0, 1, '0');
    ++point;
  }
  if (digits.size() % 2) digits += '0';
  int pairs = static_cast<int>(digits.size() / 2);
  if (pairs > kMaxDigitPairs) pairs = kMaxDigitPairs;  // beyond Oracle's precision
  const int exponent = point / 2 - 1;
  if (exponent < -65 || exponent > 62) return false;
  bytes[0] = static_cast<ub1>(negative ? 62 - exponent : 193 + exponent);
  int n = 1;
  for (int i = 0; i < pairs; ++i) {
    const int pair = (digits[2 * i] - '0') * 10 + (digits[2 * i + 1] - '0');
    bytes[n++] = static_cast<ub1>(negative ? 101 - pair : pair + 1);
  }
  while (n > 1 && bytes[n - 1] == (negative ? 101 : 1)) --n;  // trailing zero pairs
  if (negative && pairs < kMaxDigitPairs) bytes[n++] = kNegativeEnd;
  *length = static_cast<ub1>(n);
  return true;
}

std::string numberToText(const ub1* bytes, ub1 length) {
  if (length < 1 || length > 21) return {};
  if (bytes[0] == kZeroExponent) return length == 1 ? "0" : "";
  const bool negative = !(bytes[0] & 0x80);
  const int exponent = negative ? 62 - bytes[0] : bytes[0] - 193;
  std::string digits;
  for (int i = 1; i < length; ++i) {
    if (negative && bytes[i] == kNegativeEnd) break;
    const int pair = negative ? 101 - bytes[i] : bytes[i] - 1;
    if (pair < 0 || pair > 99) return {};
    digits += static_cast<char>('0' + pair / 10);
    digits += static_cast<char>('0' + pair % 10);
  }
  if (digits.empty()) return {};
  int point = (exponent + 1) * 2;
  std::string text;
  if (point <= 0) {
    text = "0." + std::string(static_cast<size_t>(-point), '0') + digits;
  } else if (static_cast<size_t>(point) >= digits.size()) {
    text = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
  } else {
    text = digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
  }
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  size_t lead = 0;
  while (lead + 1 < text.size() && text[lead] == '0' && text[lead + 1] != '.') ++lead;
  text.erase(0, lead);
  return negative ? "-" + text : text;
}

sword bindSlot(sqlite3_stmt* statement, int index, const Slot& slot, OCIError* error) {
  int rc = SQLITE_OK;
  if (slot.indicator && *slot.indicator == -1) {
    rc = sqlite3_bind_null(statement, index);
    return rc == SQLITE_OK ? OCI_SUCCESS : failSQLite(error, sqlite3_db_handle(statement), rc);
  }
  if (!slot.value) return fail(error, 1008, "not all variables bound");
  const char* text = static_cast<const char*>(slot.value);
  switch (slot.type) {
    case SQLT_AVC:
    case SQLT_STR:
    case SQLT_CHR:
    case SQLT_AFC: {
      size_t n = strnlen(text, slot.size > 0 ? static_cast<size_t>(slot.size) : 0);
      if (slot.length) n = std::min<size_t>(n, *slot.length);
      rc = sqlite3_bind_text(statement, index, text, static_cast<int>(n), SQLITE_TRANSIENT);
      break;
    }
    case SQLT_INT:
    case SQLT_UIN: {
      sqlite3_int64 value = 0;
      if (!integerOf(slot.value, slot.size, slot.type == SQLT_INT, &value)) return unsupported(error, slot.type);
      rc = sqlite3_bind_int64(statement, index, value);
      break;
    }
    case SQLT_FLT: {
      double value = 0;
      if (slot.size == 8) {
        std::memcpy(&value, slot.value, 8);
      } else if (slot.size == 4) {
        float single;
        std::memcpy(&single, slot.value, 4);
        value = single;
      } else {
        return unsupported(error, slot.type);
      }
      rc = sqlite3_bind_double(statement, index, value);
      break;
    }
    case SQLT_VNU:
    case SQLT_NUM: {
      const ub1* bytes = static_cast<const ub1*>(slot.value);
      const std::string number =
          slot.type == SQLT_VNU ? numberToText(bytes + 1, std::min<ub1>(bytes[0], static_cast<ub1>(OCI_NUMBER_SIZE - 1)))
                                : numberToText(bytes, static_cast<ub1>(std::min<sb4>(slot.size, 21)));
      if (number.empty()) return fail(error, 1722, "invalid number");
      rc = bindNumberText(statement, index, number);
      break;
    }
    case SQLT_ODT: {
      OCIDate date;
      std::memcpy(&date, slot.value, 7);
      const std::string stored = dateText(date);
      rc = sqlite3_bind_text(statement, index, stored.c_str(), -1, SQLITE_TRANSIENT);
      break;
    }
    case SQLT_DAT: {
      const std::string stored = dateText(fromOracleDate(static_cast<const ub1*>(slot.value)));
      rc = sqlite3_bind_text(statement, index, stored.c_str(), -1, SQLITE_TRANSIENT);
      break;
    }
    case SQLT_LBI:
    case SQLT_BIN:
      // Without the actual length the buffer's extent is unknown.
      if (!slot.length) return fail(error, 3001, "unimplemented feature (long raw data at execution)");
      rc = sqlite3_bind_blob(statement, index, slot.value, std::min<int>(*slot.length, slot.size), SQLITE_TRANSIENT);
      break;
    case SQLT_RDD: {
      Rowid* rowid = as<Rowid>(slot.value);
      if (!rowid) {
        void* pointed = nullptr;
        std::memcpy(&pointed, slot.value, sizeof pointed);
        rowid = as<Rowid>(pointed);
      }
      if (!rowid || !rowid->valid) return fail(error, 1410, "invalid ROWID");
      rc = sqlite3_bind_int64(statement, index, rowid->rowid);
      break;
    }
    default: return unsupported(error, slot.type);
  }
  return rc == SQLITE_OK ? OCI_SUCCESS : failSQLite(error, sqlite3_db_handle(statement), rc);
}

sword defineSlot(sqlite3_stmt* statement, int column, const Slot& slot, OCIError* error) {
  if (slot.returnCode) *slot.returnCode = 0;
  if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
    if (!slot.indicator) return fail(error, 1405, "fetched column value is NULL");
    *slot.indicator = -1;
    return OCI_SUCCESS;
  }
  if (slot.indicator) *slot.indicator = 0;
  if (!slot.value) return OCI_SUCCESS;
  switch (slot.type) {
    case SQLT_AVC:
    case SQLT_STR:
    case SQLT_CHR:
    case SQLT_AFC: {
      const unsigned char* text = sqlite3_column_text(statement, column);
      return defineText(text, sqlite3_column_bytes(statement, column), slot);
    }
    case SQLT_INT: return defineInteger(sqlite3_column_int64(statement, column), slot, true, error);
    case SQLT_UIN: return defineInteger(sqlite3_column_int64(statement, column), slot, false, error);
    case SQLT_FLT: {
      const double value = sqlite3_column_double(statement, column);
      if (slot.size == 8) {
        std::memcpy(slot.value, &value, 8);
      } else if (slot.size == 4) {
        const float single = static_cast<float>(value);
        std::memcpy(slot.value, &single, 4);
      } else {
        return unsupported(error, slot.type);
      }
      return OCI_SUCCESS;
    }
    case SQLT_VNU:
    case SQLT_NUM: {
      char text[64];
      if (sqlite3_column_type(statement, column) == SQLITE_INTEGER)
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(sqlite3_column_int64(statement, column)));
      else if (sqlite3_column_type(statement, column) == SQLITE_FLOAT)
        std::snprintf(text, sizeof text, "%.15g", sqlite3_column_double(statement, column));
      else
        std::snprintf(text, sizeof text, "%s", reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
      ub1 bytes[OCI_NUMBER_SIZE] = {};
      ub1 length = 0;
      if (!numberFromText(text, bytes, &length)) return fail(error, 1722, "invalid number");
      ub1* target = static_cast<ub1*>(slot.value);
      if (slot.type == SQLT_VNU) {
        if (slot.size < length + 1) return unsupported(error, slot.type);
        target[0] = length;
        std::memcpy(target + 1, bytes, length);
      } else {
        if (slot.size < length) return unsupported(error, slot.type);
        std::memcpy(target, bytes, length);
      }
      if (slot.length) *slot.length = static_cast<ub2>(slot.type == SQLT_VNU ? length + 1 : length);
      return OCI_SUCCESS;
    }
    case SQLT_ODT:
    case SQLT_DAT: {
      OCIDate date{};
      if (slot.size < 7) return unsupported(error, slot.type);
      if (!parseDate(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)), &date))
        return fail(error, 1861, "literal does not match format string");
      if (slot.type == SQLT_ODT)
        std::memcpy(slot.value, &date, 7);
      else
        toOracleDate(date, static_cast<ub1*>(slot.value));
      if (slot.length) *slot.length = 7;
      return OCI_SUCCESS;
    }
    case SQLT_LBI:
    case SQLT_BIN: {
      const int bytes = sqlite3_column_bytes(statement, column);
      const void* data = sqlite3_column_blob(statement, column);
      const int n = std::min(bytes, std::max<sb4>(slot.size, 0));
      if (n > 0) std::memcpy(slot.value, data, static_cast<size_t>(n));
      if (slot.length) *slot.length = static_cast<ub2>(std::min(n, 0xFFFF));
      if (n < bytes) {
        if (slot.returnCode) *slot.returnCode = 1406;
        return OCI_SUCCESS_WITH_INFO;
      }
      return OCI_SUCCESS;
    }
    default: return unsupported(error, slot.type);
  }
}

}  // namespace oci
