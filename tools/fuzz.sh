#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for SECONDS (default 30) from a seed
# corpus: the edge cases in tests/fuzz/seeds and a day written by the sample
# generator (from SAMPLE_BUILD, default build-test). A finding stops the run
# with the input that caused it, saved as build-fuzz/crash-*.
# Usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
sample_build=${SAMPLE_BUILD:-build-test}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DTARROW_FUZZ=ON -DTARROW_WERROR=ON >/dev/null
cmake --build build-fuzz
for target in parselogfile fieldreaders capacity historycache; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    if [ -d tests/fuzz/seeds/$target ]; then cp tests/fuzz/seeds/$target/* "$corpus/"; fi
    if [ "$target" = parselogfile ] && [ -x "$sample_build/bin/tarrow-samplelogs" ]; then
        "$sample_build/bin/tarrow-samplelogs" build-fuzz/sample --first-day 2009-01-15 \
            --days 1 --lines 400 --seed 7 >/dev/null
        cp build-fuzz/sample/*.csv "$corpus/"
    fi
    echo "fuzzing $target for $seconds s"
    log=build-fuzz/fuzz_$target.log
    if ! (cd build-fuzz && ./tests/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=8192 \
              -print_final_stats=1 "corpus/$target" >"fuzz_$target.log" 2>&1); then
        grep -E "ERROR|SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
        echo "fuzzing $target found a fault; the input is saved in build-fuzz/" >&2
        exit 1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log"
done
