#!/usr/bin/env bash
# Builds the benchmarks and prints their table: each ratio is measured against
# a baseline in the same run (the least work, or the least Qt program, that
# gives the same result). Window benchmarks run under their own Xvfb.
# Usage: bench/run.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/deps.sh test >/dev/null
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(bench_catalogue bench_listing bench_copy bench_process)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null

. tests/e2e/x11lib.sh
x11_start

lines=()
run() {
    local out
    if out=$("$@" 2>/dev/null | grep ': ratio '); then
        lines+=("$out")
    else
        lines+=("$(basename "$1") $2: ratio failed (goal < ?)")
    fi
}
run "$build/bench/bench_process" start
run "$build/bench/bench_catalogue"
run "$build/bench/bench_listing"
run "$build/bench/bench_copy" large
run "$build/bench/bench_copy" files
run "$build/bench/bench_copy" notice
run "$build/bench/bench_process" memory

# The Windows program under Wine, in the Windows build's prefix, on the same
# display: its start-up against the least Win32 program.
winbuild=build-win
if { [ -f "$winbuild/CMakeCache.txt" ] || scripts/build-windows.sh >/dev/null 2>&1; } &&
    cmake --build "$winbuild" -j"$(nproc)" --target bench_win_menu bench_win_bare >/dev/null 2>&1; then
    export WINEPREFIX=$PWD/$winbuild/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        (unset DISPLAY; timeout 600 wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true)
    fi
    # One session for all rounds, started on this display with the disc as
    # drive D: (Wine's drive table takes no drive added later), its
    # background programs running before the first round.
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    timeout 60 wineserver -w >/dev/null 2>&1 || true
    disc=$(mktemp -d)
    touch "$disc/PLAXOID.QAR"
    ln -sfn "$disc" "$WINEPREFIX/dosdevices/d:"
    wineserver -p >/dev/null 2>&1 || true
    timeout 120 wine wineboot >/dev/null 2>&1 </dev/null || true
    run "$build/bench/bench_process" wine "$winbuild/bench/bench_win_menu.exe" "$winbuild/bench/bench_win_bare.exe"
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX/dosdevices/d:"
    rm -rf "$disc"
else
    lines+=("start-up under Wine until painted: ratio failed (goal <= 1.3)")
fi

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores," \
     "$(free -g | awk '/^Mem:/{print $2}') GB, $(. /etc/os-release; echo "$PRETTY_NAME"), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
echo
echo "| benchmark | ratio | goal | met |"
echo "|---|---|---|---|"
for line in "${lines[@]}"; do
    name=${line%%: ratio*}
    rest=${line#*: ratio }
    ratio=${rest%% *}
    op=$(sed -n 's/.*(goal \(<=\?\) [0-9.]*).*/\1/p' <<<"$rest")
    goal=$(sed -n 's/.*(goal <=\? \([0-9.]*\)).*/\1/p' <<<"$rest")
    detail=$(sed -n 's/.*\[\(.*\)\].*/\1/p' <<<"$rest")
    met=no
    if [[ $ratio =~ ^[0-9.]+$ && -n $goal ]] && awk -v r="$ratio" -v g="$goal" -v op="$op" 'BEGIN{exit !(op == "<=" ? r <= g : r < g)}'; then met=yes; fi
    echo "| $name${detail:+ ($detail)} | $ratio | ${op:-<} ${goal:-?} | $met |"
done
