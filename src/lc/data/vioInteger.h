// Integer and floating-point column values: vioSmallInt (16-bit),
// vioInteger (32-bit), vioBigInt (64-bit, ODBC) and vioFloat (double).
// Each holds its value directly; the text form is the decimal text.
#pragma once

#include "vioType.h"

#include <array>

// One value of type T with its text form.
template <class T, VIO_TYPE Type>
class vioScalar : public vioType {
 public:
  explicit vioScalar(KyDatabaseConnection* pConnection, T value = T()) : vioType(pConnection, Type, sizeof(T), 0), m_Value(value) {}

  T GetValue() const { return m_Value; }
  void SetValue(T value) { m_Value = value; }
  operator T() const { return m_Value; }
  // From the fields generated code assigns: a null field makes the value
  // NULL, otherwise its value, saturated at the column's range; special
  // states are not mapped (floats: see vioFloat).
  template <class Field>
  vioScalar& operator=(const Field& field);
  void* GetDataPointer() override { return &m_Value; }
  SQLLEN GetDataSize() const override { return sizeof(T); }

  const char* GetText() const override;
  // The text's leading number, saturated at the type's limits; 0 when there
  // is none.
  void PutText(const char* pszText) override;

 protected:
  T m_Value;
  mutable std::array<char, 32> m_TextForm{};  // room for any value's text
};

using vioSmallInt = vioScalar<SHORT, vioTypeSmallInt>;
using vioInteger = vioScalar<LONG, vioTypeInteger>;
using vioBigInt = vioScalar<LONGLONG, vioTypeBigInt>;

// A float column: single-row columns have length 10 and scale 3 whatever the
// view declares.
class vioFloat : public vioScalar<double, vioTypeFloat> {
 public:
  explicit vioFloat(KyDatabaseConnection* pConnection, double value = 0.0) : vioScalar(pConnection, value) {
    m_iLength = 10;
    m_iScale = 3;
  }
  // A float of the given description (multi-row columns keep theirs).
  vioFloat(KyDatabaseConnection* pConnection, int iLength, int iScale) : vioScalar(pConnection, 0.0) {
    m_iLength = iLength;
    m_iScale = iScale;
  }
  // The fields' forms; a KyDblFld, KyIntFld, KyLongFld or KySglFld in its
  // high (low) state without a list entry gives the double limit of the
  // column's length and scale.
  using vioScalar::operator=;
  vioFloat& operator=(double value) {
    SetNull(0);
    m_Value = value;
    return *this;
  }
};

extern template class vioScalar<SHORT, vioTypeSmallInt>;
extern template class vioScalar<LONG, vioTypeInteger>;
extern template class vioScalar<LONGLONG, vioTypeBigInt>;
extern template class vioScalar<double, vioTypeFloat>;
