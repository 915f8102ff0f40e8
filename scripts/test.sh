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
echo "== Windows part: $((SECONDS - wine_start)) s; whole run: $SECONDS s"
exit "$status"
