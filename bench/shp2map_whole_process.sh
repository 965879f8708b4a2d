#!/usr/bin/env bash
# Whole-process figures of the converter's SHP2MAP batch run beside `ogr2ogr -f CSV` of the same
# shapefile (geometry as WKT), from one run: the generated polyline shapefile of VERTICES vertices
# (default 1,000,000) with its dBase table (bench/shp_tool), converted with the link table, in
# alternating runs; medians of RUNS runs (default 5). Then the growth table: the converter alone
# from 10,000 to 5,000,000 vertices, its time and peak memory per vertex (both should stay flat)
# and its peak beside the size of its input (.shp, .shx and .dbf).
#   bash bench/shp2map_whole_process.sh [BUILD_DIR] [VERTICES] [RUNS]
set -euo pipefail
build=${1:-build}
vertices=${2:-1000000}
runs=${3:-5}
pontra="$build/bin/pontra"
tool="$build/bench/shp_tool"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
source "$(dirname "$0")/whole_process_lib.sh"
# The conversion transfers the table (BTA) as the example's settings do, in a registry of its own.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Lumatek\\tpserver\\arcview\\konwersja]\n"BTA"=dword:00000001\n' \
    > "$dir/registry.reg"
export KESTREL_REGISTRY_FILE="$dir/registry.reg"
printf '[DEFAULT]\nKOD=4100\n1=NAZWA\n' > "$dir/cfg.ini"

ours() { measure "$pontra" "SHP=$1.shp" "CFG=$dir/cfg.ini" "MAP=$1.map" ACTION=SHP2MAP; }
inputBytes() { cat "$1.shp" "$1.shx" "$1.dbf" | wc -c; }

base="$dir/lines$vertices"
"$tool" generate "$vertices" "$base.shp"
declare -a ourTime ourPeak ogrTime ogrPeak
for ((i = 0; i < runs; i++)); do
    read -r t p <<< "$(ours "$base")"
    ourTime+=("$t") ourPeak+=("$p")
    rm -f "$dir/lines.csv"
    read -r t p <<< "$(measure ogr2ogr -f CSV -lco GEOMETRY=AS_WKT "$dir/lines.csv" "$base.shp")"
    ogrTime+=("$t") ogrPeak+=("$p")
done
input=$(inputBytes "$base")
t1=$(median "${ourTime[@]}")
t2=$(median "${ogrTime[@]}")
p1=$(median "${ourPeak[@]}")
p2=$(median "${ogrPeak[@]}")
echo "shapefile: $vertices vertices, input $input bytes (.shp .shx .dbf); medians of $runs alternating runs"
awk -v a="$t1" -v b="$t2" -v pa="$p1" -v pb="$p2" -v s="$input" 'BEGIN {
    printf "SHP2MAP (peer: ogr2ogr -f CSV)  %8.4f s | peer %8.4f s | ratio %6.3f\n", a, b, a / b
    printf "peak memory                     %8.1f MB | peer %8.1f MB | %5.2fx input, peer %5.2fx\n",
           pa / 1024, pb / 1024, pa * 1024 / s, pb * 1024 / s }'

echo
echo "growth: the converter alone, medians of $runs runs"
printf '%10s %10s %12s %10s %12s %8s\n' vertices seconds 's/Mvertex' 'peak MB' 'peak B/vtx' 'x input'
for n in 10000 100000 1000000 5000000; do
    base="$dir/growth$n"
    "$tool" generate "$n" "$base.shp"
    declare -a times=() peaks=()
    for ((i = 0; i < runs; i++)); do
        read -r t p <<< "$(ours "$base")"
        times+=("$t") peaks+=("$p")
    done
    t=$(median "${times[@]}")
    p=$(median "${peaks[@]}")
    input=$(inputBytes "$base")
    awk -v n="$n" -v t="$t" -v p="$p" -v s="$input" 'BEGIN {
        printf "%10d %10.4f %12.4f %10.1f %12.1f %8.2f\n", n, t, t / n * 1e6, p / 1024, p * 1024 / n,
               p * 1024 / s }'
    rm -f "$base".*
done
