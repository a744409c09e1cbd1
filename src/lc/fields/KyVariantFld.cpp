// KyVariantFld: assignments, getters, text and PopulateField. The arrays
// of fields are in KyVariantFldArrays.cpp.
#include "KyVariantFld.h"

#include <winnls.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariantDates.h"

namespace {

// The ANSI text as a new BSTR; null for a null text.
BSTR wideOf(const char* pszText) {
  if (!pszText) return nullptr;
  const int length = static_cast<int>(std::strlen(pszText));
  const int n = MultiByteToWideChar(CP_ACP, 0, pszText, length, nullptr, 0);
  BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (text && n) MultiByteToWideChar(CP_ACP, 0, pszText, length, text, n);
  return text;
}

KyString narrowOf(const WCHAR* pszText, UINT length) {
  if (!pszText || !length) return KyString();
  const int n = WideCharToMultiByte(CP_ACP, 0, pszText, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, pszText, static_cast<int>(length), text.data(), n, nullptr, nullptr);
  return KyString(text.c_str());
}

// Owns a VARIANT for the length of a conversion.
struct Temporary {
  VARIANT v;
  Temporary() { VariantInit(&v); }
  ~Temporary() { VariantClear(&v); }
};

// An integer field takes the value held at its range; text that is no
// number, objects and arrays empty it.
template <class Field>
void populateInteger(const VARIANT& value, Field& field, long long low, long long high) {
  Temporary t;
  long long number = 0;
  HRESULT hr = VariantChangeType(&t.v, &value, 0, VT_I8);
  if (SUCCEEDED(hr)) {
    number = t.v.llVal < low ? low : t.v.llVal > high ? high : t.v.llVal;
  } else if (hr == DISP_E_OVERFLOW && SUCCEEDED(VariantChangeType(&t.v, &value, 0, VT_R8))) {
    number = t.v.dblVal < 0 ? low : high;
  } else {
    field.SetEmpty();
    return;
  }
  field.SetValue(static_cast<typename Field::ValueType>(number));
  field.SetFieldState(KyStateValue);
}

template <class Field>
void populateReal(const VARIANT& value, Field& field, double limit) {
  Temporary t;
  if (FAILED(VariantChangeType(&t.v, &value, 0, VT_R8))) {
    field.SetEmpty();
    return;
  }
  const double number = std::fabs(t.v.dblVal) > limit ? std::copysign(limit, t.v.dblVal) : t.v.dblVal;
  field.SetValue(static_cast<typename Field::ValueType>(number));
  field.SetFieldState(KyStateValue);
}

bool dateParts(const VARIANT& value, KyDateParts* parts) {
  Temporary t;
  return SUCCEEDED(VariantChangeType(&t.v, &value, 0, VT_DATE)) && KyPartsOfDate(t.v.date, parts);
}

}  // namespace

// --- construction and the value's life ---

KyVariantFld::KyVariantFld() { VariantInit(&m_Value); }

KyVariantFld::KyVariantFld(const KyVariantFld& other) : KyRTType() {
  VariantInit(&m_Value);
  CastFrom(other);
}

KyVariantFld& KyVariantFld::operator=(const KyVariantFld& other) {
  if (&other != this) CastFrom(other);
  return *this;
}

KyVariantFld::~KyVariantFld() {
  VariantClear(&m_Value);
  for (BSTR text : m_Texts) SysFreeString(text);
  SysFreeString(m_WideText);
}

void KyVariantFld::reset() {
  VariantClear(&m_Value);
  m_bFieldState = KyStateValue;
}

void KyVariantFld::SetEmpty() {
  reset();
  m_vtElement = VT_EMPTY;
  m_lElements = 0;
}

bool KyVariantFld::changed(VARTYPE vt, VARIANT* out) const {
  VariantInit(out);
  return SUCCEEDED(VariantChangeType(out, &m_Value, 0, vt));
}

// --- from fields ---

void KyVariantFld::CastFrom(const KyVariantFld& other) {
  if (&other == this) return;
  VARIANT value;
  VariantInit(&value);
  // By value, whatever the source held by reference.
  if (FAILED(VariantCopyInd(&value, &other.m_Value))) VariantCopy(&value, &other.m_Value);
  reset();
  m_Value = value;
}

