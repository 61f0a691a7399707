#!/usr/bin/env bash
# Installs what Veltrane needs (when run as root), builds it, installs the plug-in into ~/.vst3
# (or $VST3_DIR) and runs it on a demo signal through the project's command-line host.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then
  scripts/install-deps.sh
fi
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)"

dest=${VST3_DIR:-$HOME/.vst3}
scripts/install-bundle.sh "$dest"

host=build/tools/vst3host/vst3host
mkdir -p out
"$host" list "$dest/Veltrane.vst3"
"$host" demo out/demo.wav
"$host" render "$dest/Veltrane.vst3" out/demo.wav out/demo-veltrane.wav
echo "demo input:  $(pwd)/out/demo.wav"
echo "demo output: $(pwd)/out/demo-veltrane.wav"
