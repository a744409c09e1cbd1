// Variant fields: every field type to a VARIANT and back, C types, getters
// that convert, arrays of fields, ownership of what a variant holds, text
// and comparison.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariantFld.h"

namespace {

// Every field class to its VARIANT type and back into a fresh field.
template <class Field>
void roundTrip(const Field& source, VARTYPE expected, const char* text) {
  KyVariantFld v;
  v = source;
  EXPECT_EQ(v.GetType(), expected) << text;
  Field back;
  v.PopulateField(back);
  EXPECT_STREQ(back.strGetText(), source.strGetText()) << text;
  EXPECT_EQ(back.GetFieldState(), KyStateValue) << text;
}

TEST(VariantField, EveryFieldTypeGoesThereAndBack) {
  roundTrip(KyByteFld(200, 0), VT_UI1, "byte");
  roundTrip(KyIntFld(-1234, 0), VT_INT, "int");
  roundTrip(KyLongFld(-2000000000, 0), VT_I4, "long");
  roundTrip(KyLLongFld(9007199254740993LL, 0), VT_I8, "long long");
  roundTrip(KySglFld(1.5f, 0), VT_R4, "single");
  roundTrip(KyDblFld(-0.1, 0), VT_R8, "double");
  roundTrip(KyLdblFld(12345.678, 0), VT_R8, "long double");
  roundTrip(KyFixedDecFld(KyFixedDecImpl("1234567.89"), 0), VT_DECIMAL, "fixed decimal");
  roundTrip(KyFixedDecFld(KyFixedDecImpl("-0.0000001"), 0), VT_DECIMAL, "small fixed decimal");
  roundTrip(KyCharFld("Grüße, world"), VT_BSTR, "text");
  roundTrip(KyDateFld(2017, 2, 28), VT_DATE, "date");
  roundTrip(KyDateFld(1805, 7, 4), VT_DATE, "date before 1899");
  roundTrip(KyTimeFld(9, 5, 7), VT_DATE, "time");
  roundTrip(KyTimeStampFld(1850, 12, 31, 23, 59, 59, 0, 0), VT_DATE, "timestamp");
}

TEST(VariantField, FixedDecimalsKeepEveryDigitThatFits) {
  KyVariantFld v;
  v = KyFixedDecFld(KyFixedDecImpl("1234567.89"), 0);
  EXPECT_STREQ(v.GetLPSTR(), "1234567.89");  // not 1234567.875 through a float
  // Beyond 28 digits the number goes as text, whole.
  v = KyFixedDecFld(KyFixedDecImpl("12345678901234567890123456789012.5"), 0);
  EXPECT_EQ(v.GetType(), VT_BSTR);
  EXPECT_STREQ(v.GetLPSTR(), "12345678901234567890123456789012.5");
}

TEST(VariantField, CTypesGiveTheirOwnTypes) {
  struct Case {
    std::function<void(KyVariantFld&)> set;
    VARTYPE vt;
    const char* text;
  } cases[] = {
      {[](KyVariantFld& v) { v.CastFrom(static_cast<unsigned char>(200)); }, VT_UI1, "200"},
      {[](KyVariantFld& v) { v.CastFrom(static_cast<short>(-7)); }, VT_I2, "-7"},
      {[](KyVariantFld& v) { v.CastFrom(static_cast<unsigned short>(65535)); }, VT_UI2, "65535"},
      {[](KyVariantFld& v) { v.CastFromBool(true); }, VT_BOOL, "-1"},
      {[](KyVariantFld& v) { v.CastFrom(42); }, VT_INT, "42"},
      {[](KyVariantFld& v) { v.CastFrom(42L); }, VT_I4, "42"},
      {[](KyVariantFld& v) { v.CastFrom(1L << 40); }, VT_I8, "1099511627776"},
      {[](KyVariantFld& v) { v.CastFrom(18446744073709551615ULL); }, VT_UI8, "18446744073709551615"},
      {[](KyVariantFld& v) { v.CastFrom(CY{.int64 = 15000}); }, VT_CY, "1.5"},
      {[](KyVariantFld& v) { v.CastFromSCODE(E_FAIL); }, VT_ERROR, ""},
      {[](KyVariantFld& v) { v.CastFromBSTR(u"wide"); }, VT_BSTR, "wide"},
  };
  for (const Case& c : cases) {
    KyVariantFld v;
    c.set(v);
    EXPECT_EQ(v.GetType(), c.vt) << c.text;
    if (c.vt != VT_ERROR) EXPECT_STREQ(v.GetLPSTR(), c.text);
  }
  KyVariantFld v;
  v.CastFromSCODE(E_FAIL);
  EXPECT_EQ(v.GetSCODE(), E_FAIL);
}

TEST(VariantField, GettersConvertInsteadOfReinterpreting) {
  KyVariantFld v;
  v.CastFrom(3.75);
  EXPECT_EQ(v.GetLong(), 4);  // rounded, not the double's low bits
  EXPECT_EQ(v.GetShort(), 4);
  EXPECT_FLOAT_EQ(v.GetFloat(), 3.75f);
  EXPECT_EQ(v.GetBool(), VARIANT_TRUE);
  v.PutText("2.5");
  EXPECT_DOUBLE_EQ(v.GetDouble(), 2.5);
  EXPECT_EQ(v.GetInt(), 2);  // half to even
  v.PutText("not a number");
  EXPECT_EQ(v.GetLong(), 0);
  v.CastFrom(1.5);
  const CY cy = v.GetCurrency();
  EXPECT_EQ(cy.int64, 15000);
  EXPECT_EQ(v.GetType(), VT_CY);  // changed in place, as the getter does
}

TEST(VariantField, PopulateFieldEmptiesOnFailureAndHoldsTheRange) {
  KyVariantFld v;
  KyIntFld number(5, 0);
  v.PutText("12");
  v.PopulateField(number);
  EXPECT_EQ(number.GetValue(), 12);
  v.PutText("x");
  v.PopulateField(number);
  EXPECT_EQ(number.GetValue(), 0);  // emptied
  v.CastFrom(100000L);
  v.PopulateField(number);
  EXPECT_EQ(number.GetValue(), 32767);  // held at the field's limit
  v.CastFrom(-1e300);
  KyLongFld big(1, 0);
  v.PopulateField(big);
  EXPECT_EQ(big.GetValue(), INT32_MIN);
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 2);
  v.CastFrom(array);
  SafeArrayDestroy(array);  // the field holds its own copy
  v.PopulateField(big);
  EXPECT_EQ(big.GetValue(), 0);  // an array empties
}

