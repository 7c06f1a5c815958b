#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each briefly (seconds each, 10
# by default).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DZ480_SANITIZE=ON -DZ480_FUZZ=ON -DZ480_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_all
for target in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  echo "fuzz: $name for ${seconds}s"
  # Seed inputs from fuzz/seeds/NAME when present; new finds go to a
  # scratch corpus, never into the tree.
  corpus=$(mktemp -d)
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  "$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -max_len=4096 \
    -print_final_stats=0 2>&1 | tail -n 2
  rm -rf "$corpus"
done
