// SAFEARRAY: creation, bounds, element get and put with the ownership
// rules of BSTR, VARIANT and interface elements, locks and copies.
#include <oleauto.h>

#include <gtest/gtest.h>

namespace {

// An object that counts its references.
struct Counted : IUnknown {
  ULONG refs = 1;
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
};

TEST(SafeArray, VectorOfVariantHasItsBoundsAndFeatures) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 1, 3);
  ASSERT_NE(psa, nullptr);
  LONG low = 0, high = 0;
  EXPECT_EQ(SafeArrayGetLBound(psa, 1, &low), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(psa, 1, &high), S_OK);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 3);
  EXPECT_EQ(SafeArrayGetDim(psa), 1u);
  EXPECT_EQ(SafeArrayGetElemsize(psa), sizeof(VARIANT));
  EXPECT_TRUE(psa->fFeatures & FADF_VARIANT);
  VARTYPE vt = 0;
  EXPECT_EQ(SafeArrayGetVartype(psa, &vt), S_OK);
  EXPECT_EQ(vt, VT_VARIANT);
  EXPECT_EQ(SafeArrayGetLBound(psa, 2, &low), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetUBound(psa, 0, &high), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &low), E_INVALIDARG);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, EmptyVectorAnswersUpperBoundBelowLower) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  ASSERT_NE(psa, nullptr);
  LONG high = 99;
  EXPECT_EQ(SafeArrayGetUBound(psa, 1, &high), S_OK);
  EXPECT_EQ(high, -1);
  LONG index = 0;
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(SafeArrayGetElement(psa, &index, &v), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, RefusesTypesItCannotHold) {
  for (VARTYPE vt : std::initializer_list<VARTYPE>{VT_EMPTY, VT_NULL, 15, VT_I4 | VT_BYREF})
    EXPECT_EQ(SafeArrayCreateVector(vt, 0, 1), nullptr) << vt;
  SAFEARRAYBOUND bound{1, 0};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &bound), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_I4, 1, nullptr), nullptr);
}

TEST(SafeArray, VariantElementsAreCopiedInAndOut) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT in;
  VariantInit(&in);
  in.vt = VT_BSTR;
  in.bstrVal = SysAllocString(u"text");
  LONG index = 1;
  ASSERT_EQ(SafeArrayPutElement(psa, &index, &in), S_OK);
  VariantClear(&in);  // the array holds its own copy

  VARIANT out;
  out.vt = VT_I4;  // whatever the caller left there is overwritten, not freed
  ASSERT_EQ(SafeArrayGetElement(psa, &index, &out), S_OK);
  ASSERT_EQ(out.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(out.bstrVal), u"text");
  VariantClear(&out);

  // Replacing frees the old element (checked by ASan's leak check).
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 7;
  ASSERT_EQ(SafeArrayPutElement(psa, &index, &number), S_OK);
  ASSERT_EQ(SafeArrayGetElement(psa, &index, &out), S_OK);
  EXPECT_EQ(out.vt, VT_I4);
  EXPECT_EQ(out.lVal, 7);

  index = 2;
  EXPECT_EQ(SafeArrayPutElement(psa, &index, &number), DISP_E_BADINDEX);
  index = -1;
  EXPECT_EQ(SafeArrayGetElement(psa, &index, &out), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayPutElement(psa, &index, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, BstrAndInterfaceElementsArePassedAsThePointer) {
  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 1);
  BSTR text = SysAllocString(u"abc");
  LONG index = 0;
  ASSERT_EQ(SafeArrayPutElement(texts, &index, text), S_OK);
  SysFreeString(text);
  BSTR copy = nullptr;
  ASSERT_EQ(SafeArrayGetElement(texts, &index, &copy), S_OK);
  EXPECT_EQ(std::u16string(copy), u"abc");
  SysFreeString(copy);
  EXPECT_EQ(SafeArrayPutElement(texts, &index, nullptr), S_OK);  // a null BSTR is a value
  EXPECT_EQ(SafeArrayDestroy(texts), S_OK);

  Counted object;
  SAFEARRAY* objects = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
  ASSERT_EQ(SafeArrayPutElement(objects, &index, static_cast<IUnknown*>(&object)), S_OK);
  EXPECT_EQ(object.refs, 2u);
  IUnknown* got = nullptr;
  ASSERT_EQ(SafeArrayGetElement(objects, &index, &got), S_OK);
  EXPECT_EQ(got, &object);
  EXPECT_EQ(object.refs, 3u);
  got->Release();
  EXPECT_EQ(SafeArrayDestroy(objects), S_OK);
  EXPECT_EQ(object.refs, 1u);
}

TEST(SafeArray, LockedArrayIsNotDestroyed) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 4);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(psa, &data), S_OK);
  static_cast<LONG*>(data)[3] = 42;
  EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(psa), S_OK);
  EXPECT_EQ(SafeArrayUnlock(psa), E_UNEXPECTED);
  LONG index = 3, value = 0;
  ASSERT_EQ(SafeArrayGetElement(psa, &index, &value), S_OK);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
  EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
}

TEST(SafeArray, TwoDimensionsRunLeftmostIndexFastest) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 10}};  // [0..1][10..12]
  SAFEARRAY* psa = SafeArrayCreate(VT_I2, 2, bounds);
  ASSERT_NE(psa, nullptr);
  LONG low = 0, high = 0;
  SafeArrayGetLBound(psa, 2, &low);
  SafeArrayGetUBound(psa, 2, &high);
  EXPECT_EQ(low, 10);
  EXPECT_EQ(high, 12);
  EXPECT_EQ(psa->rgsabound[0].lLbound, 10);  // stored right to left
  LONG at[2] = {1, 11};
  SHORT value = 5;
  ASSERT_EQ(SafeArrayPutElement(psa, at, &value), S_OK);
  EXPECT_EQ(static_cast<SHORT*>(psa->pvData)[1 + 1 * 2], 5);
  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(psa, &copy), S_OK);
  SHORT got = 0;
  ASSERT_EQ(SafeArrayGetElement(copy, at, &got), S_OK);
  EXPECT_EQ(got, 5);
  SafeArrayDestroy(copy);
  SafeArrayDestroy(psa);
}

}  // namespace
