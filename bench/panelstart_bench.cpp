// Start of the runner up to the sample panel's first paint: Drumlet running
// AAzqF until its panel is painted and the loop first goes idle (the idle
// script then closes it, which ends the run), against the bare program that
// only loads the same shared libraries and the libraries loaded by name
// (language library, AAZQF.DLL, AAZQF.PNL). Each iteration is one process,
// started and waited for.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kBin = KY_BENCH_BIN_DIR;

// A quiet, private environment: boxes answer silently, no user's INI files;
// a close request as soon as the painted panel waits for input.
std::vector<std::string> environment() {
  static const std::string home = [] {
    auto dir = std::filesystem::temp_directory_path() / ("ky_panelstart_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }();
  return {"HOME=" + home, "KY_WIN_INI=" + home + "/WIN.INI", "KY_MESSAGEBOX_QUIET=1", "KY_INPUT_SCRIPT=close",
          "PATH=" + std::string(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin")};
}

int runProcess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env = environment();
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void run(benchmark::State& state, const std::vector<std::string>& arguments) {
  for (auto _ : state) {
    if (runProcess(arguments) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
}

void BM_DrumletSamplePanel(benchmark::State& state) { run(state, {kBin + "/Drumlet", "AAZQF"}); }
void BM_BareLoad(benchmark::State& state) {
  run(state, {KY_BENCH_DIR "/runnerstart_bare", kBin, "KY721LNC.ENG", "AAZQF.DLL", "AAZQF.PNL"});
}

BENCHMARK(BM_DrumletSamplePanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLoad)->Unit(benchmark::kMillisecond);

}  // namespace
