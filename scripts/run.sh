#!/usr/bin/env bash
# Builds the module and the panel host, then flies the embedded default script.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target z480-panel Z480_Instr
build/z480-panel run "$@"
