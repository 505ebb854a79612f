#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, starting from its
# seed corpus, and prints how many inputs each one ran. Stops at the first
# target that crashes; the input that did it is kept in <build>/fuzz/crashes.
#   fuzz/run-fuzzers.sh <fuzz build folder> [seconds per target] [target...]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-20}
shift $(( $# >= 2 ? 2 : 1 ))
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(xgl_reader_fuzzer tga_image_fuzzer height_map_fuzzer settings_store_fuzzer
             tracker_image_fuzzer frame_pipeline_fuzzer)
fi

mkdir -p "$build/fuzz/crashes"
for target in "${targets[@]}"; do
    corpus="$build/fuzz/corpus/$target"
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 -close_fd_mask=3
             -print_final_stats=1 -artifact_prefix="$build/fuzz/crashes/$target-")
    [ "$target" = settings_store_fuzzer ] && options+=(-dict="$here/settings.dict")
    log="$build/fuzz/$target.log"
    if ! "$build/fuzz/$target" "${options[@]}" "$corpus" "$build/fuzz/seeds/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: FAILED (log: $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} inputs in ${seconds} s, no failure"
done
