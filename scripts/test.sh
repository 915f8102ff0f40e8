#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
status=0
(cd build && ctest --output-on-failure -j"$(nproc)") || status=$?
# The toolkit-free code cross-built for Windows, its doctest programs run under Wine.
scripts/wine-tests.sh || status=1
exit "$status"
