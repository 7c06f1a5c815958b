#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, gauge scripts, the
# 32-bit layout check of the host records.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
# The records must match the real host's 32-bit layout, and the module's code
# must compile for the real host's 32-bit Windows target.
for source in frame/*.cpp gauges/*/*.cpp radar/*.cpp sound/*.cpp; do
  i686-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I. "$source"
done
ctest --test-dir build --output-on-failure -j2
