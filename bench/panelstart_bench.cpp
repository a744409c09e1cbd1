// Start of the runner up to the sample panel's first paint: Drumlet running
// AAzqF until its panel is painted and the loop first goes idle (the idle
// script then closes it, which ends the run), against the bare program that
// only loads the same shared libraries and the libraries loaded by name
// (language library, AAZQF.DLL, AAZQF.PNL). Each iteration is one process,
// started and waited for.
#include <string>

#include "processrun.h"

namespace {

const std::string kBin = KY_BENCH_BIN_DIR;

void run(benchmark::State& state, const std::vector<std::string>& arguments) {
  // A close request as soon as the painted panel waits for input.
  kybench::runEachIteration(state, "panelstart", arguments, {"KY_INPUT_SCRIPT=close"});
}

void BM_DrumletSamplePanel(benchmark::State& state) { run(state, {kBin + "/Drumlet", "AAZQF"}); }
void BM_BareLoad(benchmark::State& state) {
  run(state, {KY_BENCH_DIR "/runnerstart_bare", kBin, "KY721LNC.ENG", "AAZQF.DLL", "AAZQF.PNL"});
}

BENCHMARK(BM_DrumletSamplePanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLoad)->Unit(benchmark::kMillisecond);

}  // namespace
