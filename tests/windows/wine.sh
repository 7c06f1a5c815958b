#!/usr/bin/env bash
# Runs a Windows program of the build under 32-bit Wine in a virtual display
# of its own: wine.sh BUILD_DIR PROGRAM.exe [ARG...]. The Wine prefix and a
# home lie in BUILD_DIR; the home's sound configuration gives Wine's
# DirectSound a silent default device, so sound buffers are made and played
# on any machine. A program that crashes ends at once, not in the debugger.
set -euo pipefail
build=$1
shift
mkdir -p "$build/home"
printf 'pcm.!default { type null }\n' >"$build/home/.asoundrc"
export HOME="$build/home" WINEPREFIX="$build/wine" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# One prefix set up at a time; later runs find it ready. A bare prefix has
# no Courier New, the radar's font: a free monospaced font stands in.
flock "$build/home" xvfb-run -a bash -c '[ -f "$WINEPREFIX/system.reg" ] || {
  wineboot -i && wine reg add "HKCU\Software\Wine\Fonts\Replacements" /v "Courier New" \
    /t REG_SZ /d "DejaVu Sans Mono" /f && wineserver -w; }' >/dev/null 2>&1 || true
exec xvfb-run -a wine "$@" 2> >(grep -v '^ALSA\|^X connection' >&2)
