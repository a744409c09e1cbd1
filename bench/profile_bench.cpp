// Reading options from a 2,000-line INI file: from the parsed-file cache
// (what every option read after the first costs) and from the file (the
// first read, which parses it), plus a write that replaces one value; and a
// save of 48 options into a 1 MB INI file in one batch against one write
// into that file.
#include <windows.h>
#include <internal/profilebatch.h>

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

// About 1 MB: 2,500 sections of 19 keys, the run options' sections among them.
const std::string& megabyteIni() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() /
                           ("profile_bench_1mb_" + std::to_string(::getpid()) + ".ini")).string();
    std::ofstream out(p, std::ios::binary);
    for (int s = 0; s < 2500; ++s) {
      out << "[Section " << s << "]\r\n";
      for (int k = 0; k < 19; ++k) out << "Key " << k << " = value of key " << k << " in section " << s << "\r\n";
    }
    return p;
  }();
  return path;
}

void BM_OneWriteInto1MB(benchmark::State& state) {
  const std::string file = megabyteIni() + ".one";
  std::filesystem::copy_file(megabyteIni(), file, std::filesystem::copy_options::overwrite_existing);
  int n = 0;
  for (auto _ : state) {
    const std::string value = std::to_string(n++ & 1);
    benchmark::DoNotOptimize(WritePrivateProfileStringA("Section 1200", "Key 7", value.c_str(), file.c_str()));
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_OneWriteInto1MB)->Unit(benchmark::kMillisecond);

// 48 keys over three sections, one of them new to the file, as the run
// options are saved.
void BM_Save48OptionsInto1MB(benchmark::State& state) {
  const std::string file = megabyteIni() + ".batch";
  std::filesystem::copy_file(megabyteIni(), file, std::filesystem::copy_options::overwrite_existing);
  int n = 0;
  for (auto _ : state) {
    const std::string value = std::to_string(n++ & 1);
    win32::ProfileBatch batch;
    for (int k = 0; k < 48; ++k) {
      const char* section = k < 16 ? "Section 3" : k < 32 ? "Section 2400" : "Run Options";
      const std::string key = "Option " + std::to_string(k);
      WritePrivateProfileStringA(section, key.c_str(), value.c_str(), file.c_str());
    }
    if (!batch.Commit()) state.SkipWithError("the save failed");
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_Save48OptionsInto1MB)->Unit(benchmark::kMillisecond);

}  // namespace
