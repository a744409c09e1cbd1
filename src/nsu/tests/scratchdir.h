// A directory of the test's own, removed with everything in it afterwards,
// so that tests run side by side never share a file.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nsu-XXXXXX").string();
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};
