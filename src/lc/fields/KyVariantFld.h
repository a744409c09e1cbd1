// KyVariantFld: the field that holds one COM VARIANT, for values passed to
// and from COM objects. Filled from any field class or C type (CastFrom,
// operator=), read as any C type (the Get family, converted with
// VariantChangeType), handed to COM calls as out-storage (pGet / ppGet),
// copied into fields (PopulateField) and turned into and out of SAFEARRAYs
// of fields.
//
// Ownership, one rule: the VARIANT owns what it holds. A stored interface
// gets a reference (AddRef), a stored text or array is a copy, and the old
// value is cleared (VariantClear) before every new one and at destruction.
// By-reference values (VT_BYREF) point at the caller's storage and own
// nothing.
#pragma once

#include <oleauto.h>

#include <memory>
#include <vector>

#include "KyFieldConversions.h"
#include "KyRTType.h"

class KyComFld;  // the field classes are declared with their conversions

// The field classes a variant converts to and from.
#define KY_VARIANT_FIELDS(X)                                                                          \
  X(KyByteFld) X(KyIntFld) X(KyLongFld) X(KyLLongFld) X(KySglFld) X(KyDblFld) X(KyLdblFld) X(KyFixedDecFld) \
  X(KyCharFld) X(KyDateFld) X(KyTimeFld) X(KyTimeStampFld)

class KyVariantFld : public KyRTType {
 public:
  KyVariantFld();
  KyVariantFld(const KyVariantFld& other);
  KyVariantFld& operator=(const KyVariantFld& other);
  virtual ~KyVariantFld();

  // --- from fields (state 0 afterwards) ---
  // A by-reference source is taken by value.
  void CastFrom(const KyVariantFld& other);
#define KY_VARIANT_FROM(Field) \
  void CastFrom(const Field& field); \
  KyVariantFld& operator=(const Field& field) { CastFrom(field); return *this; }
  KY_VARIANT_FIELDS(KY_VARIANT_FROM)
#undef KY_VARIANT_FROM
  // VT_UNKNOWN of the COM field's interface (with a reference).
  void CastFrom(KyComFld& field);

  // --- from C and COM types ---
  void CastFrom(unsigned char value);     // VT_UI1
  void CastFrom(const unsigned char* p);  // the value pointed at
  void CastFrom(short value);             // VT_I2
  void CastFrom(const short* p);
  void CastFrom(unsigned short value);    // VT_UI2
  void CastFrom(const unsigned short* p);
  void CastFrom(int value);               // VT_INT
  void CastFrom(const int* p);
  void CastFrom(unsigned int value);      // VT_UINT
  void CastFrom(const unsigned int* p);
  // A Windows long is 32 bits: VT_I4 / VT_UI4 when the value fits, else
  // VT_I8 / VT_UI8 (nothing is cut).
  void CastFrom(long value);
  void CastFrom(unsigned long value);
  void CastFrom(float value);             // VT_R4
  void CastFrom(const float* p);
  void CastFrom(double value);            // VT_R8
  void CastFrom(const double* p);
  void CastFrom(long long value);         // VT_I8
  void CastFrom(unsigned long long value);  // VT_UI8
  void CastFrom(const CY& value);         // VT_CY
  void CastFrom(const DECIMAL& value);    // VT_DECIMAL
  void CastFromWCHAR_T(WCHAR value);      // VT_UI2 (a character code)
  void CastFromBSTR(const WCHAR* pszText);  // VT_BSTR, a copy
  void CastFromSCODE(SCODE value);        // VT_ERROR
  void CastFromBool(bool value);          // VT_BOOL, VARIANT_TRUE or VARIANT_FALSE
  void CastFrom(IDispatch* p);            // VT_DISPATCH, with a reference
  void CastFrom(IDispatch** pp);          // VT_BYREF | VT_DISPATCH
  void CastFrom(IUnknown* p);             // VT_UNKNOWN, with a reference
  void CastFrom(IUnknown** pp);           // VT_BYREF | VT_UNKNOWN
  // VT_ARRAY of the array's element type; a copy of the array.
  void CastFrom(SAFEARRAY* psa);
  void CastFromVoid(void* p);             // VT_BYREF without a type
  void CastFrom(const VARIANT& value);    // a copy (VariantCopy)
  void CastFrom(const VARIANT* p);

  // --- getters: the value changed to the getter's type (the stored value
  // stays as it is); 0 (or null) when it cannot be ---
  VARIANT_BOOL GetBool() const;
  BYTE GetByte() const;
  BYTE GetUChar() const { return GetByte(); }
  CHAR GetChar() const;
  SHORT GetShort() const;
  USHORT GetUShort() const;
  INT GetInt() const;
  UINT GetUInt() const;
  LONG GetLong() const;
  ULONG GetULong() const;
  SCODE GetSCODE() const;
  FLOAT GetFloat() const;
  FLOAT GetSingle() const { return GetFloat(); }
  double GetDouble() const;
  DATE GetDate() const;
  LONGLONG GetLLong() const;
  LONGLONG GetHyper() const { return GetLLong(); }
  ULONGLONG GetULLong() const;
  ULONGLONG GetUHyper() const { return GetULLong(); }
  WCHAR GetWChar() const { return static_cast<WCHAR>(GetUShort()); }
  DECIMAL GetDecimal() const;
  // Changes the stored value to VT_CY in place, then answers it.
  CY GetCurrency();
  // The text forms, kept in the field until the next call.
  const WCHAR* GetLPWSTR();
  BSTR GetBSTR() { return const_cast<BSTR>(GetLPWSTR()); }
  const char* GetLPSTR();

