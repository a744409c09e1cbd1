// VARIANTs of arbitrary types and bytes into every field type: the
// conversion empties the field, holds it at its range or fills it, and
// never reads beyond the value (a text or array is built from the input
// with its real length).
#include <algorithm>
#include <cstring>
#include <vector>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariantFld.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 10) return 0;
  VARIANT value;
  VariantInit(&value);
  const VARTYPE base = static_cast<VARTYPE>(data[0] % 24);
  const bool array = data[1] & 1;
  data += 2;
  size -= 2;
  if (base == VT_BSTR) {
    std::vector<OLECHAR> text(size / 2);
    std::memcpy(text.data(), data, text.size() * 2);
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    value.vt = VT_BSTR;
  } else if (base == VT_DECIMAL) {
    std::memcpy(&value.decVal, data, std::min(size, sizeof(DECIMAL)));
    value.vt = VT_DECIMAL;
  } else if (base != VT_DISPATCH && base != VT_UNKNOWN && base != VT_VARIANT && base != 15) {
    std::memcpy(&value.llVal, data, 8);
    value.vt = base;
  }
  if (array && value.vt != VT_EMPTY && value.vt != VT_NULL && value.vt != VT_BSTR && value.vt != VT_DECIMAL) {
    SAFEARRAY* psa = SafeArrayCreateVector(value.vt, 0, static_cast<ULONG>(size / 8));
    if (psa) {
      for (LONG i = 0; i < static_cast<LONG>(size / 8); ++i) SafeArrayPutElement(psa, &i, const_cast<uint8_t*>(data + i * 8));
      VariantClear(&value);
      value.vt = VT_ARRAY | base;
      value.parray = psa;
    }
  }
  KyVariantFld field;
  field.CastFrom(value);
  VariantClear(&value);
  KyByteFld b;
  KyIntFld i;
  KyLongFld l;
  KyLLongFld ll;
  KySglFld s;
  KyDblFld d;
  KyFixedDecFld f;
  KyCharFld c;
  KyDateFld date;
  KyTimeFld time;
  KyTimeStampFld stamp;
  field.PopulateField(b);
  field.PopulateField(i);
  field.PopulateField(l);
  field.PopulateField(ll);
  field.PopulateField(s);
  field.PopulateField(d);
  field.PopulateField(f);
  field.PopulateField(c);
  field.PopulateField(date);
  field.PopulateField(time);
  field.PopulateField(stamp);
  field.PopulateField(static_cast<KyRTType*>(&c));
  (void)field.strGetText();
  (void)field.GetLPSTR();
  (void)field.GetLongArray();
  (void)field.GetCharArray();
  KyLongFld fields[4];
  field.PopulateFieldFromSafeArray(fields, 4);
  return 0;
}
