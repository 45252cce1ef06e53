#!/usr/bin/env bash
# Builds the native Linux plug-in and runs every suite against it.
#   scripts/test-linux.sh [BUILD_DIR] [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
bash scripts/install-deps.sh linux
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
