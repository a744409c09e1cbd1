// The floating-point fields: KySglFld (float), KyDblFld (double) and
// KyLdblFld (a long double of the generated code, held as a 64-bit double).
//
// Text out (strGetText (decimals); the virtual form passes -1), in the C
// run-time's printf forms ("1e+017"):
// - KyDblFld: "%.15g" for decimals below 0 or a value above
//   9999999999999998.0, else "%.*f";
// - KyLdblFld: "%.19g" for decimals below 0 or a value above 1e19 or below
//   -1e18, else "%.*f";
// - KySglFld: "%.7g" for decimals below 0, else "%.*f" unless that is longer
//   than 8 characters, then "%.7g".
// Texts are measured before they are written: no value overruns a buffer.
//
// Text in: the locale's decimal character becomes '.', blanks are dropped,
// then the atof reading. A float field clamps values beyond its range to
// its largest magnitude of the same sign.
#pragma once

#include "KyNumericFld.h"
// Conversions from other field types and columns: KyFieldConversions.h.
#include "KyFieldConversions.h"

#include <cfloat>

template <class Derived, class T>
class KyFloatFld : public KyNumericFld<Derived, T> {
  using Base = KyNumericFld<Derived, T>;

 public:
  CString strGetText() const override { return static_cast<const Derived*>(this)->strGetText(-1); }
  void PutText(const char* pszText) override;
  // The text in the user's notation (thousands characters dropped).
  void PutIntlText(const char* pszText);

 protected:
  using Base::Base;
  KyFloatFld(const KyFloatFld&) = default;
  KyFloatFld& operator=(const KyFloatFld&) = default;
  ~KyFloatFld() = default;

  static T fromDouble(double value);
};

#define KY_FLOAT_FIELD_MEMBERS(Name, Type)                                                                   \
 public:                                                                                                     \
  Name() = default;                                                                                          \
  Name(Type value, short sState) : KyFloatFld(value, sState) {}                                              \
  Name(BYTE bAllowedStates, Type empty, Type null, Type low, Type high, WORD wListMask)                       \
      : KyFloatFld(bAllowedStates, empty, null, low, high, wListMask) {}                                     \
  Name(const Name& other) = default;                                                                         \
  Name& operator=(const Name& other) = default;                                                              \
  using KyFloatFld::strGetText;                                                                              \
  CString strGetText(int iDecimals) const;                                                                   \
  KY_ASSIGN_MEMBERS(Name)                                                                                    \
  KY_CAST_MEMBERS(Name)

class KySglFld : public KyFloatFld<KySglFld, float> {
 public:
  static constexpr float kBuiltInLow = -FLT_MAX;
  static constexpr float kBuiltInHigh = FLT_MAX;
  KY_FLOAT_FIELD_MEMBERS(KySglFld, float)
};

class KyDblFld : public KyFloatFld<KyDblFld, double> {
 public:
  static constexpr double kBuiltInLow = -DBL_MAX;
  static constexpr double kBuiltInHigh = DBL_MAX;
  KY_FLOAT_FIELD_MEMBERS(KyDblFld, double)
};

class KyLdblFld : public KyFloatFld<KyLdblFld, double> {
 public:
  static constexpr double kBuiltInLow = -DBL_MAX;
  static constexpr double kBuiltInHigh = DBL_MAX;
  KY_FLOAT_FIELD_MEMBERS(KyLdblFld, double)
};

#undef KY_FLOAT_FIELD_MEMBERS

extern template class KyFloatFld<KySglFld, float>;
extern template class KyFloatFld<KyDblFld, double>;
extern template class KyFloatFld<KyLdblFld, double>;
