// The native control library's own settings and overwrite mode, and its
// build's differences in formatting (see natformat.h).
#include "natformat.h"

#include <cmath>
#include <cstring>
#include <string>

#include "formatdata.h"
#include "numberformat.h"

extern "C" __attribute__((visibility("default"))) int32_t s_App_Native_DateEntry_Fmt = 0;

namespace NatCtl {
namespace {

// The library's process-wide state, used from the user-interface thread.
struct State {
  HCtlIntl intl = withOwnRules(HCtlIntlDefaults());
  BOOL overwrite = FALSE;
  HINSTANCE module = nullptr;

  static HCtlIntl withOwnRules(HCtlIntl s) {
    s.keepNameCase = 1;
    return s;
  }
};

State& state() {
  static State s;
  return s;
}

// The bound of the range test: beyond it a number is shown as infinite.
constexpr double kLargest = 1.7976924369886e308;

bool floating(char type, char storage) {
  return (type == 'n' || type == 'c' || type == 'z' || type == 'i') && (storage == 'd' || storage == 'f');
}

int copyOut(const char* text, char* out, int outSize) {
  const int length = static_cast<int>(std::strlen(text));
  const int n = length < outSize - 1 ? length : outSize - 1;
  std::memcpy(out, text, n);
  out[n] = 0;
  return n;
}

}  // namespace

const HCtlIntl& Intl() { return state().intl; }

DWORD WINAPI GetIntlSettings(void) {
  HCtlIntl read;
  const DWORD answer = HCtlReadIntl(&read);
  state().intl = State::withOwnRules(read);
  return answer;
}

int WINAPI SetThousandsSep(char separator) { return HCtlSetIntlSeparator(separator, &state().intl.thousandsSep); }
int WINAPI SetDecimalSep(char separator) { return HCtlSetIntlSeparator(separator, &state().intl.decimalSep); }
int WINAPI SetDateSep(char separator) { return HCtlSetIntlSeparator(separator, &state().intl.dateSep); }
int WINAPI SetTimeSep(char separator) { return HCtlSetIntlSeparator(separator, &state().intl.timeSep); }
int WINAPI SetDefDateFormat(const char* picture) { return HCtlSetIntlPicture(picture, "dmy", state().intl.datePicture); }
int WINAPI SetDefTimeFormat(const char* picture) { return HCtlSetIntlPicture(picture, "hm", state().intl.timePicture); }

BOOL WINAPI GetOverwriteMode(void) { return state().overwrite; }
BOOL WINAPI SetOverwriteMode(BOOL overwrite) {
  const BOOL previous = state().overwrite;
  state().overwrite = overwrite ? TRUE : FALSE;
  return previous;
}

int WINAPI FormatData(const void* value, char type, char storage, const char* picture, char* out, int outSize,
                      int* negative, int editForm) {
  if (negative) *negative = 0;
  if (!value || !out || outSize < 2) return 0;
  if (floating(type, storage)) {
    double number = 0;
    if (storage == 'd') std::memcpy(&number, value, sizeof number);
    else {
      float f;
      std::memcpy(&f, value, sizeof f);
      number = f;
    }
    if (number > kLargest || number < -kLargest) {
      if (negative) *negative = number < 0;
      return copyOut(number < 0 ? "-INF" : "+INF", out, outSize);
    }
  }
  HCtlIntlScope scope(Intl());
  return ::FormatData(value, type, storage, picture, out, outSize, negative, editForm);
}

int WINAPI FormatNumberText(const char* number, const char* picture, char* out, int outSize, int* negative,
                            int editForm) {
  if (negative) *negative = 0;
  if (!number || !out || outSize < 2) return 0;
  // The text reads as a number (atof): sign, digits, point, digits.
  const char* p = number;
  while (*p == ' ') ++p;
  const bool minus = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::string digits;
  int point = -1;
  for (; *p; ++p) {
    if (*p >= '0' && *p <= '9') digits += *p;
    else if (*p == '.' && point < 0) point = static_cast<int>(digits.size());
    else break;
  }
  if (digits.empty()) return 0;
  if (point < 0) point = static_cast<int>(digits.size());
  // Leading zeros of the integer part go; the point moves with them.
  size_t zeros = 0;
  while (zeros + 1 < digits.size() && digits[zeros] == '0' && static_cast<int>(zeros) < point) ++zeros;
  digits.erase(0, zeros);
  point -= static_cast<int>(zeros);
  const bool isNegative = minus && digits.find_first_not_of('0') != std::string::npos;
  if (negative) *negative = isNegative;
  HCtlIntlScope scope(Intl());
  const int written = HCtlFormatDecimalText(digits.c_str(), point, isNegative, picture ? picture : "", out, outSize,
                                            editForm ? HCTL_DECIMAL_EDITFORM : 0);
  if (written >= 0) return written;
  // A picture with an exponent lays no digit text: through the double.
  const double value = std::strtod(number, nullptr);
  return HCtlFormatDouble(value, picture ? picture : "", out, outSize, editForm);
}

int WINAPI DateTimeToString(const HCtlDateTime* record, const char* picture, char* out, int outSize, int select,
                            int datePart, int timePart) {
  HCtlIntlScope scope(Intl());
  return ::DateTimeToString(record, picture, out, outSize, select, datePart, timePart);
}

int WINAPI CompareDateTimeRecords(const HCtlDateTime* a, const HCtlDateTime* b) {
  const int left[] = {a->year, a->month, a->day, a->hour, a->minute, a->second, a->milliseconds};
  const int right[] = {b->year, b->month, b->day, b->hour, b->minute, b->second, b->milliseconds};
  for (size_t i = 0; i < sizeof left / sizeof left[0]; ++i)
    if (left[i] != right[i]) return left[i] < right[i] ? -1 : 1;
  return 0;
}

BOOL WINAPI IsNumericChar(char c) {
  if (c >= '0' && c <= '9') return TRUE;
  if (c == Intl().decimalSep || c == Intl().thousandsSep || c == '-') return TRUE;
  return c != 0 && std::strchr("dDeE", c) != nullptr;
}

char WINAPI GetDecimalSepChar(void) { return Intl().decimalSep; }

int TextToValue(void* value, int valueSize, char type, char storage, const char* picture, const char* text,
                int flag) {
  HCtlIntlScope scope(Intl());
  return HCtlTextToValue(value, valueSize, type, storage, picture, text, flag);
}

int EditKey(char type, char storage, char* text, int textSize, const char* picture, int caret, char key,
            int* newCaret, int* selection) {
  HCtlIntlScope scope(Intl());
  return HCtlEditKey(type, storage, text, textSize, picture, caret, key, newCaret, selection, 0);
}

int TextToDouble(const char* text, const char* picture, double* value) {
  HCtlIntlScope scope(Intl());
  return HCtlTextToDouble(text, picture, value);
}

int TextToInt64(const char* text, const char* picture, int64_t* value) {
  HCtlIntlScope scope(Intl());
  return HCtlTextToInt64(text, picture, value);
}

int ParseDateTime(HCtlDateTime* record, const char* text, const char* picture, int datePart, int timePart,
                  int select) {
  HCtlIntlScope scope(Intl());
  return HCtlParseDateTime(record, text, picture, datePart, timePart, select);
}

int BuildPicture(const char* picture, int datePart, int timePart, char* out, int outSize) {
  HCtlIntlScope scope(Intl());
  return HCtlBuildPicture(picture, datePart, timePart, out, outSize);
}

void Start(HINSTANCE module) {
  state().module = module;
  GetIntlSettings();
}

HINSTANCE Module() { return state().module; }

}  // namespace NatCtl
