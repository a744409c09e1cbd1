// Property atoms: the thread's store, the provider chain with providers
// installed by name, the run-time's own provider entries, COM values, and
// the static face generated code uses.
#include <gtest/gtest.h>

#include <string>

#include "KyAppContext.h"
#include "KyAtomInterface.h"
#include "KyComFld.h"
#include "KyPropertyAPI.h"
#include "testapp.h"

namespace {

class Atoms : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDllDirectoryA(KY_BIN_DIR);
    context_ = app_.CreateContext();
    ASSERT_NE(context_, nullptr);
  }
  void TearDown() override {
    app_.EndContext();
    SetDllDirectoryA(nullptr);
  }
  KyAtomInterface& atoms() { return context_->GetAtomInterface(); }
  std::string read(const char* name, int i1 = 0, int i2 = 0, int* result = nullptr) {
    KyCharFld value("stale");
    const int r = atoms().GetValue(value, name, i1, i2, context_->m_pCurrentFunction);
    if (result) *result = r;
    return value.GetString();
  }
  int install(const char* library) { return atoms().SetValue(library, "*Atom.Install", 0, 0, nullptr); }

  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "APP.INI"};
  KyAppContext* context_ = nullptr;
};

TEST_F(Atoms, StoredValuesAreKeptPerIndexPair) {
  struct Write {
    const char* name;
    int i1, i2;
    const char* value;
  } writes[] = {{"Colour", 0, 0, "red"}, {"Colour", 2, 3, "blue"}, {"Colour", 3, 2, "green"}, {"Size", 0, 1, "9"}};
  for (const Write& w : writes) EXPECT_EQ(atoms().SetValue(w.value, w.name, w.i1, w.i2, nullptr), 0) << w.name;
  for (const Write& w : writes) EXPECT_EQ(read(w.name, w.i1, w.i2), w.value) << w.name << w.i1 << w.i2;
  EXPECT_EQ(read("Size"), "");         // only (0, 1) was written
  EXPECT_EQ(read("Colour", 2, 2), "");
  EXPECT_EQ(read("colour"), "");       // names are exact
  int result = -1;
  EXPECT_EQ(read("Never", 0, 0, &result), "");
  EXPECT_EQ(result, 0);
}

TEST_F(Atoms, AnEmptyValueTakesTheAtomAway) {
  atoms().SetValue("x", "Only", 0, 0, nullptr);
  atoms().SetValue("y", "Indexed", 1, 1, nullptr);
  atoms().SetValue("", "Only", 0, 0, nullptr);
  atoms().SetValue("", "Indexed", 1, 1, nullptr);
  EXPECT_EQ(read("Only"), "");
  EXPECT_EQ(read("Indexed", 1, 1), "");
  atoms().SetValue("back", "Only", 0, 0, nullptr);  // a removed atom can be written again
  EXPECT_EQ(read("Only"), "back");
}

TEST_F(Atoms, ProvidersAreInstalledByNameNewestFirst) {
  EXPECT_EQ(atoms().GetProviderNames(), std::vector<KyString>{KyString("")});  // the built-in one
  struct Case {
    const char* written;
    const char* loaded;  // "" when nothing is installed
  } cases[] = {
      {"atomprva", "ATOMPRVA.DLL"},   // no full stop: ".DLL" appended, upper-cased
      {"atomprvb.prv", "ATOMPRVB.PRV"},  // a full stop: taken as it is, upper-cased
      {"NOSUCHPROVIDER", ""},         // cannot be loaded
      {"atomhalf", ""},               // lacks SETATOM
  };
  std::vector<KyString> expected{KyString("")};
  for (const Case& c : cases) {
    EXPECT_EQ(install(c.written), 1) << c.written;  // the built-in provider always takes the install
    if (*c.loaded) expected.insert(expected.begin(), KyString(c.loaded));
    EXPECT_EQ(atoms().GetProviderNames(), expected) << c.written;
  }
  EXPECT_EQ(read("*Who"), "B");  // the later provider is asked first
  EXPECT_EQ(read("A.Echo", 2, 3), "A:2,3:none");
  int result = 0;
  EXPECT_EQ(read("Plain", 0, 0, &result), "");  // nobody answers: the store's
  EXPECT_EQ(result, 0);
  EXPECT_EQ(atoms().SetValue("v", "B.Take", 0, 0, nullptr), 1);
  EXPECT_EQ(read("B.Take"), "");  // a provider took it: nothing was stored
  EXPECT_EQ(atoms().GetNucleus().iStatus, 0);
}

