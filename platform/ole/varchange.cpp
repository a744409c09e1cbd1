// VariantChangeType: conversions among the scalar Automation types and to
// and from VT_BSTR. Every number passes through one of two forms: an exact
// scaled integer (integers, CY, DECIMAL, BOOL) or a double (R4, R8, DATE);
// integer targets round half to even, as Automation does, and refuse what
// does not fit with DISP_E_OVERFLOW. Texts use '.' as the decimal point.
#include <oleauto.h>
#include <winnls.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "vartype.h"

namespace {

using Int128 = __int128;

struct Number {
  bool real = false;
  double value = 0;    // when real
  Int128 mantissa = 0;  // when exact: mantissa / 10^scale
  int scale = 0;
};

constexpr Int128 kMax96 = (static_cast<Int128>(1) << 96) - 1;

Int128 power10(int n) {
  Int128 p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// Divides by 10^digits rounding half to even.
Int128 divideRounded(Int128 value, int digits) {
  if (digits <= 0) return value;
  const Int128 divisor = power10(digits);
  Int128 quotient = value / divisor;
  Int128 remainder = value % divisor;
  const bool negative = remainder < 0;
  if (negative) remainder = -remainder;
  const Int128 twice = remainder * 2;
  if (twice > divisor || (twice == divisor && (quotient % 2) != 0)) quotient += negative ? -1 : 1;
  return quotient;
}

double toDouble(const Number& n) {
  if (n.real) return n.value;
  return static_cast<double>(static_cast<long double>(n.mantissa) / static_cast<long double>(power10(n.scale)));
}

// The number rounded to an integer; false when it is beyond 128 bits.
bool toInteger(const Number& n, Int128* out) {
  if (!n.real) {
    *out = divideRounded(n.mantissa, n.scale);
    return true;
  }
  if (!std::isfinite(n.value) || std::fabs(n.value) >= 1e38) return false;
  *out = static_cast<Int128>(std::nearbyint(n.value));  // default rounding: half to even
  return true;
}

// The value with `scale` decimals (rounded), or false beyond 128 bits.
bool toScaled(const Number& n, int scale, Int128* out) {
  if (n.real) {
    // Through the 15 significant digits Automation keeps of a double.
    if (!std::isfinite(n.value) || std::fabs(n.value) >= 1e29) return false;
    const long double scaled = static_cast<long double>(n.value) * static_cast<long double>(power10(scale));
    *out = static_cast<Int128>(std::nearbyintl(scaled));
    return true;
  }
  if (n.scale <= scale) {
    *out = n.mantissa * power10(scale - n.scale);
  } else {
    *out = divideRounded(n.mantissa, n.scale - scale);
  }
  return true;
}

std::string integerText(Int128 value) {
  const bool negative = value < 0;
  unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(value) : value;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude);
  return negative ? "-" + digits : digits;
}

// mantissa / 10^scale with trailing fraction zeros dropped.
std::string scaledText(Int128 mantissa, int scale) {
  std::string text = integerText(mantissa < 0 ? -mantissa : mantissa);
  if (scale > 0) {
    if (static_cast<int>(text.size()) <= scale) text.insert(0, scale + 1 - text.size(), '0');
    text.insert(text.size() - scale, ".");
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return mantissa < 0 ? "-" + text : text;
}

// printf %G with the given significant digits, exponent at least two digits
// ("1E+20", "1E-05"), as Automation writes doubles.
std::string realText(double value, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  return buffer;
}

// Windows' date serial to the en-US text: "M/D/YYYY", "h:mm:ss AM" or both;
// a date of day 0 shows its time only, a midnight its date only.
bool dateText(double date, std::string* out) {
  oleaut::DateParts parts;
  if (!oleaut::splitDate(date, &parts)) return false;
  const long long day = parts.dayNumber, seconds = parts.seconds;
  const int m = parts.month, d = parts.day, y = parts.year;
  char buffer[64];
  std::string text;
  if (day != 0) {
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d", m, d, y);
    text = buffer;
  }
  if (seconds != 0 || day == 0) {
    const int hour = static_cast<int>(seconds / 3600);
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour % 12 == 0 ? 12 : hour % 12,
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60), hour < 12 ? "AM" : "PM");
    if (!text.empty()) text += ' ';
    text += buffer;
  }
  *out = text;
  return true;
}

