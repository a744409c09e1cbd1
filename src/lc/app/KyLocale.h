// KyLocale: the user's regional settings as the run-time uses them, read
// once from the section "intl" of the Windows profile (WIN.INI): number
// separators, date and time patterns, and from the language the ANSI code
// page and font character set. One per thread's application context.
#pragma once

#include "KyString.h"

class KyLocale {
 public:
  // Reads every setting; missing keys take their defaults.
  KyLocale();
  virtual ~KyLocale() = default;

  UINT GetCodePage() const { return m_nCodePage; }
  // Whether the language writes double-byte characters (chs, cht, jpn, kor).
  BOOL IsDoubleByte() const { return m_fDoubleByte; }
  UINT GetCountry() const { return m_nCountry; }
  // A font character set: only the low byte counts.
  UINT GetCharSet() const { return m_nCharSet; }
  const KyString& GetLanguage() const { return m_strLanguage; }  // lower case
  const KyString& GetShortDate() const { return m_strShortDate; }
  const KyString& GetLongDate() const { return m_strLongDate; }
  UINT GetTimeFormat() const { return m_nTimeFormat; }  // 0: 12 hours, 1: 24 hours
  UINT GetTimeLeadingZero() const { return m_nTimeLeadingZero; }
  const KyString& GetTimeSeparator() const { return m_strTimeSeparator; }
  UINT GetTimePrefix() const { return m_nTimePrefix; }
  const KyString& GetMorningSuffix() const { return m_strMorning; }
  const KyString& GetAfternoonSuffix() const { return m_strAfternoon; }
  const KyString& GetCurrency() const { return m_strCurrency; }

  KyString GetDecimalText() const { return m_strDecimal; }
  KyString GetThousandText() const { return m_strThousand; }
  // First characters of the separators; never NUL (see the constructor).
  char GetDecimalChar() const { return m_strDecimal.IsEmpty() ? '\0' : m_strDecimal[0]; }
  char GetThousandChar() const { return m_strThousand.IsEmpty() ? '\0' : m_strThousand[0]; }

  // Program form ('.' decimal point, ',' thousands) to the user's form, in
  // place, character by character (trail bytes untouched).
  void ToIntlNumber(char* pszText) const;
  void ToIntlNumber(CString& text) const;
  // The user's form to program form, in place. A '.' that is not the user's
  // decimal or thousands character becomes byte 0x82, so that it cannot be
  // read as a decimal point later. Unchanged when the decimal character is
  // '.'. The decimal character wins when both separators are equal.
  void FromIntlNumber(char* pszText) const;
  void FromIntlNumber(CString& text) const;

 private:
  UINT m_nCodePage = 1252;
  BOOL m_fDoubleByte = FALSE;
  UINT m_nCountry = 1;
  UINT m_nCharSet = 1;
  KyString m_strLanguage;
  KyString m_strShortDate;
  KyString m_strLongDate;
  UINT m_nTimeFormat = 0;
  UINT m_nTimeLeadingZero = 0;
  KyString m_strTimeSeparator;
  UINT m_nTimePrefix = 0;
  KyString m_strMorning;
  KyString m_strAfternoon;
  KyString m_strDecimal;
  KyString m_strThousand;
  KyString m_strCurrency;
};
