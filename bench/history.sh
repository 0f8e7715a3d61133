#!/usr/bin/env bash
# Measures `tarrow history` and `tarrow check --days 30`: 30 days of 1,000,000-line files (first run and a
# second run from the day cache, with peak memory), and a year of small days
# (365 files of 10,000 lines).
# Needs GNU time (apt-get install time).
# Usage: bench/history.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/tarrow-samplelogs" --first-day 2026-11-01 --days 30 --ports 96 --calls 450000 \
    --lines 1000000 "$work/month" >/dev/null
"$build/bin/tarrow-samplelogs" --first-day 2025-12-01 --days 365 --ports 24 --calls 4000 \
    --lines 10000 "$work/year" >/dev/null
run() { # LABEL LOGS DATA
    /usr/bin/time -f "$1: %e s, peak %M KB" "$build/bin/tarrow" history --logs "$2" \
        --data-dir "$3" --out "$work/out" >/dev/null
}
run "30 days x 1,000,000 lines, first run" "$work/month" "$work/d1"
run "30 days x 1,000,000 lines, cached" "$work/month" "$work/d1"
run "365 days x 10,000 lines, first run" "$work/year" "$work/d2"
run "365 days x 10,000 lines, cached" "$work/year" "$work/d2"
# The monitoring check over the last 30 days, as a 5-minute check interval runs
# it: the first run fills the day cache, the second reads it.
check() { # LABEL
    /usr/bin/time -f "$1: %e s, peak %M KB" "$build/bin/tarrow" check --logs "$work/month" \
        --days 30 --data-dir "$work/d3" --metrics "$work/tarrow.prom" >/dev/null || true
}
check "check --days 30, first run"
check "check --days 30, cached"
