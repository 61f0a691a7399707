#!/usr/bin/env bash
# Draws the editor from resources/plug.uidesc, as the plug-in builds it, into docs/editor.png.
# Usage: scripts/editor-picture.sh [build-dir]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j3 --target veltrane_editorpicture >/dev/null
mkdir -p "$root/docs"
"$build/tools/editorpicture/editorpicture" "$root/resources/plug.uidesc" "$root/docs/editor.png"
echo "wrote $root/docs/editor.png"
