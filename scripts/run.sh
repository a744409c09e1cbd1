#!/usr/bin/env bash
# Builds everything and runs the main job: the runner Drumlet starts the
# sample application's main function AAzqF (AAZQF.DLL with its panel
# library AAZQF.PNL). With a display the panel shows and waits for the user
# (closing it ends the run); without one the run saves a PNG of the panel
# (printed as "snapshot: <path>"), closes it with a scripted close request
# and ends. Arguments replace "AAZQF" (a library, an implementation
# and input parameters). Message boxes print to stderr and answer by
# themselves (KY_MESSAGEBOX_ANSWERS scripts them); the exit code is
# Drumlet's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
[ $# -gt 0 ] || set -- AAZQF
if [ -z "${DISPLAY:-}" ] && [ -z "${KY_INPUT_SCRIPT:-}" ]; then
  export KY_INPUT_SCRIPT="snapshot:$build/panel.png;close"
fi
exec "$build/bin/Drumlet" "$@"
