#include "KyControlValue.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "KyAppContext.h"
#include "KyDateFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyLocale.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "datatypes.h"
#include "datetime.h"
#include "editcontrol.h"

namespace {

bool isDateType(char type) { return type == 'a' || type == 'k' || type == 'd' || type == 't'; }

// A number text read whole; false for anything else.
bool readNumber(const char* pszText, double& number) {
  if (!pszText) return false;
  while (*pszText == ' ') ++pszText;
  if (!*pszText) return false;
  char* end = nullptr;
  errno = 0;
  number = std::strtod(pszText, &end);
  while (end && *end == ' ') ++end;
  return end && *end == '\0' && errno != ERANGE;
}

// A decimal text in the user's notation, as the internal "." and "," form.
std::string internalNumber(const char* pszText, size_t size) {
  std::string text(pszText, strnlen(pszText, size));
  KyAppContext* pContext = KyAppContext::Current();
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  if (pLocale) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    pLocale->FromIntlNumber(buffer.data());
    text = buffer.data();
  }
  // Thousands separators carry no value.
  std::string plain;
  for (char c : text)
    if (c != ',') plain += c;
  return plain;
}

HCtlDateTime recordOf(const tagODBCDATE& d) {
  HCtlDateTime r{};
  r.year = d.year;
  r.month = static_cast<uint8_t>(d.month);
  r.day = static_cast<uint8_t>(d.day);
  return r;
}

HCtlDateTime recordOf(const tagODBCTIME& t) {
  HCtlDateTime r{};
  r.hour = static_cast<uint8_t>(t.hour);
  r.minute = static_cast<uint8_t>(t.minute);
  r.second = static_cast<uint8_t>(t.second);
  return r;
}

HCtlDateTime recordOf(const tagODBCTIMESTAMP& s) {
  HCtlDateTime r{};
  r.year = s.year;
  r.month = static_cast<uint8_t>(s.month);
  r.day = static_cast<uint8_t>(s.day);
  r.hour = static_cast<uint8_t>(s.hour);
  r.minute = static_cast<uint8_t>(s.minute);
  r.second = static_cast<uint8_t>(s.second);
  r.milliseconds = static_cast<uint16_t>(s.fraction);
  return r;
}

// Parts beyond a record's range cannot travel through it.
bool fitsRecord(const tagODBCTIMESTAMP& s) {
  return s.month <= 12 && s.day <= 31 && s.hour <= 23 && s.minute <= 59 && s.second <= 59 && s.fraction <= 999;
}

template <class T>
void copyOut(const KyTypedValue& value, const T& typed) {
  std::memcpy(value.data, &typed, sizeof typed);
}

// The text form of a typed value, for text storages.
bool typedText(const KyTypedValue& value, std::string& text) {
  char buffer[64];
  switch (value.kind) {
    case KyTypedKind::Double: {
      double d;
      std::memcpy(&d, value.data, sizeof d);
      std::snprintf(buffer, sizeof buffer, "%.15g", d);
      text = buffer;
      return true;
    }
    case KyTypedKind::LongLong: {
      int64_t n;
      std::memcpy(&n, value.data, sizeof n);
      std::snprintf(buffer, sizeof buffer, "%" PRId64, n);
      text = buffer;
      return true;
    }
    case KyTypedKind::Date: {
      tagODBCDATE d;
      std::memcpy(&d, value.data, sizeof d);
      text = static_cast<LPCSTR>(KyDateFld(d).strGetText());
      return true;
    }
    case KyTypedKind::Time: {
      KyTimeFld field;
      tagODBCTIME t;
      std::memcpy(&t, value.data, sizeof t);
      field.SetValue(t);
      text = static_cast<LPCSTR>(field.strGetText());
      return true;
    }
    case KyTypedKind::TimeStamp: {
      KyTimeStampFld field;
      tagODBCTIMESTAMP s;
      std::memcpy(&s, value.data, sizeof s);
      field.SetValue(s);
      text = static_cast<LPCSTR>(field.strGetText());
      return true;
    }
    case KyTypedKind::DecimalText:
      text.assign(static_cast<const char*>(value.data), strnlen(static_cast<const char*>(value.data), value.size));
      return true;
  }
  return false;
}

