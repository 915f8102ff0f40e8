#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
status=0
(cd build && ctest --output-on-failure -j"$(nproc)") || status=$?
# The Windows program and the toolkit-free code cross-built, their tests run
# under Wine.
wine_start=$SECONDS
scripts/wine-tests.sh || status=1
# The disc as shipped: its image read as a real disc by the Linux menu and,
# as Wine's CD-ROM drive, by the setup and the installed menu.
disc_start=$SECONDS
if scripts/make-disc.sh; then
    bash tests/e2e/disc-make.sh || status=1
    bash tests/e2e/disc-wine.sh || status=1
    bash tests/e2e/disc-linux.sh || status=1
else
    echo "FAILED: scripts/make-disc.sh" >&2
    status=1
fi
echo "== Windows part: $((disc_start - wine_start)) s; the disc: $((SECONDS - disc_start)) s; whole run: $SECONDS s"
exit "$status"
