#!/usr/bin/env bash
# The Windows part of the tests: cross-builds the Windows program and the
# doctest programs (scripts/build-windows.sh, with its checks), makes one
# Wine prefix for this run, runs the doctest programs under Wine, with a
# spare drive letter mapped to an empty scratch folder for the platform
# tests, and then the end-to-end scenarios against the Windows program
# (tests/e2e/wine-e2e.sh, in the same prefix, WINEPREFIX exported).
# Fails when anything does not build or a test fails.
# Usage: scripts/wine-tests.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-win
start=$SECONDS

wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ]; then
    echo "FAILED: Windows tests: wine is not installed" >&2
    exit 1
fi

scripts/build-windows.sh || { echo "FAILED: Windows tests: the cross build" >&2; exit 1; }
built=$SECONDS

# A prefix of our own, made anew for each run, no display, no console noise,
# no offer to install Mono or Gecko and no menu entries on the host.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

echo "== Windows tests: creating the Wine prefix"
timeout 60 wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
timeout 600 "$wine" wineboot -i >/dev/null 2>&1 || { echo "FAILED: wineboot" >&2; exit 1; }
# Drive X: is a CD-ROM drive with no disc in it (a link to nothing). Wine
# reads the drives' types and labels when its services start, so they are set
# up before that.
rm -rf "$PWD/$build/no-disc"
ln -sfn "$PWD/$build/no-disc" "$WINEPREFIX/dosdevices/x:"
timeout 120 "$wine" reg add 'HKLM\Software\Wine\Drives' /v x: /t REG_SZ /d cdrom /f >/dev/null 2>&1
timeout 120 wineserver -w || true

# Drive Q: is the platform tests' scratch folder, made empty for every run,
# with a volume label outside ASCII.
fixture="$PWD/$build/wine-drive-q"
rm -rf "$fixture"
mkdir -p "$fixture"
printf 'Jeux Caf\xc3\xa9' > "$fixture/.windows-label"
ln -sfn "$fixture" "$WINEPREFIX/dosdevices/q:"

echo "== Windows tests: running under $("$wine" --version 2>/dev/null)"
status=0
# One wineserver for all the programs, with the prefix's background programs
# started before them: started by a test program, they would hold its output
# open, and CTest would wait for them to the test's time-out.
wineserver -p >/dev/null 2>&1 || true
timeout 120 "$wine" wineboot >/dev/null 2>&1 </dev/null || true
(cd "$build" && QUORVIA_TEST_DRIVE=Q QUORVIA_TEST_DRIVE_LABEL='Jeux Café' QUORVIA_TEST_EMPTY_CDROM=X \
    ctest --output-on-failure --timeout 300) || status=$?
timeout 60 wineserver -k >/dev/null 2>&1 || true
rm -f "$WINEPREFIX/dosdevices/q:" "$WINEPREFIX/dosdevices/x:"
if [ "$status" -ne 0 ]; then
    echo "FAILED: Windows tests under Wine (ctest exit code $status)" >&2
    exit "$status"
fi

if [ -f tests/e2e/wine-e2e.sh ]; then
    echo "== Windows tests: end to end under Wine"
    bash tests/e2e/wine-e2e.sh || status=$?
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    if [ "$status" -ne 0 ]; then
        echo "FAILED: Windows end-to-end tests under Wine (exit code $status)" >&2
        exit "$status"
    fi
fi
echo "== Windows tests: passed (cross build $((built - start)) s, all $((SECONDS - start)) s)"
