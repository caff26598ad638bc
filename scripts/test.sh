#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
# Every fuzz target builds and runs for a short while when clang is there.
bash scripts/fuzz.sh 20
export QT_QPA_PLATFORM=offscreen
ctest --preset default
