#!/usr/bin/env bash
# Cross-builds the platform layer and its Qt-free tests for Windows with
# MinGW-w64 and runs them under Wine, with a spare drive letter mapped to an
# empty scratch folder. Usage: scripts/wine-tests.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}

echo "== Windows platform tests: cross build"
mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DQUORVIA_PLATFORM_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)"

wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ]; then
    echo "FAILED: Windows platform tests: wine is not installed" >&2
    exit 1
fi

# A prefix of our own, no display, no console noise, and no offer to install
# Mono or Gecko.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Windows platform tests: creating the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    timeout 600 "$wine" wineboot -i >/dev/null 2>&1 || { echo "FAILED: wineboot" >&2; exit 1; }
    timeout 120 wineserver -w || true
fi

# Drive Q: is the scratch folder, made empty for every run.
fixture="$PWD/$build/wine-drive-q"
rm -rf "$fixture"
mkdir -p "$fixture"
ln -sfn "$fixture" "$WINEPREFIX/dosdevices/q:"

echo "== Windows platform tests: running under $("$wine" --version 2>/dev/null)"
status=0
timeout 300 "$wine" "$build/tests/platform_native/platform_native_tests.exe" Q || status=$?
timeout 60 wineserver -k >/dev/null 2>&1 || true
if [ "$status" -ne 0 ]; then
    echo "FAILED: Windows platform tests under Wine (exit code $status)" >&2
    exit "$status"
fi
echo "== Windows platform tests: passed"
