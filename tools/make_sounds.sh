#!/usr/bin/env bash
# Regenerates the module's WAVE resources in resources/sounds/ (file name =
# resource id). Needs espeak-ng and sox (scripts/setup.sh --assets). The
# output is repeatable: sox runs with -R (fixed dither seed).
#
#   10          Switch_Click: a toggle-switch click, 16-bit mono 22050 Hz, 1914 samples
#   20          a two-tone chime, 8-bit mono 22050 Hz, 10304 samples
#   1340..1470  radio altimeter callouts, 8-bit mono 11025 Hz, spoken by espeak-ng
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in espeak-ng sox soxi awk; do
  command -v "$tool" >/dev/null || { echo "make_sounds: $tool is missing (scripts/setup.sh --assets)" >&2; exit 1; }
done
out=resources/sounds
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox=(sox -R -V1)

# The click: a 4 ms broadband snap as the lever passes centre, the case
# ringing at 3.1 and 5.6 kHz for a few milliseconds, a faint low thump, and
# the softer bounce of the contacts 31 ms later. The rest of the buffer is
# silence so that it holds exactly 1914 samples (3828 bytes).
click() {
  local r=(-r 22050 -c 1 -b 16)
  "${sox[@]}" "${r[@]}" -n "$work/snap.wav" synth 0.004 whitenoise gain -6 highpass 1200 fade l 0 0.004 0.0039
  "${sox[@]}" "${r[@]}" -n "$work/ring.wav" synth 0.018 sine 3150 sine 5600 remix - gain -6 fade l 0 0.018 0.0175
  "${sox[@]}" "${r[@]}" -n "$work/thump.wav" synth 0.012 sine 230 fade q 0.001 0.012 0.011
  "${sox[@]}" "${r[@]}" -n "$work/bounce.wav" synth 0.003 whitenoise gain -6 highpass 2000 fade l 0 0.003 0.0029 pad 0.031
  "${sox[@]}" -m -v 1.0 "$work/snap.wav" -v 0.5 "$work/ring.wav" -v 0.15 "$work/thump.wav" \
    -v 0.35 "$work/bounce.wav" -b 16 "$out/10.wav" pad 0 0.1 trim 0 1914s gain -n -3
}

# A soft two-tone chime (C6 and G6) dying away over the 10304 samples.
chime() {
  "${sox[@]}" -r 22050 -c 1 -n -b 16 "$work/chime.wav" synth 0.5 sine 1046.5 sine 1568 remix - \
    fade l 0.003 0.5 0.46 gain -n -3
  "${sox[@]}" "$work/chime.wav" -b 8 "$out/20.wav" trim 0 10304s
}

# One callout: espeak-ng's voice, trimmed of its silences, band-limited like
# a cockpit speaker, compressed, sped up only when it would not fit, then set
# 20 ms into a buffer of exactly `samples` samples at 11025 Hz.
callout() {
  local id=$1 samples=$2 text=$3
  espeak-ng -v en-us+m3 -s 190 -p 35 -w "$work/raw.wav" "$text"
  "${sox[@]}" "$work/raw.wav" "$work/trim.wav" silence 1 0.005 0.5% reverse silence 1 0.005 0.5% reverse
  local natural tempo=()
  natural=$(soxi -D "$work/trim.wav")
  local speed
  speed=$(awk -v n="$natural" -v s="$samples" 'BEGIN { room = s / 11025 - 0.05; if (n > room) printf "%.4f", n / room; }')
  [ -n "$speed" ] && tempo=(tempo -s "$speed")
  "${sox[@]}" "$work/trim.wav" -r 11025 -b 8 "$out/$id.wav" highpass 250 lowpass 3600 "${tempo[@]}" \
    compand 0.005,0.12 -70,-70,-40,-22,-20,-10,0,-4 -3 -90 0 gain -n -1 \
    rate 11025 pad 0.02 1 trim 0 "${samples}s"
}

click
chime
callout 1340 11322 "two thousand five hundred"
callout 1350 8000 "one thousand"
callout 1360 8680 "five hundred"
callout 1370 7840 "four hundred"
callout 1380 7870 "three hundred"
callout 1400 7220 "two hundred"
callout 1410 8090 "one hundred"
callout 1420 4900 "fifty"
callout 1430 4850 "forty"
callout 1440 4400 "thirty"
callout 1450 5390 "twenty"
callout 1460 3273 "ten"
callout 1470 6095 "minimums"

for f in "$out"/*.wav; do
  printf '%-6s %s\n' "$(basename "$f" .wav)" "$(soxi "$f" | awk -F': ' '/Sample Rate|Precision|Duration/ { printf "%s  ", $2 }')"
done
