// The environment of the remote tests: an application object whose INI file
// is a scratch copy, the thread's context, the English language library as
// the resource module, the code-page tables on the search path, and the
// message boxes shown meanwhile.
#pragma once

#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Ky400Translation.h"
#include "KyAppContext.h"
#include "../../app/tests/testapp.h"

namespace kytest {

class RemoteEnv : public ::testing::Test {
 protected:
  virtual std::string iniText() { return ""; }
  void SetUp() override {
    ASSERT_NE(language_.module(), nullptr);
    // Tables of a test's own directory come before the generated ones.
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    ::setenv("PATH", (dir_.path().string() + ":" + KY_BIN_DIR + ":" + savedPath_).c_str(), 1);
    writeFile(ini_, iniText());
    app_ = std::make_unique<TestClientApp>("RemoteTest", ini_);
    context_ = app_->CreateContext();
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    app_->EndContext();
    app_.reset();
    ::setenv("PATH", savedPath_.c_str(), 1);
  }
  // The texts of the boxes shown since the last call, and forgets them.
  std::vector<std::string> boxes() {
    std::vector<std::string> texts;
    for (const auto& box : win32::script::messageBoxLog()) texts.push_back(box.text);
    win32::script::clearMessageBoxLog();
    return texts;
  }
  std::string ini(const char* section, const char* key) {
    char value[4096] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, ini_.c_str());
    return value;
  }
  // The EBCDIC form (code-page setting 101) of a text.
  static std::string ebcdic(const std::string& text) {
    Ky400TCPIPTranslation translation;
    translation.Init(1, nullptr, 101);
    std::string host(text.size(), '\0');
    translation.ToEbc(text.c_str(), host.data(), static_cast<int>(host.size()));
    return host;
  }
  // The language library's text of a message id.
  static std::string message(UINT id) {
    char text[1024] = {};
    LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
    return text;
  }

  ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  LanguageLibrary language_;
  std::unique_ptr<TestClientApp> app_;
  KyAppContext* context_ = nullptr;
  std::string savedPath_;
};

}  // namespace kytest
