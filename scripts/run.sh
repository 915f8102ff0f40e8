#!/usr/bin/env bash
# Builds everything and starts the menu on the sample disc, the way it runs on
# a real machine: from its program folder C:\QUORVIA on the hard disk, with the
# disc in drive D:. Both drives are folders of the build tree (build/sample/C
# and build/sample/D), so the copies the menu makes stay inside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
sample=$PWD/build/sample
export QUORVIA_DRIVES="C=$sample/C;D=$sample/D"
exec "$sample/C/QUORVIA/quorvia"
