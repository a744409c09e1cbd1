// Standard font objects: the description comes back through IFont and
// through IFontDisp, changes are seen by both, and bad descriptions are
// refused.
#include <gtest/gtest.h>
#include <olectl.h>

#include <string>

namespace {
std::u16string faceOf(IFont* font) {
  BSTR name = nullptr;
  font->get_Name(&name);
  std::u16string face(name, SysStringLen(name));
  SysFreeString(name);
  return face;
}
}  // namespace

TEST(OleFont, TheDescriptionReadsBackThroughBothInterfaces) {
  std::u16string face = u"Tahoma";
  FONTDESC desc{sizeof desc, reinterpret_cast<LPOLESTR>(face.data()), {}, 700, 0, TRUE, FALSE, TRUE};
  desc.cySize.int64 = 97500;
  IFont* font = nullptr;
  ASSERT_EQ(OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(&font)), S_OK);
  EXPECT_EQ(faceOf(font), u"Tahoma");
  BOOL bold = FALSE, italic = FALSE, underline = TRUE, strike = FALSE;
  font->get_Bold(&bold);
  font->get_Italic(&italic);
  font->get_Underline(&underline);
  font->get_Strikethrough(&strike);
  EXPECT_TRUE(bold && italic && !underline && strike);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&dispatch)), S_OK);
  struct Case {
    DISPID id;
    const char16_t* text;
  } cases[] = {{DISPID_FONT_NAME, u"Tahoma"}, {DISPID_FONT_SIZE, u"9.75"}, {DISPID_FONT_BOLD, u"-1"},
               {DISPID_FONT_UNDER, u"0"}, {DISPID_FONT_WEIGHT, u"700"}};
  for (const Case& c : cases) {
    VARIANT value, text;
    VariantInit(&value);
    VariantInit(&text);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(dispatch->Invoke(c.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr), S_OK);
    ASSERT_EQ(VariantChangeType(&text, &value, 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(text.bstrVal, SysStringLen(text.bstrVal)), c.text) << c.id;
    VariantClear(&value);
    VariantClear(&text);
  }
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(u"Arial");
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&name, &put, 1, 1};
  ASSERT_EQ(dispatch->Invoke(DISPID_FONT_NAME, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(faceOf(font), u"Arial");
  VariantClear(&name);
  HFONT handle = nullptr;
  EXPECT_EQ(font->get_hFont(&handle), S_OK);
  EXPECT_NE(handle, nullptr);
  IFont* copy = nullptr;
  ASSERT_EQ(font->Clone(&copy), S_OK);
  EXPECT_EQ(font->IsEqual(copy), S_OK);
  copy->put_Italic(FALSE);
  EXPECT_EQ(font->IsEqual(copy), S_FALSE);
  copy->Release();
  dispatch->Release();
  font->Release();
}

TEST(OleFont, BadDescriptionsAreRefused) {
  IFont* font = nullptr;
  EXPECT_EQ(OleCreateFontIndirect(nullptr, IID_IFont, reinterpret_cast<void**>(&font)), E_INVALIDARG);
  FONTDESC nameless{sizeof(FONTDESC), nullptr, {}, 400, 0, FALSE, FALSE, FALSE};
  EXPECT_EQ(OleCreateFontIndirect(&nameless, IID_IFont, reinterpret_cast<void**>(&font)), E_INVALIDARG);
  std::u16string face = u"Arial";
  FONTDESC desc{sizeof(FONTDESC), reinterpret_cast<LPOLESTR>(face.data()), {}, 400, 0, FALSE, FALSE, FALSE};
  EXPECT_EQ(OleCreateFontIndirect(&desc, IID_IStream, reinterpret_cast<void**>(&font)), E_NOINTERFACE);
  EXPECT_EQ(font, nullptr);
}
