#!/usr/bin/env bash
# Checks the layout of the sources, builds the native Linux plug-in with warnings
# as errors and runs every suite against it.
#   scripts/test-linux.sh [BUILD_DIR] [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
bash scripts/install-deps.sh linux
bash scripts/check-format.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAPHON_WERROR=ON "$@" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
