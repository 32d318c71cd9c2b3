#!/usr/bin/env bash
# The whole program: `kestrune render` of a 10-minute stereo 44.1 kHz file with a cue sheet, beside
# sox making one pass over the same file. Prints both wall times, their ratio and the real-time
# factor of the render. Usage: render_vs_sox.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seconds=600

sox -n -r 44100 -c 2 -b 32 -e floating-point "$work/in.wav" synth "$seconds" sine 220 sine 330 vol 0.5
cat > "$work/cues.txt" <<'CUES'
0    loop-length 4
0    record
4    record
20   reverse
40   half-speed
60   half-speed
80   double
120  record
124  record
300  add-reverse
450  clear
CUES

# The best of three runs of each, so one disturbance on a shared machine does not decide.
best_of_three() {
  local best=""
  for _ in 1 2 3; do
    local start end elapsed
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    elapsed=$(echo "$end - $start" | bc -l)
    if [[ -z "$best" ]] || (($(echo "$elapsed < $best" | bc -l))); then best=$elapsed; fi
  done
  echo "$best"
}

render=$(best_of_three "$build/kestrune" render -i "$work/in.wav" -o "$work/out.wav" \
  --cue "$work/cues.txt" --quiet)
sox_pass=$(best_of_three sox "$work/in.wav" -e floating-point "$work/sox.wav" vol 1)
ratio=$(echo "$render / $sox_pass" | bc -l)
realtime=$(echo "$seconds / $render" | bc -l)
printf '| %-42s | %10.3f | %10.3f | %6.2f | %5.1f | %-3s |\n' \
  "render/10-min-stereo (s, wall)" "$render" "$sox_pass" "$ratio" 1.0 \
  "$( (($(echo "$ratio <= 1.0" | bc -l))) && echo yes || echo NO)"
printf 'real-time factor of the render: %.0f x\n' "$realtime"
