#!/usr/bin/env bash
# Every radio-altimeter callout must be heard as its own words. An offline
# speech recognizer (pocketsphinx, US English), allowed to choose only among
# the callout phrases, listens to each callout as the speaker plays it: once
# with a moment of silence around it, once over a faint cockpit hiss. A
# callout heard as another height, or as nothing, fails.
#
#   tests/callouts_heard.sh SOUND_DIR
set -euo pipefail
sounds=${1:?usage: callouts_heard.sh SOUND_DIR}
for tool in pocketsphinx_continuous sox soxi; do
  command -v "$tool" >/dev/null || { echo "callouts_heard: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done

# The words each callout must carry, by WAVE id.
ids=(1340 1350 1360 1370 1380 1400 1410 1420 1430 1440 1450 1460 1470)
declare -A words=(
  [1340]="twenty five hundred" [1350]="one thousand" [1360]="five hundred"
  [1370]="four hundred" [1380]="three hundred" [1400]="two hundred"
  [1410]="one hundred" [1420]="fifty" [1430]="forty" [1440]="thirty"
  [1450]="twenty" [1460]="ten" [1470]="minimum")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The phrases to choose from, and nothing at all: noise or mumble is then not
# forced onto the nearest phrase.
{
  echo '#JSGF V1.0;'
  echo 'grammar callouts;'
  printf 'public <callout> = <NULL>'
  for id in "${ids[@]}"; do printf ' | %s' "${words[$id]}"; done
  echo ';'
} >"$work/callouts.gram"

# What the recognizer makes of one callout, 0.3 s of silence on either side,
# over pink noise peaking at HISS dB when given (sox -R: a fixed noise seed).
heard() {
  local file=$1 hiss=${2:-}
  sox -R -V1 "$file" -r 16000 -b 16 -c 1 "$work/heard.wav" pad 0.3 0.3
  if [ -n "$hiss" ]; then
    sox -R -V1 -r 16000 -c 1 -b 16 -n "$work/hiss.wav" synth "$(soxi -s "$work/heard.wav")s" pinknoise gain -n "$hiss"
    sox -R -V1 -m "$work/heard.wav" "$work/hiss.wav" "$work/mixed.wav"
    mv "$work/mixed.wav" "$work/heard.wav"
  fi
  pocketsphinx_continuous -infile "$work/heard.wav" -jsgf "$work/callouts.gram" -logfn /dev/null |
    tr -s ' \n' '  ' | sed 's/^ //; s/ $//'
}

failed=0
for id in "${ids[@]}"; do
  for hiss in "" -40; do
    got=$(heard "$sounds/$id.wav" "$hiss")
    if [ "$got" = "${words[$id]}" ]; then
      printf 'ok    %s "%s"%s\n' "$id" "$got" "${hiss:+ over hiss}"
    else
      printf 'FAIL  %s should say "%s", heard "%s"%s\n' "$id" "${words[$id]}" "$got" "${hiss:+ over hiss}"
      failed=$((failed + 1))
    fi
  done
done
echo "$failed of $((${#ids[@]} * 2)) hearings failed"
[ "$failed" -eq 0 ]
