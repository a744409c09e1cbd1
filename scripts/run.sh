#!/usr/bin/env bash
# Builds everything and runs the main job: the runner Drumlet starts the
# sample application's main function AAzqF (AAZQF.DLL with its panel
# library AAZQF.PNL). With a display (DISPLAY set, KY_DISPLAY not
# "headless") the panel shows on the X server and the run ends when a person
# closes it. Without one the window system is headless: the run saves a PNG
# of the panel (printed as "snapshot: <path>"), closes it with a scripted
# Escape (the panel's close key) and ends. Arguments replace "AAZQF" (a
# library, an implementation and input parameters). Message boxes print to
# stderr and answer by themselves (KY_MESSAGEBOX_ANSWERS scripts them); the
# exit code is Drumlet's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
[ $# -gt 0 ] || set -- AAZQF
on_display=no
if [ -n "${DISPLAY:-}" ] && [ "${KY_DISPLAY:-}" != headless ]; then on_display=yes; fi
if [ -z "${KY_INPUT_SCRIPT:-}" ] && [ $on_display = no ]; then
  export KY_INPUT_SCRIPT="snapshot:$build/panel.png;key:Escape"
fi
exec "$build/bin/Drumlet" "$@"
