#!/usr/bin/env bash
# Builds everything and runs the main job: the runner Drumlet starts the
# sample application's main function (SAMPLE.DLL, implementation Sample).
# Arguments replace "SAMPLE Sample" (a library, an implementation and input
# parameters). Message boxes print to stderr and answer by themselves
# (KY_MESSAGEBOX_ANSWERS scripts them); the exit code is Drumlet's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
[ $# -gt 0 ] || set -- SAMPLE Sample
exec "$build/bin/Drumlet" "$@"