  // --- arrays: the elements of a VT_ARRAY of the getter's element type,
  // kept in the field until the next call of that getter; null for any
  // other value ---
  BYTE* GetByteArray();
  BSTR* GetCharArray();
  DATE* GetDateArray();
  double* GetDoubleArray();
  IUnknown** GetIUnknownArray();
  INT* GetIntArray();
  LONG* GetLongArray();
  LONGLONG* GetLongLongArray();
  FLOAT* GetSingleArray();
  ULONG GetElementCount() const { return m_lElements; }

  // --- out-storage for COM calls: the old value is cleared, the type set,
  // and the address of the value (of the array pointer for VT_ARRAY) given ---
  VARIANT_BOOL* pGetBool() { return prepare(VT_BOOL, &m_Value.boolVal); }
  BYTE* pGetByte() { return prepare(VT_UI1, &m_Value.bVal); }
  SHORT* pGetShort() { return prepare(VT_I2, &m_Value.iVal); }
  USHORT* pGetUShort() { return prepare(VT_UI2, &m_Value.uiVal); }
  INT* pGetInt() { return prepare(VT_INT, &m_Value.intVal); }
  UINT* pGetUInt() { return prepare(VT_UINT, &m_Value.uintVal); }
  LONG* pGetLong() { return prepare(VT_I4, &m_Value.lVal); }
  ULONG* pGetULong() { return prepare(VT_UI4, &m_Value.ulVal); }
  SCODE* pGetSCODE() { return prepare(VT_ERROR, &m_Value.scode); }
  FLOAT* pGetFloat() { return prepare(VT_R4, &m_Value.fltVal); }
  double* pGetDouble() { return prepare(VT_R8, &m_Value.dblVal); }
  DATE* pGetDate() { return prepare(VT_DATE, &m_Value.date); }
  LONGLONG* pGetLLong() { return prepare(VT_I8, &m_Value.llVal); }
  ULONGLONG* pGetULLong() { return prepare(VT_UI8, &m_Value.ullVal); }
  CY* pGetCurrency() { return prepare(VT_CY, &m_Value.cyVal); }
  BSTR* pGetBSTR() { return prepare(VT_BSTR, &m_Value.bstrVal); }
  // The same storage under the getters' other names.
  BYTE* pGetUChar() { return pGetByte(); }
  CHAR* pGetChar() { return prepare(VT_I1, &m_Value.cVal); }
  FLOAT* pGetSingle() { return pGetFloat(); }
  LONGLONG* pGetHyper() { return pGetLLong(); }
  ULONGLONG* pGetUHyper() { return pGetULLong(); }
  WCHAR* pGetWChar() { return reinterpret_cast<WCHAR*>(prepare(VT_UI2, &m_Value.uiVal)); }
  DECIMAL* pGetDecimal() {
    reset();
    m_Value.vt = VT_DECIMAL;  // in the DECIMAL's reserved word, which writers leave
    return &m_Value.decVal;
  }
  void** pGetVoid() { return prepare(VT_BYREF, &m_Value.byref); }
  // A text the callee allocates (a BSTR) and the field keeps.
  BSTR* pGetLPWSTR() { return pGetBSTR(); }
  BSTR* pGetLPSTR() { return pGetBSTR(); }
  IDispatch** pGetIDispatchSlot() { return prepare(VT_DISPATCH, &m_Value.pdispVal); }
  IUnknown** pGetIUnknownSlot() { return prepare(VT_UNKNOWN, &m_Value.punkVal); }
  // The whole VARIANT as out-storage (cleared).
  VARIANT* pGetVariant();
  // The stored interface pointer itself (no reference added); null when
  // the value is no interface.
  IDispatch* pGetIDispatch() const;
  IUnknown* pGetIUnknown() const;
  // One level deeper: the address of a slot that points at the value.
  VARIANT_BOOL** ppGetBool() { return deeper(pGetBool()); }
  BYTE** ppGetByte() { return deeper(pGetByte()); }
  BYTE** ppGetUChar() { return deeper(pGetUChar()); }
  CHAR** ppGetChar() { return deeper(pGetChar()); }
  SHORT** ppGetShort() { return deeper(pGetShort()); }
  USHORT** ppGetUShort() { return deeper(pGetUShort()); }
  INT** ppGetInt() { return deeper(pGetInt()); }
  UINT** ppGetUInt() { return deeper(pGetUInt()); }
  LONG** ppGetLong() { return deeper(pGetLong()); }
  ULONG** ppGetULong() { return deeper(pGetULong()); }
  SCODE** ppGetSCODE() { return deeper(pGetSCODE()); }
  FLOAT** ppGetFloat() { return deeper(pGetFloat()); }
  FLOAT** ppGetSingle() { return deeper(pGetSingle()); }
  double** ppGetDouble() { return deeper(pGetDouble()); }
  DATE** ppGetDate() { return deeper(pGetDate()); }
  LONGLONG** ppGetLLong() { return deeper(pGetLLong()); }
  LONGLONG** ppGetHyper() { return deeper(pGetHyper()); }
  ULONGLONG** ppGetULLong() { return deeper(pGetULLong()); }
  ULONGLONG** ppGetUHyper() { return deeper(pGetUHyper()); }
  CY** ppGetCurrency() { return deeper(pGetCurrency()); }
  WCHAR** ppGetWChar() { return deeper(pGetWChar()); }
  DECIMAL** ppGetDecimal() { return deeper(pGetDecimal()); }
  BSTR** ppGetBSTR() { return deeper(pGetBSTR()); }

