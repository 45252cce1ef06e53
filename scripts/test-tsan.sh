#!/usr/bin/env bash
# Runs the unit and plug-in suites (the concurrency test among them) in a
# ThreadSanitizer build; any data race or lock-order report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh linux
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan
