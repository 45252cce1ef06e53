#!/usr/bin/env bash
# Redraws the editor's images (resources/, ids 100-110) with tessaphon-artwork
# and writes a preview of the composed panel into the build folder:
#   scripts/make-artwork.sh [build folder, default build-artwork]
# The previews are <build folder>/artwork-preview.png and artwork-preview-1.png
# (and -2x, enlarged).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-artwork}

packages=(g++ cmake ninja-build pkg-config libpng-dev libcairo2-dev libfontconfig-dev libfreetype-dev
          fonts-dejavu-core fonts-dejavu-extra fonts-liberation)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSAPHON_ARTWORK=ON \
  -DTESSAPHON_TESTS=OFF -DTESSAPHON_BENCH=OFF -DTESSAPHON_TOOLS=OFF
cmake --build "$build" --target tessaphon-artwork
"$build/tools/tessaphon-artwork" resources "$build"
echo "Images written to resources/; preview: $build/artwork-preview.png"
