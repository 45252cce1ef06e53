#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs each for a bounded
# time, starting from its committed seed corpus. Fails on any crash, sanitizer
# report, leak, time-out or non-finite output sample (the targets abort on
# those), and prints the executions each target reached.
#   scripts/test-fuzz.sh [SECONDS_PER_TARGET]     (default 28: about 200 s in all)
# Long runs: scripts/fuzz-campaign.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-28}"
bash scripts/install-deps.sh linux
bash scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=(chunk text events host_sequence editor preset schedule)
work=build-fuzz/fuzz-run
rm -rf "$work"
mkdir -p "$work/artifacts"
summary=()
status=0
for t in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds are only read.
  mkdir -p "$work/corpus/$t"
  log="$work/$t.log"
  echo "--- $t: ${seconds} s"
  # fontconfig (the panel's text) keeps allocations it never frees: not ours.
  if ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
     LSAN_OPTIONS="suppressions=$PWD/tests/unit/raster_lsan.supp" \
     "build-fuzz/tests/fuzz/${t}_fuzzer" "$work/corpus/$t" "tests/fuzz/corpus/$t" \
       -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$work/artifacts/$t-" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary+=("$t: ${runs:-?} executions in ${seconds} s ($((${runs:-0} / seconds)) per second), no finding")
  else
    status=1
    summary+=("$t: FAILED (see $log)")
    tail -n 40 "$log"
  fi
done
echo "Fuzzing summary:"
printf '  %s\n' "${summary[@]}"
exit $status
