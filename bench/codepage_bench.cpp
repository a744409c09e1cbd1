// 1 MB of code page 1252 text to EBCDIC (CCSID 1140, setting 101) and back:
// the translation's generated tables against iconv doing the same two
// conversions. The ratio GxtRoundTrip / IconvRoundTrip is the figure.
#include <iconv.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Ky400Translation.h"

namespace {

constexpr size_t kSize = 1 << 20;

std::string sampleText() {
  std::string text;
  const char pattern[] = "Invoice 4711: 12 x Gr\xFC\xDF" "e \x80 99,95; Caf\xE9 cr\xE8me. ";
  while (text.size() < kSize) text += pattern;
  text.resize(kSize);
  return text;
}

// The tables lie in bin/ beside bench/, found along the search path.
void putTablesOnPath() {
  const std::string bin = (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin").string();
  const char* path = std::getenv("PATH");
  ::setenv("PATH", (bin + ":" + (path ? path : "")).c_str(), 1);
}

void IconvRoundTrip(benchmark::State& state) {
  const std::string text = sampleText();
  std::vector<char> host(kSize), back(kSize);
  iconv_t toHost = iconv_open("IBM1140", "WINDOWS-1252");
  iconv_t toPc = iconv_open("WINDOWS-1252", "IBM1140");
  auto run = [](iconv_t cd, const char* in, char* out) {
    char* pin = const_cast<char*>(in);
    char* pout = out;
    size_t inLeft = kSize, outLeft = kSize;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv(cd, &pin, &inLeft, &pout, &outLeft);
  };
  for (auto _ : state) {
    run(toHost, text.data(), host.data());
    run(toPc, host.data(), back.data());
    benchmark::DoNotOptimize(back.data());
  }
  if (std::string(back.data(), kSize) != text) state.SkipWithError("iconv did not round-trip");
  iconv_close(toHost);
  iconv_close(toPc);
  state.SetBytesProcessed(state.iterations() * kSize);
}

void GxtRoundTrip(benchmark::State& state) {
  putTablesOnPath();
  const std::string text = sampleText();
  std::vector<char> host(kSize), back(kSize + 1);
  Ky400TCPIPTranslation translation;
  translation.Init(1, nullptr, 101);
  if (!translation.HostToPc() || !translation.PcToHost()) {
    state.SkipWithError("the tables of setting 101 were not found");
    return;
  }
  for (auto _ : state) {
    translation.ToEbc(text.c_str(), host.data(), kSize);
    translation.FromEbc(host.data(), back.data(), kSize);
    benchmark::DoNotOptimize(back.data());
  }
  if (std::string(back.data(), kSize) != text) state.SkipWithError("the tables did not round-trip");
  state.SetBytesProcessed(state.iterations() * kSize);
}

}  // namespace

BENCHMARK(IconvRoundTrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(GxtRoundTrip)->Unit(benchmark::kMicrosecond);
