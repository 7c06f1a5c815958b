#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, gauge scripts, the
# module built for the real host and checked.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
# The module for the real host: 32-bit Windows, its records held to the
# host's layout at compile time, its exports, imports and resources checked.
scripts/build-windows.sh
ctest --test-dir build --output-on-failure -j2
