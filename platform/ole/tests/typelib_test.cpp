// Type libraries written with CreateTypeLib2, read back from their file
// with LoadTypeLib, registered and found again with LoadRegTypeLib.
#include <gtest/gtest.h>
#include <oletypelib.h>
#include <winreg.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "internal/scratchdir.h"
#include "internal/typelibwriter.h"

namespace {

constexpr GUID kLibId = {0x11112222, 0x3333, 0x4444, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kEventsId = {0x11112222, 0x3333, 0x4444, {1, 2, 3, 4, 5, 6, 7, 9}};
constexpr GUID kPropsId = {0x11112222, 0x3333, 0x4444, {1, 2, 3, 4, 5, 6, 7, 10}};
constexpr GUID kClassId = {0x11112222, 0x3333, 0x4444, {1, 2, 3, 4, 5, 6, 7, 11}};

std::u16string w(const char* text) { return std::u16string(text, text + strlen(text)); }
LPOLESTR o(std::u16string& text) { return reinterpret_cast<LPOLESTR>(text.data()); }
std::string n(BSTR text) {
  std::string out;
  for (UINT i = 0; text && i < SysStringLen(text); ++i) out += static_cast<char>(text[i]);
  return out;
}

class TypeLibraries : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("KY_REGISTRY", (dir_ / "REGISTRY.DAT").c_str(), 1); }
  void TearDown() override { ::unsetenv("KY_REGISTRY"); }

  // Writes a library: an enumeration, an outgoing and an incoming
  // dispinterface, and a class naming both.
  std::string write(WORD minor = 0) {
    using namespace oleaut::writer;
    const std::string path = dir_ / ("lib" + std::to_string(minor) + ".tlb");
    LibraryWriter lib(path, kLibId, "KyTestLib", 1, minor);
    lib.doc("Ky test controls", "Control.chm", 7);
    TypeWriter shades = lib.type("Shades", TKIND_ENUM);
    shades.constant(0x40000000, "Light", 10).constant(0x40000001, "Dark", 20).doc("Shades of the face");
    TypeWriter events = lib.type("_KyEvents", TKIND_DISPATCH, kEventsId);
    events.func(1, INVOKE_FUNC, {VT_VOID}, {}, {"Click"})
        .func(2, INVOKE_FUNC, {VT_VOID}, {{{VT_BSTR}}, {{VT_I4}}}, {"Changed", "Text", "Count"});
    TypeWriter props = lib.type("_KyProps", TKIND_DISPATCH, kPropsId);
    props.func(3, INVOKE_PROPERTYGET, {VT_BSTR}, {}, {"Caption"})
        .func(3, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BSTR}}}, {"Caption"})
        .func(4, INVOKE_FUNC, {VT_I4},
              {{{VT_I4}, PARAMFLAG_FIN | PARAMFLAG_FOUT}, {{VT_VARIANT}, PARAMFLAG_FIN | PARAMFLAG_FOPT}},
              {"Measure", "Width", "Extra"}, 0, "Measures the text", 42)
        .func(5, INVOKE_PROPERTYGET, {VT_BOOL}, {}, {"Secret"}, FUNCFLAG_FHIDDEN)
        .func(6, INVOKE_PROPERTYGET, {VT_USERDEFINED, props.ref(shades)}, {}, {"Shade"});
    lib.type("KyControl", TKIND_COCLASS, kClassId)
        .flags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL)
        .implements(props, IMPLTYPEFLAG_FDEFAULT)
        .implements(events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
    EXPECT_EQ(lib.save(), S_OK);
    return path;
  }

  ITypeLib* load(const std::string& path) {
    std::u16string file = w(path.c_str());
    ITypeLib* lib = nullptr;
    EXPECT_EQ(LoadTypeLibEx(o(file), REGKIND_NONE, &lib), S_OK);
    return lib;
  }

  ITypeInfo* typeOf(ITypeLib* lib, const GUID& guid) {
    ITypeInfo* info = nullptr;
    EXPECT_EQ(lib->GetTypeInfoOfGuid(guid, &info), S_OK);
    return info;
  }

  kytest::ScratchDir dir_;
};

}  // namespace

TEST_F(TypeLibraries, TheLibraryReadsBackWithItsAttributesAndHelp) {
  ITypeLib* lib = load(write());
  ASSERT_NE(lib, nullptr);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(attr->guid == kLibId);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->syskind, SYS_WIN64);
  lib->ReleaseTLibAttr(attr);
  BSTR name = nullptr, doc = nullptr, file = nullptr;
  DWORD help = 0;
  ASSERT_EQ(lib->GetDocumentation(-1, &name, &doc, &help, &file), S_OK);
  EXPECT_EQ(n(name), "KyTestLib");
  EXPECT_EQ(n(doc), "Ky test controls");
  EXPECT_EQ(n(file), "Control.chm");
  EXPECT_EQ(help, 7u);
  for (BSTR text : {name, doc, file}) SysFreeString(text);
  ASSERT_EQ(lib->GetTypeInfoCount(), 4u);
  const TYPEKIND kinds[] = {TKIND_ENUM, TKIND_DISPATCH, TKIND_DISPATCH, TKIND_COCLASS};
  for (UINT i = 0; i < 4; ++i) {
    TYPEKIND kind{};
    ASSERT_EQ(lib->GetTypeInfoType(i, &kind), S_OK);
    EXPECT_EQ(kind, kinds[i]);
  }
  lib->Release();
}

