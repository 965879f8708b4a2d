#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each on its seeds, several at once.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Every target runs SECONDS_PER_TARGET (default 30) seconds; FUZZ_JOBS targets (default 4) run at
# the same time. Each target's log, grown corpus and findings (crash-*, timeout-*, oom-*, the
# inputs that failed) stay in build-fuzz/runs/<target>/. Ends with a failure when a target found
# something.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
parallel=${FUZZ_JOBS:-4}
build="$root/build-fuzz"
CC=clang CXX=clang++ SETUP_SKIP_INSTALL=1 BUILD_TYPE=Debug \
    bash "$root/scripts/setup.sh" "$build" -DKESTREL_FUZZ=ON -DKESTREL_WERROR=ON -DKESTREL_TESTS=OFF \
    -DKESTREL_BENCH=OFF

shopt -s nullglob
targets=()
if [ $# -gt 0 ]; then
    for name in "$@"; do targets+=("$build/fuzz/fuzz_${name#fuzz_}"); done
else
    targets=("$build"/fuzz/fuzz_*)
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz: no targets yet"
    exit 0
fi

# The targets hand their inputs to the readers through scratch files: in memory where possible.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# The seed folders of a target: its own corpus, or the one whose files it reads too.
seeds() {
    case "$1" in
        access_reader) echo "$root/tests/data/access $root/fuzz/corpus/access_reader" ;;
        shapeobjects) echo "$root/fuzz/corpus/shapefile" ;;
        dbftable) echo "$root/fuzz/corpus/dbfheader $root/fuzz/corpus/shp2map" ;;
        stylefile | filesettings) echo "$root/fuzz/corpus/inifile" ;;
        *) echo "$root/fuzz/corpus/$1" ;;
    esac
}

dictionary() {
    case "$1" in
        shapefile | shapeobjects) echo "$root/fuzz/shapefile.dict" ;;
        dbfheader | dbftable | shp2map) echo "$root/fuzz/dbase.dict" ;;
    esac
}

run() {
    local target=$1 name short out dict
    name=$(basename "$target")
    short=${name#fuzz_}
    out="$build/runs/$name"
    rm -rf "$out"
    mkdir -p "$out/corpus"
    for dir in $(seeds "$short"); do
        [ -d "$dir" ] && find "$dir" -maxdepth 1 -type f ! -name '*.md' -exec cp {} "$out/corpus/" \;
    done
    # Entropic scheduling costs most of the time on targets with this many features.
    local args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -entropic=0
        -print_final_stats=1 -artifact_prefix="$out/")
    dict=$(dictionary "$short")
    [ -n "$dict" ] && args+=(-dict="$dict")
    local status=0
    (cd "$out" && "$target" "${args[@]}" "$out/corpus") >"$out/log" 2>&1 || status=$?
    echo "$status" >"$out/status"
}

echo "fuzz: ${#targets[@]} targets, ${seconds}s each, $parallel at a time"
for t in "${targets[@]}"; do
    run "$t" &
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
done
wait

failed=0
for t in "${targets[@]}"; do
    name=$(basename "$t")
    out="$build/runs/$name"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -n 1)
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$out/log" | tail -n 1 || true)
    status=$(cat "$out/status" 2>/dev/null || echo 1)
    if [ "$status" = 0 ]; then
        echo "fuzz: $name: ${runs:-?} runs, ${cov:-no coverage}"
    else
        failed=1
        echo "fuzz: $name FAILED (status $status); see $out/log"
        tail -n 30 "$out/log"
    fi
done
exit "$failed"
