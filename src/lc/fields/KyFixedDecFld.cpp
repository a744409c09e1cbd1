// KyFixedDecFld: scale, states and text input.
#include "KyFixedDecFld.h"

#include "KyFieldSettings.h"
#include "KyNumberText.h"
#include "vioNumeric.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

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

void KyFixedDecFld::PutText(const char* pszText) { readNumberText(pszText, false); }

void KyFixedDecFld::PutIntlText(const char* pszText) { readNumberText(pszText, true); }

namespace {

// A number text being rewritten, held on the stack as long as it fits
// (every text a user types or a column holds does); a longer one moves
// whole to the heap, so no text is ever cut.
class NumberText {
 public:
  NumberText() = default;
  NumberText(const NumberText&) = delete;
  NumberText& operator=(const NumberText&) = delete;

  void append(char c, size_t count = 1) {
    if (!heap_.empty() || size_ + count > kInline) {
      if (heap_.empty()) heap_.assign(inline_, size_);
      heap_.append(count, c);
      size_ = heap_.size();
      return;
    }
    std::memset(inline_ + size_, c, count);
    size_ += count;
  }
  bool contains(char c) const { return std::memchr(data(), c, size_) != nullptr; }
  bool containsAnyOf(const char* set) const {
    for (; *set; ++set)
      if (contains(*set)) return true;
    return false;
  }
  bool empty() const { return size_ == 0; }
  // Terminated, writable in place; resize() takes the length back.
  char* c_str() {
    data()[size_] = '\0';
    return data();
  }
  void resize(size_t size) {
    size_ = size;
    if (!heap_.empty()) heap_.resize(size);
  }

 private:
  // Characters kept on the stack; one more holds the terminator.
  static constexpr size_t kInline = 128;

  char* data() { return heap_.empty() ? inline_ : heap_.data(); }
  const char* data() const { return heap_.empty() ? inline_ : heap_.data(); }

  char inline_[kInline + 1];
  size_t size_ = 0;
  std::string heap_;  // the text once it outgrows inline_ (never empty then)
};

}  // namespace

// 1. The text rewritten: the point (the locale's decimal character, and for
//    program notation '.' as well) is written as `point`; the locale's
//    thousands character and blanks are dropped; the characters after the
//    point are the typed decimals.
// 2. A text without exponent (of either case: padding "1E3" would make it
//    no number at all) is padded with zeros up to the decimals of the
//    current value, so that '12' typed into a field holding 0.00 reads
//    12.00.
// 3. The user's notation becomes program notation; nothing left reads "0".
// 4. The number is parsed and assigned as SetValue does (scale and state
//    stay).
void KyFixedDecFld::readNumberText(const char* pszText, bool fIntl) {
  const KyLocale* locale = KyCurrentLocale();
  const char decimal = KyLocaleDecimalChar(locale);
  const char thousand = KyLocaleThousandChar(locale);
  const char point = fIntl ? decimal : '.';
  NumberText text;
  bool pointSeen = false;
  long long typedDecimals = 0;
  for (const char* p = pszText ? pszText : ""; *p; ++p) {
    if (*p == decimal || (!fIntl && *p == '.')) {
      text.append(point);
      pointSeen = true;
    } else if (*p != thousand && *p != ' ') {
      text.append(*p);
      if (pointSeen) ++typedDecimals;
    }
  }
  // The decimals of the current value, counted as a copy counts them.
  const long long currentDecimals = KyFixedDecimal(m_Value.Number()).decimalPlaces;
  long long padding = 0;
  if (KyNumericCastingWithLeadingZeros() && currentDecimals > typedDecimals && !text.contains('e') &&
      !text.contains('E')) {
    if (!pointSeen) text.append(point);
    padding = currentDecimals - typedDecimals;
  }
  // A value such as 1E-999999999 has a billion decimals. Zeros beyond the
  // 34 digits a number keeps change nothing for a non-zero text (the digits
  // past the 34th are zeros either way, and the exponent after rounding
  // does not depend on their count); for a zero text only their count
  // matters, which an exponent says as well. So at most 35 zeros are
  // written, and for a zero text the rest as "E-<count>". (Not when the
  // user's decimal and thousands characters are one: the thousands rule
  // then drops the point, and every zero is an integer digit.)
  const long long zerosThatCount =
      fIntl && decimal == thousand ? padding : static_cast<long long>(KyFixedDecimal::kDigits) + 1;
  text.append('0', static_cast<size_t>(std::min(padding, zerosThatCount)));
  if (fIntl) {
    text.resize(KyNumberFromIntlTextInPlace(text.c_str(), locale));
    if (text.empty()) text.append('0');
  }
  if (padding > zerosThatCount && !text.containsAnyOf("123456789")) {
    char exponent[24];
    const int length = std::snprintf(exponent, sizeof exponent, "E-%lld", padding - zerosThatCount);
    for (int i = 0; i < length; ++i) text.append(exponent[i]);
  }
  m_Value.Number() = KyFixedDecimal(text.c_str());
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
