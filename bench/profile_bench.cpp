// Reading options from a 2,000-line INI file: from the parsed-file cache
// (what every option read after the first costs) and from the file (the
// first read, which parses it), plus a write that replaces one value.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// 100 sections of 19 keys: 2,000 lines. The file is dated in the past, as
// an application's INI file is at start-up.
const std::string& largeIni() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() /
                           ("profile_bench_" + std::to_string(::getpid()) + ".ini")).string();
    std::ofstream out(p, std::ios::binary);
    for (int s = 0; s < 100; ++s) {
      out << "[Section " << s << "]\r\n";
      for (int k = 0; k < 19; ++k) out << "Key " << k << " = value of key " << k << " in section " << s << "\r\n";
    }
    out.close();
    const timespec past[2] = {{1600000000, 0}, {1600000000, 0}};
    ::utimensat(AT_FDCWD, p.c_str(), past, 0);
    return p;
  }();
  return path;
}

void BM_CachedReadNearEnd(benchmark::State& state) {
  const std::string& file = largeIni();
  char buf[256];
  GetPrivateProfileStringA("Section 99", "Key 17", "", buf, sizeof buf, file.c_str());
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetPrivateProfileStringA("section 99", "key 17", "", buf, sizeof buf, file.c_str()));
  }
}
BENCHMARK(BM_CachedReadNearEnd);

// The floor of a cached read: the one stat that checks the file is unchanged.
void BM_StatOfTheFile(benchmark::State& state) {
  const std::string& file = largeIni();
  struct stat st;
  for (auto _ : state) benchmark::DoNotOptimize(::stat(file.c_str(), &st));
}
BENCHMARK(BM_StatOfTheFile);

void BM_ColdReadNearEnd(benchmark::State& state) {
  const std::string& file = largeIni();
  char buf[256];
  for (auto _ : state) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // drops the cached copy
    benchmark::DoNotOptimize(GetPrivateProfileStringA("section 99", "key 17", "", buf, sizeof buf, file.c_str()));
  }
}
BENCHMARK(BM_ColdReadNearEnd);

void BM_WriteValueNearEnd(benchmark::State& state) {
  const std::string file = largeIni() + ".write";
  std::filesystem::copy_file(largeIni(), file, std::filesystem::copy_options::overwrite_existing);
  int n = 0;
  for (auto _ : state) {
    const std::string value = std::to_string(n++ & 1);
    benchmark::DoNotOptimize(WritePrivateProfileStringA("Section 99", "Key 17", value.c_str(), file.c_str()));
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_WriteValueNearEnd);

}  // namespace
