#!/usr/bin/env bash
# Configures and builds the project into build/ (BUILD_DIR overrides; SANITIZE=1 adds ASan+UBSan).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/bootstrap.sh"
args=(-G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo})
[ "${SANITIZE:-0}" = 1 ] && args+=(-DKY_SANITIZE=ON)
cmake -S "$root" -B "$build" "${args[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
