#!/usr/bin/env bash
# Installs, builds and starts Kormax (only what the application needs: the tests are built by
# scripts/test.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh" kormax-app
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Kormax is a desktop application and needs a display, but none is set (DISPLAY is empty)." >&2
  echo "Start it from a graphical session, or try it on a virtual one: xvfb-run -a $build/app/kormax" >&2
  exit 1
fi
exec "$build/app/kormax"
