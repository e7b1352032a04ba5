#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as .clang-format says; prints the files to fix
# (clang-format -i FILE mends one).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find Vesk calculator tests bench fuzz data -name '*.cpp' -o -name '*.h')
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "format check: FAILED, not formatted as .clang-format says:"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format check: ${#files[@]} files formatted"
