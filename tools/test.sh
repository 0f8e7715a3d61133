#!/usr/bin/env bash
# Installs what Tarrow needs, builds everything from scratch with warnings as
# errors, runs every test, then fuzzes the log parser, its field readers, the
# capacity figures and the History cache rows for 20 seconds each. The
# prometheus package brings promtool, which checks the metrics files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh locales clang clang-format libclang-rt-14-dev poppler-utils \
    desktop-file-utils appstream prometheus
# The tests read numbers under a comma-decimal locale too.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    sed -i -E 's/^# *(de_DE.UTF-8 UTF-8)/\1/; s/^# *(en_US.UTF-8 UTF-8)/\1/' /etc/locale.gen
    locale-gen >/dev/null
fi
rm -rf build-test
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARROW_WERROR=ON
cmake --build build-test
(cd build-test && ctest --output-on-failure)
# The fuzz targets under libFuzzer, 20 seconds each.
if command -v clang++ >/dev/null; then
    rm -rf build-fuzz
    bash tools/fuzz.sh 20
fi
