#!/usr/bin/env bash
# Refreshes the screenshots in docs/screenshots: builds the application and the screenshot tool,
# then walks example data -> Continue on a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh" >/dev/null
cmake --build "$build" --target kormax-screenshots
mkdir -p "$here/docs/screenshots"
xvfb-run -a -s "-screen 0 1600x1200x24" \
  "$build/data/tools/screenshots/kormax-screenshots" "$here/docs/screenshots" "$build/app"
