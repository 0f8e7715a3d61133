#!/usr/bin/env bash
# Generates a day of 1,000,000 log lines on 96 ports and measures "Load Data"
# (one file, and a day of three such files), the parser alone, each report
# computation, chart fill and first draw, `tarrow report --charts png` on top
# of `tarrow load`, and start-up; `wc -l` of the file is the read floor every
# load figure is compared with.
# Usage: bench/run.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/tarrow-samplelogs" --first-day 2026-12-01 --days 1 --ports 96 --calls 450000 \
    --lines 1000000 "$work/logs" >/dev/null
file=$(ls "$work"/logs/*.csv)
ms() { local s=$(date +%s%N); "$@" >/dev/null 2>&1; echo $(( ($(date +%s%N) - s) / 1000000 )); }
best() { local b=999999 t; for _ in 1 2 3; do t=$(ms "$@"); (( t < b )) && b=$t; done; echo "$b"; }

floor=$(best wc -l "$file")
echo "read floor, wc -l of $(du -m "$file" | cut -f1) MB: $floor ms"
"$build/bin/tarrow_bench_load" "$work/logs" 2026-12-01 "$work/data"

mkdir -p "$work/three"
for n in 1 2 3; do cp "$file" "$work/three/data_qnhcmgr_20261201_$n.csv"; done
echo "a day of 3 files x 1,000,000 lines:"
"$build/bin/tarrow_bench_load" "$work/three" 2026-12-01 "$work/data3" | grep '^load'

"$build/bin/tarrow_bench_reports" "$work/logs" 2026-12-01 "$work/data" 2>/dev/null |
    grep -v propagateSizeHints

common=(--logs "$work/logs" --day 2026-12-01 --data-dir "$work/cli")
load=$(best "$build/bin/tarrow" load "${common[@]}")
report=$(best "$build/bin/tarrow" report "${common[@]}" --out "$work/out" --charts png)
none=$(best "$build/bin/tarrow" report "${common[@]}" --out "$work/out" --charts none)
pdf=$(best "$build/bin/tarrow" report "${common[@]}" --out "$work/out" --charts none \
      --pdf "$work/report.pdf")
echo "tarrow load: $load ms ($(( load / (floor > 0 ? floor : 1) ))x the read floor)"
echo "tarrow report --charts png: $report ms, $(( report - load )) ms on top of load" \
     "(--charts none: $(( none - load )) ms)"
echo "tarrow report --pdf: $(( pdf - none )) ms on top of the report without pictures"
