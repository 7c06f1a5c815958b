#!/usr/bin/env bash
# Builds the module and the panel host, then serves the live panel to a
# browser at http://localhost:8480/ (arguments go to `z480-panel serve`).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target z480-panel Z480_Instr
exec build/z480-panel serve "$@"
