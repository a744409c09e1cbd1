// A fresh directory for one test, removed with everything in it afterwards:
// tests run side by side (ctest -j) and share no file.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace kytest {

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kyfiles_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    // Read-only files left by a test must not keep the tree alive.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The host path of `name` inside the directory.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string str() const { return path_.string(); }

  void write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

// A Windows spelling of a host path: backslashes and a drive letter.
inline std::string windowsSpelling(const std::string& hostPath) {
  std::string out = "C:";
  for (char c : hostPath) out += c == '/' ? '\\' : c;
  return out;
}

}  // namespace kytest
