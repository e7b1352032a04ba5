#!/usr/bin/env bash
# Installs, builds and runs every test; the GUI tests get a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
"$here/scripts/check-format.sh"
cd "$build"
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure "$@"
# Then the calculator and the fuzz targets under ASan and UBSan (scripts/sanitize.sh).
"$here/scripts/sanitize.sh"