bool equalsIgnoringCase(const std::string& a, const char* b);

// Reads an unsigned number of at most `most` digits at text[*i].
bool readDigits(const std::string& text, size_t* i, int most, int* value) {
  size_t start = *i;
  *value = 0;
  while (*i < text.size() && *i - start < static_cast<size_t>(most) && text[*i] >= '0' && text[*i] <= '9')
    *value = *value * 10 + (text[(*i)++] - '0');
  return *i > start;
}

// A date text as written by dateText ("M/D/YYYY", "h:mm:ss AM" or both),
// or in ISO order ("YYYY-MM-DD", "hh:mm[:ss]"); blanks around.
bool dateFromText(const std::string& raw, double* out) {
  const size_t first = raw.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::string text = raw.substr(first, raw.find_last_not_of(' ') - first + 1);
  size_t i = 0;
  long long day = 0;
  bool any = false;
  int a = 0, b = 0, c = 0;
  size_t mark = i;
  if (readDigits(text, &i, 4, &a) && i < text.size() && (text[i] == '/' || text[i] == '-')) {
    const char separator = text[i++];
    if (!readDigits(text, &i, 2, &b) || i >= text.size() || text[i++] != separator || !readDigits(text, &i, 4, &c))
      return false;
    const int year = separator == '/' ? c : a, month = separator == '/' ? a : b, dayOfMonth = separator == '/' ? b : c;
    static const int lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 100 || year > 9999 || month < 1 || month > 12 || dayOfMonth < 1 ||
        dayOfMonth > lengths[month - 1] || (month == 2 && dayOfMonth == 29 && !leap))
      return false;
    day = oleaut::serialOf(year, month, dayOfMonth);
    any = true;
    while (i < text.size() && text[i] == ' ') ++i;
    mark = i;
  } else {
    i = mark;
  }
  double fraction = 0;
  if (i < text.size()) {
    int hour = 0, minute = 0, second = 0;
    if (!readDigits(text, &i, 2, &hour) || i >= text.size() || text[i++] != ':' || !readDigits(text, &i, 2, &minute))
      return false;
    if (i < text.size() && text[i] == ':' && (++i, !readDigits(text, &i, 2, &second))) return false;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size()) {
      const std::string suffix = text.substr(i);
      const bool pm = equalsIgnoringCase(suffix, "PM");
      if (!pm && !equalsIgnoringCase(suffix, "AM")) return false;
      if (hour < 1 || hour > 12) return false;
      hour = hour % 12 + (pm ? 12 : 0);
      i = text.size();
    }
    if (hour > 23 || minute > 59 || second > 59) return false;
    fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    any = true;
  }
  if (!any) return false;
  // Before day 0 the fraction counts away from zero, as dateText reads it.
  *out = day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
  return true;
}

std::string narrow(BSTR bstr) {
  std::string text;
  const UINT n = SysStringLen(bstr);
  for (UINT i = 0; i < n; ++i) text += bstr[i] < 0x80 ? static_cast<char>(bstr[i]) : '\x7f';
  return text;
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  return true;
}

