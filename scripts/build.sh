#!/usr/bin/env bash
# Installs what is missing, configures and builds Kormax into ${KORMAX_BUILD_DIR:-build}: the
# given targets (scripts/run.sh: kormax-app, the application alone), or everything.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
