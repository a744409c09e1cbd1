// KyFixedDecImpl: the value of a fixed-decimal field, a KyFixedDecimal it
// owns on the heap. Copies copy the number (its decimal places recounted
// from its text); assignment assigns the number and keeps the target's
// decimal places, which is how a field keeps its scale.
#pragma once

#include "KyString.h"

#include <KyFixedDecimal.h>

#include <memory>

class KyFixedDecImpl {
 public:
  KyFixedDecImpl();  // "0.0"
  KyFixedDecImpl(unsigned char value);
  KyFixedDecImpl(unsigned short value);
  KyFixedDecImpl(int value);
  KyFixedDecImpl(int mantissa, int exponent);
  KyFixedDecImpl(unsigned int value);
  KyFixedDecImpl(long value);  // also __int64: the same type here
  KyFixedDecImpl(long mantissa, int exponent);
  KyFixedDecImpl(unsigned long value);
  KyFixedDecImpl(long long value);
  KyFixedDecImpl(unsigned long long value);
  KyFixedDecImpl(float value);
  KyFixedDecImpl(double value);
  KyFixedDecImpl(long double value);
  KyFixedDecImpl(const char* pszText);  // not a number: NaN
  explicit KyFixedDecImpl(const KyFixedDecimal& number);
  KyFixedDecImpl(const KyFixedDecImpl& other);
  KyFixedDecImpl& operator=(const KyFixedDecImpl& other);
  ~KyFixedDecImpl();

  KyFixedDecimal& Number() { return *m_pNumber; }
  const KyFixedDecimal& Number() const { return *m_pNumber; }
  // The decimal places of the number (a field's scale).
  int GetDecimalPlaces() const { return m_pNumber->decimalPlaces; }
  void SetDecimalPlaces(int iPlaces) { m_pNumber->decimalPlaces = iPlaces < 0 ? 0 : iPlaces; }

  // The value rounded half away from zero to nine decimals, as the nearest
  // double (read from the decimal text, so large values keep their
  // magnitude and all the digits a double holds).
  operator long double() const;

 private:
  std::unique_ptr<KyFixedDecimal> m_pNumber;
};

int operator==(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
int operator!=(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
int operator<(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
int operator<=(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
int operator>(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
int operator>=(const KyFixedDecImpl& a, const KyFixedDecImpl& b);

// New values (decimal places 1) holding the number's result.
KyFixedDecImpl operator+(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
KyFixedDecImpl operator-(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
KyFixedDecImpl operator*(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
KyFixedDecImpl operator/(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
KyFixedDecImpl operator%(const KyFixedDecImpl& a, const KyFixedDecImpl& b);
KyFixedDecImpl operator+(const KyFixedDecImpl& a, long b);
KyFixedDecImpl operator-(const KyFixedDecImpl& a, long b);
KyFixedDecImpl operator*(const KyFixedDecImpl& a, long b);
KyFixedDecImpl operator/(const KyFixedDecImpl& a, long b);

// Rounded half away from zero / cut toward zero to n decimals.
KyFixedDecImpl round(const KyFixedDecImpl& value, int n);
KyFixedDecImpl truncate(const KyFixedDecImpl& value, int n);
long double toDouble(const KyFixedDecImpl& value);
// Truncated toward zero; beyond int's range its limit; NaN 0.
int toInt(const KyFixedDecImpl& value);
// The number's text, unlimited.
KyString toString(const KyFixedDecImpl& value);
