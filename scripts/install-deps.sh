#!/usr/bin/env bash
# Installs what building, testing and running Zevadav needs on Debian 12, skipping what is already there.
# Usage: scripts/install-deps.sh [extra packages...]
set -euo pipefail
packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-serialport-dev libgl-dev
    libxlsxwriter-dev libasound2-dev unzip xdg-utils
    fontconfig fonts-dejavu-core
    # the fonts our two faces are derived from, and what the font checks use
    fonts-dseg fonts-osifont python3 python3-fonttools python3-pil
    "$@"
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
