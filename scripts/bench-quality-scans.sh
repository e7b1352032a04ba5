#!/usr/bin/env bash
# Times the four default quality scans of the example array (main and side maxima, axial and
# transverse plane) on job folders written by the application's own job writers with the quality
# windows' default regions (bench/quality_jobs.cpp, which needs no display), in a scratch copy of
# the application directory. Each scan runs the calculator as Trovane.bat does, without the
# progress window.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
"$here/scripts/build.sh" >/dev/null
cmake --build "$build" -j2 --target kormax-quality-jobs >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -a "$build/app/." "$scratch/"
for plane in axial transverse; do
  "$build/bench/kormax-quality-jobs" "$scratch" "$plane"
  for job in main_max side_max; do
    start=$(date +%s%N)
    (cd "$scratch/$job" && ../kormax-calc "$job" --no-gui 2>/dev/null)
    end=$(date +%s%N)
    points=$(grep -o 'Точек области расчета поля: [0-9]*, положений фокуса: [0-9]*' "$scratch/$job/log.txt" || true)
    printf '%-10s %-8s %6.1f s  (%s)\n' "$plane" "$job" "$(awk "BEGIN { print ($end - $start) / 1e9 }")" "$points"
  done
done
