#!/usr/bin/env bash
# Cross-builds the module for the real host (32-bit Windows) into
# build-win/Z480_Instr.gau and checks the PE file: the descriptors and the
# start and stop routines exported under their plain names, nothing imported
# but system DLLs (the C++ runtime is linked in), every sound and bitmap a
# resource; then loads it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# Bitmaps the native build drew, when it draws them, else those in the sources.
bitmaps="$PWD/build/generated/bitmaps"
[ -d "$bitmaps" ] || bitmaps="$PWD/resources/bitmaps"
if [ ! -f build-win/CMakeCache.txt ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
fi
cmake -S . -B build-win -DZ480_BITMAP_DIR="$bitmaps" >/dev/null
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
# Every sound and bitmap file as a resource of its type (bitmaps by the
# platform's numbered type 2).
resources=$(i686-w64-mingw32-windres -i "$module" -O rc | grep -E '^[0-9]+ ')
for kind in "WAVE:\"WAVE\":resources/sounds/*.wav" "BITMAP:2:$bitmaps/*.bmp"; do
  IFS=: read -r name type pattern <<<"$kind"
  files=$({ compgen -G "$pattern" || true; } | wc -l)
  found=$(awk -v t="$type" '$2 == t' <<<"$resources" | wc -l)
  if [ "$files" != "$found" ]; then
    echo "$module: $found $name resources for $files files" >&2
    exit 1
  fi
done
echo "$module: $(stat -c %s "$module") bytes; exports:" $exports"; imports:" $imports

# The module loaded and the Windows platform layer driven under Wine, in a
# display of its own, when the machine has them (scripts/setup.sh installs
# them).
if command -v wine >/dev/null && command -v xvfb-run >/dev/null; then
  cmake --build build-win --target module_check
  # A home of its own whose sound configuration gives Wine's DirectSound a
  # silent default device, so buffers are made and played on any machine.
  mkdir -p build-win/home
  printf 'pcm.!default { type null }\n' >build-win/home/.asoundrc
  HOME="$PWD/build-win/home" WINEPREFIX="$PWD/build-win/wine" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 xvfb-run -a \
    wine build-win/module_check.exe "$module" 2> >(grep -v '^ALSA\|^X connection' >&2)
else
  echo "wine or xvfb-run missing: the module was not loaded" >&2
fi
