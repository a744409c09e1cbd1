// The environment of the call tests: an application object whose INI file
// is a scratch copy, the thread's context, the test message library as the
// resource module, and the message boxes shown meanwhile.
#pragma once

#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyWinClientApp.h"
#include "testapp.h"

namespace kytest {

inline std::string binFile(const char* name) { return std::string(KY_BIN_DIR) + "/" + name; }

class CallApp : public KyWinClientApp {
 public:
  explicit CallApp(const std::filesystem::path& ini) : KyWinClientApp("CallTest") {
    m_pszProfileName = _strdup(ini.c_str());
  }
};

class CallEnv : public ::testing::Test {
 protected:
  // The INI text every test starts from; "DLL directory path" names the
  // directory of the fixtures.
  virtual std::string iniText() {
    return "[Settings]\nDLL directory path=" + std::string(KY_BIN_DIR) +
           "\n[International Settings]\nPNL directory path=" + std::string(KY_BIN_DIR) + "\n";
  }
  void SetUp() override {
    writeFile(ini_, iniText());
    app_ = std::make_unique<CallApp>(ini_);
    messages_ = LoadLibraryA(binFile("KYTSTMSG.DLL").c_str());
    ASSERT_NE(messages_, nullptr);
    AfxSetResourceHandle(messages_);
    context_ = app_->CreateContext();
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    app_->EndContext();
    AfxSetResourceHandle(nullptr);
    FreeLibrary(messages_);
    app_.reset();
  }
  // The texts of the boxes shown since the last call, and forgets them.
  std::vector<std::string> boxes() {
    std::vector<std::string> texts;
    for (const auto& box : win32::script::messageBoxLog()) {
      EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONSTOP)) << box.text;
      texts.push_back(box.text);
    }
    win32::script::clearMessageBoxLog();
    return texts;
  }
  KyCallMgr* callMgr() { return context_->GetCallMgr(); }
  KyRunOptions* options() { return context_->GetRunOptions(); }

  ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<CallApp> app_;
  HMODULE messages_ = nullptr;
  KyAppContext* context_ = nullptr;
};

}  // namespace kytest
