#!/usr/bin/env bash
# Makes the release packages from the install rules:
#   scripts/package.sh [--no-windows] [BUILD_DIR] [WINDOWS_BUILD_DIR]
# BUILD_DIR (default build-package, configured without tests and benchmarks
# when new) gives the Debian package and the .tar.gz; WINDOWS_BUILD_DIR
# (default build-windows, built by scripts/build-windows.sh) the Windows .zip.
# All three land in packages/, each with a .sha256 beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
windows=1
if [ "${1:-}" = "--no-windows" ]; then
  windows=0
  shift
fi
build="${1:-build-package}"
windows_build="${2:-build-windows}"
out=packages

bash scripts/install-deps.sh linux
bash scripts/install-deps.sh package
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSAPHON_TESTS=OFF -DTESSAPHON_BENCH=OFF "${launcher[@]}" >/dev/null
else
  cmake "$build" >/dev/null # picks up new documents and the version
fi
cmake --build "$build"
mkdir -p "$out"
(cd "$build" && cpack -G "DEB;TGZ" >/dev/null)
cp "$build"/packages/*.deb* "$build"/packages/*.tar.gz* "$out"/

if [ "$windows" = 1 ]; then
  bash scripts/build-windows.sh "$windows_build"
  (cd "$windows_build" && cpack -G ZIP >/dev/null)
  cp "$windows_build"/packages/*.zip* "$out"/
fi
echo "Packages in $(pwd)/$out:"
ls -1 "$out"
