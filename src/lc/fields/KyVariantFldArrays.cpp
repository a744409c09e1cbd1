// KyVariantFld and arrays: SAFEARRAYs made from arrays of fields, fields
// filled from SAFEARRAYs, and the array getters.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariantFld.h"

// The element type of each class's arrays. Fixed decimals go as DECIMAL so
// that no digit that fits is lost.
template <> VARTYPE KyVariantFld::ElementType<KyByteFld>() { return VT_UI1; }
template <> VARTYPE KyVariantFld::ElementType<KyIntFld>() { return VT_INT; }
template <> VARTYPE KyVariantFld::ElementType<KyLongFld>() { return VT_I4; }
template <> VARTYPE KyVariantFld::ElementType<KyLLongFld>() { return VT_I8; }
template <> VARTYPE KyVariantFld::ElementType<KySglFld>() { return VT_R4; }
template <> VARTYPE KyVariantFld::ElementType<KyDblFld>() { return VT_R8; }
template <> VARTYPE KyVariantFld::ElementType<KyLdblFld>() { return VT_R8; }
template <> VARTYPE KyVariantFld::ElementType<KyFixedDecFld>() { return VT_DECIMAL; }
template <> VARTYPE KyVariantFld::ElementType<KyCharFld>() { return VT_BSTR; }
template <> VARTYPE KyVariantFld::ElementType<KyDateFld>() { return VT_DATE; }
template <> VARTYPE KyVariantFld::ElementType<KyTimeFld>() { return VT_DATE; }
template <> VARTYPE KyVariantFld::ElementType<KyTimeStampFld>() { return VT_DATE; }
template <> VARTYPE KyVariantFld::ElementType<KyVariantFld>() { return VT_VARIANT; }

namespace {

// Where SafeArrayPutElement finds a value of the type: the VARIANT itself,
// the BSTR or interface pointer, else the value member.
void* elementOf(VARIANT& value, VARTYPE vt) {
  switch (vt) {
    case VT_VARIANT: return &value;
    case VT_BSTR: return value.bstrVal;
    case VT_UNKNOWN: case VT_DISPATCH: return value.punkVal;
    case VT_DECIMAL: return &value.decVal;
    default: return &value.llVal;
  }
}

// An element read into a variant of the array's element type (the caller
// clears it).
bool readElement(SAFEARRAY* psa, VARTYPE vt, LONG index, VARIANT* out) {
  VariantInit(out);
  if (vt == VT_VARIANT) return SUCCEEDED(SafeArrayGetElement(psa, &index, out));
  if (vt == VT_DECIMAL) {
    DECIMAL value{};
    if (FAILED(SafeArrayGetElement(psa, &index, &value))) return false;
    out->decVal = value;
    out->vt = VT_DECIMAL;
    return true;
  }
  if (FAILED(SafeArrayGetElement(psa, &index, &out->llVal))) return false;
  out->vt = vt;
  return true;
}

// The element types whose elements a field of another class takes,
// converted as single values are.
bool convertible(VARTYPE vt) {
  return vt == VT_BSTR || vt == VT_I4 || vt == VT_R4 || vt == VT_R8 || vt == VT_DATE || vt == VT_INT ||
         vt == VT_VARIANT;
}

template <class Field>
void fillFrom(const Field& field, KyVariantFld& single) {
  single.CastFrom(field);
}
void fillFrom(const KyVariantFld& field, KyVariantFld& single) { single = field; }

template <class Field>
void fillInto(const KyVariantFld& single, Field& field) {
  single.PopulateField(field);
}
void fillInto(const KyVariantFld& single, KyVariantFld& field) { field = single; }

}  // namespace

#define KY_VARIANT_ARRAY(Field)                                                                      \
  void KyVariantFld::SetFromSafeArray(const Field* pFields, ULONG lCount) {                          \
    const VARTYPE vt = ElementType<Field>();                                                         \
    SAFEARRAY* psa = SafeArrayCreateVector(vt, 0, lCount);                                           \
    if (!psa) return SetEmpty();                                                                     \
    for (ULONG i = 0; i < lCount && pFields; ++i) {                                                  \
      KyVariantFld single;                                                                           \
      fillFrom(pFields[i], single);                                                                  \
      VARIANT element;                                                                               \
      VariantInit(&element);                                                                         \
      if (vt == VT_VARIANT ? SUCCEEDED(VariantCopy(&element, &single.GetVariant()))                  \
                           : SUCCEEDED(VariantChangeType(&element, &single.GetVariant(), 0, vt))) {  \
        LONG index = static_cast<LONG>(i);                                                           \
        SafeArrayPutElement(psa, &index, elementOf(element, vt));                                    \
      }                                                                                              \
      VariantClear(&element);                                                                        \
    }                                                                                                \
    reset();                                                                                         \
    m_Value.vt = VT_ARRAY | vt;                                                                      \
    m_Value.parray = psa;                                                                            \
    m_vtElement = vt;                                                                                \
    m_lElements = lCount;                                                                            \
  }                                                                                                  \
  void KyVariantFld::PopulateFieldFromSafeArray(Field* pFields, ULONG lCount) const {                \
    if (!(m_Value.vt & VT_ARRAY) || !m_Value.parray || !pFields) return;                             \
    const VARTYPE vt = m_Value.vt & VT_TYPEMASK;                                                     \
    if (vt != ElementType<Field>() && !convertible(vt)) return;                                      \
    LONG low = 0, high = -1;                                                                         \
    SafeArrayGetLBound(m_Value.parray, 1, &low);                                                     \
    SafeArrayGetUBound(m_Value.parray, 1, &high);                                                    \
    const ULONG available = static_cast<ULONG>(std::max<LONG>(high - low + 1, 0));                   \
    for (ULONG i = 0; i < lCount && i < available; ++i) {                                            \
      KyVariantFld single;                                                                           \
      VARIANT element;                                                                               \
      if (!readElement(m_Value.parray, vt, low + static_cast<LONG>(i), &element)) continue;          \
      single.CastFrom(element);                                                                      \
      VariantClear(&element);                                                                        \
      fillInto(single, pFields[i]);                                                                  \
    }                                                                                                \
  }
