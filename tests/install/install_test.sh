#!/usr/bin/env bash
# The installed application directory is portable and self-contained: `cmake --install` to a
# temporary prefix, move the result somewhere else, then check that it holds everything the
# application ships, that nothing in it refers to the source or build tree, and that a field job
# runs there through calc/calc.bat with the installed calculator (and the scan jobs through their
# Trovane.bat).
#
# With "deb" the same checks run on the application directory of the Debian package, unpacked
# into a temporary root, together with its desktop entry, icon and Python module.
#
# Usage: install_test.sh <build dir> <source dir> [deb]
set -uo pipefail
build=$(cd "$1" && pwd -P)
source=$(cd "$2" && pwd -P)
mode=${3:-install}
app="$build/app"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

work=$(mktemp -d /tmp/kormax_install_test_XXXXXX)
trap 'rm -rf "$work"' EXIT

if [ "$mode" = deb ]; then
    # --- The package: built by CPack, unpacked without installing. ------------------------------
    (cd "$work" && cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake") >"$work/cpack.log" 2>&1 || {
        cat "$work/cpack.log" >&2
        echo "FAIL: cpack -G DEB failed" >&2
        exit 1
    }
    deb=$(ls "$work"/package/kormax_*.deb)
    dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x $deb failed"
    inst="$work/root/opt/kormax"
    dpkg-deb -f "$deb" Depends | grep -q python3-numpy || fail "the package does not depend on python3-numpy"
    desktop="$work/root/usr/share/applications/kormax.desktop"
    grep -qx "Exec=/opt/kormax/kormax" "$desktop" || fail "no desktop entry starting /opt/kormax/kormax"
    grep -qx "Icon=kormax" "$desktop" && [ -s "$work/root/usr/share/pixmaps/kormax.png" ] ||
        fail "no desktop entry with the icon kormax.png"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop entry not valid"
    fi
    site="$work/root/usr/lib/python3/dist-packages"
    (cd / && PYTHONPATH="$site" /usr/bin/python3 -c "import kormax, sys; assert kormax.__file__.startswith('$site');
sys.exit(len(kormax.read_elements('$inst/Elements_Quist_Marvane.txt')) < 100)") || fail "the packaged module does not load"
else
    # --- Install, then move: a portable directory works wherever it is put. ----------------------
    cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 || {
        cat "$work/install.log" >&2
        echo "FAIL: cmake --install failed" >&2
        exit 1
    }
    mv "$work/prefix" "$work/moved"
    inst="$work/moved"
    [ ! -e "$inst/usr" ] || fail "cmake --install wrote the package's system files"
fi

# --- Contents: every file of the build's application directory outside the job folders, and the
# job folders exactly as shipped in data/jobs (batch files only, whatever runs left in the build's).
while IFS= read -r rel; do
    case "$rel" in calc/* | main_max/* | side_max/* | heat/* | score/*) continue ;; esac
    if [ ! -f "$inst/$rel" ]; then
        fail "not installed: $rel"
    elif ! cmp -s "$app/$rel" "$inst/$rel"; then
        # Installing may rewrite executables (RUNPATH); the others must be byte-identical copies.
        [ -x "$app/$rel" ] || fail "installed $rel differs from the build's"
    fi
done < <(cd "$app" && find . -type f | sed 's|^\./||' | sort)
shipped_jobs=$(cd "$source/data/jobs" && find . -type f | sed 's|^\./||' | sort)
installed_jobs=$(cd "$inst" && find calc main_max side_max heat score design -type f 2>/dev/null | sort)
[ "$shipped_jobs" = "$installed_jobs" ] || fail "job folders hold \"$installed_jobs\" instead of \"$shipped_jobs\""
while IFS= read -r rel; do
    cmp -s "$source/data/jobs/$rel" "$inst/$rel" || fail "installed $rel differs from data/jobs/$rel"
done <<<"$shipped_jobs"

for f in kormax kormax-calc calc/calc.bat main_max/Trovane.bat side_max/Trovane.bat heat/heat.bat score/score.bat design/design.bat; do
    [ -x "$inst/$f" ] || fail "$f is not an executable file in the installed directory"
done
for f in help.pdf logo_png.png icon.png help_poper.png help_prodol.png Elements_Quist_Marvane.txt; do
    [ -s "$inst/$f" ] || fail "shipped file $f missing or empty"
done
for d in calc main_max side_max heat score design; do
    [ -d "$inst/$d" ] || fail "job folder $d/ missing"
done

# --- Nothing points back into the source or build tree. -----------------------------------------
links=$(find "$inst" -type l)
[ -z "$links" ] || fail "symbolic links in the installed directory: $links"
for tree in "$source" "$build"; do
    hits=$(grep -rlF "$tree" "$inst" 2>/dev/null)
    [ -z "$hits" ] || fail "files naming $tree: $hits"
done
for exe in kormax kormax-calc; do
    runpath=$(readelf -d "$inst/$exe" | grep -E 'RPATH|RUNPATH')
    case "$runpath" in
        *"$source"* | *"$build"*) fail "$exe has a library path into the build: $runpath" ;;
    esac
    libs=$(ldd "$inst/$exe")
    if grep -q "not found" <<<"$libs"; then fail "$exe: libraries not found: $(grep 'not found' <<<"$libs")"; fi
    if grep -qF -e "$source" -e "$build" <<<"$libs"; then fail "$exe loads libraries from the build tree"; fi
done

# --- A field job in the installed directory, written as the application writes it. --------------
# The example array from the installed element file (cm, y up) in job coordinates (m); the focus at
# the centre of curvature; a transverse plane of 21 x 21 points through it, 0.5 mm apart.
calc="$inst/calc"
printf '\xCD\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xF0\xE5\xF8\xE5\xF2\xEA\xE8:    Quist-Marvane\n'\
'\xC0\xEF\xE5\xF0\xF2\xF3\xF0\xE0 \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xEC:     0.17\n'\
'\xD0\xE0\xE4\xE8\xF3\xF1 \xEA\xF0\xE8\xE2\xE8\xE7\xED\xFB \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xEC:     0.13\n'\
'\xD0\xE0\xE4\xE8\xF3\xF1 \xFD\xEB\xE5\xEC\xE5\xED\xF2\xEE\xE2 \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xEC:     0.0035\n'\
'\xD0\xE0\xE1\xEE\xF7\xE0\xFF \xF7\xE0\xF1\xF2\xEE\xF2\xE0 \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xC3\xF6:    1e+06\n'\
'\xD0\xE0\xE4\xE8\xF3\xF1 \xEE\xF2\xE2\xE5\xF0\xF1\xF2\xE8\xFF, \xEC:     0.02' >"$calc/array.txt"
printf '\xCD\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xF1\xF0\xE5\xE4\xFB:\t\t\tWater\n'\
'\xCF\xEB\xEE\xF2\xED\xEE\xF1\xF2\xFC, \xEA\xE3/\xEC3:\t\t1000\n'\
'\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xE7\xE2\xF3\xEA\xE0 \xE2 \xF1\xF0\xE5\xE4\xE5, \xEC/\xF1:\t1500\n'\
'\xD2\xE5\xEF\xEB\xEE\xE5\xEC\xEA\xEE\xF1\xF2\xFC, \xC4\xE6/\xEA\xE3/\xCA:\t\t4200\n'\
'\xCF\xEE\xE3\xEB\xEE\xF9\xE5\xED\xE8\xE5 \xE2 \xF1\xF0\xE5\xE4\xE5, \xE4\xC1/\xF1\xEC/\xCC\xC3\xF6:\t0' >"$calc/medium.txt"
awk 'NF == 2 && $1 + 0 == $1 { printf "%g %g\n", $1 / 100, $2 / 100 }' \
    "$inst/Elements_Quist_Marvane.txt" >"$calc/array_elements.txt"
elements=$(wc -l <"$calc/array_elements.txt")
[ "$elements" -gt 100 ] || fail "the installed example array has only $elements elements"
printf '0\n0\n0.13' >"$calc/focus.txt"
printf 'xy\n0.13\n21\n21\n-0.005\n-0.005\n0.0005\n0.0005' >"$calc/grid_calc.txt"

# Started as the application starts it: the batch file's full path, the job folder as working
# directory, no display (a run this short never opens the progress window anyway).
(cd "$calc/" && env -u DISPLAY -u WAYLAND_DISPLAY "$calc/calc.bat") >"$work/calc.out" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "calc.bat exited with $status: $(cat "$work/calc.out")"
[ -e "$calc/calcdone" ] || fail "no calcdone after the run"
[ -s "$calc/log.txt" ] || fail "no log.txt in the job folder"
if [ -s "$calc/AbsField_XY.txt" ]; then
    # Header: xmin dx xmax ymin dy ymax max; then 441 records x y |p|. The maximum of the records
    # equals the header's and lies at the focus (0, 0) on this symmetric grid through it.
    check=$(awk '
        { for (i = 1; i <= NF; ++i) v[n++] = $i }
        END {
            if (n != 7 + 3 * 441) { print "numbers: " n; exit }
            best = -1
            for (k = 7; k < n; k += 3) if (v[k + 2] > best) { best = v[k + 2]; bx = v[k]; by = v[k + 1] }
            if (v[0] != -0.005 || v[2] != 0.005 || v[3] != -0.005 || v[5] != 0.005) { print "header range"; exit }
            if (best != v[6]) { print "header maximum " v[6] " vs " best; exit }
            if (bx * bx + by * by > 1e-12) { print "maximum at " bx ", " by; exit }
            if (best < 10) { print "focal gain only " best; exit }
            print "ok"
        }' "$calc/AbsField_XY.txt")
    [ "$check" = "ok" ] || fail "AbsField_XY.txt: $check"
else
    fail "no AbsField_XY.txt after the run"
fi

# --- The scan jobs run from the installed main_max/ and side_max/ too: the same array, a 5 x 5
# region of focus positions and a 9 x 9 field region around each, in the focal plane.
for job in main_max side_max; do
    for f in array.txt medium.txt array_elements.txt focus.txt; do cp "$calc/$f" "$inst/$job/$f"; done
    printf 'xy\n0.13\n5\n5\n-0.001\n-0.001\n0.0005\n0.0005' >"$inst/$job/grid_calc.txt"
    printf 'xy\n0.13\n9\n9\n-0.002\n-0.002\n0.0005\n0.0005' >"$inst/$job/grid_scan.txt"
    (cd "$inst/$job/" && env -u DISPLAY -u WAYLAND_DISPLAY "$inst/$job/Trovane.bat") >"$work/$job.out" 2>&1
    status=$?
    [ "$status" -eq 0 ] || fail "$job/Trovane.bat exited with $status: $(tail -3 "$work/$job.out")"
    [ -e "$inst/$job/calcdone" ] || fail "no calcdone in $job/ after the run"
    [ -s "$inst/$job/AbsField_XY.bin" ] || fail "no AbsField_XY.bin in $job/ after the run"
done

# --- The installed application starts (when a display is there to start it on). ----------------
if [ -n "${DISPLAY:-}" ]; then
    (cd / && timeout 3 "$inst/kormax" >"$work/kormax.out" 2>&1)
    status=$?
    # 124: still running in its event loop when the timeout ended it.
    [ "$status" -eq 124 ] || fail "installed kormax ended with $status: $(cat "$work/kormax.out")"
else
    echo "no display: the start of the installed kormax is not checked"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed application directory is complete, relocatable and runs a field job and both scans"
