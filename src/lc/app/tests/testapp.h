// Helpers of the run-time's test programs: the test's own WIN.INI (named by
// KY_WIN_INI, one per test program) and an application object whose INI
// file is a scratch copy.
#pragma once

#include <mscrt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <internal/scratchdir.h>

#include "KyApp.h"
#include "KyWinClientApp.h"

namespace kytest {

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Replaces the test program's WIN.INI.
inline void writeWinIni(const std::string& text) {
  const char* path = std::getenv("KY_WIN_INI");
  ASSERT_NE(path, nullptr) << "KY_WIN_INI is set by the test driver";
  writeFile(path, text);
}

// An application object whose profile is `ini`.
class TestApp : public KyApp {
 public:
  explicit TestApp(const std::filesystem::path& ini) : KyApp("Test") {
    m_pszProfileName = _strdup(ini.c_str());
  }
};

// The runner's kind of application object, with its profile at `ini`.
class TestClientApp : public KyWinClientApp {
 public:
  TestClientApp(const char* name, const std::filesystem::path& ini) : KyWinClientApp(name) {
    m_pszProfileName = _strdup(ini.c_str());
  }
  void SetName(const char* name) {
    std::free(const_cast<char*>(m_pszAppName));
    m_pszAppName = _strdup(name);
  }
};

// The English language library as the runner makes it: loaded by name and
// the resource module while the object lives.
class LanguageLibrary {
 public:
  LanguageLibrary() : module_(LoadLibraryA(KY_BIN_DIR "/KY721LNC.ENG")), previous_(AfxGetResourceHandle()) {
    if (module_) AfxSetResourceHandle(module_);
  }
  ~LanguageLibrary() {
    AfxSetResourceHandle(previous_);
    if (module_) FreeLibrary(module_);
  }
  LanguageLibrary(const LanguageLibrary&) = delete;
  LanguageLibrary& operator=(const LanguageLibrary&) = delete;
  HMODULE module() const { return module_; }

 private:
  HMODULE module_;
  HINSTANCE previous_;
};

}  // namespace kytest
