// The information model read from a type library written for the test.
#include <comdef.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "KyComInfo.h"
#include "internal/scratchdir.h"
#include "internal/typelibwriter.h"

namespace {

constexpr GUID kLibId = {0x5A5A0001, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kPropsId = {0x5A5A0002, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};

enum Member { kCaptionGet, kCaptionPut, kColorGet, kColorPut, kEnabledGet, kFontGet, kMeasure, kSecret, kShade, kByRef };

class ComInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace oleaut::writer;
    const std::string path = dir_ / "model.tlb";
    LibraryWriter lib(path, kLibId, "KyModel", 1, 0);
    lib.doc("", "Model.chm", 5);
    TypeWriter color = lib.type("OLE_COLOR", TKIND_ALIAS);
    color.alias(VT_UI4);
    TypeWriter font = lib.type("IFontDisp", TKIND_DISPATCH);
    TypeWriter shades = lib.type("Shades", TKIND_ENUM);
    shades.constant(1, "Light", 10).constant(2, "Dark", 20).doc("Shades of the face");
    TypeWriter props = lib.type("_Props", TKIND_DISPATCH, kPropsId);
    const HREFTYPE colorRef = props.ref(color), fontRef = props.ref(font), shadeRef = props.ref(shades);
    props.func(1, INVOKE_PROPERTYGET, {VT_BSTR}, {}, {"Caption"}, 0, "The text shown", 100)
        .func(1, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BSTR}}}, {"Caption"})
        .func(2, INVOKE_PROPERTYGET, {VT_USERDEFINED, colorRef}, {}, {"BackColor"})
        .func(2, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_USERDEFINED, colorRef}}}, {"BackColor", "value"})
        .func(3, INVOKE_PROPERTYGET, {VT_BOOL}, {}, {"Enabled"})
        .func(4, INVOKE_PROPERTYGET, {VT_USERDEFINED, fontRef, true}, {}, {"Font"})
        .func(5, INVOKE_FUNC, {VT_I4},
              {{{VT_I4}, PARAMFLAG_FIN | PARAMFLAG_FOUT}, {{VT_I4}, PARAMFLAG_FOUT}, {{VT_VARIANT}, PARAMFLAG_FIN | PARAMFLAG_FOPT}},
              {"Measure", "Width", "Height", "Extra"})
        .func(6, INVOKE_PROPERTYGET, {VT_BOOL}, {}, {"Secret"}, FUNCFLAG_FHIDDEN)
        .func(7, INVOKE_PROPERTYGET, {VT_USERDEFINED, shadeRef}, {}, {"Shade"})
        .func(8, INVOKE_FUNC, {VT_VOID}, {{{static_cast<VARTYPE>(VT_BYREF | VT_I4)}}}, {"Bump", "Amount"});
    ASSERT_EQ(lib.save(), S_OK);
    std::u16string file = oleaut::writer::wide(path.c_str());
    ASSERT_EQ(LoadTypeLibEx(reinterpret_cast<LPCOLESTR>(file.c_str()), REGKIND_NONE, &lib_), S_OK);
    ASSERT_EQ(lib_->GetTypeInfoOfGuid(kPropsId, &props_), S_OK);
  }
  void TearDown() override {
    if (props_) props_->Release();
    if (lib_) lib_->Release();
  }

  kytest::ScratchDir dir_;
  ITypeLib* lib_ = nullptr;
  ITypeInfo* props_ = nullptr;
};

}  // namespace

TEST_F(ComInfo, MethodsKnowTheirKindsNamesAndVisibility) {
  struct Case {
    Member index;
    const char* name;
    int kind;
    BOOL visible;
    const char* typeName;  // of the property's data type, "" for none
  } cases[] = {
      {kCaptionGet, "Caption", KyComMethodInfo::PropertyGet, TRUE, "String"},
      {kCaptionPut, "Caption", KyComMethodInfo::PropertyPut, TRUE, "String"},
      {kColorGet, "BackColor", KyComMethodInfo::PropertyGet, TRUE, "OLE_COLOR"},
      {kFontGet, "Font", KyComMethodInfo::PropertyGet, TRUE, "IFontDisp"},
      {kMeasure, "Measure", KyComMethodInfo::Method, FALSE, ""},
      {kSecret, "Secret", KyComMethodInfo::PropertyGet, FALSE, "Boolean"},
  };
  for (const Case& c : cases) {
    KyComMethodInfo method(props_, c.index, FALSE);
    EXPECT_STREQ(method.GetName(), c.name);
    EXPECT_EQ(method.m_kind, c.kind) << c.name;
    EXPECT_EQ(method.IsVisibleProperty(), c.visible) << c.name;
    const KyComDataType* type = method.GetDataType();
    EXPECT_STREQ(type ? static_cast<const char*>(type->GetName()) : "", c.typeName) << c.name;
  }
  // A hidden get is not visible and so not read-only either; the flag
  // alone decides for a visible one.
  KyComMethodInfo secret(props_, kSecret, FALSE), caption(props_, kCaptionGet, FALSE);
  EXPECT_FALSE(secret.IsReadOnly());
  EXPECT_TRUE(caption.IsReadOnly());
  caption.m_readOnly = FALSE;
  EXPECT_FALSE(caption.IsReadOnly());
  EXPECT_EQ(KyComMethodInfo(props_, kCaptionGet, TRUE).m_kind, KyComMethodInfo::Event);
}

