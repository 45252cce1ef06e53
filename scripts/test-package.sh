#!/usr/bin/env bash
# Tests the Debian package as a user meets it: packs BUILD_DIR (default build,
# already built), unpacks the .deb into a throw-away root with dpkg -x, checks
# its paths, libraries, versions and manual pages, runs the installed
# tessaphon-render with no build tree in reach (its own folder, an empty
# home, no search paths), checks the guide against the installed tool, and
# runs lintian (errors fail; warnings are listed).
#   scripts/test-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
bash scripts/install-deps.sh package

cmake "$build" >/dev/null
cmake --build "$build" --target Tessaphon tessaphon-render tessaphon-snapshot
rm -rf "$build/packages"
(cd "$build" && cpack -G "DEB;TGZ" >/dev/null)
deb="$(ls "$build"/packages/*.deb)"
tarball="$(ls "$build"/packages/*.tar.gz)"
version="$(dpkg-deb -f "$deb" Version)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
dpkg -x "$deb" "$root"
fail() { echo "FAIL: $*" >&2; exit 1; }

for path in usr/bin/tessaphon-render usr/bin/tessaphon-snapshot usr/lib/vst/Tessaphon.so \
  usr/share/man/man1/tessaphon-render.1.gz usr/share/man/man1/tessaphon-snapshot.1.gz \
  usr/share/doc/tessaphon/guide.md usr/share/doc/tessaphon/copyright \
  usr/share/doc/tessaphon/examples/theta-descent.toml; do
  [ -f "$root/$path" ] || fail "$path missing from $(basename "$deb")"
done
for binary in "$root"/usr/bin/* "$root"/usr/lib/vst/Tessaphon.so; do
  libraries="$(ldd "$binary")"
  if [[ "$libraries" == *"not found"* ]]; then
    echo "$libraries" >&2
    fail "$binary needs libraries that are not installed"
  fi
done
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for library in libc6 libsndfile1; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library"
done
contents="$(tar -tzf "$tarball")"
for path in bin/tessaphon-render bin/tessaphon-snapshot lib/vst/Tessaphon.so share/doc/tessaphon/guide.md; do
  grep -qx "[^/]*/$path" <<<"$contents" || fail "the .tar.gz lacks $path"
done

# As a user runs it: from an empty folder, with an empty home and no search
# paths, so the only plug-in within reach is the one installed beside the tool.
home="$scratch/home"
mkdir -p "$home"
user_env=(env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8)
tool="$root/usr/bin/tessaphon-render"
for program in tessaphon-render tessaphon-snapshot; do
  shown="$(cd "$home" && "${user_env[@]}" "$root/usr/bin/$program" --version)"
  [ "$shown" = "$program $version" ] || fail "$program --version says '$shown', the package is $version"
done
# The loader's trace names every file it opens: the module must be the unpacked one.
trace="$(cd "$home" && "${user_env[@]}" LD_DEBUG=files "$tool" --program 58 --seconds 1 --quiet \
  -o "$home/one-second.wav" 2>&1)" || { echo "$trace" | grep -v "^ *[0-9]*:" >&2; fail "the one-second render failed"; }
modules="$(grep -o "file=[^ ]*Tessaphon.so" <<<"$trace" | sed 's/^file=//' | xargs -r realpath | sort -u)"
[ "$modules" = "$(realpath "$root/usr/lib/vst/Tessaphon.so")" ] || fail "the render loaded '${modules}'"
[ -s "$home/one-second.wav" ] || fail "the one-second render wrote nothing"

for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "$(basename "$page") renders with warnings: $warnings"
  text="$(MANWIDTH=80 man -l "$page" 2>/dev/null)"
  [[ "$text" == *"Tessaphon $version"* ]] || fail "$(basename "$page") does not show version $version"
done

guide="$root/usr/share/doc/tessaphon/guide.md"
grep -q "Tessaphon $version" "$guide" || fail "the guide does not name version $version"
for picture in $(grep -o '](\([^):/]*\.png\))' "$guide" | sed 's/^](//; s/)$//'); do
  [ -f "$(dirname "$guide")/$picture" ] || fail "the guide shows $picture, which is not installed beside it"
done
python3 scripts/program-table.py "$tool" "$guide" --check

report="$scratch/lintian.txt"
lintian --fail-on error --no-tag-display-limit "$deb" >"$report" 2>&1 || { cat "$report" >&2; fail "lintian reports errors"; }
if grep -q "^W:" "$report"; then
  echo "lintian warnings:"
  grep "^W:" "$report"
fi
echo "$(basename "$deb"): installed and run from a clean root, $version"
