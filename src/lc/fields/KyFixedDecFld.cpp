// KyFixedDecFld: scale, states and text input.
#include "KyFixedDecFld.h"

#include "KyFieldSettings.h"
#include "KyNumberText.h"
#include "vioNumeric.h"

#include <algorithm>

namespace {

// The money limit of a money column.
constexpr char kMoneyHigh[] = "922337203685477.5807";
constexpr char kMoneyLow[] = "-922337203685477.5807";
constexpr int kBuiltInDigits = 28;

// 28 digits with a point so that `scale` of them follow it.
KyFixedDecImpl builtInValue(int iCode, int iScale) {
  if (iCode != KyStateLow && iCode != KyStateHigh) iCode = 0;
  KyString digits(CString(iCode ? '9' : '0', kBuiltInDigits));
  const int scale = std::clamp(iScale, 0, kBuiltInDigits);
  if (scale > 0) digits.Insert(kBuiltInDigits - scale, '.');
  if (iCode == KyStateLow) digits.Insert(0, '-');
  return KyFixedDecImpl(digits.c_str());
}

}  // namespace

KyFixedDecFld::KyFixedDecFld() { SetEmpty(); }

KyFixedDecFld::KyFixedDecFld(const KyFixedDecFld& other) : KyRTType() {
  m_Value = other.m_Value;
  SetScale(other.GetScale());
  if (other.m_bFieldState != KyStateValue) SetFieldState(other.m_bFieldState);
  m_LP = other.m_LP;
}

KyFixedDecFld::KyFixedDecFld(const KyFixedDecImpl& value, short sState) {
  m_Value = value;
  if (sState == KyStateNull || sState == KyStateLow || sState == KyStateEmpty || sState == KyStateHigh) {
    const KyFixedDecImpl zero(0);
    m_LP.Set(static_cast<WORD>(sState), sState == KyStateEmpty ? value : zero, sState == KyStateNull ? value : zero,
             sState == KyStateLow ? value : zero, sState == KyStateHigh ? value : zero);
    m_bAllowedStates = static_cast<BYTE>(sState);
  }
  if (sState != KyStateValue) SetFieldState(sState);
}

KyFixedDecFld::KyFixedDecFld(BYTE bAllowedStates, const KyFixedDecImpl& empty, const KyFixedDecImpl& null,
                             const KyFixedDecImpl& low, const KyFixedDecImpl& high, WORD wListMask) {
  SetEmpty();
  InitLP(bAllowedStates, empty, null, low, high, wListMask);
}

KyFixedDecFld& KyFixedDecFld::operator=(const KyFixedDecFld& other) {
  if (this == &other) return *this;
  SetValue(other.m_Value);
  SetFieldState(other.m_bFieldState);
  SetValue(truncate(m_Value, GetScale()));
  return *this;
}

KyFixedDecFld& KyFixedDecFld::operator<<=(const KyFixedDecFld& other) {
  SetValue(other.m_Value);
  SetFieldState(other.m_bFieldState);
  SetValue(round(m_Value, GetScale()));
  return *this;
}

void KyFixedDecFld::Construct(const KyFixedDecFld& other) {
  if (this == &other) return;
  SetValue(other.m_Value);
  SetScale(other.GetValue().GetDecimalPlaces());
  m_bFieldState = other.m_bFieldState;
  m_bAllowedStates = other.m_bAllowedStates;
  m_LP = other.m_LP;
}

void KyFixedDecFld::InitLP(BYTE bAllowedStates, const KyFixedDecImpl& empty, const KyFixedDecImpl& null,
                           const KyFixedDecImpl& low, const KyFixedDecImpl& high, WORD wListMask) {
  m_LP.Set(wListMask, empty, null, low, high);
  m_bAllowedStates = bAllowedStates;
}

KyFixedDecImpl KyFixedDecFld::GetDefaultVal(short sCode) const {
  if (const KyFixedDecImpl* entry = GetLP(sCode)) return *entry;
  return builtInValue(sCode, GetScale());
}

CString KyFixedDecFld::strGetText() const {
  CString text;
  m_Value.Number().strGetString(text);
  return text;
}