// A number text: blanks around, a sign, digits with ',' thousand marks
// before the point, a fraction, an exponent; or "&H"/"&O" with hex or octal
// digits. Exact when it fits 38 digits with at most 28 decimals, else a
// double.
HRESULT parseNumber(const std::string& raw, Number* out) {
  size_t begin = raw.find_first_not_of(" \t");
  size_t end = raw.find_last_not_of(" \t");
  if (begin == std::string::npos) return DISP_E_TYPEMISMATCH;
  const std::string text = raw.substr(begin, end - begin + 1);
  if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h' || text[1] == 'O' || text[1] == 'o')) {
    const int base = (text[1] == 'H' || text[1] == 'h') ? 16 : 8;
    Int128 value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      const char c = text[i];
      int digit = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
      if (digit >= base) return DISP_E_TYPEMISMATCH;
      value = value * base + digit;
      if (value > kMax96) return DISP_E_OVERFLOW;
    }
    *out = Number{};
    out->mantissa = value;
    return S_OK;
  }
  size_t i = 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  std::string digits;
  int fractionDigits = 0;
  bool point = false, any = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits += c;
      any = true;
      if (point) ++fractionDigits;
    } else if (c == '.' && !point) {
      point = true;
    } else if (c == ',' && !point && any) {
      continue;
    } else {
      break;
    }
  }
  if (!any) return DISP_E_TYPEMISMATCH;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return DISP_E_TYPEMISMATCH;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    if (expNegative) exponent = -exponent;
  }
  if (i != text.size()) return DISP_E_TYPEMISMATCH;
  // Leading zeros carry nothing.
  const size_t first = digits.find_first_not_of('0');
  digits = first == std::string::npos ? "0" : digits.substr(first);
  long scale = fractionDigits - exponent;
  *out = Number{};
  if (digits.size() <= 38 && scale >= 0 && scale <= 28) {
    Int128 value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    out->mantissa = negative ? -value : value;
    out->scale = static_cast<int>(scale);
  } else if (scale < 0 && digits.size() + static_cast<size_t>(-scale) <= 38) {
    Int128 value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    value *= power10(static_cast<int>(-scale));
    out->mantissa = negative ? -value : value;
  } else {
    out->real = true;
    std::string normal = (negative ? "-" : "") + digits + "e" + std::to_string(-scale);
    out->value = std::strtod(normal.c_str(), nullptr);
    if (!std::isfinite(out->value)) return DISP_E_OVERFLOW;
  }
  return S_OK;
}

// Reads a by-value scalar; false for a type that is no number.
bool readNumber(const VARIANT& v, Number* n) {
  *n = Number{};
  switch (v.vt) {
    case VT_EMPTY: return true;
    case VT_I1: n->mantissa = v.cVal; return true;
    case VT_UI1: n->mantissa = v.bVal; return true;
    case VT_I2: n->mantissa = v.iVal; return true;
    case VT_UI2: n->mantissa = v.uiVal; return true;
    case VT_I4: case VT_INT: n->mantissa = v.lVal; return true;
    case VT_UI4: case VT_UINT: n->mantissa = v.ulVal; return true;
    case VT_I8: n->mantissa = v.llVal; return true;
    case VT_UI8: n->mantissa = v.ullVal; return true;
    case VT_BOOL: n->mantissa = v.boolVal ? -1 : 0; return true;
    case VT_CY: n->mantissa = v.cyVal.int64; n->scale = 4; return true;
    case VT_DECIMAL: {
      const Int128 magnitude = (static_cast<Int128>(v.decVal.Hi32) << 64) | v.decVal.Lo64;
      n->mantissa = (v.decVal.sign & DECIMAL_NEG) ? -magnitude : magnitude;
      n->scale = v.decVal.scale;
      return v.decVal.scale <= 28;
    }
    case VT_R4: n->real = true; n->value = v.fltVal; return true;
    case VT_R8: n->real = true; n->value = v.dblVal; return true;
    case VT_DATE: n->real = true; n->value = v.date; return true;
    default: return false;
  }
}