TEST(VariantField, DatesGoIntoAnyFieldByItsText) {
  KyVariantFld v;
  v = KyTimeStampFld(2020, 5, 6, 7, 8, 9, 0, 0);
  KyTimeFld time(1, 2, 3);  // text "01:02:03": a colon, no hyphen
  v.PopulateField(static_cast<KyRTType*>(&time));
  EXPECT_STREQ(time.strGetText(), "07:08:09");
  KyDateFld date(2001, 1, 1);
  v.PopulateField(static_cast<KyRTType*>(&date));
  EXPECT_STREQ(date.strGetText(), "2020-05-06");
  KyCharFld plain("none");  // neither: untouched
  v.PopulateField(static_cast<KyRTType*>(&plain));
  EXPECT_STREQ(plain, "none");
  EXPECT_STREQ(v.strGetText(), "2020-05-06 07:08:09");
  v.CastFrom(static_cast<short>(3));
  v.PopulateField(static_cast<KyRTType*>(&plain));
  EXPECT_STREQ(plain, "3");
}

TEST(VariantField, ArraysOfFieldsKeepEveryElementZerosToo) {
  KyLongFld numbers[4] = {KyLongFld(7, 0), KyLongFld(0, 0), KyLongFld(-3, 0), KyLongFld(0, 0)};
  KyVariantFld v;
  v.SetFromSafeArray(numbers, 4);
  EXPECT_EQ(v.GetType(), VT_ARRAY | VT_I4);
  EXPECT_EQ(v.GetElementCount(), 4u);
  KyLongFld back[4] = {KyLongFld(1, 0), KyLongFld(1, 0), KyLongFld(1, 0), KyLongFld(1, 0)};
  v.PopulateFieldFromSafeArray(back, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(back[i].GetValue(), numbers[i].GetValue()) << i;
  // Elements of another listed type are converted; a long array into texts.
  KyCharFld texts[3];
  v.PopulateFieldFromSafeArray(texts, 3);
  EXPECT_STREQ(texts[2], "-3");
  // The array getter of the type, and null for any other.
  const LONG* longs = v.GetLongArray();
  ASSERT_NE(longs, nullptr);
  EXPECT_EQ(longs[0], 7);
  EXPECT_EQ(v.GetDoubleArray(), nullptr);
  v.CastFrom(1.0);
  EXPECT_EQ(v.GetLongArray(), nullptr);  // not the previous call's array
  // Texts and fixed decimals.
  KyCharFld words[2] = {KyCharFld("a"), KyCharFld("bc")};
  v.SetFromSafeArray(words, 2);
  BSTR* got = v.GetCharArray();
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::u16string(got[1]), u"bc");
  KyFixedDecFld money[1] = {KyFixedDecFld(KyFixedDecImpl("1234567.89"), 0)};
  v.SetFromSafeArray(money, 1);
  KyFixedDecFld moneyBack[1] = {KyFixedDecFld(KyFixedDecImpl("0.00"), 0)};
  v.PopulateFieldFromSafeArray(moneyBack, 1);
  EXPECT_STREQ(moneyBack[0].strGetText(), "1234567.89");
}

