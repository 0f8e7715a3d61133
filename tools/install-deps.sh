#!/usr/bin/env bash
# Installs the Debian 12 packages Tarrow builds and runs with (as root).
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
          libsqlite3-dev libsqlitecpp-dev libgtest-dev tzdata "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
