#!/usr/bin/env bash
# Whole-process MAP figures beside cat, from one run: a generated map of POINTS points (default
# 1,000,000) read by bench/map_tool and by `cat F > /dev/null`, then read and written back by
# map_tool and copied by `cat F > COPY`, in alternating runs; medians of RUNS runs (default 9).
#   bash bench/map_whole_process.sh [BUILD_DIR] [POINTS] [RUNS]
set -euo pipefail
build=${1:-build}
points=${2:-1000000}
runs=${3:-9}
tool="$build/bench/map_tool"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
source "$(dirname "$0")/whole_process_lib.sh"
map="$dir/map.map"
"$tool" generate "$points" "$map"

# Wall seconds of one run of the command.
seconds() {
    local start=$EPOCHREALTIME
    "$@" > /dev/null
    echo "$start $EPOCHREALTIME" | awk '{ printf "%.6f\n", $2 - $1 }'
}

declare -a read_ours read_cat copy_ours copy_cat
for ((i = 0; i < runs; i++)); do
    read_ours+=("$(seconds "$tool" read "$map")")
    read_cat+=("$(seconds sh -c "cat '$map' > /dev/null")")
    copy_ours+=("$(seconds "$tool" copy "$map" "$dir/out.map")")
    copy_cat+=("$(seconds sh -c "cat '$map' > '$dir/copy.map'")")
done
bytes=$(stat -c %s "$map")
report() {
    local name=$1 ours peer
    ours=$(median "${!2}")
    peer=$(median "${!3}")
    awk -v n="$name" -v a="$ours" -v b="$peer" -v s="$bytes" 'BEGIN {
        printf "%-28s %9.4f s %9.1f MB/s | peer %9.4f s %9.1f MB/s | ratio %6.2f\n",
               n, a, s / a / 1e6, b, s / b / 1e6, a / b }'
}
echo "map: $points points, $bytes bytes; medians of $runs alternating runs"
report "read (peer: cat > /dev/null)" 'read_ours[@]' 'read_cat[@]'
report "read+write (peer: cat > copy)" 'copy_ours[@]' 'copy_cat[@]'
