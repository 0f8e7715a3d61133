#!/usr/bin/env bash
# Installs what Tarrow needs, builds everything from scratch with warnings as
# errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh locales
# The tests read numbers under a comma-decimal locale too.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    sed -i -E 's/^# *(de_DE.UTF-8 UTF-8)/\1/; s/^# *(en_US.UTF-8 UTF-8)/\1/' /etc/locale.gen
    locale-gen >/dev/null
fi
rm -rf build-test
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARROW_WERROR=ON
cmake --build build-test
cd build-test
ctest --output-on-failure
