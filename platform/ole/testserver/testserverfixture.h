// A COM test's surroundings: a class registry of its own (in a scratch
// directory), COM initialised on the thread, and the test server
// registered by its own DllRegisterServer.
#pragma once

#include <gtest/gtest.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstdlib>
#include <string>

#include "internal/scratchdir.h"
#include "kycomtest.h"

class TestServerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("KY_COM_REGISTRY", (dir_ / "COMCLASSES.INI").c_str(), 1);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    module_ = LoadLibraryA(serverPath().c_str());
    ASSERT_NE(module_, nullptr);
    auto registerServer = reinterpret_cast<LPFNREGISTERSERVER>(GetProcAddress(module_, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
  }
  void TearDown() override {
    CoUninitialize();
    if (module_) FreeLibrary(module_);
    ::unsetenv("KY_COM_REGISTRY");
  }
  static std::string serverPath() { return std::string(KY_BIN_DIR) + "/" KYTEST_LIBRARY; }

  // A new test object's IDispatch.
  IDispatch* create() {
    IDispatch* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_KyTestServer, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }

  kytest::ScratchDir dir_;
  HMODULE module_ = nullptr;
};

// A wide text from ASCII.
inline std::u16string wideText(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }
inline LPCOLESTR ole(const std::u16string& text) { return reinterpret_cast<LPCOLESTR>(text.c_str()); }
