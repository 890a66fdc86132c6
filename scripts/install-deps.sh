#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the program need,
# but only those that are missing, so a machine that has them all is left alone.
set -euo pipefail

packages=(cmake g++ make ninja-build libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl-dev
          libboost-dev libnlopt-cxx-dev poppler-utils
          qt6-charts-dev libqt6opengl6-dev nlohmann-json3-dev libdxflib-dev ccache
          fonts-dejavu-core xvfb xauth xdotool imagemagick x11-apps)

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
