#!/usr/bin/env bash
# Sets up, builds and runs every test: the native build, the Debian package
# installed into a throw-away root, the sanitizer builds,
# a bounded run of every fuzz target and the Windows cross build under Wine.
# Installs missing Debian packages.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
stage() {
  local t=$SECONDS
  echo "=== $1"
  shift
  "$@"
  echo "=== done in $((SECONDS - t)) s"
}
stage "Linux build and tests" bash scripts/test-linux.sh build
stage "Debian package installed and run from a clean root" bash scripts/test-package.sh build
stage "ASan+UBSan build and tests" bash scripts/test-sanitizers.sh asan
stage "TSan build and tests" bash scripts/test-sanitizers.sh tsan
stage "Fuzz targets, 28 s each" bash scripts/test-fuzz.sh 28
stage "Windows DLL build and tests under Wine" bash scripts/test-windows.sh build-windows build
echo "All test stages passed in $((SECONDS - start)) s"
