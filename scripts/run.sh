#!/usr/bin/env bash
# Builds everything and runs the main job. Until the runner program exists it only builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
if [ -x "$build/src/runner/Drumlet" ]; then
  exec "$build/src/runner/Drumlet" "$@"
fi
echo "run: everything is built in $build; the runner program (Drumlet) does not exist yet, so there is nothing to start."
