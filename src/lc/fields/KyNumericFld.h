// KyNumericFld: what the integer and floating-point fields share. Each field
// class derives from KyNumericFld<itself, value type> and supplies its text
// forms and its built-in low and high values (kBuiltInLow, kBuiltInHigh);
// the empty and null values are 0.
//
// The state rules are those of every field (see KyRTType.h); the database
// value-to-state step compares the value with the limits of a numeric
// column (or, without one, the built-in values) and with the value list.
#pragma once

#include "KyRTType.h"
#include "KyValueList.h"
#include "vioNumeric.h"

#include "KyNumberText.h"
#include "KyMaskedText.h"

template <class Derived, class T>
class KyNumericFld : public KyRTType {
 public:
  using ValueType = T;

  T GetValue() const { return m_Value; }
  // --- masked text: the value bytes with the class's letters (KyMaskedText.h) ---
  CString strGetMaskedText(const char* pszMask) const override {
    constexpr KyMaskedLetters letters = KyMaskedLettersOf<Derived>();
    return KyFormatMasked(&m_Value, letters.cType, letters.cStorage, pszMask);
  }
  // The value without touching the state.
  void SetValue(T value) { m_Value = value; }

  // A code other than 4 is stored; a code other than 0 then loads its value.
  void SetFieldState(short sCode) {
    if (sCode != KyStateEmpty) m_bFieldState = static_cast<BYTE>(sCode);
    if (sCode != KyStateValue) SetDefaultData(sCode);
  }
  // The list's entry for the code, else the built-in value of 1, 2, 4 and 8;
  // other codes leave the value as it is.
  void SetDefaultData(int iCode) {
    if (const T* entry = GetLP(iCode))
      m_Value = *entry;
    else if (iCode == KyStateNull || iCode == KyStateLow || iCode == KyStateEmpty || iCode == KyStateHigh)
      m_Value = BuiltIn(iCode);
  }
  void SetEmpty() {
    const T* entry = GetLP(KyStateEmpty);
    m_Value = entry ? *entry : T();
    m_bFieldState = KyStateValue;
  }
  BOOL IfEmpty() const {
    const T* entry = GetLP(KyStateEmpty);
    return m_Value == (entry ? *entry : T());
  }
  const T* GetLP(int iCode) const { return m_LP.GetLP(iCode); }
  BOOL fHasNonEmptyLP(int iCode) const { return m_LP.fHasNonEmptyLP(iCode); }
  // The special value of a code: the list's entry, else the built-in value
  // (0 for the codes that have none).
  T GetDefaultVal(short sCode) const {
    const T* entry = GetLP(sCode);
    return entry ? *entry : BuiltIn(sCode);
  }
  // The built-in value of a code: low for 2, high for 8, else 0.
  static T BuiltIn(int iCode) {
    if (iCode == KyStateLow) return Derived::kBuiltInLow;
    if (iCode == KyStateHigh) return Derived::kBuiltInHigh;
    return T();
  }

  // Deep copy of value, state, allowed states and value list.
  void Construct(const Derived& other) {
    m_Value = other.m_Value;
    m_bFieldState = other.m_bFieldState;
    m_bAllowedStates = other.m_bAllowedStates;
    m_LP = other.m_LP;
  }
  // The value-list part of the full constructor.
  void InitLP(BYTE bAllowedStates, T empty, T null, T low, T high, WORD wListMask) {
    m_LP.Set(wListMask, empty, null, low, high);
    m_bAllowedStates = bAllowedStates;
  }

  // After a value came from a column: high (8) when it equals the column's
  // largest value (the built-in high without a column) and the field allows
  // high without a list entry for it; low (2) likewise; then the list's high
  // and low entries, compared exactly.
  void KyContentToStateFromDB(const vioNumeric* pColumn = nullptr) {
    if (IsAllowed(KyStateHigh) && !GetLP(KyStateHigh) && Derived::equalsLimit(m_Value, pColumn, KyStateHigh))
      m_bFieldState = KyStateHigh;
    if (IsAllowed(KyStateLow) && !GetLP(KyStateLow) && Derived::equalsLimit(m_Value, pColumn, KyStateLow))
      m_bFieldState = KyStateLow;
    if (const T* high = GetLP(KyStateHigh); high && *high == m_Value) m_bFieldState = KyStateHigh;
    if (const T* low = GetLP(KyStateLow); low && *low == m_Value) m_bFieldState = KyStateLow;
  }

 protected:
  // No list, state 0, the empty value.
  KyNumericFld() { SetEmpty(); }
  // No list; a state other than 0 loads its built-in value.
  KyNumericFld(T value, short sState) : m_Value(value) {
    if (sState != KyStateValue) SetFieldState(sState);
  }
  KyNumericFld(BYTE bAllowedStates, T empty, T null, T low, T high, WORD wListMask) {
    SetEmpty();
    InitLP(bAllowedStates, empty, null, low, high, wListMask);
  }
  // The value; a source in a special state gives that state's built-in
  // value; then the list. The copy allows no states.
  KyNumericFld(const KyNumericFld& other) : KyRTType(), m_Value(other.m_Value) {
    if (other.m_bFieldState != KyStateValue) SetFieldState(other.m_bFieldState);
    m_LP = other.m_LP;
  }
  // Value, then the source's state; allowed states and list stay this
  // field's.
  KyNumericFld& operator=(const KyNumericFld& other) {
    if (this != &other) {
      m_Value = other.m_Value;
      SetFieldState(other.m_bFieldState);
    }
    return *this;
  }
  ~KyNumericFld() = default;

  // Whether the value equals the limit of a numeric column for a sign code
  // (8 high, 2 low; the limit is read on a copy of the column and compared
  // as a double); without a column, the built-in value (exactly).
  static bool equalsLimit(T value, const vioNumeric* pColumn, int iCode) {
    if (!pColumn) return value == BuiltIn(iCode);
    vioNumeric limit(*pColumn);
    limit.SetLimitText(iCode);
    return static_cast<double>(value) == KyReadDouble(limit.GetText());
  }

  T m_Value{};
  KyValueListPtr<T> m_LP;
};
