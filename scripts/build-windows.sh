#!/usr/bin/env bash
# Builds the 64-bit Windows DLL and its test suites with MinGW-w64:
#   scripts/build-windows.sh [BUILD_DIR] [extra cmake arguments]   (default build-windows)
# Installs what it needs, prepares the cross-built libpng, and leaves
# BUILD_DIR/vst2/Tessaphon.dll. Then `ctest --test-dir BUILD_DIR` runs the tests
# under Wine, in a throw-away prefix inside BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"
shift || true

deps_prefix="$(bash scripts/windows-deps.sh "$build" | tail -n 1)"
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSAPHON_WIN_DEPS="$deps_prefix" \
  -DTESSAPHON_BENCH=OFF -DTESSAPHON_TOOLS=OFF "$@" >/dev/null
cmake --build "$build" -j2
echo "Built $(cd "$build" && pwd)/vst2/Tessaphon.dll"
