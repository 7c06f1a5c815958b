#!/usr/bin/env bash
# Regenerates the module's WAVE resources in resources/sounds/ (file name =
# resource id). Needs flite and sox (scripts/setup.sh --assets). The output
# is repeatable: flite's voices are deterministic and sox runs with -R (fixed
# dither seed).
#
#   10          Switch_Click: a toggle-switch click, 16-bit mono 22050 Hz, 1914 samples
#   20          a two-tone chime, 8-bit mono 22050 Hz, 10304 samples
#   1340..1470  radio altimeter callouts, 8-bit mono 11025 Hz, spoken by flite
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in flite sox soxi awk; do
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

# A phrase in flite's "slt" voice (US English, the clearest of Debian's
# voices through the speaker below), its silences trimmed. A stretch below 1
# has the voice itself speak faster, which keeps the words far better than
# speeding up the recording.
speak() {
  local text=$1 stretch=$2
  flite -voice slt --setf duration_stretch="$stretch" -t "$text" -o "$work/raw.wav"
  "${sox[@]}" "$work/raw.wav" "$work/speech.wav" silence 1 0.005 0.5% reverse silence 1 0.005 0.5% reverse
}

# One callout: spoken only as fast as its buffer requires (after a 20 ms lead
# and 10 ms of tail), then band-limited like a cockpit speaker with a lift
# around 2.5 kHz where the consonants are, compressed, and set into a buffer
# of exactly `samples` samples at 11025 Hz. Pauses do not shrink in
# proportion, so the pace is measured again after each try.
callout() {
  local id=$1 samples=$2 text=$3
  local room stretch=1 length
  room=$(awk -v s="$samples" 'BEGIN { printf "%.6f", s / 11025 - 0.03 }')
  for _ in 1 2 3 4 5; do
    speak "$text" "$stretch"
    length=$(soxi -D "$work/speech.wav")
    awk -v n="$length" -v r="$room" 'BEGIN { exit !(n <= r) }' && break
    stretch=$(awk -v n="$length" -v r="$room" -v s="$stretch" 'BEGIN { printf "%.4f", s * r / n * 0.995 }')
  done
  awk -v n="$length" -v r="$room" 'BEGIN { exit !(n <= r) }' ||
    { echo "make_sounds: \"$text\" does not fit $samples samples" >&2; exit 1; }
  printf '%-6s %-22s speech %.3f s of %.3f s, pace %s\n' "$id" "\"$text\"" "$length" "$room" "$stretch"
  "${sox[@]}" "$work/speech.wav" -r 11025 -b 8 "$out/$id.wav" highpass 250 lowpass 3600 equalizer 2500 1q 4 \
    compand 0.005,0.12 -70,-70,-40,-22,-20,-10,0,-4 -3 -90 0 gain -n -1 \
    rate 11025 pad 0.02 1 trim 0 "${samples}s"
}

click
chime

# The callouts as many cockpits speak them: 2500 ft as "twenty five hundred"
# (which also fits its 1.03 s), the decision height as "minimum" (the plural
# must be spoken a fifth faster to fit its 0.55 s and is then misheard).
callout 1340 11322 "twenty five hundred"
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
callout 1470 6095 "minimum"

for f in "$out"/*.wav; do
  printf '%-6s %s\n' "$(basename "$f" .wav)" "$(soxi "$f" | awk -F': ' '/Sample Rate|Precision|Duration/ { printf "%s  ", $2 }')"
done
