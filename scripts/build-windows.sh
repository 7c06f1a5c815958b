#!/usr/bin/env bash
# Cross-builds the module for the real host (32-bit Windows) into
# build-win/Z480_Instr.gau, with the substitute host build-win/z480-panel.exe,
# and checks the PE file: the descriptors and the start and stop routines
# exported under their plain names, nothing imported but system DLLs (the C++
# runtime is linked in), every sound and every bitmap the native build drew a
# resource; then, under Wine, loads it and runs the gauge scripts against it.
# The native build (build/) must be built first: its bitmaps are the module's.
set -euo pipefail
cd "$(dirname "$0")/.."
native="$PWD/build"
if [ ! -f build-win/CMakeCache.txt ]; then
  scripts/configure.sh build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DZ480_NATIVE_BUILD="$native"
fi
cmake -S . -B build-win -DZ480_NATIVE_BUILD="$native" >/dev/null
cmake --build build-win
module=build-win/Z480_Instr.gau
dump=$(i686-w64-mingw32-objdump -p "$module")
grep -q "file format pei-i386" <<<"$dump" || { echo "$module: not a 32-bit PE file" >&2; exit 1; }
# The export table: its name lines read "[ordinal] name".
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
          sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] //p' | sort)
expected=$(printf '%s\n' ImportTable Linkage module_deinit module_init)
if [ "$exports" != "$expected" ]; then
  echo "$module exports:"$'\n'"$exports"$'\n'"expected:"$'\n'"$expected" >&2
  exit 1
fi
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort)
allowed="^(kernel32|user32|gdi32|dsound|gdiplus|msvcrt|advapi32|ole32|winmm)\.dll$"
unexpected=$(grep -Ev "$allowed" <<<"$imports" || true)
if [ -n "$unexpected" ]; then
  echo "$module depends on non-system DLLs: $unexpected" >&2
  exit 1
fi
# Every sound and every drawn bitmap as a resource of its type (bitmaps by
# the platform's numbered type 2), and none missing from the drawn set.
resources=$(i686-w64-mingw32-windres -i "$module" -O rc | grep -E '^[0-9]+ ')
sounds=$(compgen -G "resources/sounds/*.wav" | wc -l)
bitmaps=$(grep -c '\.bmp$' "$native/generated/bitmaps.list")
counts=""
for kind in "WAVE:\"WAVE\":$sounds" "BITMAP:2:$bitmaps"; do
  IFS=: read -r name type files <<<"$kind"
  found=$(awk -v t="$type" '$2 == t' <<<"$resources" | wc -l)
  if [ "$files" = 0 ] || [ "$files" != "$found" ]; then
    echo "$module: $found $name resources for $files files" >&2
    exit 1
  fi
  counts+=" $found $name"
done
echo "$module: $(stat -c %s "$module") bytes; exports:" $exports"; imports:" $imports";$counts"

# The module loaded and the gauge scripts run under Wine, in a display of its
# own, when the machine has them (scripts/setup.sh installs them).
if command -v wine >/dev/null && command -v xvfb-run >/dev/null; then
  ctest --test-dir build-win --output-on-failure -j2
else
  echo "wine or xvfb-run missing: the module was not loaded" >&2
fi
