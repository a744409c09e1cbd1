// VARIANT: clearing and copying with ownership, and VariantChangeType to
// and from VT_BSTR and among numbers.
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Counted : IUnknown {
  ULONG refs = 1;
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
};

std::string narrow(BSTR s) {
  std::string out;
  for (UINT i = 0; i < SysStringLen(s); ++i) out += static_cast<char>(s[i]);
  return out;
}

VARIANT textVariant(const char16_t* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}

TEST(Variant, ClearFreesWhatItOwnsAndRefusesBadTypes) {
  Counted object;
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = &object;
  object.AddRef();
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(object.refs, 1u);

  v.vt = 15;  // no such type
  EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);

  LONG referenced = 3;
  v.vt = VT_I4 | VT_BYREF;
  v.plVal = &referenced;
  EXPECT_EQ(VariantClear(&v), S_OK);  // a reference owns nothing
  EXPECT_EQ(referenced, 3);
}

TEST(Variant, CopyDuplicatesTextArrayAndReference) {
  VARIANT text = textVariant(u"abc");
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
  EXPECT_NE(copy.bstrVal, text.bstrVal);
  EXPECT_EQ(narrow(copy.bstrVal), "abc");

  VARIANT array;
  VariantInit(&array);
  array.vt = VT_ARRAY | VT_VARIANT;
  array.parray = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  LONG index = 0;
  SafeArrayPutElement(array.parray, &index, &text);
  ASSERT_EQ(VariantCopy(&copy, &array), S_OK);  // frees the old text of copy first
  EXPECT_NE(copy.parray, array.parray);
  VARIANT element;
  ASSERT_EQ(SafeArrayGetElement(copy.parray, &index, &element), S_OK);
  EXPECT_EQ(narrow(element.bstrVal), "abc");
  VariantClear(&element);

  Counted object;
  VARIANT unknown;
  VariantInit(&unknown);
  unknown.vt = VT_UNKNOWN;
  unknown.punkVal = &object;
  ASSERT_EQ(VariantCopy(&copy, &unknown), S_OK);
  EXPECT_EQ(object.refs, 2u);
  VariantClear(&copy);
  EXPECT_EQ(object.refs, 1u);
  VariantClear(&text);
  VariantClear(&array);
}

TEST(Variant, CopyIndReadsThroughReference) {
  double value = 2.5;
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_R8 | VT_BYREF;
  ref.pdblVal = &value;
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopyInd(&copy, &ref), S_OK);
  EXPECT_EQ(copy.vt, VT_R8);
  EXPECT_EQ(copy.dblVal, 2.5);

  BSTR text = SysAllocString(u"by ref");
  ref.vt = VT_BSTR | VT_BYREF;
  ref.pbstrVal = &text;
  ASSERT_EQ(VariantCopyInd(&copy, &ref), S_OK);
  EXPECT_NE(copy.bstrVal, text);
  EXPECT_EQ(narrow(copy.bstrVal), "by ref");
  VariantClear(&copy);
  SysFreeString(text);
}

struct ToText {
  VARIANT value;
  USHORT flags;
  const char* text;
};

VARIANT make(VARTYPE vt, auto setter) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  setter(v);
  return v;
}

