#!/usr/bin/env bash
# Prepares what the Windows cross build needs:
#   scripts/windows-deps.sh BUILD_DIR
# installs the Debian packages (MinGW-w64, its zlib, Wine), then cross-builds
# libpng as a static library from Debian's own libpng1.6 source package with all
# of Debian's patches applied, and installs it into a prefix under
# BUILD_DIR/deps that is kept between runs and keyed on the source version.
# The last line of output is that prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

build="${1:-build-windows}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
deps="$build/deps"
# Bump when the way libpng is built changes, so old caches are not reused.
recipe=1

# The source versions to use, newest first. The newest security release is not
# always in the archive yet; the next one is the fallback. When neither can be
# fetched any more, whatever version the archive offers is taken (with a note).
pinned_versions=(1.6.39-2+deb12u6 1.6.39-2+deb12u5)

bash scripts/install-deps.sh windows >&2

prefix_for() { echo "$deps/libpng-$1-r$recipe"; }

for v in "${pinned_versions[@]}"; do
  if [ -e "$(prefix_for "$v")/.complete" ]; then
    echo "libpng $v for MinGW-w64: cached" >&2
    prefix_for "$v"
    exit 0
  fi
done

# apt with private state: the machine's own Debian sources, as source entries.
apt_dir="$deps/apt"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
rm -f "$apt_dir/sources.list.d/"*
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    >"$apt_dir/sources.list.d/debian.sources"
elif [ -f /etc/apt/sources.list ]; then
  sed -nE 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' /etc/apt/sources.list \
    >"$apt_dir/sources.list.d/debian.list"
else
  echo "no Debian package sources configured in /etc/apt" >&2
  exit 1
fi
apt_opts=(-o Dir::Etc::SourceList=/dev/null
  -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
  -o Dir::State::Lists="$apt_dir/lists"
  -o Dir::Cache="$apt_dir/cache")
if [ "$(id -u)" -eq 0 ]; then
  # The private folders belong to root; apt's download sandbox user could not write them.
  apt_opts+=(-o APT::Sandbox::User=root)
fi
apt-get "${apt_opts[@]}" update -qq >&2

offered=$(apt-cache "${apt_opts[@]}" showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -Vru)
candidates=("${pinned_versions[@]}")
for v in $offered; do
  case " ${pinned_versions[*]} " in *" $v "*) ;; *) candidates+=("$v") ;; esac
done

download="$deps/download"
version=""
for v in "${candidates[@]}"; do
  rm -rf "$download"
  mkdir -p "$download"
  if (cd "$download" && apt-get "${apt_opts[@]}" source --download-only -qq "libpng1.6=$v" >/dev/null 2>&1); then
    version="$v"
    break
  fi
  echo "libpng1.6 $v: source not available from the archive" >&2
done
if [ -z "$version" ]; then
  echo "cannot fetch the libpng1.6 source package" >&2
  exit 1
fi
case " ${pinned_versions[*]} " in
  *" $version "*) ;;
  *) echo "note: using libpng1.6 $version, which is not one of the pinned versions" >&2 ;;
esac

# Upstream tarball, Debian's folder on top, then every patch of the series in order:
# the upstream release lacks the security fixes Debian carries as patches.
src="$deps/libpng-src"
rm -rf "$src"
mkdir -p "$src"
orig=$(ls "$download"/libpng1.6_*.orig.tar.*)
debian=$(ls "$download"/libpng1.6_*.debian.tar.*)
tar -xf "$orig" -C "$src" --strip-components=1
tar -xf "$debian" -C "$src"
patches=0
while read -r patch _; do
  case "$patch" in "" | "#"*) continue ;; esac
  patch -d "$src" -p1 -s --forward --no-backup-if-mismatch <"$src/debian/patches/$patch"
  patches=$((patches + 1))
done <"$src/debian/patches/series"
echo "libpng1.6 $version: applied $patches Debian patches" >&2

prefix="$(prefix_for "$version")"
rm -rf "$prefix" "$deps/libpng-build"
cmake -S "$src" -B "$deps/libpng-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >/dev/null
cmake --build "$deps/libpng-build" -j2 >/dev/null
cmake --install "$deps/libpng-build" >/dev/null
[ -f "$prefix/include/png.h" ] && ls "$prefix"/lib/libpng*.a >/dev/null
echo "$version" >"$prefix/.complete"
rm -rf "$deps/libpng-build" "$src" "$download" "$apt_dir"
echo "libpng $version for MinGW-w64: built" >&2
echo "$prefix"
