#!/usr/bin/env bash
# Checks that every C++ source in the repository is laid out as .clang-format says.
#   scripts/check-format.sh          report the files that differ; fail if any does
#   scripts/check-format.sh --fix    reformat them in place
# clang-format 14 (Debian 12's) is the reference: other versions lay some lines out differently.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh format
formatter=clang-format-14
command -v "$formatter" >/dev/null || formatter=clang-format

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi

unformatted=()
for f in "${files[@]}"; do
  "$formatter" --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format says (fix with: bash scripts/check-format.sh --fix):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "Format check: ${#files[@]} files match .clang-format"