TEST_F(ComInfo, AnUnnamedPutValueIsCalledRhs) {
  KyComMethodInfo unnamed(props_, kCaptionPut, FALSE), named(props_, kColorPut, FALSE);
  ASSERT_EQ(unnamed.m_params.size(), 1u);
  EXPECT_STREQ(unnamed.m_params[0]->m_name, "rhs");
  ASSERT_EQ(named.m_params.size(), 1u);
  // The names of a member id are the get's, which has no parameters.
  EXPECT_STREQ(named.m_params[0]->m_name, "rhs");
}

TEST_F(ComInfo, ParametersKnowDirectionOptionAndType) {
  KyComMethodInfo measure(props_, kMeasure, FALSE);
  struct Case {
    const char* name;
    int direction;
    BOOL optional;
    const char* type;
  } cases[] = {{"Width", KyComParameter::In, FALSE, "Long"},
               {"Height", KyComParameter::Out, FALSE, "Long"},
               {"Extra", KyComParameter::In, TRUE, "Variant"}};
  ASSERT_EQ(measure.m_params.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const KyComParameter& p = *measure.m_params[i];
    EXPECT_STREQ(p.m_name, cases[i].name);
    EXPECT_EQ(p.m_direction, cases[i].direction) << cases[i].name;
    EXPECT_EQ(p.m_optional, cases[i].optional) << cases[i].name;
    EXPECT_STREQ(p.m_typeText, cases[i].type) << cases[i].name;
  }
  KyComMethodInfo bump(props_, kByRef, FALSE);
  ASSERT_EQ(bump.m_params.size(), 1u);
  EXPECT_STREQ(bump.m_params[0]->m_typeText, "Long");
}

TEST_F(ComInfo, DataTypesAnswerTheirKind) {
  struct Case {
    Member index;
    BOOL boolean, string, color, font, picture, pointer;
  } cases[] = {{kCaptionGet, 0, 1, 0, 0, 0, 0}, {kColorGet, 0, 0, 1, 0, 0, 0}, {kEnabledGet, 1, 0, 0, 0, 0, 0},
               {kFontGet, 0, 0, 0, 1, 0, 1}};
  for (const Case& c : cases) {
    KyComMethodInfo method(props_, c.index, FALSE);
    const KyComDataType* type = method.GetDataType();
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->IsBoolean(), c.boolean) << c.index;
    EXPECT_EQ(type->IsString(), c.string) << c.index;
    EXPECT_EQ(type->IsNotString(), !c.string) << c.index;
    EXPECT_EQ(type->IsColor(), c.color) << c.index;
    EXPECT_EQ(type->IsFont(), c.font) << c.index;
    EXPECT_EQ(type->IsPicture(), c.picture) << c.index;
    EXPECT_EQ(type->m_isPointer, c.pointer) << c.index;
  }
}

TEST_F(ComInfo, EnumeratedTypesCarryTheirConstants) {
  KyComMethodInfo shade(props_, kShade, FALSE);
  const KyComDataType* type = shade.GetDataType();
  ASSERT_NE(type, nullptr);
  ASSERT_NE(type->m_enum, nullptr);
  EXPECT_STREQ(type->GetName(), "Shades");
  EXPECT_STREQ(type->m_enum->GetDoc()->GetDescription(), "Shades of the face");
  ASSERT_EQ(type->m_enum->m_constants.size(), 2u);
  EXPECT_STREQ(type->m_enum->m_constants[0]->GetName(), "Light");
  EXPECT_STREQ(type->m_enum->m_constants[1]->m_value, "20");
  EXPECT_EQ(type->m_enum->m_type, type->m_enum->m_constants[0]->GetDataType());
  EXPECT_STREQ(type->m_enum->m_type->GetName(), "Long");
}

TEST_F(ComInfo, VisitingReachesEveryNodeBelow) {
  KyComMethodInfo measure(props_, kMeasure, FALSE), shade(props_, kShade, FALSE);
  std::vector<std::string> seen;
  const auto record = [&](KyComInfo& node) { seen.push_back(static_cast<const char*>(node.GetName())); };
  measure.VisitChildren(record);
  EXPECT_EQ(seen, (std::vector<std::string>{"Width", "Long", "Height", "Long", "Extra", "Variant"}));
  seen.clear();
  const_cast<KyComDataType*>(shade.GetDataType())->VisitChildren(record);
  EXPECT_EQ(seen, (std::vector<std::string>{"Shades", "Light", "Long", "Dark", "Long"}));
}

