// Start of the runner: Drumlet starting the sample's empty main function
// (start-up, the function's entry and return, shut-down) against the bare
// program that only loads the same shared libraries and the two libraries
// loaded by name. Each iteration is one process, started and waited for.
#include <string>

#include "processrun.h"

namespace {

const std::string kBin = KY_BENCH_BIN_DIR;

void run(benchmark::State& state, const std::vector<std::string>& arguments) {
  kybench::runEachIteration(state, "runnerstart", arguments);
}

void BM_DrumletEmptyMain(benchmark::State& state) { run(state, {kBin + "/Drumlet", "SAMPLE", "SampleEmpty"}); }
void BM_BareLoad(benchmark::State& state) { run(state, {KY_BENCH_DIR "/runnerstart_bare", kBin}); }

BENCHMARK(BM_DrumletEmptyMain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLoad)->Unit(benchmark::kMillisecond);

}  // namespace
