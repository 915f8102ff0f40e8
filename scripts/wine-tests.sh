#!/usr/bin/env bash
# Cross-builds the toolkit-free code (quorvia_core, over the platform layer)
# and the doctest programs for Windows with MinGW-w64, and runs the doctest
# programs under Wine, with a spare drive letter mapped to an empty scratch
# folder for the platform tests. Fails when anything does not build.
# Usage: scripts/wine-tests.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}

wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ]; then
    echo "FAILED: Windows tests: wine is not installed" >&2
    exit 1
fi

echo "== Windows tests: cross build"
mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; echo "FAILED: Windows tests: configuring the cross build" >&2; exit 1; }
# Everything the configuration holds: quorvia_core and every test program.
cmake --build "$build" -j"$(nproc)" ||
    { echo "FAILED: Windows tests: the cross build" >&2; exit 1; }

# A prefix of our own, no display, no console noise, and no offer to install
# Mono or Gecko.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Windows tests: creating the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    timeout 600 "$wine" wineboot -i >/dev/null 2>&1 || { echo "FAILED: wineboot" >&2; exit 1; }
    timeout 120 wineserver -w || true
fi

# Drive Q: is the platform tests' scratch folder, made empty for every run.
fixture="$PWD/$build/wine-drive-q"
rm -rf "$fixture"
mkdir -p "$fixture"
ln -sfn "$fixture" "$WINEPREFIX/dosdevices/q:"
export QUORVIA_TEST_DRIVE=Q

echo "== Windows tests: running under $("$wine" --version 2>/dev/null)"
status=0
# One wineserver for all the programs, with the prefix's background programs
# started before them: started by a test program, they would hold its output
# open, and CTest would wait for them to the test's time-out.
wineserver -p >/dev/null 2>&1 || true
timeout 120 "$wine" wineboot >/dev/null 2>&1 </dev/null || true
(cd "$build" && ctest --output-on-failure --timeout 300) || status=$?
timeout 60 wineserver -k >/dev/null 2>&1 || true
if [ "$status" -ne 0 ]; then
    echo "FAILED: Windows tests under Wine (ctest exit code $status)" >&2
    exit "$status"
fi
echo "== Windows tests: passed"
