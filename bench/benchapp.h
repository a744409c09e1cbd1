// The application of a benchmark: a client application whose INI file is a
// temporary file of the given text (removed at the end), with the thread's
// context made and ended, and the directory of the built libraries.
#pragma once

#include <mscrt.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "KyWinClientApp.h"

namespace kybench {

// The libraries lie in bin/ beside bench/.
inline std::string binDirectory() {
  return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin").string();
}

class BenchApp : public KyWinClientApp {
 public:
  BenchApp(const char* pszName, const std::string& iniText) : KyWinClientApp(pszName) {
    ini_ = std::filesystem::temp_directory_path() /
           (std::string(pszName) + "_" + std::to_string(::getpid()) + ".ini");
    std::ofstream(ini_) << iniText;
    m_pszProfileName = _strdup(ini_.c_str());
    m_iStartMode = 5;  // no command line to read
    CreateContext();
  }
  ~BenchApp() override {
    EndContext();
    std::filesystem::remove(ini_);
  }

 private:
  std::filesystem::path ini_;
};

}  // namespace kybench
