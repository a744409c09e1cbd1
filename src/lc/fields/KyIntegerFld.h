// The integer fields: KyByteFld (unsigned 8-bit), KyIntFld (signed 16-bit),
// KyLongFld (signed 32-bit: a Windows LONG, never Linux's long) and
// KyLLongFld (signed 64-bit). Their text is the decimal digits.
//
// Text in: the atol reading of the text. A number beyond the field's range
// is clamped to the range's limit of its sign ('70000' into a KyIntFld gives
// 32767), never wrapped to its low bits.
#pragma once

#include "KyNumericFld.h"
// Conversions from other field types and columns: KyFieldConversions.h.
#include "KyFieldConversions.h"

#include <climits>

// The common part of the four: text out and in.
template <class Derived, class T>
class KyIntegerFld : public KyNumericFld<Derived, T> {
  using Base = KyNumericFld<Derived, T>;

 public:
  CString strGetText() const override;
  void PutText(const char* pszText) override;
  // The text in the user's notation (thousands characters dropped).
  void PutIntlText(const char* pszText);

 protected:
  using Base::Base;
  KyIntegerFld(const KyIntegerFld&) = default;
  KyIntegerFld& operator=(const KyIntegerFld&) = default;
  ~KyIntegerFld() = default;
};

#define KY_INTEGER_FIELD(Name, Type, Low, High)                                                              \
  class Name : public KyIntegerFld<Name, Type> {                                                             \
   public:                                                                                                   \
    static constexpr Type kBuiltInLow = Low;                                                                 \
    static constexpr Type kBuiltInHigh = High;                                                               \
    Name() = default;                                                                                        \
    Name(Type value, short sState) : KyIntegerFld(value, sState) {}                                          \
    Name(BYTE bAllowedStates, Type empty, Type null, Type low, Type high, WORD wListMask)                     \
        : KyIntegerFld(bAllowedStates, empty, null, low, high, wListMask) {}                                 \
    Name(const Name& other) = default;                                                                       \
    Name& operator=(const Name& other) = default;                                                            \
    KY_ASSIGN_MEMBERS(Name)                                                                                  \
    KY_CAST_MEMBERS(Name)                                                                                    \
  }

KY_INTEGER_FIELD(KyByteFld, BYTE, 0, 255);
KY_INTEGER_FIELD(KyIntFld, SHORT, -32768, 32767);
KY_INTEGER_FIELD(KyLongFld, LONG, INT32_MIN, INT32_MAX);

#undef KY_INTEGER_FIELD

// The 64-bit field compares with its built-in limits whether or not a column
// is given (a column's limit read as a double cannot tell 64-bit values
// apart).
class KyLLongFld : public KyIntegerFld<KyLLongFld, __int64> {
 public:
  static constexpr __int64 kBuiltInLow = INT64_MIN;
  static constexpr __int64 kBuiltInHigh = INT64_MAX;
  KyLLongFld() = default;
  KyLLongFld(__int64 value, short sState) : KyIntegerFld(value, sState) {}
  KyLLongFld(BYTE bAllowedStates, __int64 empty, __int64 null, __int64 low, __int64 high, WORD wListMask)
      : KyIntegerFld(bAllowedStates, empty, null, low, high, wListMask) {}
  KyLLongFld(const KyLLongFld& other) = default;
  KyLLongFld& operator=(const KyLLongFld& other) = default;
  KY_ASSIGN_MEMBERS(KyLLongFld)
  KY_CAST_MEMBERS(KyLLongFld)

  static bool equalsLimit(__int64 value, const vioNumeric*, int iCode) { return value == BuiltIn(iCode); }
};

extern template class KyIntegerFld<KyByteFld, BYTE>;
extern template class KyIntegerFld<KyIntFld, SHORT>;
extern template class KyIntegerFld<KyLongFld, LONG>;
extern template class KyIntegerFld<KyLLongFld, __int64>;
