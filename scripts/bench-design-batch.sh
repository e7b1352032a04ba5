#!/usr/bin/env bash
# Times `kormax-calc design` on the example's cap: a batch of N random candidates (default 40) on
# one process with one thread, then on two MPI ranks with one thread each (the ratio is the
# scaling), then a search of the same budget, printing candidates per second. Nothing is timed in
# the tests; run this by hand on an otherwise idle machine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORMAX_BUILD_DIR:-$here/build}
n=${1:-40}
"$here/scripts/build.sh" kormax-calc >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'Quist-Marvane\nA: 0.17\nR: 0.13\na: 0.0035\nf: 1e+06\nhole: 0.02\n' >"$scratch/array.txt"
printf 'Water\nrho: 1000\nc: 1500\nC: 4200\nalpha: 0\n' >"$scratch/medium.txt"
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
seconds() { local s e; s=$(date +%s%N); (cd "$scratch" && "$@" >/dev/null 2>&1); e=$(date +%s%N); awk "BEGIN { print ($e - $s) / 1e9 }"; }
echo "r random count=256 gap=0.0005 seed=1 seeds=$n" >"$scratch/candidates.txt"
one=$(OMP_NUM_THREADS=1 seconds "$build/app/kormax-calc" design --no-gui)
cp "$scratch/design_scores.txt" "$scratch/one.txt"
two=$(OMP_NUM_THREADS=1 seconds mpirun --oversubscribe --bind-to none -np 2 "$build/app/kormax-calc" design --no-gui)
cmp -s "$scratch/one.txt" "$scratch/design_scores.txt" && same=identical || same=DIFFERENT
printf 'batch of %d candidates: 1 rank %.1f s, 2 ranks %.1f s, ratio %.2f, tables %s\n' "$n" "$one" "$two" \
  "$(awk "BEGIN { print $two / $one }")" "$same"
echo "o random count=256 gap=0.0005 seed=1 budget=$n" >"$scratch/candidates.txt"
search=$(seconds "$build/app/kormax-calc" design --no-gui)
printf 'search of %d candidates on all cores: %.1f s, %.2f candidates per second\n' "$n" "$search" \
  "$(awk "BEGIN { print $n / $search }")"
