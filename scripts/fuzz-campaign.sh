#!/usr/bin/env bash
# A long fuzzing campaign over every libFuzzer target (clang, ASan+UBSan).
#   scripts/fuzz-campaign.sh HOURS [FOLDER]
# HOURS (a decimal number) is the campaign's whole length. The targets run side
# by side, one job per core (nproc, or FUZZ_JOBS), each in a share of the time
# given to it; every target runs from its committed seeds and the corpus of
# earlier campaigns in FOLDER (default ../tessaphon-fuzz, outside the
# repository). Afterwards each target's corpus is merged and minimised into
# FOLDER/corpus/<target>, findings are kept in FOLDER/findings, and a summary
# of executions, coverage and corpus size per target goes to FOLDER/summary.txt.
# A seed worth keeping is copied into tests/fuzz/corpus/<target> by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ $# -ge 1 ]] || { echo "usage: $0 HOURS [FOLDER]" >&2; exit 2; }
hours="$1"
folder="$(realpath -m "${2:-../tessaphon-fuzz}")"
case "$folder/" in "$PWD"/*) echo "the campaign folder must lie outside the repository" >&2; exit 2 ;; esac

bash scripts/install-deps.sh linux
bash scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=(chunk text events host_sequence editor preset schedule)
jobs="${FUZZ_JOBS:-$(nproc)}"
total=$(awk -v h="$hours" 'BEGIN { printf "%d", h * 3600 }')
((total >= ${#targets[@]})) || { echo "HOURS is too short for ${#targets[@]} targets" >&2; exit 2; }
# Each target gets jobs/targets of the whole time on one core.
seconds=$((total * jobs / ${#targets[@]}))
((seconds > 0)) || seconds=1
run="$folder/run-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$run" "$folder/findings"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# fontconfig (the panel's text) keeps allocations it never frees: not ours.
export LSAN_OPTIONS="suppressions=$PWD/tests/unit/raster_lsan.supp"

fuzz_one() {
  local t=$1
  mkdir -p "$run/corpus/$t" "$folder/corpus/$t"
  "build-fuzz/tests/fuzz/${t}_fuzzer" "$run/corpus/$t" "$folder/corpus/$t" "tests/fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$folder/findings/$t-" >"$run/$t.log" 2>&1 && echo ok >"$run/$t.status" ||
    echo failed >"$run/$t.status"
}

echo "Campaign of $hours h: ${#targets[@]} targets, $jobs side by side, ${seconds} s each; logs in $run"
running=0
for t in "${targets[@]}"; do
  fuzz_one "$t" &
  running=$((running + 1))
  if ((running >= jobs)); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

# Merge the new inputs into the kept corpus, minimised (inputs that add no
# coverage dropped), then read off the coverage the kept corpus reaches.
summary="$folder/summary.txt"
{
  echo "Campaign $(date -u +%FT%TZ), $hours h, ${seconds} s per target, commit $(git rev-parse --short HEAD)"
  printf '%-14s %12s %10s %8s %8s %s\n' target executions exec/s cov files result
} >"$summary"
status=0
for t in "${targets[@]}"; do
  minimised="$run/minimised/$t"
  mkdir -p "$minimised"
  "build-fuzz/tests/fuzz/${t}_fuzzer" -merge=1 "$minimised" "$folder/corpus/$t" "$run/corpus/$t" \
    "tests/fuzz/corpus/$t" >"$run/$t.merge.log" 2>&1 || true
  if [[ -n "$(ls -A "$minimised")" ]]; then
    rm -rf "$folder/corpus/$t"
    mv "$minimised" "$folder/corpus/$t"
  fi
  coverage=$("build-fuzz/tests/fuzz/${t}_fuzzer" -runs=0 "$folder/corpus/$t" 2>&1 |
    sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' | tail -1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/$t.log" | tail -1)
  result=$(cat "$run/$t.status" 2>/dev/null || echo failed)
  [[ $result == ok ]] || status=1
  printf '%-14s %12s %10s %8s %8s %s\n' "$t" "${runs:-?}" "$((${runs:-0} / seconds))" "${coverage:-?}" \
    "$(ls "$folder/corpus/$t" | wc -l)" "$result" >>"$summary"
done
cat "$summary"
ls "$folder/findings" 2>/dev/null | sed 's/^/finding: /'
exit $status
