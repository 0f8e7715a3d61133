#!/usr/bin/env bash
# Installs what Tarrow needs, builds everything from scratch with warnings as
# errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
rm -rf build-test
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARROW_WERROR=ON
cmake --build build-test
cd build-test
ctest --output-on-failure
