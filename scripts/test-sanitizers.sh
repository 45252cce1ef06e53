#!/usr/bin/env bash
# Runs the unit and plug-in suites in an ASan+UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh linux
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