TEST_F(TypeLibraries, FunctionsKeepTheirKindsParametersAndNames) {
  ITypeLib* lib = load(write());
  ITypeInfo* props = typeOf(lib, kPropsId);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(props->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->cFuncs, 5);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  props->ReleaseTypeAttr(attr);

  struct Expect {
    MEMBERID id;
    INVOKEKIND kind;
    VARTYPE result;
    std::vector<USHORT> paramFlags;
    std::vector<std::string> names;
  } expected[] = {{3, INVOKE_PROPERTYGET, VT_BSTR, {}, {"Caption"}},
                  {3, INVOKE_PROPERTYPUT, VT_VOID, {PARAMFLAG_FIN}, {"Caption"}},  // the value is unnamed
                  {4, INVOKE_FUNC, VT_I4, {PARAMFLAG_FIN | PARAMFLAG_FOUT, PARAMFLAG_FIN | PARAMFLAG_FOPT}, {"Measure", "Width", "Extra"}},
                  {5, INVOKE_PROPERTYGET, VT_BOOL, {}, {"Secret"}},
                  {6, INVOKE_PROPERTYGET, VT_USERDEFINED, {}, {"Shade"}}};
  for (UINT i = 0; i < 5; ++i) {
    FUNCDESC* desc = nullptr;
    ASSERT_EQ(props->GetFuncDesc(i, &desc), S_OK);
    EXPECT_EQ(desc->memid, expected[i].id);
    EXPECT_EQ(desc->invkind, expected[i].kind);
    EXPECT_EQ(desc->elemdescFunc.tdesc.vt, expected[i].result);
    ASSERT_EQ(desc->cParams, static_cast<SHORT>(expected[i].paramFlags.size()));
    for (SHORT p = 0; p < desc->cParams; ++p)
      EXPECT_EQ(desc->lprgelemdescParam[p].paramdesc.wParamFlags, expected[i].paramFlags[p]);
    if (i == 3) EXPECT_EQ(desc->wFuncFlags, FUNCFLAG_FHIDDEN);
    // Names are found by the member id: the put shares the get's.
    BSTR names[4] = {};
    UINT count = 0;
    ASSERT_EQ(props->GetNames(desc->memid, names, 4, &count), S_OK);
    std::vector<std::string> got;
    for (UINT k = 0; k < count; ++k) got.push_back(n(names[k])), SysFreeString(names[k]);
    if (i != 1) EXPECT_EQ(got, expected[i].names) << i;
    props->ReleaseFuncDesc(desc);
  }
  BSTR doc = nullptr;
  DWORD help = 0;
  ASSERT_EQ(props->GetDocumentation(4, nullptr, &doc, &help, nullptr), S_OK);
  EXPECT_EQ(n(doc), "Measures the text");
  EXPECT_EQ(help, 42u);
  SysFreeString(doc);
  props->Release();
  lib->Release();
}