void KyVariantFld::CastFrom(const KyByteFld& field) { prepare(VT_UI1, &m_Value.bVal)[0] = field.GetValue(); }
void KyVariantFld::CastFrom(const KyIntFld& field) { *prepare(VT_INT, &m_Value.intVal) = field.GetValue(); }
void KyVariantFld::CastFrom(const KyLongFld& field) { *prepare(VT_I4, &m_Value.lVal) = field.GetValue(); }
void KyVariantFld::CastFrom(const KyLLongFld& field) { *prepare(VT_I8, &m_Value.llVal) = field.GetValue(); }
void KyVariantFld::CastFrom(const KySglFld& field) { *prepare(VT_R4, &m_Value.fltVal) = field.GetValue(); }
void KyVariantFld::CastFrom(const KyDblFld& field) { *prepare(VT_R8, &m_Value.dblVal) = field.GetValue(); }
void KyVariantFld::CastFrom(const KyLdblFld& field) { *prepare(VT_R8, &m_Value.dblVal) = field.GetValue(); }

// Exactly: a DECIMAL holds 28 digits; a number beyond that goes as text.
void KyVariantFld::CastFrom(const KyFixedDecFld& field) {
  Temporary text;
  text.v.vt = VT_BSTR;
  text.v.bstrVal = wideOf(field.strGetText());
  reset();
  if (FAILED(VariantChangeType(&m_Value, &text.v, 0, VT_DECIMAL))) VariantCopy(&m_Value, &text.v);
}

void KyVariantFld::CastFrom(const KyCharFld& field) { *prepare(VT_BSTR, &m_Value.bstrVal) = wideOf(field.strGetText()); }

void KyVariantFld::CastFrom(const KyDateFld& field) {
  const tagODBCDATE d = field.GetValue();
  DATE serial = 0;
  reset();
  if (KyDateOfParts({d.year, d.month, d.day, 0, 0, 0}, &serial)) *prepare(VT_DATE, &m_Value.date) = serial;
}

void KyVariantFld::CastFrom(const KyTimeFld& field) {
  const tagODBCTIME t = field.GetValue();
  DATE serial = 0;
  reset();
  if (KyDateOfParts({1899, 12, 30, t.hour, t.minute, t.second}, &serial)) *prepare(VT_DATE, &m_Value.date) = serial;
}

void KyVariantFld::CastFrom(const KyTimeStampFld& field) {
  const tagODBCTIMESTAMP s = field.GetValue();
  DATE serial = 0;
  reset();
  if (KyDateOfParts({s.year, s.month, s.day, s.hour, s.minute, s.second}, &serial))
    *prepare(VT_DATE, &m_Value.date) = serial;
}

// --- from C and COM types ---

