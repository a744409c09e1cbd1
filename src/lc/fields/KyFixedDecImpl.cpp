// KyFixedDecImpl: the owned number and the operations on it.
#include "KyFixedDecImpl.h"

namespace {

// A new value (decimal places 1) assigned a number.
KyFixedDecImpl holding(const KyFixedDecimal& number) {
  KyFixedDecImpl result;
  result.Number() = number;
  return result;
}

}  // namespace

KyFixedDecImpl::KyFixedDecImpl() : m_pNumber(std::make_unique<KyFixedDecimal>()) {}
KyFixedDecImpl::KyFixedDecImpl(unsigned char value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(unsigned short value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(int value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(int mantissa, int exponent)
    : m_pNumber(std::make_unique<KyFixedDecimal>(mantissa, exponent)) {}
KyFixedDecImpl::KyFixedDecImpl(unsigned int value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(long value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(long mantissa, int exponent)
    : m_pNumber(std::make_unique<KyFixedDecimal>(mantissa, exponent)) {}
KyFixedDecImpl::KyFixedDecImpl(unsigned long value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(long long value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(unsigned long long value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(float value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(double value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(long double value) : m_pNumber(std::make_unique<KyFixedDecimal>(value)) {}
KyFixedDecImpl::KyFixedDecImpl(const char* pszText) : m_pNumber(std::make_unique<KyFixedDecimal>(pszText)) {}
KyFixedDecImpl::KyFixedDecImpl(const KyFixedDecimal& number) : m_pNumber(std::make_unique<KyFixedDecimal>(number)) {}
KyFixedDecImpl::KyFixedDecImpl(const KyFixedDecImpl& other)
    : m_pNumber(std::make_unique<KyFixedDecimal>(*other.m_pNumber)) {}
KyFixedDecImpl::~KyFixedDecImpl() = default;

KyFixedDecImpl& KyFixedDecImpl::operator=(const KyFixedDecImpl& other) {
  *m_pNumber = *other.m_pNumber;
  return *this;
}

KyFixedDecImpl::operator long double() const {
  return KyFixedDecimal::toDoubleKyFixedDecimal(KyFixedDecimal::KyFixedDecimalRound(*m_pNumber, 9));
}

int operator==(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return a.Number() == b.Number(); }
int operator!=(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return a.Number() != b.Number(); }
int operator<(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return a.Number() < b.Number(); }
int operator<=(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return a.Number() <= b.Number(); }
int operator>(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return a.Number() > b.Number(); }
int operator>=(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return a.Number() >= b.Number(); }

KyFixedDecImpl operator+(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return holding(a.Number() + b.Number()); }
KyFixedDecImpl operator-(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return holding(a.Number() - b.Number()); }
KyFixedDecImpl operator*(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return holding(a.Number() * b.Number()); }
KyFixedDecImpl operator/(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return holding(a.Number() / b.Number()); }
KyFixedDecImpl operator%(const KyFixedDecImpl& a, const KyFixedDecImpl& b) { return holding(a.Number() % b.Number()); }
KyFixedDecImpl operator+(const KyFixedDecImpl& a, long b) { return holding(a.Number() + b); }
KyFixedDecImpl operator-(const KyFixedDecImpl& a, long b) { return holding(a.Number() - b); }
KyFixedDecImpl operator*(const KyFixedDecImpl& a, long b) { return holding(a.Number() * b); }
KyFixedDecImpl operator/(const KyFixedDecImpl& a, long b) { return holding(a.Number() / b); }

KyFixedDecImpl round(const KyFixedDecImpl& value, int n) {
  return holding(KyFixedDecimal::KyFixedDecimalRound(value.Number(), n));
}

KyFixedDecImpl truncate(const KyFixedDecImpl& value, int n) {
  return holding(KyFixedDecimal::KyFixedDecimalTruncate(value.Number(), n));
}

long double toDouble(const KyFixedDecImpl& value) { return KyFixedDecimal::toDoubleKyFixedDecimal(value.Number()); }

int toInt(const KyFixedDecImpl& value) { return KyFixedDecimal::toIntKyFixedDecimal(value.Number()); }

KyString toString(const KyFixedDecImpl& value) {
  CString text;
  value.Number().strGetString(text);
  return KyString(text);
}
