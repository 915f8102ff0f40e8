#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
status=0
(cd build && ctest --output-on-failure -j"$(nproc)") || status=$?
# The Windows implementation of the platform layer, cross-built and run under Wine.
scripts/wine-tests.sh || status=1
exit "$status"
