#!/usr/bin/env bash
# Installs the built plug-in bundle into a VST3 folder: the one given, else $VST3_DIR, else ~/.vst3.
set -euo pipefail
cd "$(dirname "$0")/.."
dest=${1:-${VST3_DIR:-$HOME/.vst3}}
build=${BUILD_DIR:-build}
if [ ! -f "$build/Veltrane.vst3/Contents/x86_64-linux/Veltrane.so" ]; then
  echo "install-bundle.sh: no built bundle in $build/Veltrane.vst3; build first" >&2
  exit 1
fi
# Files of an older install must not outlive it inside the bundle.
rm -rf "$dest/Veltrane.vst3"
cmake --install "$build" --component vst3bundle --prefix "$dest" >/dev/null
echo "installed $dest/Veltrane.vst3"
