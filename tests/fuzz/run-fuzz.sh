#!/bin/sh
# Runs one fuzz target for a bounded time: GORV_FUZZ_SECONDS when set (make fuzz), else the target's own
# seconds (make test). New inputs go to the corpus, an input that fails to the artifacts prefix.
# Usage: run-fuzz.sh <program> <seconds> <corpus> <seeds> <artifacts prefix>
set -e
program=$1
seconds=${GORV_FUZZ_SECONDS:-$2}
corpus=$3
seeds=$4
artifacts=$5
mkdir -p "$corpus" "$(dirname "$artifacts")"
# libFuzzer watches each input (-timeout); the outer limit catches a hang anywhere else.
exec timeout -k 30 $((seconds + 300)) "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "$seeds"