TEST(VariantChangeType, WritesScalarsAsText) {
  DECIMAL dec{};
  dec.scale = 2;
  dec.sign = DECIMAL_NEG;
  dec.Lo64 = 12345;
  const ToText cases[] = {
      {make(VT_EMPTY, [](VARIANT&) {}), 0, ""},
      {make(VT_I2, [](VARIANT& v) { v.iVal = -32768; }), 0, "-32768"},
      {make(VT_I4, [](VARIANT& v) { v.lVal = 2147483647; }), 0, "2147483647"},
      {make(VT_UI1, [](VARIANT& v) { v.bVal = 255; }), 0, "255"},
      {make(VT_I8, [](VARIANT& v) { v.llVal = -9000000000LL; }), 0, "-9000000000"},
      {make(VT_R8, [](VARIANT& v) { v.dblVal = 0.1; }), 0, "0.1"},
      {make(VT_R8, [](VARIANT& v) { v.dblVal = 1e20; }), 0, "1E+20"},
      {make(VT_R8, [](VARIANT& v) { v.dblVal = -1.5e-5; }), 0, "-1.5E-05"},
      {make(VT_R4, [](VARIANT& v) { v.fltVal = 3.14159265f; }), 0, "3.141593"},
      {make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), 0, "-1"},
      {make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), VARIANT_ALPHABOOL, "True"},
      {make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_FALSE; }), VARIANT_ALPHABOOL, "False"},
      {make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 15000; }), 0, "1.5"},
      {make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = -1; }), 0, "-0.0001"},
      {make(VT_DATE, [](VARIANT& v) { v.date = 36526.5; }), 0, "1/1/2000 12:00:00 PM"},
      {make(VT_DATE, [](VARIANT& v) { v.date = 2.0; }), 0, "1/1/1900"},
      {make(VT_DATE, [](VARIANT& v) { v.date = 0.25; }), 0, "6:00:00 AM"},
  };
  for (const ToText& c : cases) {
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(VariantChangeType(&out, &c.value, c.flags, VT_BSTR), S_OK) << c.text;
    ASSERT_EQ(out.vt, VT_BSTR);
    ASSERT_NE(out.bstrVal, nullptr) << c.text;
    EXPECT_EQ(narrow(out.bstrVal), c.text);
    VariantClear(&out);
  }
  VARIANT decimal;
  decimal.decVal = dec;
  decimal.vt = VT_DECIMAL;
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &decimal, 0, VT_BSTR), S_OK);
  EXPECT_EQ(narrow(out.bstrVal), "-123.45");
  VariantClear(&out);
}

struct FromText {
  const char16_t* text;
  VARTYPE vt;
  HRESULT hr;
  double value;  // read back as R8 when hr is S_OK
};

