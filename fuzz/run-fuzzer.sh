#!/usr/bin/env bash
# run-fuzzer.sh <fuzzer> <corpus dir> <seconds>: runs a libFuzzer target over a copy
# of its corpus for the given time; a crash, leak or hang fails the run. The input that
# failed is kept in artifacts/ beside the fuzzer, since the scratch folder goes away.
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
[ -d "$corpus" ] && cp -R "$corpus/." "$work/corpus/"
# A dictionary beside this script, named after the target, steers the mutations.
options=()
dict=$(cd "$(dirname "$0")" && pwd)/$(basename "$fuzzer").dict
[ -f "$dict" ] && options+=(-dict="$dict")
cd "$work"
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  "${options[@]}" -artifact_prefix="$work/" corpus > "$work/log" 2>&1 || status=$?
tail -n 15 "$work/log"
if [ "$status" -ne 0 ]; then
    kept=$(dirname "$fuzzer")/artifacts
    mkdir -p "$kept"
    for artifact in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
        [ -f "$artifact" ] || continue
        cp "$artifact" "$kept/"
        echo "kept input: $kept/$(basename "$artifact")"
    done
fi
exit "$status"
