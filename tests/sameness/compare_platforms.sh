#!/usr/bin/env bash
# Renders the sameness scenario with the Linux module and with the Windows DLL
# under Wine, and compares the two within 1e-12.
#   compare_platforms.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
linux_build="$(cd "$1" && pwd)"
windows_build="$(cd "$2" && pwd)"
out="$windows_build/sameness"
mkdir -p "$out"

"$linux_build/tests/sameness/render_scenario" render "$linux_build/vst2/Tessaphon.so" "$out/linux.f64" >/dev/null
# The renderer and the DLL run under Wine in the Windows build's own prefix.
"$here/../../cmake/wine.sh" run "$windows_build/wineprefix" \
  "$windows_build/tests/sameness/render_scenario.exe" render \
  "$windows_build/vst2/Tessaphon.dll" "$out/windows.f64" >/dev/null
"$linux_build/tests/sameness/render_scenario" compare "$out/linux.f64" "$out/windows.f64" 1e-12
