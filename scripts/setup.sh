#!/usr/bin/env bash
# Installs what Veltrane needs (when run as root), builds it and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then
  scripts/install-deps.sh
fi
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)"
