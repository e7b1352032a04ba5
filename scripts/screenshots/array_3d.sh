#!/usr/bin/env bash
# Refreshes docs/screenshots/array_3d.png: the array window's "3D" tab with the example array,
# reached through example data and Continue on a virtual display by the scene_screenshot_test
# program of an existing build (scripts/build.sh makes one).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
cmake --build "$build" --target scene_screenshot_test
mkdir -p "$here/docs/screenshots"
KORMAX_SCREENSHOT_OUT="$here/docs/screenshots/array_3d.png" \
  xvfb-run -a -s "-screen 0 1600x1200x24" "$build/tests/scene_screenshot_test"
echo "written: $here/docs/screenshots/array_3d.png"
