#!/usr/bin/env bash
# Runs the unit and plug-in suites in a sanitizer build:
#   scripts/test-sanitizers.sh asan   AddressSanitizer and UndefinedBehaviorSanitizer (the default)
#   scripts/test-sanitizers.sh tsan   ThreadSanitizer: the concurrency test among them; any data race
#                                     or lock-order report fails the run
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-asan}"
case "$preset" in
  asan | tsan) ;;
  *) echo "usage: $0 asan|tsan" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh linux
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
