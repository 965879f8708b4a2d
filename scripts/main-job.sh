#!/usr/bin/env bash
# The main job on the shipped example: installs what building and running need and builds the
# programs only (scripts/setup.sh), converts examples/zielonki.map into shapefiles with the batch
# configuration examples/zielonki.ini, converts one of the written shapefiles back into a MAP
# file, and shows what was written.
#   scripts/main-job.sh [BUILD_DIR]        (default: build; output in BUILD_DIR/main-job)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

# A build folder configured before keeps its options; a new one gets no tests, benchmarks or
# fuzz targets, so it needs none of their packages.
options=()
[ -f "$build/CMakeCache.txt" ] || options=(-DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF -DKESTREL_FUZZ=OFF)
SETUP_LISTS=build SETUP_TARGETS=programs bash "$root/scripts/setup.sh" "$build" "${options[@]}"

pontra="$build/bin/pontra"
work="$build/main-job"
rm -rf "$work"
mkdir -p "$work/shp"
cp "$root"/examples/zielonki.* "$work/"
# The example's own settings file (zielonki.reg), so the user's settings stay untouched: the way
# back copies the dBase fields into the objects' attributes (BTA), and the dBase tables keep the
# letters of the MAP file (PLKODY 1), so the Windows-1250 letters go there and back unchanged.
export KESTREL_REGISTRY_FILE="$work/zielonki.reg"

# One line per shapefile set: geometry from the .shp header, record count and field names from
# the .dbf header.
describe() {
    local shp=$1 dbf=${1%.shp}.dbf type count header offset fields="" name
    type=$(od -An -t d4 -j 32 -N 4 "$shp" | tr -d ' ')
    case "$type" in
        0) type=Null ;; 1) type=Point ;; 3) type=PolyLine ;; 5) type=Polygon ;; 8) type=MultiPoint ;;
        11) type=PointZ ;; 13) type=PolyLineZ ;; 15) type=PolygonZ ;; 18) type=MultiPointZ ;;
        21) type=PointM ;; 23) type=PolyLineM ;; 25) type=PolygonM ;; 28) type=MultiPointM ;;
        31) type=MultiPatch ;;
    esac
    count=$(od -An -t u4 -j 4 -N 4 "$dbf" | tr -d ' ')
    header=$(od -An -t u2 -j 8 -N 2 "$dbf" | tr -d ' ')
    for ((offset = 32; offset + 32 <= header; offset += 32)); do
        name=$(tail -c +$((offset + 1)) "$dbf" | head -c 11 | tr -d '\0')
        fields+=" $name"
    done
    printf '%-18s %-10s %3d records  fields:%s\n' "shp/$(basename "$shp")" "$type" "$count" "$fields"
}

echo
echo "== MAP -> SHP: zielonki.map with zielonki.ini into shp/"
(cd "$work" && "$pontra" MAP=zielonki.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP)

shopt -s nullglob
written=("$work"/shp/*.shp)
if [ ${#written[@]} -eq 0 ]; then
    echo "No shapefile was written." >&2
    exit 1
fi
for shp in "${written[@]}"; do describe "$shp"; done

echo
echo "== SHP -> MAP: shp/dzialki.shp into dzialki.map"
(cd "$work" && "$pontra" SHP=shp/dzialki.shp CFG=zielonki.ini MAP=dzialki.map ACTION=SHP2MAP)
if [ ! -s "$work/dzialki.map" ]; then
    echo "No MAP file was written." >&2
    exit 1
fi
objects=$(grep -c '^\*' "$work/dzialki.map" || true)
points=$(grep -c '^P' "$work/dzialki.map" || true)
echo "dzialki.map: $objects objects, $points points; its first object:"
iconv -c -f WINDOWS-1250 -t UTF-8 "$work/dzialki.map" | tr -d '\r' |
    awk '/^\*/ { n++ } n == 1 { print } n == 2 { exit }'
echo
echo "Everything is in $work"
echo "In QGIS, add shp/*.shp as vector layers with the encoding windows-1250 and give them the"
echo "coordinate system EPSG:2178 (the 2000 system, zone 7): README, Coordinates and QGIS."
