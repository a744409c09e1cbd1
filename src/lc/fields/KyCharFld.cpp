// KyCharFld: states, special values and the character columns.
#include "KyCharFld.h"

#include "KyAppContext.h"
#include "KyDatabaseConnection.h"
#include "KyFieldSettings.h"
#include "KyProfile.h"
#include "vioCharacter.h"

#include <mscrt.h>
#include <winnls.h>

#include <cstdarg>
#include <cstring>
#include <vector>

namespace {

// An unlimited field's high value is this many copies of the high character.
constexpr int kUnlimitedHighLength = 256;

KyString trimmed(const char* psz) {
  KyString text(psz);
  text.TrimRight(' ');
  return text;
}

bool equalTrimmed(const char* psz1, const char* psz2) { return trimmed(psz1) == trimmed(psz2); }

}  // namespace

KyCharFld::KyCharFld() { SetEmpty(); }

KyCharFld::KyCharFld(const KyString& text) : KyString(text) {}

KyCharFld::KyCharFld(const char* pszText) : KyString(pszText) {}

KyCharFld::KyCharFld(const WCHAR* pwszText) {
  if (!pwszText) return;
  const int size = WideCharToMultiByte(CP_ACP, 0, pwszText, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return;
  std::vector<char> text(static_cast<size_t>(size));
  const int written = WideCharToMultiByte(CP_ACP, 0, pwszText, -1, text.data(), size, nullptr, nullptr);
  if (written > 0) SetBytes(written - 1, text.data());
}

KyCharFld::KyCharFld(const char* pszText, short sState) : KyString(pszText) {
  if (sState != KyStateValue && sState != KyStateEmpty) m_bFieldState = static_cast<BYTE>(sState);
}

KyCharFld::KyCharFld(const KyCharFld& other) : KyString(other), KyRTType() {
  if (other.m_bFieldState != KyStateValue) SetFieldState(other.m_bFieldState);
  m_LP = other.m_LP;
}

KyCharFld::KyCharFld(int iMaxLength, int fSafeCut, int fHostMixed, BYTE bAllowedStates, const char* pszEmpty,
                     const char* pszNull, const char* pszLow, const char* pszHigh, WORD wListMask)
    : KyString(iMaxLength, fSafeCut) {
  Init(fHostMixed, iMaxLength, fSafeCut);
  SetEmpty();
  InitLP(bAllowedStates, pszEmpty, pszNull, pszLow, pszHigh, wListMask);
}

KyCharFld& KyCharFld::operator=(const KyCharFld& other) {
  if (this == &other) return *this;
  if (other.m_bFieldState == KyStateNull)
    SetEmpty();
  else
    KyString::operator=(static_cast<const KyString&>(other));
  SetFieldState(other.m_bFieldState);
  return *this;
}

void KyCharFld::Construct(const KyCharFld& other) {
  if (this == &other) return;
  Init(other.IsHostMixed(), other.GetMaxLength(), other.IsSafeCut());
  KyString::operator=(static_cast<const KyString&>(other));
  m_bFieldState = other.m_bFieldState;
  m_bAllowedStates = other.m_bAllowedStates;
  m_LP = other.m_LP;
}

void KyCharFld::InitLP(BYTE bAllowedStates, const char* pszEmpty, const char* pszNull, const char* pszLow,
                       const char* pszHigh, WORD wListMask) {
  m_LP.Set(wListMask, KyString(pszEmpty), KyString(pszNull), KyString(pszLow), KyString(pszHigh));
  m_bAllowedStates = bAllowedStates;
}

void KyCharFld::PutText(const char* pszText) {
  SetBytes(pszText ? static_cast<int>(strnlen(pszText, INT_MAX / 2)) : 0, pszText);
}

void KyCharFld::PutUSText(const char* pszText) {
  CString text(pszText);
  if (KyAppContext* context = KyAppContext::Current(); context && context->GetLocale())
    context->GetLocale()->ToIntlNumber(text);
  PutText(text);
}

void KyCharFld::SetString(int nCount, char ch) {
  if (nCount < 1) return;
  KyString::operator=(CString(ch, nCount));
}

void KyCharFld::TrimSpaces() {
  if (!IsEmpty()) TrimRight(' ');
}

void KyCharFld::Formatf(const char* pszFormat, ...) {
  std::vector<char> buffer(static_cast<size_t>(KyMaxStringSize()));
  va_list args;
  va_start(args, pszFormat);
  // Cut at the buffer: the text never runs past it.
  _vsnprintf_s(buffer.data(), buffer.size(), _TRUNCATE, pszFormat ? pszFormat : "", args);
  va_end(args);
  PutText(buffer.data());
}

void KyCharFld::SetFieldState(short sCode) {
  if (sCode != KyStateEmpty) m_bFieldState = static_cast<BYTE>(sCode);
  if (sCode != KyStateValue) SetDefaultData(sCode);
}

void KyCharFld::SetDefaultData(int iCode) {
  if (const KyString* entry = GetLP(iCode)) {
    KyString::operator=(*entry);
  } else if (iCode == KyStateHigh) {
    const char high = KyGetRunOption(KyOptCharHigh)[0];
    if (!high) {
      Empty();  // no high character configured: nothing to repeat
      return;
    }
    const int length = GetMaxLength();
    SetString(length < 0 ? kUnlimitedHighLength : length, high);
  } else {
    Empty();
  }
}

void KyCharFld::SetEmpty() {
  if (const KyString* entry = GetLP(KyStateEmpty))
    KyString::operator=(*entry);
  else
    Empty();
  m_bFieldState = KyStateValue;
}

BOOL KyCharFld::IfEmpty() const {
  if (const KyString* entry = GetLP(KyStateEmpty)) return KyString::IsEqual(*this, *entry);
  if (!KyCharacterTrimSpaces()) return GetLength() == 0;
  for (int i = 0; i < GetLength(); ++i)
    if ((*this)[i] != ' ') return FALSE;
  return TRUE;
}

// The first rule that matches wins: the list's empty, high and low entries
// (trailing blanks ignored), then the INI special values over the column's
// length - 1 characters for the states the field allows.
void KyCharFld::KyContentToStateFromDB(const vioCharacter& column) {
  const int length = column.GetLength() - 1;
  const KyString* empty = GetLP(KyStateEmpty);
  const KyString* high = GetLP(KyStateHigh);
  const KyString* low = GetLP(KyStateLow);
  if (empty && equalTrimmed(*this, *empty))
    SetEmpty();
  else if (high && equalTrimmed(*this, *high))
    m_bFieldState = KyStateHigh;
  else if (low && equalTrimmed(*this, *low))
    m_bFieldState = KyStateLow;
  else if (!empty && isEQSpecialValFromINI(*this, &column, KyOptCharEmpty, length))
    SetEmpty();
  else if (IsAllowed(KyStateHigh) && !high && isEQSpecialValFromINI(*this, &column, KyOptCharHigh, length))
    m_bFieldState = KyStateHigh;
  else if (IsAllowed(KyStateLow) && !low && isEQSpecialValFromINI(*this, &column, KyOptCharLow, length))
    m_bFieldState = KyStateLow;
}

KyCharFld& KyCharFld::operator=(const vioCharacter& column) {
  assignFromColumn(column, false);
  return *this;
}

KyCharFld& KyCharFld::operator=(const vioVarChar& column) {
  assignFromColumn(column, true);
  return *this;
}

// A NULL column gives state 1 when the field allows it and nothing else
// changes. Otherwise the text is stored (a NULL column's as the empty value,
// or for a VARCHAR column with "Varchar Encoding" "Null" as an empty text
// that is final), the state becomes 0 and the text's state is read.
void KyCharFld::assignFromColumn(const vioCharacter& column, bool varChar) {
  if (column.IsNull() && IsAllowed(KyStateNull)) {
    m_bFieldState = KyStateNull;
    return;
  }
  if (column.IsNull() && !varChar) {
    SetEmpty();
  } else if (column.IsNull() &&
             KyGetProfileString("ORACLE Settings", "Varchar Encoding", "SQL").CompareNoCase("Null") == 0) {
    Empty();
    m_bFieldState = KyStateValue;
    return;
  } else {
    PutText(column.GetText());
    const KyDatabaseConnection* connection = column.GetConnection();
    if (varChar && connection && connection->TrimsVarChar()) TrimRight(' ');
  }
  m_bFieldState = KyStateValue;
  KyContentToStateFromDB(column);
}

BOOL KyCharFld::operator==(const KyCharFld& other) const {
  return CollateFieldStates(*this, other, iKyCompString(*this, other)) == 0;
}
