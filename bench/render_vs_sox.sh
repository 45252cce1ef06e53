#!/usr/bin/env bash
# Speed of tessaphon-render against sox for the same job: 10 minutes of a
# 200 Hz carrier gated at 4 Hz, stereo, 48 kHz, 32-bit float WAV. Each is run
# several times; the medians give the real-time factors and their ratio.
# Not part of the test command (it needs sox: apt-get install sox).
#   bench/render_vs_sox.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-5}"
tool="$build/tools/tessaphon-render"
seconds=600
[ -x "$tool" ] || { echo "no $tool: build first (cmake --build $build)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed: apt-get install sox" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Wall-clock seconds of one run of the command.
timed() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else print (v[m] + v[m + 1]) / 2 }'
}

ours=(
  "$tool" --set "Base Freq=200" --set "Isochronic#1=4" --set "Isochronic#2=On" --set Round=0
  --set Mix=100 --set "Fade=1" --seconds "$seconds" --rate 48000 --bits float -q -o "$work/tessaphon.wav")
theirs=(sox -n -r 48000 -c 2 -e floating-point -b 32 "$work/sox.wav" synth "$seconds" sine 200 synth square amod 4)

echo "Rendering $seconds s of a 200 Hz carrier gated at 4 Hz (stereo, 48 kHz, float WAV), $runs runs each"
ours_times=()
theirs_times=()
for ((i = 1; i <= runs; i++)); do
  ours_times+=("$(timed "${ours[@]}")")
  theirs_times+=("$(timed "${theirs[@]}")")
done
ours_median=$(printf '%s\n' "${ours_times[@]}" | median)
theirs_median=$(printf '%s\n' "${theirs_times[@]}" | median)

printf 'tessaphon-render: median %.3f s  (%.0fx real time)  runs: %s\n' "$ours_median" \
  "$(echo "$seconds / $ours_median" | bc -l)" "$(printf '%.3f ' "${ours_times[@]}")"
printf 'sox:              median %.3f s  (%.0fx real time)  runs: %s\n' "$theirs_median" \
  "$(echo "$seconds / $theirs_median" | bc -l)" "$(printf '%.3f ' "${theirs_times[@]}")"
printf 'tessaphon-render is %.2fx as fast as sox\n' "$(echo "$theirs_median / $ours_median" | bc -l)"
ls -l "$work"/*.wav | awk '{ print "  " $5 " bytes  " $NF }'