TEST_F(Atoms, ProvidersSeeTheContextAndAnswerAtMostTheLimit) {
  ASSERT_EQ(install("atomprva"), 1);
  KyCharFld value;
  int marker = 0;
  atoms().GetValue(value, "A.Echo", 0, 0, reinterpret_cast<KyFunctionData*>(&marker));
  EXPECT_STREQ(value.GetString(), "A:0,0:context");
  EXPECT_EQ(atoms().GetNucleus().pContext, &marker);
  EXPECT_EQ(read("A.Long"), std::string(KyAtomValueLength, 'x'));
}

TEST_F(Atoms, ProviderLibrariesGoWithTheContext) {
  ASSERT_EQ(install("ATOMPRVA"), 1);
  EXPECT_NE(GetModuleHandleA("ATOMPRVA.DLL"), nullptr);
  app_.EndContext();
  EXPECT_EQ(GetModuleHandleA("ATOMPRVA.DLL"), nullptr);
  context_ = app_.CreateContext();
  EXPECT_EQ(read("*Who"), "");  // the new context starts with the built-in provider alone
}

TEST_F(Atoms, TheRunTimesOwnEntries) {
  char buffer[KyAtomValueLength + 1] = {};
  KyNucleus nucleus;
  EXPECT_EQ(GETATOM(buffer, "*app.NAME", 0, 0, &nucleus), 1);
  EXPECT_STREQ(buffer, "Test");
  EXPECT_EQ(GETATOM(buffer, "*App.Title", 0, 0, &nucleus), 0);
  EXPECT_EQ(GetAtom(buffer, "*App.Name", 0, 0, &nucleus), 0);
  EXPECT_EQ(SETATOM("x", "Other", 0, 0, &nucleus), 0);
  EXPECT_EQ(SetAtom("atomprva", "*ATOM.INSTALL", 0, 0, &nucleus), 1);
  EXPECT_EQ(read("*Who"), "A");
}

// A COM object that counts its references.
class Counted : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualGUID(iid, IID_IUnknown)) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
  ULONG STDMETHODCALLTYPE Release() override { return --count; }
  ULONG count = 1;
};

TEST_F(Atoms, ComValuesHoldTheirObjectAndAttachItOnRead) {
  Counted object;
  {
    KyComFldOf<IUnknown> source(IID_IUnknown);
    source.SetInterface(&object);
    EXPECT_EQ(atoms().SetComValue(source, "Obj", 0, 0), 0);
    EXPECT_EQ(object.count, 3u);  // the field's and the atom's references
    EXPECT_EQ(read("Obj"), source.GetTableKey().GetString());

    KyComFldOf<IUnknown> reader(IID_IUnknown);
    int marker = 0;
    atoms().GetComValue(reader, "Obj", 0, 0, reinterpret_cast<KyFunctionData*>(&marker));
    EXPECT_EQ(reader.GetInterface(), &object);
    EXPECT_EQ(reader.GetFunctionData(), reinterpret_cast<KyFunctionData*>(&marker));

    KyComFldOf<IUnknown> nothing(IID_IUnknown);
    atoms().GetComValue(nothing, "Missing", 0, 0, nullptr);
    EXPECT_EQ(nothing.GetInterface(), nullptr);
  }
  EXPECT_EQ(object.count, 2u);  // the atom still holds its reference
  {
    KyComFldOf<IUnknown> late(IID_IUnknown);
    atoms().GetComValue(late, "Obj", 0, 0, nullptr);
    EXPECT_EQ(late.GetInterface(), nullptr);  // its field left the thread's table
  }
  KyComFldOf<IUnknown> empty(IID_IUnknown);
  atoms().SetComValue(empty, "Obj", 0, 0);  // replaces the entry, releasing the object
  EXPECT_EQ(object.count, 1u);
}

TEST_F(Atoms, ThePropertyApiUsesTheThreadsInterface) {
  EXPECT_EQ(KyPropertyAPI::SetValue("42", "Answer", 1, 2), 0);
  CString value("stale");
  EXPECT_EQ(KyPropertyAPI::GetValue(value, "Answer", 1, 2), 0);
  EXPECT_STREQ(value, "42");
  EXPECT_EQ(KyPropertyAPI::SetValue("atomprva", "*Atom.Install"), 1);
  EXPECT_EQ(KyPropertyAPI::GetValue(value, "A.Echo", 4, 5), 1);
  EXPECT_STREQ(value, "A:4,5:none");  // no current function
  app_.EndContext();
  context_ = nullptr;
  EXPECT_EQ(KyPropertyAPI::GetValue(value, "Answer", 1, 2), 0);  // no thread context
  EXPECT_STREQ(value, "");
  EXPECT_EQ(KyPropertyAPI::SetValue("x", "Answer"), 0);
  context_ = app_.CreateContext();
}

}  // namespace