void KyFixedDecFld::PutText(const char* pszText) {
  const char decimal = KyLocaleDecimalChar();
  const char thousand = KyLocaleThousandChar();
  KyString text;
  bool pointSeen = false;
  int typedDecimals = 0;
  for (const char* p = pszText ? pszText : ""; *p; ++p) {
    if (*p == decimal || *p == '.') {
      text += '.';
      pointSeen = true;
    } else if (*p != thousand && *p != ' ') {
      text += *p;
      if (pointSeen) ++typedDecimals;
    }
  }
  putNumberText(text, pointSeen, typedDecimals, '.', false);
}

void KyFixedDecFld::PutIntlText(const char* pszText) {
  const char decimal = KyLocaleDecimalChar();
  const char thousand = KyLocaleThousandChar();
  KyString text;
  bool pointSeen = false;
  int typedDecimals = 0;
  for (const char* p = pszText ? pszText : ""; *p; ++p) {
    if (*p == decimal) {
      text += decimal;
      pointSeen = true;
    } else if (*p != thousand && *p != ' ') {
      text += *p;
      if (pointSeen) ++typedDecimals;
    }
  }
  putNumberText(text, pointSeen, typedDecimals, decimal, true);
}

// Pads a text without exponent with zeros up to the decimals of the current
// value (so that '12' typed into a field holding 0.00 reads 12.00). An
// exponent of either case is left alone: padding "1E3" would make it no
// number at all.
void KyFixedDecFld::putNumberText(KyString text, bool fPointSeen, int iTypedDecimals, char chPoint, bool fIntl) {
  const int currentDecimals = GetValue().GetDecimalPlaces();
  if (KyNumericCastingWithLeadingZeros() && currentDecimals > iTypedDecimals && text.Find('e') < 0 &&
      text.Find('E') < 0) {
    if (!fPointSeen) text += chPoint;
    text += CString('0', currentDecimals - iTypedDecimals);
  }
  if (fIntl) {
    KyString converted = KyNumberFromIntlText(text);
    text = converted.IsEmpty() ? KyString("0") : converted;
  }
  SetValue(KyFixedDecImpl(text.c_str()));
}

void KyFixedDecFld::SetFieldState(short sCode) {
  if (sCode != KyStateEmpty) m_bFieldState = static_cast<BYTE>(sCode);
  if (sCode != KyStateValue) SetDefaultData(sCode);
}

void KyFixedDecFld::SetDefaultData(int iCode) {
  if (const KyFixedDecImpl* entry = GetLP(iCode))
    SetValue(*entry);
  else if (iCode == KyStateNull || iCode == KyStateLow || iCode == KyStateEmpty || iCode == KyStateHigh)
    SetValue(builtInValue(iCode, GetScale()));
}

void KyFixedDecFld::SetEmpty() {
  const KyFixedDecImpl* entry = GetLP(KyStateEmpty);
  SetValue(entry ? *entry : builtInValue(KyStateEmpty, GetScale()));
  m_bFieldState = KyStateValue;
}

BOOL KyFixedDecFld::IfEmpty() const {
  const KyFixedDecImpl* entry = GetLP(KyStateEmpty);
  return m_Value == (entry ? *entry : builtInValue(KyStateEmpty, GetScale()));
}

void KyFixedDecFld::KyContentToStateFromDB(const vioNumeric* pMoneyColumn) {
  const CString text = strGetText();
  if (IsAllowed(KyStateHigh) && !GetLP(KyStateHigh) &&
      (pMoneyColumn ? text == kMoneyHigh : m_Value == builtInValue(KyStateHigh, GetScale())))
    m_bFieldState = KyStateHigh;
  if (IsAllowed(KyStateLow) && !GetLP(KyStateLow) &&
      (pMoneyColumn ? text == kMoneyLow : m_Value == builtInValue(KyStateLow, GetScale())))
    m_bFieldState = KyStateLow;
  if (const KyFixedDecImpl* high = GetLP(KyStateHigh); high && *high == m_Value) m_bFieldState = KyStateHigh;
  if (const KyFixedDecImpl* low = GetLP(KyStateLow); low && *low == m_Value) m_bFieldState = KyStateLow;
}

KyFixedDecFld operator%(const KyFixedDecFld& a, const KyFixedDecFld& b) {
  return KyFixedDecFld(a.GetValue() % b.GetValue(), KyStateValue);
}
