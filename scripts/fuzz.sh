#!/usr/bin/env bash
# Builds every fuzz target with clang (libFuzzer, ASan, UBSan, the libraries
# under test instrumented too) into build-fuzz/ and runs each for SECONDS
# (default 60). Fails on any crash, leak or sanitizer report.
#   scripts/fuzz.sh [SECONDS] [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
shift || true
"$root/scripts/bootstrap.sh" clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKY_BUILD_FUZZ=ON -DKY_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -j "$(nproc)"

targets=("$@")
if ((${#targets[@]} == 0)); then
  for src in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The same suppressions as the tests: fontconfig keeps its cache for the
# life of the process.
export LSAN_OPTIONS="suppressions=$root/cmake/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_odr_violation=0"
export KY_MESSAGEBOX_QUIET=1
failed=()
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus" "$work/$t"
  export KY_WIN_INI="$work/$t/WIN.INI"
  echo "fuzz: $t for ${seconds}s"
  if ! (cd "$work/$t" && "$build/bin/$t" -max_total_time="$seconds" -print_final_stats=1 \
          -artifact_prefix="$work/$t/" "$corpus" >"$work/$t.log" 2>&1); then
    failed+=("$t")
    tail -40 "$work/$t.log"
    mkdir -p "$build/artifacts/$t" && cp "$work/$t"/crash-* "$work/$t"/leak-* "$work/$t"/timeout-* \
      "$build/artifacts/$t/" 2>/dev/null || true
  else
    grep -E "^stat::(number_of_executed_units|new_units_added)|cov: " "$work/$t.log" | tail -3
  fi
done
if ((${#failed[@]})); then
  echo "fuzz: failed: ${failed[*]} (inputs kept in $build/artifacts)"
  exit 1
fi
echo "fuzz: all clean"
