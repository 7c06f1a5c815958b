#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, gauge scripts, the
# module built for the real host and checked.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
# The module for the real host: 32-bit Windows, its records held to the
# host's layout at compile time, its exports, imports and resources checked.
scripts/build-windows.sh
# Tests write only into the build directory: the source tree stays as it was.
tree() { git status --porcelain --untracked-files=all 2>/dev/null || true; }
before=$(tree)
ctest --test-dir build --output-on-failure -j2
if [ "$(tree)" != "$before" ]; then
  echo "the tests changed the source tree:" >&2
  diff <(echo "$before") <(tree) >&2 || true
  exit 1
fi