TEST(VariantField, FieldsFromTheLastArrayGetterTakeZerosAndStopAtTheirCount) {
  KyLongFld numbers[4] = {KyLongFld(7, 0), KyLongFld(0, 0), KyLongFld(-3, 0), KyLongFld(0, 0)};
  KyVariantFld v;
  v.SetFromSafeArray(numbers, 4);
  KyLongFld back[5] = {KyLongFld(1, 0), KyLongFld(1, 0), KyLongFld(1, 0), KyLongFld(1, 0), KyLongFld(1, 0)};
  v.PopulateFieldFromArray(back, 5);  // nothing cached yet: untouched
  EXPECT_EQ(back[1].GetValue(), 1);
  ASSERT_NE(v.GetLongArray(), nullptr);
  struct Case {
    ULONG count;
    std::vector<long> expected;
  } cases[] = {{5, {7, 0, -3, 0, 1}}, {2, {7, 0, 1, 1, 1}}};
  for (const Case& c : cases) {
    for (KyLongFld& f : back) f = KyLongFld(1, 0);
    v.PopulateFieldFromArray(back, c.count);
    for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(back[i].GetValue(), c.expected[i]) << c.count << " " << i;
  }
  // Other getters' caches serve their classes, converted as single values.
  KyDateFld days[2] = {KyDateFld("2024-02-29", 0), KyDateFld("1900-01-01", 0)};
  v.SetFromSafeArray(days, 2);
  ASSERT_NE(v.GetDateArray(), nullptr);
  KyDateFld daysBack[2];
  v.PopulateFieldFromArray(daysBack, 2);
  EXPECT_STREQ(daysBack[0].strGetText(), days[0].strGetText());
  EXPECT_STREQ(daysBack[1].strGetText(), days[1].strGetText());
  KyCharFld words[2] = {KyCharFld("a"), KyCharFld("")};
  v.SetFromSafeArray(words, 2);
  ASSERT_NE(v.GetCharArray(), nullptr);
  KyCharFld wordsBack[2] = {KyCharFld("x"), KyCharFld("y")};
  v.PopulateFieldFromArray(wordsBack, 2);
  EXPECT_STREQ(wordsBack[0], "a");
  EXPECT_STREQ(wordsBack[1], "");
}

