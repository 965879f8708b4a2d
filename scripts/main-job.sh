#!/usr/bin/env bash
# The main job on the shipped example: installs what is missing and builds (scripts/setup.sh),
# converts examples/zielonki.map into shapefiles with the batch configuration
# examples/zielonki.ini, converts one of the written shapefiles back into a MAP file, and shows
# what was written.
#   scripts/main-job.sh [BUILD_DIR]        (default: build; output in BUILD_DIR/main-job)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

bash "$root/scripts/setup.sh" "$build"

pontra="$build/bin/pontra"
work="$build/main-job"
rm -rf "$work"
mkdir -p "$work/shp"
cp "$root"/examples/zielonki.* "$work/"
# A registry of its own, so the example leaves the user's settings alone. It holds the default
# conversion settings with two changes: the way back copies the dBase fields into the objects'
# attributes (BTA), so the [dzialki.shp] section applies; and the Polish letters of the dBase
# tables are those of the MAP file (PLKODY 1, as PL=1 in zielonki.ini), so the Windows-1250
# letters of the example go there and back unchanged.
export KESTREL_REGISTRY_FILE="$work/registry.reg"
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Lumatek\\tpserver\\arcview\\konwersja]\r\n'
    printf '"BTA"=dword:00000001\r\n"PLKODY"=dword:00000001\r\n'
} >"$KESTREL_REGISTRY_FILE"
echo "(The library warns once per run that there is no geoid table \"geoida.bin\" beside the"
echo " program: none is shipped, and these conversions do not use it.)"

echo
echo "== MAP -> SHP: zielonki.map with zielonki.ini into shp/"
(cd "$work" && "$pontra" MAP=zielonki.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP)

shopt -s nullglob
written=("$work"/shp/*.shp)
if [ ${#written[@]} -eq 0 ]; then
    echo "No shapefile was written." >&2
    exit 1
fi
for shp in "${written[@]}"; do
    ogrinfo -so -al -ro "$shp" | awk -v f="shp/$(basename "$shp")" '
        /^Geometry:/ { g = $2 } /^Feature Count:/ { n = $3 }
        /^[A-Z0-9_]+: (String|Integer|Integer64|Real|Date) / { sub(":", "", $1); fields = fields " " $1 }
        END { printf "%-18s %-12s %3d records  fields:%s\n", f, g, n, fields }'
done

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
