#!/usr/bin/env bash
# The main job: builds Tessaphon (plug-in, tessaphon-render, tests) and renders
# a demo track through the plug-in: 30 seconds of program slot 58,
# "Isochronic - 10.6 (Relaxed & alert)", into demo/tessaphon-demo.flac.
# Then says where the plug-in binaries are and how to install them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh linux
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

mkdir -p demo
command=(build/tools/tessaphon-render --program 58 --seconds 30 -o demo/tessaphon-demo.flac)
echo
echo "Rendering the demo track:"
echo "  ${command[*]}"
"${command[@]}"

module="$(pwd)/build/vst2/Tessaphon.so"
echo
echo "Demo track: $(pwd)/demo/tessaphon-demo.flac (30 s, 48 kHz stereo FLAC)"
echo "Render your own, for example half an hour of another program:"
echo "  build/tools/tessaphon-render --list-programs | grep -i schumann"
echo "  build/tools/tessaphon-render --program 88 --seconds 1800 -o demo/schumann.flac"
echo "  build/tools/tessaphon-render --help"
echo
echo "The Linux plug-in: $module"
echo "Install it for a Linux host (a DAW or plug-in rack that scans ~/.vst or ~/.lxvst):"
echo "  mkdir -p ~/.vst && cp \"$module\" ~/.vst/"
for dll in build*/vst2/Tessaphon.dll; do
  [ -f "$dll" ] || continue
  echo "The Windows plug-in: $(pwd)/$dll (copy it into your host's VstPlugins folder)"
done
