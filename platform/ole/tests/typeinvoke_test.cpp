// ITypeInfo::Invoke over a dispatch interface: the description decides
// whether the member, the kind of call and the count of arguments fit; the
// call then goes to the instance's IDispatch with the locale of the user.
#include <objbase.h>
#include <oletypelib.h>

#include <gtest/gtest.h>

#include <internal/comobject.h>

#include "internal/scratchdir.h"
#include "internal/typelibwriter.h"

namespace {

constexpr GUID kLibId = {0x5B0C7E21, 0x1D44, 0x4A7B, {0x93, 0x10, 0x2C, 0x66, 0x7E, 0x01, 0x00, 0x01}};
constexpr IID kThingId = {0x5B0C7E21, 0x1D44, 0x4A7B, {0x93, 0x10, 0x2C, 0x66, 0x7E, 0x01, 0x00, 0x02}};

// Records what reached it and answers a number.
class Thing final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IDispatch, this}});
  }
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return n ? (*n = 0, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    lastId = id;
    lastFlags = flags;
    lastCount = params->cArgs;
    lastLocale = lcid;
    if (result) {
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = 42;
    }
    return S_OK;
  }
  DISPID lastId = DISPID_UNKNOWN;
  WORD lastFlags = 0;
  UINT lastCount = 0;
  LCID lastLocale = 0;

 private:
  win32::com::RefCount refs_;
};

}  // namespace

TEST(TypeInfoInvoke, DispatchMembersGoToTheInstanceWhenTheDescriptionFits) {
  kytest::ScratchDir dir;
  const std::string path = dir / "thing.tlb";
  {
    using namespace oleaut::writer;
    LibraryWriter lib(path, kLibId, "ThingLib", 1, 0);
    TypeWriter thing = lib.type("IThing", TKIND_DISPATCH, kThingId);
    thing.func(1, INVOKE_FUNC, {VT_I4}, {{{VT_I4}}, {{VT_I4}}}, {"Add", "a", "b"})
        .func(2, INVOKE_PROPERTYGET, {VT_BSTR}, {}, {"Name"})
        .func(2, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BSTR}}}, {"Name"})
        .func(3, INVOKE_FUNC, {VT_VOID}, {{{VT_BSTR}}, {{VT_VARIANT}, static_cast<USHORT>(PARAMFLAG_FIN | PARAMFLAG_FOPT)}},
              {"Greet", "who", "how"});
    ASSERT_EQ(lib.save(), S_OK);
  }
  std::u16string file(path.begin(), path.end());
  ITypeLib* lib = nullptr;
  ASSERT_EQ(LoadTypeLib(reinterpret_cast<LPCOLESTR>(file.c_str()), &lib), S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(kThingId, &info), S_OK);
  Thing* thing = new Thing;
  VARIANT args[2];
  for (VARIANT& a : args) {
    VariantInit(&a);
    a.vt = VT_I4;
    a.lVal = 1;
  }
  struct Case {
    const char* what;
    MEMBERID id;
    WORD flags;
    UINT count;
    HRESULT expected;
  } cases[] = {
      {"method with its two arguments", 1, DISPATCH_METHOD, 2, S_OK},
      {"method with one argument missing", 1, DISPATCH_METHOD, 1, DISP_E_PARAMNOTOPTIONAL},
      {"method with one argument too many", 1, DISPATCH_METHOD, 3, DISP_E_BADPARAMCOUNT},
      {"method read as a property", 1, DISPATCH_PROPERTYGET, 0, DISP_E_MEMBERNOTFOUND},
      {"property read", 2, DISPATCH_PROPERTYGET, 0, S_OK},
      {"property written", 2, DISPATCH_PROPERTYPUT, 1, S_OK},
      {"optional argument left out", 3, DISPATCH_METHOD, 1, S_OK},
      {"optional argument given", 3, DISPATCH_METHOD, 2, S_OK},
      {"no such member", 9, DISPATCH_METHOD, 0, DISP_E_MEMBERNOTFOUND},
  };
  for (const Case& c : cases) {
    thing->lastId = DISPID_UNKNOWN;
    VARIANT result;
    VariantInit(&result);
    VARIANT three[3] = {args[0], args[1], args[1]};
    DISPPARAMS params{c.count ? three : nullptr, nullptr, c.count, 0};
    EXPECT_EQ(info->Invoke(static_cast<IDispatch*>(thing), c.id, c.flags, &params, &result, nullptr, nullptr), c.expected)
        << c.what;
    if (c.expected == S_OK) {
      EXPECT_EQ(thing->lastId, c.id) << c.what;
      EXPECT_EQ(thing->lastFlags, c.flags) << c.what;
      EXPECT_EQ(thing->lastCount, c.count) << c.what;
      EXPECT_EQ(thing->lastLocale, static_cast<LCID>(LOCALE_USER_DEFAULT)) << c.what;
      EXPECT_EQ(result.lVal, 42) << c.what;
    } else {
      EXPECT_EQ(thing->lastId, DISPID_UNKNOWN) << c.what;  // nothing reached the instance
    }
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(info->Invoke(nullptr, 2, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr), E_INVALIDARG);
  thing->Release();
  info->Release();
  lib->Release();
}
