#!/usr/bin/env bash
# Installs what Tarrow needs, builds it and starts it on a log folder; without a
# folder it writes three days of sample logs and opens those.
# Usage: bash tools/start.sh [LOG_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
# Only what is started: the program and, for the sample, the log writer.
cmake --build build --target tarrow tarrow-samplelogs
logs=${1:-}
if [ -z "$logs" ]; then
    logs=$(pwd)/build/sample-logs
    rm -rf "$logs"
    # Five whole weeks, Sunday to the last Saturday: busy weekdays, quiet
    # weekends and traffic growing 15 % a month on a server whose 16 answer
    # ports are already too few: the Capacity report says "Not enough ports"
    # with the evidence, and the History finds a rising trend and says the
    # ports are already short.
    last=$(date -d 'last saturday' +%F)
    build/bin/tarrow-samplelogs --first-day "$(date -d "$last - 34 days" +%F)" --days 35 \
        --peak-load 0.55 --weekend 0.6 --growth 15 "$logs"
fi
exec build/bin/tarrow --logs "$(realpath -m "$logs")"