TEST(VariantChangeType, ReadsNumbersFromText) {
  const FromText cases[] = {
      {u" 42 ", VT_I4, S_OK, 42},
      {u"-1,234", VT_I4, S_OK, -1234},
      {u"2.5", VT_I4, S_OK, 2},    // half to even
      {u"3.5", VT_I4, S_OK, 4},
      {u"-2.5", VT_I2, S_OK, -2},
      {u"32768", VT_I2, DISP_E_OVERFLOW, 0},
      {u"-1", VT_UI1, DISP_E_OVERFLOW, 0},
      {u"&HFF", VT_I4, S_OK, 255},
      {u"1.5E3", VT_R8, S_OK, 1500},
      {u"0.0001", VT_CY, S_OK, 0.0001},
      {u"12.34567", VT_CY, S_OK, 12.3457},
      {u"True", VT_BOOL, S_OK, -1},
      {u"0", VT_BOOL, S_OK, 0},
      {u"abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"", VT_R8, DISP_E_TYPEMISMATCH, 0},
      {u"1e400", VT_R8, DISP_E_OVERFLOW, 0},
      {u"12x", VT_I4, DISP_E_TYPEMISMATCH, 0},
  };
  for (const FromText& c : cases) {
    VARIANT in = textVariant(c.text);
    VARIANT out;
    VariantInit(&out);
    const std::string label = narrow(in.bstrVal) + " to " + std::to_string(c.vt);
    ASSERT_EQ(VariantChangeType(&out, &in, 0, c.vt), c.hr) << label;
    if (c.hr == S_OK) {
      EXPECT_EQ(out.vt, c.vt) << label;
      VARIANT real;
      VariantInit(&real);
      ASSERT_EQ(VariantChangeType(&real, &out, 0, VT_R8), S_OK) << label;
      EXPECT_DOUBLE_EQ(real.dblVal, c.value) << label;
    } else {
      EXPECT_EQ(out.vt, VT_EMPTY) << label;  // the destination is left alone on failure
    }
    VariantClear(&out);
    VariantClear(&in);
  }
}

TEST(VariantChangeType, DatesReadBackAsTheyAreWritten) {
  const double serials[] = {36526.5, 2.0, 0.25, -1.75, 2958465.0, 45000.999988425923};
  for (double serial : serials) {
    VARIANT date;
    VariantInit(&date);
    date.vt = VT_DATE;
    date.date = serial;
    VARIANT text;
    VariantInit(&text);
    ASSERT_EQ(VariantChangeType(&text, &date, 0, VT_BSTR), S_OK) << serial;
    VARIANT back;
    VariantInit(&back);
    ASSERT_EQ(VariantChangeType(&back, &text, 0, VT_DATE), S_OK) << narrow(text.bstrVal);
    EXPECT_NEAR(back.date, serial, 0.5 / 86400) << narrow(text.bstrVal);
    VariantClear(&text);
  }
  struct Case {
    const char16_t* text;
    HRESULT hr;
    double serial;
  };
  const Case cases[] = {
      {u"2000-01-01 12:00", S_OK, 36526.5},
      {u" 12/31/1899 ", S_OK, 1.0},
      {u"13:30", S_OK, 13.5 / 24},
      {u"2/29/2001", DISP_E_TYPEMISMATCH, 0},
      {u"1/1/2000 13:00 PM", DISP_E_TYPEMISMATCH, 0},
      {u"36526", S_OK, 36526},  // a number is a serial
      {u"noon", DISP_E_TYPEMISMATCH, 0},
  };
  for (const Case& c : cases) {
    VARIANT in = textVariant(c.text);
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(VariantChangeType(&out, &in, 0, VT_DATE), c.hr) << narrow(in.bstrVal);
    if (c.hr == S_OK) {
      EXPECT_NEAR(out.date, c.serial, 1e-9) << narrow(in.bstrVal);
    }
    VariantClear(&in);
  }
}

TEST(VariantChangeType, DecimalKeepsItsDigits) {
  VARIANT in = textVariant(u"-79228162514264337593543950335");  // the largest DECIMAL magnitude
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &in, 0, VT_DECIMAL), S_OK);
  EXPECT_EQ(out.vt, VT_DECIMAL);
  EXPECT_EQ(out.decVal.sign, DECIMAL_NEG);
  ASSERT_EQ(VariantChangeType(&out, &out, 0, VT_BSTR), S_OK);
  EXPECT_EQ(narrow(out.bstrVal), "-79228162514264337593543950335");
  VariantClear(&out);
  VariantClear(&in);
}

TEST(VariantChangeType, ConvertsInPlaceAndThroughReference) {
  VARIANT v = textVariant(u"17");
  ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I2), S_OK);  // the old BSTR is freed
  EXPECT_EQ(v.vt, VT_I2);
  EXPECT_EQ(v.iVal, 17);

  LONG value = -5;
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_I4 | VT_BYREF;
  ref.plVal = &value;
  ASSERT_EQ(VariantChangeType(&v, &ref, 0, VT_BSTR), S_OK);
  EXPECT_EQ(narrow(v.bstrVal), "-5");
  VariantClear(&v);
}

TEST(VariantChangeType, RefusesWhatHasNoConversion) {
  VARIANT null;
  VariantInit(&null);
  null.vt = VT_NULL;
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&out, &null, 0, 15), DISP_E_BADVARTYPE);
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  EXPECT_EQ(VariantChangeType(&out, &number, 0, VT_UNKNOWN), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(nullptr, &number, 0, VT_BSTR), E_INVALIDARG);
  VARIANT empty;
  VariantInit(&empty);
  ASSERT_EQ(VariantChangeType(&out, &empty, 0, VT_I4), S_OK);  // empty reads as 0
  EXPECT_EQ(out.lVal, 0);
}

}  // namespace