bool typedNumber(const KyTypedValue& value, double& number) {
  switch (value.kind) {
    case KyTypedKind::Double: std::memcpy(&number, value.data, sizeof number); return true;
    case KyTypedKind::LongLong: {
      int64_t n;
      std::memcpy(&n, value.data, sizeof n);
      number = static_cast<double>(n);
      return true;
    }
    case KyTypedKind::DecimalText:
      return readNumber(internalNumber(static_cast<const char*>(value.data), value.size).c_str(), number);
    default: return false;
  }
}

bool typedRecord(const KyTypedValue& value, HCtlDateTime& record, bool& hasDate, bool& hasTime) {
  switch (value.kind) {
    case KyTypedKind::Date: {
      tagODBCDATE d;
      std::memcpy(&d, value.data, sizeof d);
      if (d.month > 12 || d.day > 31) return false;
      record = recordOf(d);
      hasDate = true;
      return true;
    }
    case KyTypedKind::Time: {
      tagODBCTIME t;
      std::memcpy(&t, value.data, sizeof t);
      if (t.hour > 23 || t.minute > 59 || t.second > 59) return false;
      record = recordOf(t);
      hasTime = true;
      return true;
    }
    case KyTypedKind::TimeStamp: {
      tagODBCTIMESTAMP s;
      std::memcpy(&s, value.data, sizeof s);
      if (!fitsRecord(s)) return false;
      record = recordOf(s);
      hasDate = hasTime = true;
      return true;
    }
    default: return false;
  }
}

// A text into the typed buffer (text storages, multi-line edits).
bool textToTyped(const std::string& text, const KyTypedValue& value) {
  switch (value.kind) {
    case KyTypedKind::Double: {
      double d;
      if (!readNumber(internalNumber(text.c_str(), text.size()).c_str(), d)) return false;
      copyOut(value, d);
      return true;
    }
    case KyTypedKind::LongLong: {
      char* end = nullptr;
      errno = 0;
      const long long n = std::strtoll(text.c_str(), &end, 10);
      if (end == text.c_str() || *end != '\0' || errno == ERANGE) return false;
      copyOut(value, static_cast<int64_t>(n));
      return true;
    }
    case KyTypedKind::Date: {
      KyDateFld field;
      field.PutText(text.c_str());
      if (!field.Validate()) return false;
      copyOut(value, field.GetValue());
      return true;
    }
    case KyTypedKind::Time: {
      KyTimeFld field;
      field.PutText(text.c_str());
      copyOut(value, field.GetValue());
      return true;
    }
    case KyTypedKind::TimeStamp: {
      KyTimeStampFld field;
      field.PutText(text.c_str());
      copyOut(value, field.GetValue());
      return true;
    }
    case KyTypedKind::DecimalText: {
      if (value.size <= 0) return false;
      const size_t n = std::min(text.size(), static_cast<size_t>(value.size - 1));
      std::memcpy(value.data, text.data(), n);
      static_cast<char*>(value.data)[n] = '\0';
      return true;
    }
  }
  return false;
}

}  // namespace

KyControlStorage KyQueryControlStorage(HWND hWnd) {
  KyControlStorage letters;
  if (!hWnd) return letters;
  const auto type = static_cast<char>(SendMessageA(hWnd, KYM_EDITGETTYPE, 0, 0));
  const auto storage = static_cast<char>(SendMessageA(hWnd, KYM_EDITGETSTORAGE, 0, 0));
  if (HCtlStorageValid(type, storage)) {
    letters.type = type;
    letters.storage = storage;
  }
  return letters;
}

