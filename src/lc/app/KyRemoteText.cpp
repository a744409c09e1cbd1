// Field values to and from the remote text form.
#include "KyRemoteText.h"

#include <mscrt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyString.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"

namespace {

constexpr int kStateBytes = 2;
constexpr size_t kMaxNumberText = 63;

short knownState(int iCode) {
  switch (iCode) {
    case KyStateNull:
    case KyStateLow:
    case KyStateEmpty:
    case KyStateHigh: return static_cast<short>(iCode);
    default: return KyStateValue;
  }
}

// The state and the text of a remote buffer; false when it holds no state.
struct RemoteValue {
  short state = KyStateValue;
  std::string text;
};

bool readRemote(const char* pRemote, int iLength, RemoteValue& value) {
  if (!pRemote || iLength < kStateBytes) return false;
  std::string copy(pRemote, static_cast<size_t>(iLength));
  unsigned char high = static_cast<unsigned char>(copy[0]), low = static_cast<unsigned char>(copy[1]);
  value.state = knownState(high << 8 | low);
  // The text ends at its first zero byte; trailing blanks go.
  std::vector<char> text(copy.begin() + kStateBytes, copy.end());
  text.push_back('\0');
  value.text = pszKyTrimSpaces(text.data());
  return true;
}

void writeRemote(char* pRemote, int iLength, int iState, const std::string& text) {
  if (!pRemote || iLength < kStateBytes) return;
  const unsigned state = static_cast<unsigned>(knownState(iState));
  pRemote[0] = static_cast<char>(state >> 8 & 0xFF);
  pRemote[1] = static_cast<char>(state & 0xFF);
  const size_t room = static_cast<size_t>(iLength - kStateBytes);
  std::memset(pRemote + kStateBytes, 0, room);
  std::memcpy(pRemote + kStateBytes, text.data(), std::min(room, text.size()));
}

std::string formatted(const char* pszFormat, ...) {
  char buffer[128];
  va_list args;
  va_start(args, pszFormat);
  _vsnprintf(buffer, sizeof buffer - 1, pszFormat, args);
  va_end(args);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

// The parts of a date or time text read by sscanf; parts not found stay 0.
template <size_t N>
void scanParts(const std::string& text, const char* pszFormat, int (&parts)[N]) {
  for (int& part : parts) part = 0;
  if constexpr (N == 3) std::sscanf(text.c_str(), pszFormat, &parts[0], &parts[1], &parts[2]);
  if constexpr (N == 6)
    std::sscanf(text.c_str(), pszFormat, &parts[0], &parts[1], &parts[2], &parts[3], &parts[4], &parts[5]);
}

// The state first (it loads the special value), then the value read.
template <class Field, class Value>
void putDateTime(Field& field, short state, const Value& value) {
  field.SetFieldState(state);
  field.SetValue(value);
}

template <class T>
bool readInteger(const std::string& text, T& value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  long long number = std::strtoll(begin, &end, 10);
  if (end == begin) return false;
  if (number < static_cast<long long>(std::numeric_limits<T>::min())) number = std::numeric_limits<T>::min();
  if (number > static_cast<long long>(std::numeric_limits<T>::max())) number = std::numeric_limits<T>::max();
  value = static_cast<T>(number);
  return true;
}

template <class T>
bool readFloat(const std::string& text, T& value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  double number = std::strtod(begin, &end);
  if (end == begin) return false;
  value = static_cast<T>(number);
  return true;
}

template <class Field>
void putInteger(void* pField, short state, const std::string& text) {
  auto& field = *static_cast<Field*>(pField);
  if (state != KyStateEmpty) field.SetFieldState(state);
  typename Field::ValueType value{};
  if (readInteger(text, value)) field.SetValue(value);
}

template <class Field>
void putFloat(void* pField, short state, const std::string& text) {
  auto& field = *static_cast<Field*>(pField);
  if (state != KyStateEmpty) field.SetFieldState(state);
  typename Field::ValueType value{};
  if (readFloat(text, value)) field.SetValue(value);
}

}  // namespace

void KySwapBytes(void* pWords, int iCount) {
  auto* bytes = static_cast<unsigned char*>(pWords);
  for (int i = 0; bytes && i < iCount; ++i) std::swap(bytes[2 * i], bytes[2 * i + 1]);
}

// ------------------------------------------------------------ from remote

void KyAssignFromRmtcc(const char* pRemote, KyCharFld& field, int iLength, long) {
  RemoteValue value;
  if (!readRemote(pRemote, iLength, value)) return;
  field.SetFieldState(value.state);
  field.PutText(value.text.c_str());
}

void KyAssignFromRmtdd(const char* pRemote, KyDateFld& field, int iLength, long) {
  RemoteValue value;
  if (!readRemote(pRemote, iLength, value)) return;
  int parts[3];
  scanParts(value.text, "%4d-%2d-%2d", parts);
  putDateTime(field, value.state,
              tagODBCDATE{static_cast<SHORT>(parts[0]), static_cast<USHORT>(parts[1]), static_cast<USHORT>(parts[2])});
}

void KyAssignFromRmttt(const char* pRemote, KyTimeFld& field, int iLength, long) {
  RemoteValue value;
  if (!readRemote(pRemote, iLength, value)) return;
  int parts[3];
  scanParts(value.text, "%2d:%2d:%2d", parts);
  putDateTime(field, value.state,
              tagODBCTIME{static_cast<USHORT>(parts[0]), static_cast<USHORT>(parts[1]), static_cast<USHORT>(parts[2])});
}

void KyAssignFromRmtzz(const char* pRemote, KyTimeStampFld& field, int iLength, long) {
  RemoteValue value;
  if (!readRemote(pRemote, iLength, value)) return;
  int parts[6];
  scanParts(value.text, "%4d-%2d-%2d %2d:%2d:%2d", parts);
  putDateTime(field, value.state,
              tagODBCTIMESTAMP{static_cast<SHORT>(parts[0]), static_cast<USHORT>(parts[1]),
                               static_cast<USHORT>(parts[2]), static_cast<USHORT>(parts[3]),
                               static_cast<USHORT>(parts[4]), static_cast<USHORT>(parts[5]), 0});
}

void KyAssignFromRmtnn(char cStorage, const char* pRemote, void* pField, int iLength, int, long) {
  RemoteValue value;
  if (!pField || !readRemote(pRemote, iLength, value)) return;
  switch (cStorage) {
    case 'L': putInteger<KyLLongFld>(pField, value.state, value.text); break;
    case 'i': putInteger<KyIntFld>(pField, value.state, value.text); break;
    case 'l': putInteger<KyLongFld>(pField, value.state, value.text); break;
    case 'd': putFloat<KyDblFld>(pField, value.state, value.text); break;
    case 'e': putFloat<KyLdblFld>(pField, value.state, value.text); break;
    case 's': putFloat<KySglFld>(pField, value.state, value.text); break;
    case 'f': {
      auto& field = *static_cast<KyFixedDecFld*>(pField);
      if (value.state != KyStateEmpty) field.SetFieldState(value.state);
      if (!value.text.empty()) field.PutText(value.text.c_str());
      break;
    }
    default: break;
  }
}

// -------------------------------------------------------------- to remote

void KyAssignToRmtcc(char* pRemote, KyCharFld& field, int iLength, long) {
  writeRemote(pRemote, iLength, field.GetFieldState(), static_cast<const char*>(field.strGetText()));
}

void KyAssignToRmtdd(char* pRemote, KyDateFld& field, int iLength, long) {
  const tagODBCDATE d = field.GetValue();
  writeRemote(pRemote, iLength, field.GetFieldState(), formatted("%04d-%02d-%02d", d.year, d.month, d.day));
}

void KyAssignToRmttt(char* pRemote, KyTimeFld& field, int iLength, long) {
  const tagODBCTIME t = field.GetValue();
  writeRemote(pRemote, iLength, field.GetFieldState(), formatted("%02d:%02d:%02d", t.hour, t.minute, t.second));
}

void KyAssignToRmtzz(char* pRemote, KyTimeStampFld& field, int iLength, long) {
  const tagODBCTIMESTAMP z = field.GetValue();
  writeRemote(pRemote, iLength, field.GetFieldState(),
              formatted("%04d-%02d-%02d %02d:%02d:%02d", z.year, z.month, z.day, z.hour, z.minute, z.second));
}

void KyAssignToRmtnn(char cStorage, char* pRemote, void* pField, int iLength, int iDecimals, long) {
  if (!pField) return;
  std::string text;
  int state = KyStateValue;
  auto take = [&](const auto& field, std::string number) {
    state = field.GetFieldState();
    text = std::move(number);
  };
  switch (cStorage) {
    case 'L': {
      const auto& f = *static_cast<KyLLongFld*>(pField);
      take(f, formatted("%lld", static_cast<long long>(f.GetValue())));
      break;
    }
    case 'i': {
      const auto& f = *static_cast<KyIntFld*>(pField);
      take(f, formatted("%d", static_cast<int>(f.GetValue())));
      break;
    }
    case 'l': {
      const auto& f = *static_cast<KyLongFld*>(pField);
      take(f, formatted("%ld", static_cast<long>(f.GetValue())));
      break;
    }
    case 'd': {
      const auto& f = *static_cast<KyDblFld*>(pField);
      take(f, formatted("%.*lf", iDecimals, f.GetValue()));
      break;
    }
    case 'e': {
      const auto& f = *static_cast<KyLdblFld*>(pField);
      take(f, formatted("%.*f", iDecimals, f.GetValue()));
      break;
    }
    case 's': {
      const auto& f = *static_cast<KySglFld*>(pField);
      take(f, formatted("%.*f", iDecimals, static_cast<double>(f.GetValue())));
      break;
    }
    case 'f': {
      const auto& f = *static_cast<KyFixedDecFld*>(pField);
      take(f, static_cast<const char*>(f.strGetText()));
      break;
    }
    default: break;
  }
  if (text.size() > kMaxNumberText) text.resize(kMaxNumberText);
  writeRemote(pRemote, iLength, state, text);
}