TEST_F(ComInfo, DocumentationFallsBackToTheName) {
  KyComMethodInfo caption(props_, kCaptionGet, FALSE), enabled(props_, kEnabledGet, FALSE);
  ASSERT_NE(caption.GetDoc(), nullptr);
  EXPECT_STREQ(caption.GetDoc()->GetDescription(), "The text shown");
  EXPECT_EQ(caption.GetDoc()->m_helpContext, 100u);
  EXPECT_TRUE(caption.GetDoc()->HasHelp());
  EXPECT_STREQ(enabled.GetDoc()->GetDescription(), "Enabled");
  KyComDoc library(lib_);
  EXPECT_STREQ(library.m_name, "KyModel");
  EXPECT_STREQ(library.GetDescription(), "KyModel");
  EXPECT_STREQ(library.m_helpFile, "Model.chm");
  EXPECT_EQ(library.m_helpContext, 5u);
  KyComDoc none(static_cast<ITypeLib*>(nullptr));
  EXPECT_FALSE(none.HasHelp());
  EXPECT_STREQ(none.GetDescription(), "");
}

TEST_F(ComInfo, AMissingMemberLeavesAnEmptyNode) {
  KyComMethodInfo missing(props_, 99, FALSE);
  EXPECT_EQ(missing.m_memid, MEMBERID_NIL);
  EXPECT_TRUE(missing.m_params.empty());
  EXPECT_EQ(missing.GetDataType(), nullptr);
  KyComVariable none(props_, 0);
  EXPECT_STREQ(none.GetName(), "");
}

namespace {

// The test library's type information, except that the documentation of
// one member cannot be allocated (as GetDocumentation answers when it has
// no memory for the texts). Every description taken is counted, so that a
// construction ended by the error is seen to give all of them back.
class NoMemoryForDocumentation : public ITypeInfo {
 public:
  NoMemoryForDocumentation(ITypeInfo* inner, MEMBERID failing) : inner_(inner), failing_(failing) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** a) override { return inner_->GetTypeAttr(a); }
  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** c) override { return inner_->GetTypeComp(c); }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT i, FUNCDESC** f) override {
    const HRESULT hr = inner_->GetFuncDesc(i, f);
    if (SUCCEEDED(hr)) ++held_;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT i, VARDESC** v) override {
    const HRESULT hr = inner_->GetVarDesc(i, v);
    if (SUCCEEDED(hr)) ++held_;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID m, BSTR* n, UINT max, UINT* got) override {
    return inner_->GetNames(m, n, max, got);
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT i, HREFTYPE* r) override { return inner_->GetRefTypeOfImplType(i, r); }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT i, INT* f) override { return inner_->GetImplTypeFlags(i, f); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* n, UINT c, MEMBERID* m) override { return inner_->GetIDsOfNames(n, c, m); }
  HRESULT STDMETHODCALLTYPE Invoke(PVOID p, MEMBERID m, WORD w, DISPPARAMS* d, VARIANT* r, EXCEPINFO* e, UINT* a) override {
    return inner_->Invoke(p, m, w, d, r, e, a);
  }
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID m, BSTR* n, BSTR* d, DWORD* h, BSTR* f) override {
    if (m == failing_) return E_OUTOFMEMORY;
    return inner_->GetDocumentation(m, n, d, h, f);
  }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID m, INVOKEKIND k, BSTR* d, BSTR* n, WORD* o) override {
    return inner_->GetDllEntry(m, k, d, n, o);
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE r, ITypeInfo** t) override { return inner_->GetRefTypeInfo(r, t); }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID m, INVOKEKIND k, PVOID* p) override { return inner_->AddressOfMember(m, k, p); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* o, REFIID r, PVOID* p) override { return inner_->CreateInstance(o, r, p); }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID m, BSTR* b) override { return inner_->GetMops(m, b); }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** l, UINT* i) override { return inner_->GetContainingTypeLib(l, i); }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* a) override { inner_->ReleaseTypeAttr(a); }
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* f) override { --held_, inner_->ReleaseFuncDesc(f); }
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC* v) override { --held_, inner_->ReleaseVarDesc(v); }

  int held_ = 0;  // descriptions taken and not given back

 private:
  ITypeInfo* inner_;
  MEMBERID failing_;
  ULONG refs_ = 1;
};

}  // namespace

TEST_F(ComInfo, DocumentationWithoutMemoryEndsTheReadingWithTheComError) {
  NoMemoryForDocumentation info(props_, 5);  // "Measure"
  HRESULT raised = S_OK;
  try {
    KyComMethodInfo measure(&info, kMeasure, FALSE);
  } catch (const _com_error& e) {
    raised = e.Error();
  }
  EXPECT_EQ(raised, E_OUTOFMEMORY);
  EXPECT_EQ(info.held_, 0);  // the function description went back all the same
  // Members whose documentation can be read are built as before.
  KyComMethodInfo caption(&info, kCaptionGet, FALSE);
  EXPECT_STREQ(caption.GetName(), "Caption");
  EXPECT_EQ(info.held_, 0);
  raised = S_OK;
  try {
    KyComDoc doc(&info, 5);
  } catch (const _com_error& e) {
    raised = e.Error();
    EXPECT_STRNE(e.ErrorMessage(), "");
  }
  EXPECT_EQ(raised, E_OUTOFMEMORY);
}
