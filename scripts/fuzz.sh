#!/usr/bin/env bash
# Builds the fuzz targets with clang (optimised, with the address and
# undefined-behaviour sanitizers) and runs each for a while.
#   scripts/fuzz.sh [SECONDS] [CORPUS_DIR]
# SECONDS per target, 10 by default. Each target starts from its seeds
# (fuzz/seeds/NAME; the script fuzzer also from the test scripts). New finds
# go to a scratch corpus, or to CORPUS_DIR/NAME when given, so that a long
# run can be resumed. Exits non-zero on the first target that finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-10}
keep=${2:+$(realpath -m "$2")}
scripts/configure.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZ480_SANITIZE=ON -DZ480_FUZZ=ON -DZ480_BENCH=OFF
cmake --build build-fuzz --target fuzz_all
# The longest input each target tries: room for a panel's 64 steps, for the
# longest test script.
declare -A max_len=([panel_fuzz]=1024 [script_fuzz]=8192 [params_fuzz]=512
                    [registration_fuzz]=256 [wave_fuzz]=4096)
for target in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  echo "fuzz: $name for ${seconds}s"
  if [ -n "$keep" ]; then
    corpus="$keep/$name"
    mkdir -p "$corpus"
  else
    corpus=$(mktemp -d)
  fi
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
  [ "$name" = script_fuzz ] && seeds+=("$root/tests/scripts" "$root/tests/probe_scripts")
  # Each runs in a scratch directory: the files its inputs write (the
  # script fuzzer's snapshots and renderings) land there. Inputs may be long
  # from the start (-len_control=0): a panel needs dozens of bytes before it
  # does anything worth finding.
  work=$(mktemp -d)
  status=0
  (cd "$work" && "$root/$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" \
    -max_len="${max_len[$name]:-4096}" -len_control=0 -print_final_stats=1 \
    -artifact_prefix="${keep:-$corpus}/$name-") >"$corpus.log" 2>&1 || status=$?
  rm -rf "$work"
  grep -E '^#[0-9]+[[:space:]]+DONE' "$corpus.log" || true
  echo "corpus: $(ls "$corpus" | wc -l) inputs"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$corpus.log"
    exit "$status"
  fi
  if [ -z "$keep" ]; then rm -rf "$corpus" "$corpus.log"; fi
done
