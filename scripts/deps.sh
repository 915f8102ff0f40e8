#!/usr/bin/env bash
# Installs the Debian packages that the build, the program and the tests need,
# when any of them is missing. Usage: scripts/deps.sh [run|disc|test]
# (disc: what scripts/make-disc.sh needs to build a disc image)
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-multimedia-dev pkg-config libfontconfig-dev libxcb1-dev libgl-dev fonts-liberation xdg-utils)
# doctest, for the Qt-free tests that a default build (QUORVIA_TESTS=ON) compiles.
packages+=(doctest-dev)
mode=${1:-run}
if [ "$mode" = disc ] || [ "$mode" = test ]; then
    # The Windows cross build: the MinGW-w64 cross compiler and its binutils
    # (windres for the resources; objdump, strip and objcopy for the checks
    # of scripts/build-windows.sh and the disc's stripped program). The disc
    # image: xorriso writes it, makensis builds its SETUP.EXE.
    packages+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 xorriso nsis)
fi
if [ "$mode" = test ]; then
    packages+=(xvfb xdotool x11-utils imagemagick openbox)
    # xset: the keyboard scenario checks that the X server repeats held keys.
    packages+=(x11-xserver-utils)
    # The screen-reader scenario: a session bus, the accessibility bus and
    # gdbus to read what the program offers over AT-SPI.
    packages+=(dbus-daemon at-spi2-core libglib2.0-bin)
    # The scaled end-to-end test reads the X pointer's cursor through XFixes.
    packages+=(libxfixes-dev)
    # Wine to run the Windows programs; fuseiso to mount the disc image
    # (osirrox, of xorriso, extracts it where /dev/fuse is missing).
    packages+=(wine wine64 fuseiso)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