void KyVariantFld::CastFrom(unsigned char value) { *prepare(VT_UI1, &m_Value.bVal) = value; }
void KyVariantFld::CastFrom(const unsigned char* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(short value) { *prepare(VT_I2, &m_Value.iVal) = value; }
void KyVariantFld::CastFrom(const short* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(unsigned short value) { *prepare(VT_UI2, &m_Value.uiVal) = value; }
void KyVariantFld::CastFrom(const unsigned short* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(int value) { *prepare(VT_INT, &m_Value.intVal) = value; }
void KyVariantFld::CastFrom(const int* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(unsigned int value) { *prepare(VT_UINT, &m_Value.uintVal) = value; }
void KyVariantFld::CastFrom(const unsigned int* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(long value) {
  if (value >= INT32_MIN && value <= INT32_MAX)
    *prepare(VT_I4, &m_Value.lVal) = static_cast<LONG>(value);
  else
    *prepare(VT_I8, &m_Value.llVal) = value;
}
void KyVariantFld::CastFrom(unsigned long value) {
  if (value <= UINT32_MAX)
    *prepare(VT_UI4, &m_Value.ulVal) = static_cast<ULONG>(value);
  else
    *prepare(VT_UI8, &m_Value.ullVal) = value;
}
void KyVariantFld::CastFrom(float value) { *prepare(VT_R4, &m_Value.fltVal) = value; }
void KyVariantFld::CastFrom(const float* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(double value) { *prepare(VT_R8, &m_Value.dblVal) = value; }
void KyVariantFld::CastFrom(const double* p) { p ? CastFrom(*p) : SetEmpty(); }
void KyVariantFld::CastFrom(long long value) { *prepare(VT_I8, &m_Value.llVal) = value; }
void KyVariantFld::CastFrom(unsigned long long value) { *prepare(VT_UI8, &m_Value.ullVal) = value; }
void KyVariantFld::CastFrom(const CY& value) { *prepare(VT_CY, &m_Value.cyVal) = value; }
void KyVariantFld::CastFrom(const DECIMAL& value) {
  reset();
  m_Value.decVal = value;
  m_Value.vt = VT_DECIMAL;  // after the DECIMAL: its reserved word is the type
}
void KyVariantFld::CastFromWCHAR_T(WCHAR value) { *prepare(VT_UI2, &m_Value.uiVal) = value; }
void KyVariantFld::CastFromBSTR(const WCHAR* pszText) {
  reset();
  if (!pszText) return;
  *prepare(VT_BSTR, &m_Value.bstrVal) = SysAllocString(pszText);
}
void KyVariantFld::CastFromSCODE(SCODE value) { *prepare(VT_ERROR, &m_Value.scode) = value; }
void KyVariantFld::CastFromBool(bool value) { *prepare(VT_BOOL, &m_Value.boolVal) = value ? VARIANT_TRUE : VARIANT_FALSE; }
void KyVariantFld::CastFrom(IDispatch* p) {
  if (p) p->AddRef();  // before the clear: it may be the one held
  *prepare(VT_DISPATCH, &m_Value.pdispVal) = p;
}
void KyVariantFld::CastFrom(IDispatch** pp) { *prepare(VT_BYREF | VT_DISPATCH, &m_Value.ppdispVal) = pp; }
void KyVariantFld::CastFrom(IUnknown* p) {
  if (p) p->AddRef();
  *prepare(VT_UNKNOWN, &m_Value.punkVal) = p;
}
void KyVariantFld::CastFrom(IUnknown** pp) { *prepare(VT_BYREF | VT_UNKNOWN, &m_Value.ppunkVal) = pp; }
void KyVariantFld::CastFrom(SAFEARRAY* psa) {
  SAFEARRAY* copy = nullptr;
  VARTYPE element = VT_EMPTY;
  if (psa && (FAILED(SafeArrayGetVartype(psa, &element)) || FAILED(SafeArrayCopy(psa, &copy)))) copy = nullptr;
  reset();
  if (!copy) return;
  m_Value.vt = VT_ARRAY | element;
  m_Value.parray = copy;
  m_vtElement = element;
  LONG low = 0, high = -1;
  SafeArrayGetLBound(copy, 1, &low);
  SafeArrayGetUBound(copy, 1, &high);
  m_lElements = static_cast<ULONG>(high - low + 1);
}
void KyVariantFld::CastFromVoid(void* p) { *prepare(VT_BYREF, &m_Value.byref) = p; }
void KyVariantFld::CastFrom(const VARIANT& value) {
  VARIANT copy;
  VariantInit(&copy);
  if (FAILED(VariantCopy(&copy, &value))) return;
  reset();
  m_Value = copy;
}
void KyVariantFld::CastFrom(const VARIANT* p) { p ? CastFrom(*p) : SetEmpty(); }

// --- getters ---

#define KY_VARIANT_GETTER(Type, Name, Vt, Member) \
  Type KyVariantFld::Name() const {               \
    Temporary t;                                  \
    return changed(Vt, &t.v) ? static_cast<Type>(t.v.Member) : Type(); \
  }
KY_VARIANT_GETTER(VARIANT_BOOL, GetBool, VT_BOOL, boolVal)
KY_VARIANT_GETTER(BYTE, GetByte, VT_UI1, bVal)
KY_VARIANT_GETTER(CHAR, GetChar, VT_I1, cVal)
KY_VARIANT_GETTER(SHORT, GetShort, VT_I2, iVal)
KY_VARIANT_GETTER(USHORT, GetUShort, VT_UI2, uiVal)
KY_VARIANT_GETTER(INT, GetInt, VT_INT, intVal)
KY_VARIANT_GETTER(UINT, GetUInt, VT_UINT, uintVal)
KY_VARIANT_GETTER(LONG, GetLong, VT_I4, lVal)
KY_VARIANT_GETTER(ULONG, GetULong, VT_UI4, ulVal)
KY_VARIANT_GETTER(FLOAT, GetFloat, VT_R4, fltVal)
KY_VARIANT_GETTER(double, GetDouble, VT_R8, dblVal)
KY_VARIANT_GETTER(DATE, GetDate, VT_DATE, date)
KY_VARIANT_GETTER(LONGLONG, GetLLong, VT_I8, llVal)
KY_VARIANT_GETTER(ULONGLONG, GetULLong, VT_UI8, ullVal)
#undef KY_VARIANT_GETTER

SCODE KyVariantFld::GetSCODE() const { return m_Value.vt == VT_ERROR ? m_Value.scode : GetLong(); }

DECIMAL KyVariantFld::GetDecimal() const {
  Temporary t;
  if (!changed(VT_DECIMAL, &t.v)) return DECIMAL{};
  DECIMAL value = t.v.decVal;
  value.wReserved = 0;
  return value;
}

CY KyVariantFld::GetCurrency() {
  if (FAILED(VariantChangeType(&m_Value, &m_Value, 0, VT_CY))) return CY{};
  return m_Value.cyVal;
}

const WCHAR* KyVariantFld::GetLPWSTR() {
  Temporary t;
  SysFreeString(m_WideText);
  m_WideText = nullptr;
  if (changed(VT_BSTR, &t.v)) {
    m_WideText = t.v.bstrVal;
    VariantInit(&t.v);  // the cache owns the text now
  }
  return m_WideText ? m_WideText : u"";
}

const char* KyVariantFld::GetLPSTR() {
  const WCHAR* text = GetLPWSTR();
  m_NarrowText = narrowOf(text, m_WideText ? SysStringLen(m_WideText) : 0);
  return m_NarrowText;
}

VARIANT* KyVariantFld::pGetVariant() {
  reset();
  return &m_Value;
}

IDispatch* KyVariantFld::pGetIDispatch() const {
  if (m_Value.vt == VT_DISPATCH) return m_Value.pdispVal;
  if (m_Value.vt == (VT_BYREF | VT_DISPATCH) && m_Value.ppdispVal) return *m_Value.ppdispVal;
  return nullptr;
}

IUnknown* KyVariantFld::pGetIUnknown() const {
  if (m_Value.vt == VT_UNKNOWN || m_Value.vt == VT_DISPATCH) return m_Value.punkVal;
  if ((m_Value.vt == (VT_BYREF | VT_UNKNOWN) || m_Value.vt == (VT_BYREF | VT_DISPATCH)) && m_Value.ppunkVal)
    return *m_Value.ppunkVal;
  return nullptr;
}

// --- into fields ---

void KyVariantFld::PopulateField(KyByteFld& field) const { populateInteger(m_Value, field, 0, 255); }
void KyVariantFld::PopulateField(KyIntFld& field) const { populateInteger(m_Value, field, SHRT_MIN, SHRT_MAX); }
void KyVariantFld::PopulateField(KyLongFld& field) const { populateInteger(m_Value, field, INT32_MIN, INT32_MAX); }
void KyVariantFld::PopulateField(KyLLongFld& field) const { populateInteger(m_Value, field, LLONG_MIN, LLONG_MAX); }
void KyVariantFld::PopulateField(KySglFld& field) const { populateReal(m_Value, field, FLT_MAX); }
void KyVariantFld::PopulateField(KyDblFld& field) const { populateReal(m_Value, field, DBL_MAX); }
void KyVariantFld::PopulateField(KyLdblFld& field) const { populateReal(m_Value, field, DBL_MAX); }

// Through the exact decimal, so that every digit that fits is kept.
void KyVariantFld::PopulateField(KyFixedDecFld& field) const {
  Temporary exact, text;
  if (FAILED(VariantChangeType(&exact.v, &m_Value, 0, VT_DECIMAL)) ||
      FAILED(VariantChangeType(&text.v, &exact.v, 0, VT_BSTR))) {
    field.SetEmpty();
    return;
  }
  field.PutText(narrowOf(text.v.bstrVal, SysStringLen(text.v.bstrVal)));
}

void KyVariantFld::PopulateField(KyCharFld& field) const {
  Temporary t;
  if (!changed(VT_BSTR, &t.v)) {
    field.SetEmpty();
    return;
  }
  field.PutText(narrowOf(t.v.bstrVal, SysStringLen(t.v.bstrVal)));
  field.SetFieldState(KyStateValue);
}

void KyVariantFld::PopulateField(KyDateFld& field) const {
  KyDateParts p;
  if (!dateParts(m_Value, &p)) return field.SetEmpty();
  field.SetValue({static_cast<SHORT>(p.year), static_cast<USHORT>(p.month), static_cast<USHORT>(p.day)});
  field.SetFieldState(KyStateValue);
}

void KyVariantFld::PopulateField(KyTimeFld& field) const {
  KyDateParts p;
  if (!dateParts(m_Value, &p)) return field.SetEmpty();
  field.SetValue({static_cast<USHORT>(p.hour), static_cast<USHORT>(p.minute), static_cast<USHORT>(p.second)});
  field.SetFieldState(KyStateValue);
}

void KyVariantFld::PopulateField(KyTimeStampFld& field) const {
  KyDateParts p;
  if (!dateParts(m_Value, &p)) return field.SetEmpty();
  field.SetValue({static_cast<SHORT>(p.year), static_cast<USHORT>(p.month), static_cast<USHORT>(p.day),
                  static_cast<USHORT>(p.hour), static_cast<USHORT>(p.minute), static_cast<USHORT>(p.second), 0});
  field.SetFieldState(KyStateValue);
}

void KyVariantFld::PopulateField(KyRTType* pField) const {
  if (!pField || (m_Value.vt & VT_ARRAY)) return;
  const VARTYPE base = m_Value.vt & ~VT_BYREF;
  if (base == VT_DATE) {
    const CString text = pField->strGetText();
    const bool hyphen = text.Find('-') >= 0, colon = text.Find(':') >= 0;
    if (hyphen && colon) {
      if (auto* p = dynamic_cast<KyTimeStampFld*>(pField)) PopulateField(*p);
    } else if (hyphen) {
      if (auto* p = dynamic_cast<KyDateFld*>(pField)) PopulateField(*p);
    } else if (colon) {
      if (auto* p = dynamic_cast<KyTimeFld*>(pField)) PopulateField(*p);
    }
    return;
  }
  if (auto* pVariant = dynamic_cast<KyVariantFld*>(pField)) {
    pVariant->CastFrom(*this);
    return;
  }
  Temporary t;
  if (!changed(VT_BSTR, &t.v)) return;
  pField->PutText(narrowOf(t.v.bstrVal, SysStringLen(t.v.bstrVal)));
}

// --- text and comparison ---

CString KyVariantFld::strGetText() const {
  char buffer[64];
  switch (m_Value.vt) {
    case VT_I4: case VT_INT: std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(m_Value.lVal)); return buffer;
    case VT_UI1: std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(m_Value.bVal)); return buffer;
    case VT_R4: std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(m_Value.fltVal)); return buffer;
    case VT_R8: std::snprintf(buffer, sizeof buffer, "%.15g", m_Value.dblVal); return buffer;
    case VT_DATE: {
      KyDateParts p;
      if (!KyPartsOfDate(m_Value.date, &p)) return CString();
      std::snprintf(buffer, sizeof buffer, "%4.4d-%2.2d-%2.2d %2.2d:%2.2d:%2.2d", p.year, p.month, p.day, p.hour,
                    p.minute, p.second);
      return buffer;
    }
    case VT_BSTR: return CString(static_cast<const char*>(narrowOf(m_Value.bstrVal, SysStringLen(m_Value.bstrVal))));
    default: return CString();
  }
}

void KyVariantFld::PutText(const char* pszText) {
  BSTR text = wideOf(pszText ? pszText : "");
  reset();
  m_Value.vt = VT_BSTR;
  m_Value.bstrVal = text;
}

bool KyVariantFld::operator==(const KyVariantFld& other) const {
  if (m_Value.vt != other.m_Value.vt) return false;
  const VARTYPE vt = m_Value.vt;
  if (vt == VT_EMPTY || vt == VT_NULL) return true;
  if (vt & (VT_ARRAY | VT_BYREF)) return m_Value.byref == other.m_Value.byref;
  if (vt == VT_UNKNOWN || vt == VT_DISPATCH) return m_Value.punkVal == other.m_Value.punkVal;
  if (vt == VT_ERROR) return m_Value.scode == other.m_Value.scode;
  return VarCmp(const_cast<VARIANT*>(&m_Value), const_cast<VARIANT*>(&other.m_Value), 0, 0) == VARCMP_EQ;
}
