#!/usr/bin/env bash
# Builds every fuzz target with clang (the libraries instrumented too) and
# runs each for a short while on a copy of its seed corpus, so that none
# rots. Usage: scripts/fuzz.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
targets=(tps_fuzz csv_fuzz zip_fuzz autoupdate_fuzz)
cmake --build build-fuzz -j"${FUZZ_JOBS:-4}" --target "${targets[@]}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in "${targets[@]}"; do
  corpus="$work/${target%_fuzz}"
  cp -r "tests/fuzz/${target%_fuzz}_corpus" "$corpus"
  echo "fuzz: $target for ${seconds}s"
  (cd "$work" && "$OLDPWD/build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" \
     >"$work/$target.log" 2>&1) || { tail -40 "$work/$target.log"; exit 1; }
  grep -E "^Done|stat::number_of_executed_units" "$work/$target.log" || true
done