KY_VARIANT_FIELDS(KY_VARIANT_ARRAY)
KY_VARIANT_ARRAY(KyVariantFld)
#undef KY_VARIANT_ARRAY

// The elements of an array of the type into the cache; null (and the
// cache emptied) for any other value.
template <class T, class Getter>
T* KyVariantFld::arrayOf(VARTYPE vt, std::vector<T>& cache, Getter get) {
  cache.clear();
  if (m_Value.vt != (VT_ARRAY | vt) || !m_Value.parray) return nullptr;
  LONG low = 0, high = -1;
  SafeArrayGetLBound(m_Value.parray, 1, &low);
  SafeArrayGetUBound(m_Value.parray, 1, &high);
  ULONG count = static_cast<ULONG>(std::max<LONG>(high - low + 1, 0));
  if (m_lElements) count = std::min(count, m_lElements);
  T* data = nullptr;
  if (FAILED(SafeArrayAccessData(m_Value.parray, reinterpret_cast<void**>(&data)))) return nullptr;
  for (ULONG i = 0; i < count; ++i) cache.push_back(get(data[i]));
  SafeArrayUnaccessData(m_Value.parray);
  return cache.empty() ? nullptr : cache.data();
}

namespace {
template <class T>
T same(T value) {
  return value;
}
}  // namespace

BYTE* KyVariantFld::GetByteArray() { return arrayOf(VT_UI1, m_Bytes, same<BYTE>); }
DATE* KyVariantFld::GetDateArray() { return arrayOf(VT_DATE, m_Dates, same<DATE>); }
double* KyVariantFld::GetDoubleArray() { return arrayOf(VT_R8, m_Doubles, same<double>); }
IUnknown** KyVariantFld::GetIUnknownArray() { return arrayOf(VT_UNKNOWN, m_Unknowns, same<IUnknown*>); }
INT* KyVariantFld::GetIntArray() { return arrayOf(VT_INT, m_Ints, same<INT>); }
LONG* KyVariantFld::GetLongArray() { return arrayOf(VT_I4, m_Longs, same<LONG>); }
LONGLONG* KyVariantFld::GetLongLongArray() { return arrayOf(VT_I8, m_LongLongs, same<LONGLONG>); }
FLOAT* KyVariantFld::GetSingleArray() { return arrayOf(VT_R4, m_Singles, same<FLOAT>); }

// The texts are copies the field owns until the next call.
BSTR* KyVariantFld::GetCharArray() {
  for (BSTR text : m_Texts) SysFreeString(text);
  return arrayOf(VT_BSTR, m_Texts, [](BSTR text) { return SysAllocStringLen(text, SysStringLen(text)); });
}

// The caches the array getters fill, by the class they serve.
template <class Field>
KyVariantFld::CachedArray KyVariantFld::cachedFor() const {
  auto of = [](const auto& cache, VARTYPE vt) {
    return CachedArray{cache.data(), cache.size(), sizeof(cache[0]), vt};
  };
  if constexpr (std::is_same_v<Field, KyByteFld>) return of(m_Bytes, VT_UI1);
  else if constexpr (std::is_same_v<Field, KyCharFld>) return of(m_Texts, VT_BSTR);
  else if constexpr (std::is_same_v<Field, KyDateFld> || std::is_same_v<Field, KyTimeFld> ||
                     std::is_same_v<Field, KyTimeStampFld>)
    return of(m_Dates, VT_DATE);
  else if constexpr (std::is_same_v<Field, KyDblFld> || std::is_same_v<Field, KyLdblFld>) return of(m_Doubles, VT_R8);
  else if constexpr (std::is_same_v<Field, KyIntFld>) return of(m_Ints, VT_INT);
  else if constexpr (std::is_same_v<Field, KyLongFld>) return of(m_Longs, VT_I4);
  else if constexpr (std::is_same_v<Field, KyLLongFld>) return of(m_LongLongs, VT_I8);
  else return of(m_Singles, VT_R4);  // singles and fixed decimals
}

// Each element goes in as a single value of its type would.
#define KY_VARIANT_FROM_ARRAY(Field)                                                       \
  void KyVariantFld::PopulateFieldFromArray(Field* pFields, ULONG lCount) const {          \
    const CachedArray cached = cachedFor<Field>();                                         \
    for (size_t i = 0; pFields && i < cached.count && i < lCount; ++i) {                  \
      VARIANT element;                                                                     \
      VariantInit(&element);                                                               \
      element.vt = cached.vt;                                                              \
      std::memcpy(&element.llVal, static_cast<const BYTE*>(cached.data) + i * cached.size, \
                  cached.size);                                                            \
      KyVariantFld single;                                                                 \
      single.CastFrom(element); /* a copy: the cache keeps its own */                      \
      fillInto(single, pFields[i]);                                                        \
    }                                                                                      \
  }
KY_VARIANT_FIELDS(KY_VARIANT_FROM_ARRAY)
#undef KY_VARIANT_FROM_ARRAY
