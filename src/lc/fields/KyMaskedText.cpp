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
#include "KyFixedDecPicture.h"
#include "KyLocale.h"
#include "KyNumberText.h"

#include <algorithm>
#include <string>

CString KyCharFld::strGetMaskedText(const char* pszMask) const {
  return KyFormatMaskedChar(static_cast<LPCSTR>(*this), pszMask);
}

int KyFixedDecFld::FormatToBuffer(const KyFixedDecFld& field, const char* pszMask, char* pszBuffer, int iSize,
                                  int iFlag) {
  if (!pszBuffer || iSize < 2) return 0;
  const CString value = field.strGetText();
  std::string text;
  if (!KyLayDecimalInPicture(std::string_view(value, value.GetLength()), pszMask, text))
    text.assign(value, value.GetLength());
  const size_t length = std::min(text.size(), static_cast<size_t>(iSize - 1));
  std::memcpy(pszBuffer, text.data(), length);
  pszBuffer[length] = '\0';
  return static_cast<int>(length);
}

// Not through FormatToBuffer's 256 bytes: the laid text is kept whole.
CString KyFixedDecFld::strGetMaskedText(const char* pszMask) const {
  const CString value = strGetText();
  std::string laid;
  if (KyLayDecimalInPicture(std::string_view(value, value.GetLength()), pszMask, laid)) {
    CString text(laid.c_str());
    if (const KyLocale* locale = KyCurrentLocale()) locale->ToIntlNumber(text);
    return text;
  }
  const double number = static_cast<double>(static_cast<long double>(GetValue()));
  return KyFormatMasked(&number, 'n', 'd', pszMask);
}
