#!/usr/bin/env bash
# Refreshes every screenshot in docs/screenshots from the current code: builds the application,
# the calculator and the screenshot tool, then walks the whole road on a virtual display with the
# real calculator (example data -> array window -> plane window and its help -> calculation ->
# result window, for the transverse and the axial plane). The calculations run in a copy of the
# application directory at the fixed place /tmp/kormax (its path shows in the main window), so
# build/app keeps clean job folders and the pictures do not change from run to run.
# `scripts/screenshots.sh design` refreshes only the design window's comparison.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh" >/dev/null
cmake --build "$build" -j2 --target kormax-screenshots
scratch=/tmp/kormax
if [ -e "$scratch" ]; then
  echo "$scratch exists (another screenshot run?); remove it and try again" >&2
  exit 1
fi
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"
cp -a "$build/app/." "$scratch/"
for job in calc main_max side_max heat score design; do
  find "$scratch/$job" -type f ! -name '*.bat' -delete
done
mkdir -p "$here/docs/screenshots"
xvfb-run -a -s "-screen 0 1600x1200x24" \
  "$build/data/tools/screenshots/kormax-screenshots" "$here/docs/screenshots" "$scratch" "$@"
