#!/usr/bin/env bash
# Calculates the example array's field in the default transverse and axial planes with the real
# calculator, opens the result windows under a virtual display and saves them as
# docs/screenshots/result_transverse.png and result_axial.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
[ -f "$build/CMakeCache.txt" ] || "$here/scripts/build.sh"
cmake --build "$build" -j2 --target result_calculator_test
mkdir -p "$here/docs/screenshots"
KORMAX_SCREENSHOT_DIR="$here/docs/screenshots" \
  xvfb-run -a -s "-screen 0 1600x1200x24" "$build/tests/result_calculator_test"
