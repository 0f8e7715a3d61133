#!/usr/bin/env bash
# Builds the Debian package build/tarrow_<version>_amd64.deb and checks it
# with lintian, desktop-file-validate and appstreamcli.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh dpkg-dev lintian desktop-file-utils appstream
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target tarrow tarrow_docs
(cd build && cpack -G DEB)
deb=$(ls build/tarrow_*_amd64.deb)
lintian --fail-on error "$deb"
desktop-file-validate packaging/org.tarrow.Tarrow.desktop
appstreamcli validate --no-net packaging/org.tarrow.Tarrow.metainfo.xml
echo "Built $deb"
