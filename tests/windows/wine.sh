#!/usr/bin/env bash
# Runs a Windows program of the build under 32-bit Wine in a virtual display
# of its own: wine.sh BUILD_DIR PROGRAM.exe [ARG...]. The Wine prefix and a
# home lie in BUILD_DIR. The home's sound configuration gives Wine's
# DirectSound a default device on any machine: a sound card that plays into
# a file, 16-bit mono at 48 kHz, which the Windows host reads to hear what
# the module played (Z480_SOUND_RECORDING names it). A program that crashes
# ends at once, not in the debugger.
set -euo pipefail
build=$1
shift
mkdir -p "$build/home"
recording="$build/home/sound_card.raw"
rm -f "$recording"
cat >"$build/home/.asoundrc" <<EOF
pcm.!default {
  type plug
  slave { pcm "recorded" format S16_LE rate 48000 channels 1 }
}
pcm.recorded {
  type file
  slave.pcm "null"
  file "$recording"
  format "raw"
}
EOF
export HOME="$build/home" WINEPREFIX="$build/wine" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" \
  Z480_SOUND_RECORDING="$recording" Z480_SOUND_RECORDING_RATE=48000
# One prefix set up at a time; later runs find it ready. A bare prefix has
# no Courier New, the radar's font: a free monospaced font stands in.
flock "$build/home" xvfb-run -a bash -c '[ -f "$WINEPREFIX/system.reg" ] || {
  wineboot -i && wine reg add "HKCU\Software\Wine\Fonts\Replacements" /v "Courier New" \
    /t REG_SZ /d "DejaVu Sans Mono" /f && wineserver -w; }' >/dev/null 2>&1 || true
exec xvfb-run -a wine "$@" 2> >(grep -v '^ALSA\|^X connection' >&2)
