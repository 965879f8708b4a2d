# Shell helpers of the whole-process benchmark scripts, which source this file.

# Wall seconds and peak resident kilobytes of one run of the command, its output discarded. The
# peak comes from /usr/bin/time, whose own small image is the floor of it.
measure() {
    local peak start stop
    peak=$(mktemp)
    start=$EPOCHREALTIME
    /usr/bin/time -o "$peak" -f '%M' "$@" > /dev/null 2>&1 || true
    stop=$EPOCHREALTIME
    # A failed command puts a line of its own before the figure.
    awk -v a="$start" -v b="$stop" 'END { printf "%.6f %d\n", b - a, $1 }' "$peak"
    rm -f "$peak"
}

# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
