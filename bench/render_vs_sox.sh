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

# "wall cpu" seconds of one run of the command (cpu: user + system, all threads).
timed() {
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time"
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else print (v[m] + v[m + 1]) / 2 }'
}

ours=(
  "$tool" --set "Base Freq=200" --set "Isochronic#1=4" --set "Isochronic#2=On" --set Round=0
  --set Mix=100 --set "Fade=1" --seconds "$seconds" --rate 48000 --bits float -q -o "$work/tessaphon.wav")
theirs=(sox -n -r 48000 -c 2 -e floating-point -b 32 "$work/sox.wav" synth "$seconds" sine 200 synth square amod 4)

echo "Rendering $seconds s of a 200 Hz carrier gated at 4 Hz (stereo, 48 kHz, float WAV), $runs runs each"
ours_wall=() ours_cpu=() theirs_wall=() theirs_cpu=()
for ((i = 1; i <= runs; i++)); do
  read -r w c < <(timed "${ours[@]}"); ours_wall+=("$w"); ours_cpu+=("$c")
  read -r w c < <(timed "${theirs[@]}"); theirs_wall+=("$w"); theirs_cpu+=("$c")
done
ow=$(printf '%s\n' "${ours_wall[@]}" | median)
oc=$(printf '%s\n' "${ours_cpu[@]}" | median)
tw=$(printf '%s\n' "${theirs_wall[@]}" | median)
tc=$(printf '%s\n' "${theirs_cpu[@]}" | median)
rtf() { echo "$seconds / $1" | bc -l; }

echo "median wall-clock seconds (real-time factor), then median CPU seconds of all threads (factor):"
printf 'tessaphon-render: %.3f s (%.0fx)   cpu %.2f s (%.0fx)   runs: %s\n' "$ow" "$(rtf "$ow")" "$oc" "$(rtf "$oc")" \
  "${ours_wall[*]}"
printf 'sox:              %.3f s (%.0fx)   cpu %.2f s (%.0fx)   runs: %s\n' "$tw" "$(rtf "$tw")" "$tc" "$(rtf "$tc")" \
  "${theirs_wall[*]}"
printf 'tessaphon-render is %.2fx as fast as sox (wall clock), %.2fx by CPU time\n' \
  "$(echo "$tw / $ow" | bc -l)" "$(echo "$tc / $oc" | bc -l)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores (a busy machine slows both)"
ls -l "$work"/*.wav | awk '{ print "  " $5 " bytes  " $NF }'