TEST(VariantField, EveryOutStorageTypesTheValueItHandsOut) {
  struct Case {
    const char* name;
    std::function<void(KyVariantFld&)> write;
    VARTYPE type;
    const char* text;
  } cases[] = {
      {"pGetUChar", [](KyVariantFld& v) { *v.pGetUChar() = 200; }, VT_UI1, "200"},
      {"pGetSingle", [](KyVariantFld& v) { *v.pGetSingle() = 1.5f; }, VT_R4, "1.5"},
      {"pGetHyper", [](KyVariantFld& v) { *v.pGetHyper() = -5; }, VT_I8, ""},
      {"ppGetInt", [](KyVariantFld& v) { **v.ppGetInt() = 42; }, VT_INT, "42"},
      {"ppGetDate", [](KyVariantFld& v) { **v.ppGetDate() = 2.5; }, VT_DATE, "1900-01-01 12:00:00"},
      {"ppGetFloat", [](KyVariantFld& v) { **v.ppGetFloat() = 0.25f; }, VT_R4, "0.25"},
      {"ppGetByte", [](KyVariantFld& v) { **v.ppGetByte() = 9; }, VT_UI1, "9"},
      {"pGetLPWSTR", [](KyVariantFld& v) { *v.pGetLPWSTR() = SysAllocString(u"wide"); }, VT_BSTR, "wide"},
  };
  for (const Case& c : cases) {
    KyVariantFld v;
    v.PutText("old");
    c.write(v);
    EXPECT_EQ(v.GetType(), c.type) << c.name;
    EXPECT_STREQ(v.strGetText(), c.text) << c.name;
  }
  KyVariantFld v;
  *v.pGetHyper() = -5;
  EXPECT_EQ(v.GetLLong(), -5);
  DECIMAL* decimal = v.pGetDecimal();
  EXPECT_EQ(v.GetType(), VT_DECIMAL);
  decimal->Lo64 = 12345;
  decimal->scale = 2;
  EXPECT_DOUBLE_EQ(v.GetDouble(), 123.45);
}

// An object that counts its references.
class Counted : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
  ULONG STDMETHODCALLTYPE Release() override { return --count; }
  ULONG count = 1;
};

TEST(VariantField, WhatItHoldsItOwnsAndReleasesOnce) {
  Counted object;
  {
    KyVariantFld v;
    v.CastFrom(static_cast<IUnknown*>(&object));
    EXPECT_EQ(object.count, 2u);
    KyVariantFld copy(v);
    EXPECT_EQ(object.count, 3u);
    v.CastFrom(5);  // the old value is cleared first
    EXPECT_EQ(object.count, 2u);
    IUnknown* slot = &object;
    copy.CastFrom(&slot);  // a reference to the caller's pointer owns nothing
    EXPECT_EQ(object.count, 1u);
    EXPECT_EQ(copy.GetType(), VT_BYREF | VT_UNKNOWN);
    EXPECT_EQ(copy.pGetIUnknown(), &object);
  }
  EXPECT_EQ(object.count, 1u);
  SAFEARRAY* mine = SafeArrayCreateVector(VT_R8, 0, 3);
  {
    KyVariantFld v;
    v.CastFrom(mine);
  }
  EXPECT_EQ(SafeArrayGetDim(mine), 1u);  // the caller's array is untouched
  EXPECT_EQ(SafeArrayDestroy(mine), S_OK);
}

TEST(VariantField, OutStorageIsClearedAndTyped) {
  KyVariantFld v;
  v.PutText("old");
  LONG* out = v.pGetLong();
  *out = 99;
  EXPECT_EQ(v.GetType(), VT_I4);
  EXPECT_EQ(v.GetLong(), 99);
  BSTR* text = *v.ppGetBSTR();
  *text = SysAllocString(u"new");
  EXPECT_STREQ(v.GetLPSTR(), "new");
}

TEST(VariantField, ComparisonIsByTypeAndValue) {
  KyVariantFld a, b;
  a.CastFrom(static_cast<short>(1));
  b.CastFrom(static_cast<short>(2));
  EXPECT_FALSE(a == b);  // both texts are "", the values differ
  b.CastFrom(static_cast<short>(1));
  EXPECT_TRUE(a == b);
  b.CastFrom(1);
  EXPECT_FALSE(a == b);  // another type
  EXPECT_STREQ(a.strGetText(), "");
}

}  // namespace
