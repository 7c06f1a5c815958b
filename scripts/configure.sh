#!/usr/bin/env bash
# Configures a build directory with Ninja, compiling through ccache when it is
# installed; paths are taken relative to the checkout, so every clone of the
# sources on this machine shares the compiled objects (the build directory
# left out of the hash: debug information names it, which costs little).
#   scripts/configure.sh DIR [CMAKE_ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
launcher=()
command -v ccache >/dev/null && launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$PWD;CCACHE_NOHASHDIR=1;ccache")
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
