#!/usr/bin/env bash
# Installs the Debian packages that building and testing Veltrane need.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh must run as root (it uses apt-get)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config \
  juce-modules-source-data \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libsndfile1-dev libcairo2-dev libexpat1-dev rapidjson-dev libxcb1-dev libfontconfig-dev fonts-dejavu-core \
  xvfb x11-xkb-utils xkb-data libxcb-xtest0-dev \
  >/dev/null
