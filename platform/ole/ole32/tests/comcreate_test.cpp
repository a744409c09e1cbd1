// Class registry and creation: registration by DllRegisterServer, ProgIDs,
// GUID texts, CoCreateInstance(Ex) and its failures.
#include <fstream>
#include <thread>

#include "../../testserver/testserverfixture.h"

namespace {

using ComCreate = TestServerFixture;

TEST(GuidText, RoundTripsAndRefusesMalformedTexts) {
  OLECHAR text[39];
  ASSERT_EQ(StringFromGUID2(IID_IConnectionPoint, text, 39), 39);
  EXPECT_EQ(std::u16string(text), u"{B196B286-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(StringFromGUID2(IID_IConnectionPoint, text, 38), 0);
  CLSID back{};
  ASSERT_EQ(CLSIDFromString(u"{b196b286-bab4-101a-b69c-00aa00341d07}", &back), S_OK);
  EXPECT_TRUE(back == IID_IConnectionPoint);
  for (const char16_t* bad : {u"", u"B196B286-BAB4-101A-B69C-00AA00341D07", u"{B196B286-BAB4-101A-B69C-00AA00341D0}",
                              u"{B196B286-BAB4-101A-B69C-00AA00341D07}x", u"{B196B286+BAB4-101A-B69C-00AA00341D07}",
                              u"{G196B286-BAB4-101A-B69C-00AA00341D07}"})
    EXPECT_EQ(CLSIDFromString(bad, &back), CO_E_CLASSSTRING) << std::u16string(bad).size();
}

TEST_F(ComCreate, ProgIdsFindTheirClassesIgnoringCase) {
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"kytest.SERVER", &clsid), S_OK);
  EXPECT_TRUE(clsid == CLSID_KyTestServer);
  ASSERT_EQ(CLSIDFromProgID(u"KyTest.Refuser", &clsid), S_OK);
  EXPECT_TRUE(clsid == CLSID_KyTestRefuser);
  EXPECT_EQ(CLSIDFromProgID(u"KyTest.Nothing", &clsid), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);

  LPOLESTR progId = nullptr;
  ASSERT_EQ(ProgIDFromCLSID(CLSID_KyTestServer, &progId), S_OK);
  EXPECT_EQ(std::u16string(progId), u"KyTest.Server");
  CoTaskMemFree(progId);
  EXPECT_EQ(ProgIDFromCLSID(IID_IDispatch, &progId), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(progId, nullptr);
}

TEST_F(ComCreate, CreatesTheRegisteredClassAndAnswersItsInterfaces) {
  IUnknown* object = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_KyTestServer, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&object)),
            S_OK);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  IUnknown* identity = nullptr;
  ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, object);  // one identity whatever interface asks
  identity->Release();
  dispatch->Release();
  void* none = &object;
  EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(object->Release(), 0u);
}

TEST_F(ComCreate, CreateInstanceExAnswersEachInterfaceOnItsOwn) {
  MULTI_QI results[3] = {{&IID_IDispatch, nullptr, 0}, {&IID_IClassFactory, nullptr, 0},
                         {&IID_IConnectionPointContainer, nullptr, 0}};
  ASSERT_EQ(CoCreateInstanceEx(CLSID_KyTestServer, nullptr, 0x17, nullptr, 3, results), CO_S_NOTALLINTERFACES);
  EXPECT_EQ(results[0].hr, S_OK);
  EXPECT_EQ(results[1].hr, E_NOINTERFACE);
  EXPECT_EQ(results[1].pItf, nullptr);
  EXPECT_EQ(results[2].hr, S_OK);
  results[0].pItf->Release();
  results[2].pItf->Release();
  MULTI_QI none = {&IID_IClassFactory, nullptr, 0};
  EXPECT_EQ(CoCreateInstanceEx(CLSID_KyTestServer, nullptr, 0x17, nullptr, 1, &none), E_NOINTERFACE);
}

TEST_F(ComCreate, FailuresAnswerWindowsCodes) {
  void* object = nullptr;
  struct Case {
    const CLSID* clsid;
    DWORD context;
    HRESULT expected;
  } cases[] = {
      {&IID_IDispatch, CLSCTX_INPROC_SERVER, REGDB_E_CLASSNOTREG},          // nobody registered it
      {&CLSID_KyTestServer, CLSCTX_LOCAL_SERVER, REGDB_E_CLASSNOTREG},      // no out-of-process servers
      {&CLSID_KyTestRefuser, CLSCTX_INPROC_SERVER, E_ACCESSDENIED},          // the factory's own answer
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CoCreateInstance(*c.clsid, nullptr, c.context, IID_IUnknown, &object), c.expected);
    EXPECT_EQ(object, nullptr);
  }
  // An aggregating outer object is refused by the server.
  IUnknown* outer = reinterpret_cast<IUnknown*>(&object);
  EXPECT_EQ(CoCreateInstance(CLSID_KyTestServer, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  // A registration whose library is missing or serves no classes.
  const CLSID missing = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  ASSERT_EQ(CoRegisterInprocServerA(missing, "KyTest.Missing", (dir_ / "NOSUCH.DLL").c_str()), S_OK);
  EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CO_E_DLLNOTFOUND);
  ASSERT_EQ(CoRegisterInprocServerA(missing, nullptr, (std::string(KY_BIN_DIR) + "/libole32.so").c_str()), S_OK);
  EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CO_E_ERRORINDLL);
  CLSID found{};
  EXPECT_EQ(CLSIDFromProgID(u"KyTest.Missing", &found), REGDB_E_CLASSNOTREG);  // the new registration has none
  EXPECT_EQ(CoUnregisterInprocServer(missing), S_OK);
  EXPECT_EQ(CoUnregisterInprocServer(missing), S_FALSE);
}

TEST_F(ComCreate, ThreadsWithoutComCannotCreate) {
  HRESULT other = S_OK;
  std::thread([&] {
    void* object = nullptr;
    other = CoCreateInstance(CLSID_KyTestServer, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object);
  }).join();
  EXPECT_EQ(other, CO_E_NOTINITIALIZED);
}

TEST_F(ComCreate, RegistrationsLiveInTheRegistryFile) {
  std::ifstream file(dir_ / "COMCLASSES.INI");
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[{6A1F0C31-2B7D-4E52-9C11-4B7E205A9301}]"), std::string::npos) << text;
  EXPECT_NE(text.find("ProgID=KyTest.Server"), std::string::npos) << text;
  EXPECT_NE(text.find("InprocServer32=" + serverPath()), std::string::npos) << text;
  auto unregisterServer = reinterpret_cast<LPFNREGISTERSERVER>(GetProcAddress(module_, "DllUnregisterServer"));
  ASSERT_EQ(unregisterServer(), S_OK);
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"KyTest.Server", &clsid), REGDB_E_CLASSNOTREG);
}

TEST_F(ComCreate, UnusedServersAreUnloaded) {
  IDispatch* object = create();
  ASSERT_NE(object, nullptr);
  auto canUnload = reinterpret_cast<LPFNCANUNLOADNOW>(GetProcAddress(module_, "DllCanUnloadNow"));
  EXPECT_EQ(canUnload(), S_FALSE);
  CoFreeUnusedLibraries();  // still in use: stays
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(canUnload(), S_OK);
  CoFreeUnusedLibraries();
  IDispatch* again = create();  // loaded anew
  ASSERT_NE(again, nullptr);
  again->Release();
}

}  // namespace
