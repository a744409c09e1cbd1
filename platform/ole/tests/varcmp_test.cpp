// VarCmp across types, and the exact VT_DECIMAL and VT_CY conversions the
// fields rely on.
#include <gtest/gtest.h>
#include <oleauto.h>
#include <winnls.h>

#include <string>

namespace {

struct Value {
  VARIANT v;
  Value() { VariantInit(&v); }
  ~Value() { VariantClear(&v); }
  static Value text(const char16_t* s) {
    Value x;
    x.v.vt = VT_BSTR;
    x.v.bstrVal = SysAllocString(s);
    return x;
  }
  Value(Value&& other) noexcept : v(other.v) { VariantInit(&other.v); }
};

Value i4(LONG n) { Value x; x.v.vt = VT_I4; x.v.lVal = n; return x; }
Value i8(LONGLONG n) { Value x; x.v.vt = VT_I8; x.v.llVal = n; return x; }
Value r8(double d) { Value x; x.v.vt = VT_R8; x.v.dblVal = d; return x; }
Value r4(float f) { Value x; x.v.vt = VT_R4; x.v.fltVal = f; return x; }
Value cy(LONGLONG scaled) { Value x; x.v.vt = VT_CY; x.v.cyVal.int64 = scaled; return x; }
Value boolean(bool b) { Value x; x.v.vt = VT_BOOL; x.v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; return x; }
Value null() { Value x; x.v.vt = VT_NULL; return x; }
Value empty() { return Value(); }
Value decimal(const char16_t* text) {
  Value source = Value::text(text), x;
  EXPECT_EQ(VariantChangeType(&x.v, &source.v, 0, VT_DECIMAL), S_OK);
  return x;
}

TEST(VarCmp, OrdersValuesAcrossTypes) {
  struct Case {
    Value left, right;
    HRESULT expected;
    ULONG flags;
  };
  Case cases[] = {
      {i4(1), i4(2), VARCMP_LT, 0},
      {i4(2), r8(2.0), VARCMP_EQ, 0},
      {i8(9007199254740993LL), i8(9007199254740992LL), VARCMP_GT, 0},  // beyond a double's digits
      {cy(15000), i4(1), VARCMP_GT, 0},                                // 1.5 > 1
      {cy(-15000), i4(-1), VARCMP_LT, 0},
      {decimal(u"0.1"), cy(1000), VARCMP_EQ, 0},
      {decimal(u"12345678901234567890.5"), decimal(u"12345678901234567890.49"), VARCMP_GT, 0},
      {boolean(true), i4(-1), VARCMP_EQ, 0},
      {empty(), i4(0), VARCMP_EQ, 0},
      {r4(0.5f), r8(0.5), VARCMP_EQ, 0},
      {Value::text(u"abc"), Value::text(u"abd"), VARCMP_LT, 0},
      {Value::text(u"ABC"), Value::text(u"abc"), VARCMP_LT, 0},
      {Value::text(u"ABC"), Value::text(u"abc"), VARCMP_EQ, NORM_IGNORECASE},
      {Value::text(u"ab"), Value::text(u"abc"), VARCMP_LT, 0},
      {empty(), Value::text(u""), VARCMP_EQ, 0},
      {Value::text(u"1"), i4(1000), VARCMP_GT, 0},  // a text is above any number
      {i4(1000), Value::text(u"1"), VARCMP_LT, 0},
      {null(), i4(1), VARCMP_NULL, 0},
      {Value::text(u"x"), null(), VARCMP_NULL, 0},
  };
  int row = 0;
  for (Case& c : cases) {
    EXPECT_EQ(VarCmp(&c.left.v, &c.right.v, 0, c.flags), c.expected) << "row " << row;
    ++row;
  }
}

TEST(VarCmp, ReadsThroughReferencesAndRefusesObjects) {
  LONG stored = 5;
  Value ref;
  ref.v.vt = VT_BYREF | VT_I4;
  ref.v.plVal = &stored;
  Value five = i4(5);
  EXPECT_EQ(VarCmp(&ref.v, &five.v, 0, 0), VARCMP_EQ);
  ref.v.vt = VT_EMPTY;  // the reference owns nothing
  Value object;
  object.v.vt = VT_UNKNOWN;
  object.v.punkVal = nullptr;
  EXPECT_EQ(VarCmp(&object.v, &five.v, 0, 0), DISP_E_TYPEMISMATCH);
}

std::u16string textOf(const VARIANT& v) {
  VARIANT t;
  VariantInit(&t);
  EXPECT_EQ(VariantChangeType(&t, &v, 0, VT_BSTR), S_OK);
  std::u16string s(t.bstrVal, SysStringLen(t.bstrVal));
  VariantClear(&t);
  return s;
}

TEST(ExactConversions, DecimalAndCurrencyKeepEveryDigitThatFits) {
  struct Case {
    const char16_t* text;
    VARTYPE vt;
    const char16_t* back;  // null: refused with DISP_E_OVERFLOW
  } cases[] = {
      {u"1234567.89", VT_DECIMAL, u"1234567.89"},
      {u"-0.0000000000000000000000000001", VT_DECIMAL, u"-0.0000000000000000000000000001"},
      {u"79228162514264337593543950335", VT_DECIMAL, u"79228162514264337593543950335"},
      {u"79228162514264337593543950336", VT_DECIMAL, nullptr},
      {u"1234567.89", VT_CY, u"1234567.89"},
      {u"922337203685477.5807", VT_CY, u"922337203685477.5807"},
      {u"922337203685477.5808", VT_CY, nullptr},
      {u"0.00005", VT_CY, u"0"},   // half to even at the fourth decimal
      {u"0.00015", VT_CY, u"0.0002"},
  };
  for (const Case& c : cases) {
    Value source = Value::text(c.text), exact;
    const HRESULT hr = VariantChangeType(&exact.v, &source.v, 0, c.vt);
    if (!c.back) {
      EXPECT_EQ(hr, DISP_E_OVERFLOW) << std::string(c.text, c.text + 5);
      continue;
    }
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(textOf(exact.v), c.back);
  }
  // Between the two exact types and to a double.
  Value d = decimal(u"1234567.89"), asCy, asR8;
  ASSERT_EQ(VariantChangeType(&asCy.v, &d.v, 0, VT_CY), S_OK);
  EXPECT_EQ(asCy.v.cyVal.int64, 12345678900LL);
  ASSERT_EQ(VariantChangeType(&asR8.v, &asCy.v, 0, VT_R8), S_OK);
  EXPECT_DOUBLE_EQ(asR8.v.dblVal, 1234567.89);
}

}  // namespace