// Writes n as type vt into out (which owns nothing).
HRESULT writeNumber(const Number& n, VARTYPE vt, VARIANT* out) {
  Int128 value = 0;
  auto integer = [&](Int128 low, Int128 high) -> HRESULT {
    if (!toInteger(n, &value) || value < low || value > high) return DISP_E_OVERFLOW;
    return S_OK;
  };
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_I1: if (SUCCEEDED(hr = integer(-128, 127))) out->cVal = static_cast<CHAR>(value); break;
    case VT_UI1: if (SUCCEEDED(hr = integer(0, 255))) out->bVal = static_cast<BYTE>(value); break;
    case VT_I2: if (SUCCEEDED(hr = integer(-32768, 32767))) out->iVal = static_cast<SHORT>(value); break;
    case VT_UI2: if (SUCCEEDED(hr = integer(0, 65535))) out->uiVal = static_cast<USHORT>(value); break;
    case VT_I4: case VT_INT: if (SUCCEEDED(hr = integer(INT32_MIN, INT32_MAX))) out->lVal = static_cast<LONG>(value); break;
    case VT_UI4: case VT_UINT: if (SUCCEEDED(hr = integer(0, UINT32_MAX))) out->ulVal = static_cast<ULONG>(value); break;
    case VT_I8: if (SUCCEEDED(hr = integer(INT64_MIN, INT64_MAX))) out->llVal = static_cast<LONGLONG>(value); break;
    case VT_UI8: if (SUCCEEDED(hr = integer(0, UINT64_MAX))) out->ullVal = static_cast<ULONGLONG>(value); break;
    case VT_BOOL: out->boolVal = (n.real ? n.value != 0 : n.mantissa != 0) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_R4: {
      const double d = toDouble(n);
      if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
      out->fltVal = static_cast<float>(d);
      break;
    }
    case VT_R8: out->dblVal = toDouble(n); break;
    case VT_DATE: {
      const double d = toDouble(n);
      if (!(d >= -657434.0 && d < 2958466.0)) return DISP_E_OVERFLOW;
      out->date = d;
      break;
    }
    case VT_CY:
      if (!toScaled(n, 4, &value) || value < INT64_MIN || value > INT64_MAX) return DISP_E_OVERFLOW;
      out->cyVal.int64 = static_cast<LONGLONG>(value);
      break;
    case VT_DECIMAL: {
      Number exact = n;
      if (n.real) {
        // A double becomes the decimal of its 15 significant digits.
        if (!std::isfinite(n.value)) return DISP_E_OVERFLOW;
        if (FAILED(parseNumber(realText(n.value, 15), &exact))) return DISP_E_OVERFLOW;
        if (exact.real) return DISP_E_OVERFLOW;
      }
      Int128 magnitude = exact.mantissa < 0 ? -exact.mantissa : exact.mantissa;
      if (magnitude > kMax96) return DISP_E_OVERFLOW;
      DECIMAL dec{};
      dec.scale = static_cast<BYTE>(exact.scale);
      dec.sign = exact.mantissa < 0 ? DECIMAL_NEG : 0;
      dec.Hi32 = static_cast<ULONG>(magnitude >> 64);
      dec.Lo64 = static_cast<ULONGLONG>(magnitude);
      out->decVal = dec;
      break;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
  if (SUCCEEDED(hr)) out->vt = vt;  // after decVal: its reserved word overlays vt
  return hr;
}

HRESULT textOf(const VARIANT& v, USHORT wFlags, std::string* text) {
  Number n;
  switch (v.vt) {
    case VT_EMPTY: text->clear(); return S_OK;
    case VT_BOOL:
      *text = (wFlags & VARIANT_ALPHABOOL) ? (v.boolVal ? "True" : "False") : (v.boolVal ? "-1" : "0");
      return S_OK;
    case VT_R4: *text = realText(v.fltVal, 7); return S_OK;
    case VT_R8: *text = realText(v.dblVal, 15); return S_OK;
    case VT_DATE: return dateText(v.date, text) ? S_OK : DISP_E_OVERFLOW;
    default:
      if (!readNumber(v, &n)) return DISP_E_TYPEMISMATCH;
      *text = scaledText(n.mantissa, n.scale);
      return S_OK;
  }
}

BSTR wideText(const std::string& text) {
  BSTR bstr = SysAllocStringLen(nullptr, static_cast<UINT>(text.size()));
  if (!bstr) return nullptr;
  for (size_t i = 0; i < text.size(); ++i) bstr[i] = static_cast<unsigned char>(text[i]);
  return bstr;
}

// The value property of an object, by Invoke of DISPID_VALUE.
HRESULT valueProperty(IDispatch* dispatch, LCID lcid, VARIANT* out) {
  if (!dispatch) return DISP_E_TYPEMISMATCH;
  static const IID iidNull{};
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VariantInit(out);
  constexpr WORD kPropertyGet = 2;
  return dispatch->Invoke(0, iidNull, lcid, kPropertyGet, &none, out, nullptr, nullptr);
}

// Converts the by-value source into out (which owns nothing).
HRESULT convert(const VARIANT& src, LCID lcid, USHORT wFlags, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  if (vt == VT_EMPTY) return S_OK;
  if (vt == VT_NULL) {
    if (src.vt != VT_EMPTY && src.vt != VT_NULL) return DISP_E_TYPEMISMATCH;
    out->vt = VT_NULL;
    return S_OK;
  }
  if (src.vt == VT_DISPATCH) {
    if (wFlags & VARIANT_NOVALUEPROP) return DISP_E_TYPEMISMATCH;
    VARIANT value;
    HRESULT hr = valueProperty(src.pdispVal, lcid, &value);
    if (FAILED(hr)) return hr;
    hr = VariantChangeTypeEx(&value, &value, lcid, wFlags | VARIANT_NOVALUEPROP, vt);
    if (SUCCEEDED(hr)) *out = value;
    else VariantClear(&value);
    return hr;
  }
  if (src.vt == VT_NULL || src.vt == VT_ERROR || src.vt == VT_UNKNOWN || (src.vt & VT_ARRAY) ||
      (vt & VT_ARRAY) || vt == VT_UNKNOWN || vt == VT_DISPATCH || vt == VT_ERROR)
    return DISP_E_TYPEMISMATCH;
  if (vt == VT_BSTR) {
    std::string text;
    const HRESULT hr = textOf(src, wFlags, &text);
    if (FAILED(hr)) return hr;
    out->bstrVal = wideText(text);
    if (!out->bstrVal) return E_OUTOFMEMORY;
    out->vt = VT_BSTR;
    return S_OK;
  }
  Number n;
  if (src.vt == VT_BSTR) {
    const std::string text = narrow(src.bstrVal);
    if (vt == VT_BOOL && (equalsIgnoringCase(text, "True") || equalsIgnoringCase(text, "False"))) {
      out->boolVal = equalsIgnoringCase(text, "True") ? VARIANT_TRUE : VARIANT_FALSE;
      out->vt = VT_BOOL;
      return S_OK;
    }
    if (vt == VT_DATE) {
      // A date text first; a number is a serial as it stands.
      double serial = 0;
      if (dateFromText(text, &serial)) {
        out->date = serial;
        out->vt = VT_DATE;
        return S_OK;
      }
    }
    const HRESULT hr = parseNumber(text, &n);
    if (FAILED(hr)) return hr;
  } else if (!readNumber(src, &n)) {
    return DISP_E_TYPEMISMATCH;
  }
  return writeNumber(n, vt, out);
}

}  // namespace

extern "C" HRESULT VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID lcid, USHORT wFlags,
                                       VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  if (!oleaut::isValidVariantType(pvarSrc->vt) || (vt != VT_EMPTY && vt != VT_NULL && !oleaut::isValidVariantType(vt)))
    return DISP_E_BADVARTYPE;
  if (vt & VT_BYREF) return DISP_E_TYPEMISMATCH;
  // Read through a reference first; the copy also keeps the source intact
  // when it is the destination.
  VARIANT source;
  VariantInit(&source);
  HRESULT hr = VariantCopyInd(&source, pvarSrc);
  if (FAILED(hr)) return hr;
  VARIANT result;
  if (source.vt == vt) {
    result = source;
    VariantInit(&source);
  } else {
    hr = convert(source, lcid, wFlags, vt, &result);
    VariantClear(&source);
    if (FAILED(hr)) return hr;
  }
  hr = VariantClear(pvargDest);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *pvargDest = result;
  return S_OK;
}

extern "C" HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt) {
  return VariantChangeTypeEx(pvargDest, pvarSrc, LOCALE_USER_DEFAULT, wFlags, vt);
}
