#!/usr/bin/env bash
# run-fuzzer.sh <fuzzer> <corpus dir> <seconds>: runs a libFuzzer target over a copy
# of its corpus for the given time; a crash, leak or hang fails the run.
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
[ -d "$corpus" ] && cp -R "$corpus/." "$work/corpus/"
cd "$work"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" corpus 2>&1 | tail -n 15