TEST_F(TypeLibraries, ReferencesLeadToTheEnumerationAndTheClassesInterfaces) {
  ITypeLib* lib = load(write());
  ITypeInfo* props = typeOf(lib, kPropsId);
  FUNCDESC* desc = nullptr;
  ASSERT_EQ(props->GetFuncDesc(4, &desc), S_OK);
  ITypeInfo* shades = nullptr;
  ASSERT_EQ(props->GetRefTypeInfo(desc->elemdescFunc.tdesc.hreftype, &shades), S_OK);
  props->ReleaseFuncDesc(desc);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(shades->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_ENUM);
  ASSERT_EQ(attr->cVars, 2);
  shades->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < 2; ++i) {
    VARDESC* var = nullptr;
    ASSERT_EQ(shades->GetVarDesc(i, &var), S_OK);
    EXPECT_EQ(var->varkind, VAR_CONST);
    ASSERT_EQ(var->lpvarValue->vt, VT_I4);
    EXPECT_EQ(var->lpvarValue->lVal, 10 * static_cast<LONG>(i + 1));
    BSTR name = nullptr;
    UINT count = 0;
    ASSERT_EQ(shades->GetNames(var->memid, &name, 1, &count), S_OK);
    EXPECT_EQ(n(name), i ? "Dark" : "Light");
    SysFreeString(name);
    shades->ReleaseVarDesc(var);
  }
  shades->Release();

  ITypeInfo* control = typeOf(lib, kClassId);
  const struct {
    GUID guid;
    INT flags;
  } impls[] = {{kPropsId, IMPLTYPEFLAG_FDEFAULT}, {kEventsId, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 2; ++i) {
    HREFTYPE ref = 0;
    INT flags = 0;
    ASSERT_EQ(control->GetRefTypeOfImplType(i, &ref), S_OK);
    ASSERT_EQ(control->GetImplTypeFlags(i, &flags), S_OK);
    EXPECT_EQ(flags, impls[i].flags);
    ITypeInfo* impl = nullptr;
    ASSERT_EQ(control->GetRefTypeInfo(ref, &impl), S_OK);
    ASSERT_EQ(impl->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(attr->guid == impls[i].guid);
    impl->ReleaseTypeAttr(attr);
    impl->Release();
  }
  EXPECT_EQ(control->GetRefTypeOfImplType(2, nullptr), E_INVALIDARG);
  control->Release();
  props->Release();
  lib->Release();
}

TEST_F(TypeLibraries, NamesAreLookedUpIgnoringCase) {
  ITypeLib* lib = load(write());
  ITypeInfo* props = typeOf(lib, kPropsId);
  std::u16string a = w("measure"), b = w("EXTRA"), c = w("Nothing");
  LPOLESTR names[] = {o(a), o(b)};
  MEMBERID ids[2] = {};
  ASSERT_EQ(props->GetIDsOfNames(names, 2, ids), S_OK);
  EXPECT_EQ(ids[0], 4);
  EXPECT_EQ(ids[1], 1);
  LPOLESTR unknown[] = {o(c)};
  EXPECT_EQ(props->GetIDsOfNames(unknown, 1, ids), DISP_E_UNKNOWNNAME);
  BOOL found = FALSE;
  EXPECT_EQ(lib->IsName(o(a), 0, &found), S_OK);
  EXPECT_TRUE(found);
  EXPECT_EQ(lib->IsName(o(c), 0, &found), S_OK);
  EXPECT_FALSE(found);
  props->Release();
  lib->Release();
}

TEST_F(TypeLibraries, RegisteredLibrariesAreFoundByTheHighestFittingVersion) {
  std::vector<ITypeLib*> written;
  for (WORD minor : {0, 2, 1}) {
    const std::string path = write(minor);
    std::u16string file = w(path.c_str());
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadTypeLib(o(file), &lib), S_OK);  // registers it
    lib->Release();
  }
  struct Case {
    WORD major, minor;
    HRESULT result;
    WORD found;
  } cases[] = {{1, 0, S_OK, 2}, {1, 2, S_OK, 2}, {1, 3, TYPE_E_LIBNOTREGISTERED, 0}, {2, 0, TYPE_E_LIBNOTREGISTERED, 0}};
  for (const Case& c : cases) {
    ITypeLib* lib = nullptr;
    EXPECT_EQ(LoadRegTypeLib(kLibId, c.major, c.minor, 0, &lib), c.result) << c.major << "." << c.minor;
    if (!lib) continue;
    TLIBATTR* attr = nullptr;
    lib->GetLibAttr(&attr);
    EXPECT_EQ(attr->wMinorVerNum, c.found);
    lib->ReleaseTLibAttr(attr);
    lib->Release();
  }
  EXPECT_EQ(UnRegisterTypeLib(kLibId, 1, 2, 0, SYS_WIN64), S_OK);
  ITypeLib* lib = nullptr;
  ASSERT_EQ(LoadRegTypeLib(kLibId, 1, 0, 0, &lib), S_OK);
  TLIBATTR* attr = nullptr;
  lib->GetLibAttr(&attr);
  EXPECT_EQ(attr->wMinorVerNum, 1);
  lib->ReleaseTLibAttr(attr);
  lib->Release();
}

TEST_F(TypeLibraries, DamagedFilesAreRefusedWithoutHarm) {
  const std::string path = write();
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string cut = dir_ / "cut.tlb";
  // Every shorter file is refused; none crashes or reads outside the file.
  for (size_t size = 0; size < whole.size(); size += 7) {
    std::ofstream(cut, std::ios::binary | std::ios::trunc).write(whole.data(), static_cast<std::streamsize>(size));
    std::u16string file = w(cut.c_str());
    ITypeLib* lib = nullptr;
    EXPECT_TRUE(FAILED(LoadTypeLibEx(o(file), REGKIND_NONE, &lib))) << size;
    EXPECT_EQ(lib, nullptr);
  }
  std::ofstream(cut, std::ios::binary | std::ios::trunc) << "not a type library";
  std::u16string file = w(cut.c_str()), missing = w((dir_ / "missing.tlb").c_str());
  ITypeLib* lib = nullptr;
  EXPECT_EQ(LoadTypeLibEx(o(file), REGKIND_NONE, &lib), TYPE_E_UNSUPFORMAT);
  EXPECT_EQ(LoadTypeLibEx(o(missing), REGKIND_NONE, &lib), TYPE_E_CANTLOADLIBRARY);
}
