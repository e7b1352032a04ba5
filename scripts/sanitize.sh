#!/usr/bin/env bash
# The sanitizer stage of the test command: builds Kormax with Clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (cmake -DKORMAX_SANITIZE=ON) into build-sanitize/, runs the listed
# parts of the test suite there, then each fuzz target from its committed seed corpus for a
# bounded time, printing how many inputs it ran.
#
# Extending it: add a build target to TARGETS and its ctest label to LABELS (for example app_tests
# and app for the application's tests, which then run under xvfb-run like the main suite).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_SANITIZE_BUILD_DIR:-$here/build-sanitize}
fuzz_seconds=${KORMAX_FUZZ_SECONDS:-20}

TARGETS=(calculator_tests kormax_fuzzers app_tests)
LABELS=(calculator)
FUZZERS=(fuzz_job_files:job_files fuzz_element_file:element_file)

"$here/scripts/install-deps.sh"
# Leaks inside third-party libraries (D-Bus, Qt's offscreen plugin) are suppressed, never
# Kormax's own; the build runs the picture and manual tools, so the list applies from here on.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/sanitizer/lsan.supp:print_suppressions=0}
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORMAX_SANITIZE=ON >/dev/null
# The picture and manual tools that run during the build are not under test: LeakSanitizer's own
# tracer crashes in the manual renderer once its pages hold many pictures, so leaks are checked
# only in the tests below.
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j"$(nproc)" --target "${TARGETS[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
labels=$(IFS='|'; echo "${LABELS[*]}")
(cd "$build" && xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -L "^($labels)\$")
# The application's GUI tests (label app) run apart, with Mesa's software renderer preloaded: it
# stays loaded to the end, so what it allocates is not reported as a leak of an unloaded, unnamed
# module.
dri=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)
(cd "$build" && LD_PRELOAD=$dri xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -L "^app\$")

# Fuzzing: new inputs go to a scratch corpus, the committed seeds stay as they are; a crash
# leaves its input in build-sanitize/fuzz-artifacts/.
mkdir -p "$build/fuzz-artifacts"
for entry in "${FUZZERS[@]}"; do
  target=${entry%%:*}
  seeds=$here/fuzz/corpus/${entry#*:}
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  log=$build/fuzz-artifacts/$target.log
  if ! "$build/fuzz/$target" -seed=1 -max_total_time="$fuzz_seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/fuzz-artifacts/$target-" "$scratch" "$seeds" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz $target: FAILED (input in $build/fuzz-artifacts/)"
    exit 1
  fi
  runs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -n 1)
  echo "fuzz $target: ${runs:-no summary} (${fuzz_seconds} s budget)"
  rm -rf "$scratch"
  trap - EXIT
done