bool KyTypedToStorage(const KyTypedValue& value, KyControlStorage to, std::vector<char>& out) {
  if (!value.data) return false;
  if (to.IsText()) {
    std::string text;
    if (!typedText(value, text)) return false;
    out.assign(text.begin(), text.end());
    out.push_back('\0');
    return true;
  }
  const int size = HCtlStorageSize(to.type, to.storage);
  if (size <= 0) return false;
  out.assign(static_cast<size_t>(size), 0);
  if (isDateType(to.type)) {
    HCtlDateTime record{};
    bool hasDate = false, hasTime = false;
    if (!typedRecord(value, record, hasDate, hasTime)) return false;
    // A date storage takes no lone time, a time storage no lone date.
    if ((to.type == 't' && !hasTime) || (to.type != 't' && !hasDate)) return false;
    return HCtlRecordToStorage(&record, out.data(), to.storage) != 0;
  }
  if (value.kind == KyTypedKind::LongLong && to.storage == 'M') {
    std::memcpy(out.data(), value.data, sizeof(int64_t));
    return true;
  }
  double number;
  return typedNumber(value, number) && HCtlDoubleToValue(out.data(), to.storage, number) != 0;
}

bool KyStorageToTyped(const void* pData, size_t size, KyControlStorage from, const KyTypedValue& value) {
  if (!pData || !value.data) return false;
  if (from.IsText()) return textToTyped(std::string(static_cast<const char*>(pData), strnlen(static_cast<const char*>(pData), size)), value);
  const int need = HCtlStorageSize(from.type, from.storage);
  if (need <= 0 || size < static_cast<size_t>(need)) return false;
  if (isDateType(from.type)) {
    HCtlDateTime r{};
    if (!HCtlRecordFromStorage(&r, pData, from.storage)) return false;
    switch (value.kind) {
      case KyTypedKind::Date: copyOut(value, tagODBCDATE{r.year, r.month, r.day}); return true;
      case KyTypedKind::Time: copyOut(value, tagODBCTIME{r.hour, r.minute, r.second}); return true;
      case KyTypedKind::TimeStamp:
        copyOut(value, tagODBCTIMESTAMP{r.year, r.month, r.day, r.hour, r.minute, r.second, r.milliseconds});
        return true;
      default: return false;
    }
  }
  if (value.kind == KyTypedKind::LongLong && from.storage == 'M') {
    std::memcpy(value.data, pData, sizeof(int64_t));
    return true;
  }
  const double number = HCtlValueToDouble(pData, from.storage);
  switch (value.kind) {
    case KyTypedKind::Double: copyOut(value, number); return true;
    case KyTypedKind::LongLong: copyOut(value, static_cast<int64_t>(number)); return true;
    case KyTypedKind::DecimalText: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.15g", number);
      return textToTyped(buffer, value);
    }
    default: return false;
  }
}

namespace {

template <class Field>
std::vector<char> fieldBytes(const char* pszText) {
  Field field;
  field.PutText(pszText);
  const auto typed = field.GetValue();
  std::vector<char> out(sizeof typed);
  std::memcpy(out.data(), &typed, sizeof typed);
  return out;
}

}  // namespace

std::vector<char> KyLimitValue(const char* pszText, KyControlStorage letters) {
  if (!pszText || !*pszText) return {};
  const char type = letters.type, storage = letters.storage;
  if ((type == 'k' || type == 'a') && storage == 's') return fieldBytes<KyTimeStampFld>(pszText);
  if (type == 'd' && storage == 'd') {
    KyDateFld date;
    date.PutText(pszText);
    return date.Validate() ? fieldBytes<KyDateFld>(pszText) : std::vector<char>{};
  }
  if (type == 't' && storage == 't') return fieldBytes<KyTimeFld>(pszText);
  if (type == 'h' && storage == 'h') return fieldBytes<KyByteFld>(pszText);
  if (type != 'b' && type != 'c' && type != 'n') return {};
  // A text that is no number limits nothing (the fields would read it as 0).
  double number;
  if (!readNumber(pszText, number)) return {};
  switch (storage) {
    case 'b': return fieldBytes<KyByteFld>(pszText);
    case 's':
    case 'w': return fieldBytes<KyIntFld>(pszText);
    // A 32-bit storage takes a 32-bit limit: read through a 16-bit field
    // a limit of 100000 would become 32767.
    case 'i':
    case 'u':
    case 'l':
    case 'W': return fieldBytes<KyLongFld>(pszText);
    case 'f': return fieldBytes<KySglFld>(pszText);
    case 'd': return fieldBytes<KyDblFld>(pszText);
    default: return {};
  }
}
