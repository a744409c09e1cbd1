// The control site's property bag: values written and read back as their
// types, kept in a stream and restored, damaged streams refused.
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "occpropbag.h"

namespace {

LPCOLESTR name(const char16_t* text) { return reinterpret_cast<LPCOLESTR>(text); }

VARIANT number(LONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT text(const char16_t* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(reinterpret_cast<const OLECHAR*>(value));
  return v;
}

std::u16string textOf(const VARIANT& v) {
  return v.vt == VT_BSTR ? std::u16string(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal))
                         : u"<not text>";
}

}  // namespace

TEST(OccPropertyBag, ValuesComeBackAsTheirTypesThroughAStream) {
  COccPropertyBag* bag = new COccPropertyBag;
  VARIANT caption = text(u"Hello \"there\""), count = number(-42), flag;
  VariantInit(&flag);
  flag.vt = VT_BOOL;
  flag.boolVal = VARIANT_TRUE;
  ASSERT_EQ(bag->Write(name(u"Caption"), &caption), S_OK);
  ASSERT_EQ(bag->Write(name(u"Count"), &count), S_OK);
  ASSERT_EQ(bag->Write(name(u"Flag"), &flag), S_OK);
  VARIANT again = number(7);
  ASSERT_EQ(bag->Write(name(u"COUNT"), &again), S_OK);  // names ignore case: the later value wins
  IUnknown* object = bag;
  VARIANT refused;
  VariantInit(&refused);
  refused.vt = VT_UNKNOWN;
  refused.punkVal = object;
  EXPECT_EQ(bag->Write(name(u"Object"), &refused), DISP_E_TYPEMISMATCH);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(bag->SaveTo(stream), S_OK);
  bag->Release();
  VariantClear(&caption);

  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  COccPropertyBag* restored = new COccPropertyBag;
  ASSERT_EQ(restored->LoadFrom(stream), S_OK);
  VARIANT value;
  VariantInit(&value);
  ASSERT_EQ(restored->Read(name(u"caption"), &value, nullptr), S_OK);
  EXPECT_EQ(textOf(value), u"Hello \"there\"");
  VariantClear(&value);
  ASSERT_EQ(restored->Read(name(u"Count"), &value, nullptr), S_OK);
  EXPECT_EQ(value.vt, VT_I4);
  EXPECT_EQ(value.lVal, 7);
  VariantClear(&value);  // VT_EMPTY: as stored
  ASSERT_EQ(restored->Read(name(u"Flag"), &value, nullptr), S_OK);
  EXPECT_EQ(value.vt, VT_BOOL);
  EXPECT_EQ(value.boolVal, VARIANT_TRUE);
  value.vt = VT_BSTR;  // asked for as text
  value.bstrVal = nullptr;
  ASSERT_EQ(restored->Read(name(u"Count"), &value, nullptr), S_OK);
  EXPECT_EQ(textOf(value), u"7");
  VariantClear(&value);
  EXPECT_EQ(restored->Read(name(u"Missing"), &value, nullptr), E_INVALIDARG);
  value.vt = VT_I4;
  EXPECT_EQ(restored->Read(name(u"Caption"), &value, nullptr), DISP_E_TYPEMISMATCH);
  restored->Release();
  stream->Release();
}

TEST(OccPropertyBag, DamagedStreamsAreRefused) {
  COccPropertyBag* bag = new COccPropertyBag;
  VARIANT caption = text(u"kept");
  bag->Write(name(u"Caption"), &caption);
  VariantClear(&caption);
  IStream* whole = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &whole), S_OK);
  ASSERT_EQ(bag->SaveTo(whole), S_OK);
  bag->Release();
  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(whole, &block), S_OK);
  STATSTG stat{};
  whole->Stat(&stat, STATFLAG_NONAME);
  const std::string bytes(static_cast<const char*>(GlobalLock(block)), static_cast<size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(block);
  whole->Release();

  std::string huge = bytes;
  huge[8] = huge[9] = huge[10] = huge[11] = '\xFF';  // the first name claims four billion characters
  struct Case {
    const char* what;
    std::string bytes;
    HRESULT expected;
  } cases[] = {{"cut short", bytes.substr(0, bytes.size() - 3), STG_E_READFAULT},
               {"no bag", "NOPE" + bytes.substr(4), E_FAIL},
               {"name longer than the stream", huge, STG_E_READFAULT},
               {"empty", "", STG_E_READFAULT}};
  for (const Case& c : cases) {
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    stream->Write(c.bytes.data(), static_cast<ULONG>(c.bytes.size()), nullptr);
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    COccPropertyBag* loaded = new COccPropertyBag;
    EXPECT_EQ(loaded->LoadFrom(stream), c.expected) << c.what;
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(loaded->Read(name(u"Caption"), &value, nullptr), E_INVALIDARG) << c.what;  // nothing half-read kept
    loaded->Release();
    stream->Release();
  }
}
