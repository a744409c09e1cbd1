// Masked text of fields (see KyMaskedText.h).
#include "KyMaskedText.h"

#include <cstring>

#include "formatdata.h"

CString KyFormatMasked(const void* pValue, char cType, char cStorage, const char* pszMask) {
  // Cleared first: FormatData writes nothing at all for a value it cannot
  // format, and the buffer must not hand back stack bytes then.
  char buffer[256] = {};
  int negative = 0;
  if (FormatData(pValue, cType, cStorage, pszMask ? pszMask : "", buffer, sizeof buffer, &negative, 0) <= 0)
    buffer[0] = '\0';
  return CString(buffer);
}

CString KyFormatMaskedChar(const char* pszText, const char* pszMask) {
  const char* text = pszText ? pszText : "";
  const char* mask = pszMask ? pszMask : "";
  const char type = (*mask != '\0' && !(*mask >= '0' && *mask <= '9')) ? 'm' : 's';
  const int size = static_cast<int>(std::strlen(text) + 1 + std::strlen(mask));
  CString result;
  char* out = result.GetBuffer(size);
  std::memset(out, 0, size);
  int negative = 0;
  if (FormatData(text, type, 's', mask, out, size, &negative, 0) <= 0) out[0] = '\0';
  result.ReleaseBuffer();
  return result;
}

// Here rather than in the classes' own files: one home for every masked text.
#include "KyCharFld.h"
#include "KyFixedDecFld.h"
#include "KyLocale.h"
#include "KyNumberText.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "numberformat.h"

CString KyCharFld::strGetMaskedText(const char* pszMask) const {
  return KyFormatMaskedChar(static_cast<LPCSTR>(*this), pszMask);
}

namespace {

// The value's plain decimal text ("-1234.5", "0.001") laid into the picture
// in program notation by the control library's number pictures, rounded
// half up at the last place; an empty picture gives the text itself. Like
// snprintf: writes what fits into size - 1 characters and answers the full
// length; -1, writing nothing, for what cannot be laid so (NaN, Infinity,
// an exponent form, a picture with an exponent part).
int layFixedDecimal(const CString& value, const char* pszMask, char* out, int size) {
  const std::string_view text(value, value.GetLength());
  const bool minus = !text.empty() && text.front() == '-';
  const std::string_view number = minus ? text.substr(1) : text;
  const size_t point = std::min(number.find('.'), number.size());
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const std::string_view fraction = point < number.size() ? number.substr(point + 1) : std::string_view();
  if (point == 0 || !std::all_of(number.begin(), number.begin() + point, isDigit) ||
      !std::all_of(fraction.begin(), fraction.end(), isDigit))
    return -1;
  if (!pszMask || !*pszMask) {
    const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return static_cast<int>(text.size());
  }
  std::string digits(number.substr(0, point));
  digits.append(fraction);
  // A negative zero ("-0.00") is not below 0.
  const bool negative = minus && digits.find_first_not_of('0') != std::string::npos;
  return HCtlFormatDecimalText(digits.c_str(), static_cast<int>(point), negative, pszMask, out, size,
                               HCTL_DECIMAL_FIELD | HCTL_DECIMAL_ROUND | HCTL_DECIMAL_CUT);
}

}  // namespace

int KyFixedDecFld::FormatToBuffer(const KyFixedDecFld& field, const char* pszMask, char* pszBuffer, int iSize,
                                  int iFlag) {
  if (!pszBuffer || iSize < 2) return 0;
  const CString value = field.strGetText();
  const int length = layFixedDecimal(value, pszMask, pszBuffer, iSize);
  if (length >= 0) return std::min(length, iSize - 1);
  const int cut = std::min(value.GetLength(), iSize - 1);
  std::memcpy(pszBuffer, static_cast<const char*>(value), cut);
  pszBuffer[cut] = '\0';
  return cut;
}

// Not through FormatToBuffer's 256 bytes: the laid text is kept whole.
CString KyFixedDecFld::strGetMaskedText(const char* pszMask) const {
  const CString value = strGetText();
  char buffer[256];
  const int length = layFixedDecimal(value, pszMask, buffer, sizeof buffer);
  if (length >= 0) {
    CString text;
    if (length < static_cast<int>(sizeof buffer)) {
      text = buffer;
    } else {
      std::string whole(static_cast<size_t>(length) + 1, '\0');
      layFixedDecimal(value, pszMask, whole.data(), length + 1);
      text = whole.c_str();
    }
    if (const KyLocale* locale = KyCurrentLocale()) locale->ToIntlNumber(text);
    return text;
  }
  const double number = static_cast<double>(static_cast<long double>(GetValue()));
  return KyFormatMasked(&number, 'n', 'd', pszMask);
}
