#!/usr/bin/env bash
# Regenerates the example element file from its deterministic generator (fixed seed):
# data/shipped/Elements_Quist_Marvane.txt. Run after changing data/tools/example_elements.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh" >/dev/null
cmake --build "$build" --target kormax-example-elements
"$build/data/tools/example_elements/kormax-example-elements" "$here/data/shipped/Elements_Quist_Marvane.txt"
