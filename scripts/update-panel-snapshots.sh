#!/usr/bin/env bash
# Repaints the reference pictures of the editor panel in docs/ with
# tessaphon-snapshot. The panel pixel test compares against these files
# exactly, so run this after a deliberate change of the artwork or the panel's
# drawing, look at the new pictures, and commit them.
#
#   bash scripts/update-panel-snapshots.sh [build-dir]    (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target tessaphon-snapshot
"$build/tools/tessaphon-snapshot" --program 0 -o "$root/docs/panel-default.png"
"$build/tools/tessaphon-snapshot" --program 123 -o "$root/docs/panel-slot123.png"
echo "wrote docs/panel-default.png and docs/panel-slot123.png"
