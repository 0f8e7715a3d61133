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
    # Busy enough that the busiest hours run the ports out: the Capacity
    # report has something to say.
    build/bin/tarrow-samplelogs --first-day "$(date -d '3 days ago' +%F)" --days 3 \
        --peak-load 0.9 "$logs"
fi
exec build/bin/tarrow --logs "$(realpath -m "$logs")"
