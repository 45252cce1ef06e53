#!/usr/bin/env bash
# Cost of a schedule: 30 minutes of the default program rendered with a
# schedule that ramps the pulse rate (14 -> 4 Hz) and the carrier (200 ->
# 150 Hz) over 25 minutes, against the same render held at 14 Hz. The two
# runs alternate in one session so both see the same machine load; the
# medians of wall-clock and CPU time are compared. Output goes to /dev/null
# as 32-bit float WAV, so encoding costs little.
#   bench/schedule_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-5}"
tool="$build/tools/tessaphon-render"
[ -x "$tool" ] || { echo "no $tool: build first (cmake --build $build)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat > "$work/ramp.toml" <<'TOML'
length = "30m"
[start]
Isochronic = 14
[[step]]
at = "2m"
over = "25m"
Isochronic = 4
"Base Freq" = 150
TOML
cat > "$work/hold.toml" <<'TOML'
length = "30m"
[start]
Isochronic = 14
TOML

# "wall cpu" seconds of one run (cpu: user + system, all threads).
timed() {
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time"
}
median() {
  sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else print (v[m] + v[m + 1]) / 2 }'
}

: > "$work/ramp"
: > "$work/hold"
for ((i = 0; i < runs; i++)); do
  for kind in hold ramp; do
    timed "$tool" -q --schedule "$work/$kind.toml" --bits float -o - >> "$work/$kind"
  done
done
for kind in hold ramp; do
  wall=$(cut -d' ' -f1 "$work/$kind" | median)
  cpu=$(cut -d' ' -f2 "$work/$kind" | median)
  printf '%-5s 30 min: median %6.2f s wall, %6.2f s CPU, %5.0fx real time (%d runs)\n' \
    "$kind" "$wall" "$cpu" "$(awk -v w="$wall" 'BEGIN { print 1800 / w }')" "$runs"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
