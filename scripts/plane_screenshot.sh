#!/usr/bin/env bash
# Refreshes docs/screenshots/plane_window.png and plane_window_axial.png: the calculation plane
# window with the example array and the default planes, on a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh" >/dev/null
cmake --build "$build" -j2 --target kormax-plane-screenshot
mkdir -p "$here/docs/screenshots"
xvfb-run -a -s "-screen 0 1600x1200x24" \
  "$build/data/tools/plane_screenshot/kormax-plane-screenshot" "$here/docs/screenshots" "$build/app"
