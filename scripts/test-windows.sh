#!/usr/bin/env bash
# The Windows stage: builds the DLL and its suites, runs them under Wine (the
# export/import check of the DLL among them), then renders the same scenario
# with the Linux module and with the DLL and compares the samples.
#   scripts/test-windows.sh [BUILD_DIR] [LINUX_BUILD_DIR]   (defaults build-windows, build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"
linux_build="${2:-build}"

t=$SECONDS
bash scripts/build-windows.sh "$build" -DTESSAPHON_WERROR=ON
echo "--- Windows build: $((SECONDS - t)) s"
prefix="$(cd "$build" && pwd)/wineprefix"
# The prefix is about 700 MB: made fresh for each run, never kept.
trap 'bash cmake/wine.sh remove "$prefix"' EXIT

# No test opens a window yet; once the editor's window tests exist, run ctest
# under `xvfb-run -a` so that Wine has an X server.
t=$SECONDS
ctest --test-dir "$build" --output-on-failure -j2
echo "--- tests under Wine (with a fresh prefix): $((SECONDS - t)) s"

# The Linux side of the comparison: the module and the renderer, nothing else.
t=$SECONDS
bash scripts/install-deps.sh linux
cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$linux_build" -j2 --target Tessaphon render_scenario
bash tests/sameness/compare_platforms.sh "$linux_build" "$build"
echo "--- Linux against Windows samples: $((SECONDS - t)) s"
