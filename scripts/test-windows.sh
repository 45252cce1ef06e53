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

# The editor's window tests need an X server for Wine: a private Xvfb on a
# display number it picks itself, so parallel stages never share one. Wine
# starts under it, so it lives from before the first test to the end.
xvfb_pid=""
start_xvfb() {
  local numbers
  numbers="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numbers" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$numbers" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  local display
  display="$(head -n 1 "$numbers")"
  rm -f "$numbers"
  if [ -z "$display" ]; then
    echo "Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$display"
}

# On every exit, failures included: Wine first (its processes hold the X
# server), then the X server. The prefix is about 700 MB: made fresh for each
# run, never kept.
stop_wine_and_xvfb() {
  bash cmake/wine.sh remove "$prefix" || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop_wine_and_xvfb EXIT
start_xvfb

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
