#!/usr/bin/env bash
# Whole-process MAP -> SHP figures beside ogr2ogr, from one run (medians of RUNS alternating runs):
#   bash bench/export_whole_process.sh [BUILD_DIR] [RUNS] [POINTS]
# For 2, 100 and 2,000 object codes, a generated map of POINTS points (default 1,000,000) with a
# batch configuration naming each code's layer and fields is converted by
#   pontra MAP=map.map CFG=config.ini SHPDIR=out ACTION=MAP2SHP
# and the same features, held in a GeoPackage with one layer per code (built once by ogr2ogr from
# one CSV per code), by
#   ogr2ogr -f "ESRI Shapefile" out map.gpkg
# which writes one shapefile per layer in one process: the peer gets its features already split
# by code. Every run writes into a new, empty folder. Then the growth table: 2 codes from 10,000 to
# 5,000,000 points, time and peak memory per point. Temporary files go under TMPDIR.
set -euo pipefail
build=${1:-build}
runs=${2:-3}
points=${3:-1000000}
tool="$build/bench/export_tool"
pontra="$build/bin/pontra"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
source "$(dirname "$0")/whole_process_lib.sh"

# Runs ours and the peer alternately on data set $1 of $2 codes; prints "ours peer ours_kb
# peer_kb".
compare() {
    local data=$1 codes=$2 i m ours=() peer=() ours_kb=() peer_kb=()
    for ((i = 0; i < runs; i++)); do
        rm -rf "$dir/out" "$dir/ogr" && mkdir "$dir/out"
        m=$(measure "$pontra" "MAP=$data/map.map" "CFG=$data/config.ini" "SHPDIR=$dir/out" \
            ACTION=MAP2SHP)
        ours+=("${m% *}") ours_kb+=("${m#* }")
        if [ "$(find "$dir/out" -name '*.shp' | wc -l)" -ne "$codes" ]; then
            echo "pontra did not write $codes layers" >&2
            exit 1
        fi
        m=$(measure ogr2ogr -f "ESRI Shapefile" "$dir/ogr" "$data/map.gpkg")
        peer+=("${m% *}") peer_kb+=("${m#* }")
        if [ "$(find "$dir/ogr" -name '*.shp' | wc -l)" -ne "$codes" ]; then
            echo "ogr2ogr did not write $codes layers" >&2
            exit 1
        fi
    done
    echo "$(median "${ours[@]}") $(median "${peer[@]}")" \
        "$(median "${ours_kb[@]}") $(median "${peer_kb[@]}")"
}

echo "MAP -> SHP, $points points; medians of $runs alternating runs"
printf '%-7s %10s %10s %7s %10s %10s %9s\n' codes "ours s" "ogr2ogr s" ratio "ours MB" "map MB" peak/map
declare -A seconds
for codes in 2 100 2000; do
    data="$dir/c$codes"
    mkdir -p "$data"
    "$tool" generate "$points" "$codes" "$data"
    ogr2ogr -f GPKG "$data/map.gpkg" "$data/csv" -oo GEOM_POSSIBLE_NAMES=WKT \
        -oo KEEP_GEOM_COLUMNS=NO
    result=$(compare "$data" "$codes")
    read -r ours peer ours_kb peer_kb <<< "$result"
    seconds[$codes]=$ours
    bytes=$(stat -c %s "$data/map.map")
    awk -v c="$codes" -v a="$ours" -v b="$peer" -v k="$ours_kb" -v s="$bytes" 'BEGIN {
        printf "%-7s %10.3f %10.3f %7.2f %10.1f %10.1f %9.2f\n",
               c, a, b, a / b, k / 1024, s / 1048576, k * 1024 / s }'
    rm -rf "$data"
done
awk -v a="${seconds[2000]}" -v b="${seconds[2]}" \
    'BEGIN { printf "time at 2,000 codes / time at 2 codes: %.2f\n", a / b }'

echo
echo "growth, 2 codes (medians of $runs runs)"
printf '%10s %10s %12s %10s %12s\n' points seconds "ns/point" "peak MB" "bytes/point"
for n in 10000 100000 1000000 5000000; do
    data="$dir/g$n"
    mkdir -p "$data"
    "$tool" generate "$n" 2 "$data"
    times=() kbs=()
    for ((i = 0; i < runs; i++)); do
        rm -rf "$dir/out" && mkdir "$dir/out"
        m=$(measure "$pontra" "MAP=$data/map.map" "CFG=$data/config.ini" "SHPDIR=$dir/out" \
            ACTION=MAP2SHP)
        times+=("${m% *}") kbs+=("${m#* }")
    done
    t=$(median "${times[@]}")
    k=$(median "${kbs[@]}")
    awk -v n="$n" -v t="$t" -v k="$k" 'BEGIN {
        printf "%10d %10.3f %12.1f %10.1f %12.1f\n", n, t, t * 1e9 / n, k / 1024, k * 1024 / n }'
    rm -rf "$data"
done
