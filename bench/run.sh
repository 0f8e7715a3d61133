#!/usr/bin/env bash
# Generates a day of 1,000,000 log lines on 96 ports and measures "Load Data",
# the report computations and the first drawing of a chart window.
# Usage: bench/run.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/tarrow-samplelogs" --first-day 2026-12-01 --days 1 --ports 96 --calls 450000 \
    --lines 1000000 "$work/logs"
wc -l "$work/logs"/*
"$build/bin/tarrow_bench_load" "$work/logs" 2026-12-01 "$work/data"
"$build/bin/tarrow_bench_reports" "$work/logs" 2026-12-01 "$work/data"
