#!/usr/bin/env bash
# Builds Tessaphon and says where the plug-in is and how to install it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh linux
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
module="$(pwd)/build/vst2/Tessaphon.so"
echo
echo "Built the Linux plug-in: $module"
echo "Install it for a Linux host with:  mkdir -p ~/.vst && cp \"$module\" ~/.vst/"