  const VARIANT& GetVariant() const { return m_Value; }
  VARTYPE GetType() const { return m_Value.vt; }

  // --- into fields: an array value empties the field; a value that cannot
  // change to the field's type empties it; numbers beyond the field's range
  // are held at its limit ---
#define KY_VARIANT_INTO(Field) void PopulateField(Field& field) const;
  KY_VARIANT_FIELDS(KY_VARIANT_INTO)
#undef KY_VARIANT_INTO
  // Any field by its text: a date goes by the field's current text (both
  // "-" and ":" a timestamp, "-" a date, ":" a time, neither: untouched),
  // other values through PutText of their text; arrays and failed changes
  // leave the field unchanged.
  void PopulateField(KyRTType* pField) const;

  // --- arrays of fields: a one-dimensional SAFEARRAY (lower bound 0) with
  // the class's element type; the element type and count are kept ---
#define KY_VARIANT_ARRAY(Field)                              \
  void SetFromSafeArray(const Field* pFields, ULONG lCount); \
  void PopulateFieldFromSafeArray(Field* pFields, ULONG lCount) const;
  KY_VARIANT_FIELDS(KY_VARIANT_ARRAY)
  KY_VARIANT_ARRAY(KyVariantFld)
#undef KY_VARIANT_ARRAY
  // The elements the class's array getter cached last (bytes, texts,
  // dates, doubles, integers, longs, 64-bit integers or singles) into the
  // fields, zeros included, no more than the fields there are; fields past
  // the cached elements stay as they are.
#define KY_VARIANT_FROM_ARRAY(Field) void PopulateFieldFromArray(Field* pFields, ULONG lCount) const;
  KY_VARIANT_FIELDS(KY_VARIANT_FROM_ARRAY)
#undef KY_VARIANT_FROM_ARRAY

  // --- the field operations ---
  CString strGetText() const override;
  // A VT_BSTR of the text.
  void PutText(const char* pszText) override;
  CString strGetMaskedText(const char*) const override { return strGetText(); }
  void SetEmpty();
  // Same type and the same value by VarCmp (interfaces: the same object,
  // arrays: the same array).
  bool operator==(const KyVariantFld& other) const;
  bool operator!=(const KyVariantFld& other) const { return !(*this == other); }

  // The element type of the class's arrays (VT_UI1 for KyByteFld ...).
  template <class Field>
  static VARTYPE ElementType();

 private:
  // Clears the value (state 0) before it takes a new one.
  void reset();
  template <class T>
  T** deeper(T* value) {
    m_pByRef = value;
    return reinterpret_cast<T**>(&m_pByRef);
  }
  template <class T>
  T* prepare(VARTYPE vt, T* member) {
    reset();
    m_Value.vt = vt;
    return member;
  }
  // The value changed to vt into out (which the caller clears); false when
  // it cannot be.
  bool changed(VARTYPE vt, VARIANT* out) const;
  template <class T, class Getter>
  T* arrayOf(VARTYPE vt, std::vector<T>& cache, Getter get);
  // The cache of the array getter that serves the class.
  struct CachedArray {
    const void* data;
    size_t count;
    size_t size;  // of an element
    VARTYPE vt;
  };
  template <class Field>
  CachedArray cachedFor() const;

  VARTYPE m_vtElement = VT_EMPTY;
  VARIANT m_Value;
  ULONG m_lElements = 0;
  std::vector<BYTE> m_Bytes;
  std::vector<BSTR> m_Texts;  // owned copies
  std::vector<DATE> m_Dates;
  std::vector<double> m_Doubles;
  std::vector<IUnknown*> m_Unknowns;  // not referenced: the array holds them
  std::vector<INT> m_Ints;
  std::vector<LONG> m_Longs;
  std::vector<LONGLONG> m_LongLongs;
  std::vector<FLOAT> m_Singles;
  BSTR m_WideText = nullptr;  // owned
  KyString m_NarrowText;
  void* m_pByRef = nullptr;
};
