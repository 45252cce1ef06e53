#!/usr/bin/env bash
# Installs the Debian 12 packages a build needs. Usage:
#   scripts/install-deps.sh linux     the native build and its tests
#   scripts/install-deps.sh windows   the MinGW-w64 cross build and Wine
#   scripts/install-deps.sh fuzz      clang and its sanitizer runtimes
#   scripts/install-deps.sh format    clang-format for the format check
#   scripts/install-deps.sh package   the packaging and its test (CPack's Debian tools, lintian, man)
# Packages already present are not fetched again.
set -euo pipefail

linux_packages=(build-essential cmake ninja-build pkg-config binutils
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev zlib1g-dev
  libx11-dev libfreetype-dev libfontconfig-dev fonts-liberation
  libsndfile1-dev libcli11-dev
  libtomlplusplus-dev libcairo2-dev libsoxr-dev libebur128-dev
  libxext-dev libxtst-dev xvfb xauth)
windows_packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev cmake ninja-build
  wine64 xvfb xauth xz-utils patch fonts-liberation dpkg-dev googletest)
fuzz_packages=(clang libclang-rt-14-dev)
format_packages=(clang-format-14)
package_packages=(dpkg-dev fakeroot file lintian man-db python3)

case "${1:-linux}" in
  linux) wanted=("${linux_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  fuzz) wanted=("${fuzz_packages[@]}") ;;
  format) wanted=("${format_packages[@]}") ;;
  package) wanted=("${package_packages[@]}") ;;
  *) echo "usage: $0 linux|windows|fuzz|format|package" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
