#!/usr/bin/env bash
# The installed tree works wherever it is put, without the build folder: installs into a scratch
# prefix, moves the tree elsewhere, checks its layout, run paths and manual page, and converts the
# shipped example there and back from a scratch folder.
#   install_tree.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "install tree: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$scratch/first" >/dev/null
mv "$scratch/first" "$scratch/moved"
tree="$scratch/moved"

[ "$(readlink "$tree/bin/pontra")" = ../lib/kestrel/pontra ] || fail "bin/pontra is no relative link"
for f in lib/kestrel/pontra lib/kestrel/libplatform.so lib/kestrel/kestrel-access-worker \
    lib/kestrel/geoida.bin lib/kestrel/lib32/Kestrel.so lib/kestrel/lib32/Rumbo.so \
    share/man/man1/pontra.1.gz share/man/pl/man1/pontra.1.gz share/doc/pontra/examples/zielonki.map; do
    [ -f "$tree/$f" ] || fail "$f is missing"
done
# Each locale's manual reads a page of its own, the same page.
cmp -s "$tree/share/man/man1/pontra.1.gz" "$tree/share/man/pl/man1/pontra.1.gz" ||
    fail "the Polish manual's page differs from the default one"
[ -s "$tree/lib/kestrel/geoida.bin" ] && fail "geoida.bin is not empty"

# The manual page is plain ASCII (Polish letters as named glyphs), so man in any locale reads it,
# and it formats without a single warning both on a UTF-8 terminal and in the C locale (ascii).
command -v groff >/dev/null || fail "groff is missing (scripts/packages-test.txt)"
page="$tree/share/man/man1/pontra.1.gz"
if zcat "$page" | LC_ALL=C grep -nP '[^\x00-\x7F]' >&2; then fail "the manual page is not ASCII"; fi
for device in utf8 ascii; do
    warnings=$(zcat "$page" | groff -man -ww -z -T"$device" 2>&1)
    [ -z "$warnings" ] || fail "the manual page warns on $device: $warnings"
done

# Every program and library finds its own libraries relative to itself, never in the build.
while IFS= read -r elf; do
    runpath=$(readelf -d "$elf" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p')
    case "$elf" in
        */lib32/*) want='$ORIGIN/..' ;;
        *) want='$ORIGIN' ;;
    esac
    [ "$runpath" = "$want" ] || fail "$elf has the run path '$runpath', not '$want'"
    if ldd "$elf" | grep -e "not found" -e "$build"; then fail "$elf links outside the tree"; fi
done < <(find "$tree/lib" -type f \( -name pontra -o -name '*.so' \))

# The example, from a folder of its own: no message at all, every layer, and the way back.
work="$scratch/work"
mkdir -p "$work/shp"
cp "$tree"/share/doc/pontra/examples/* "$work/"
cd "$work"
export KESTREL_REGISTRY_FILE="$work/zielonki.reg"
"$tree/bin/pontra" MAP=zielonki.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP >out.txt 2>&1 ||
    fail "MAP2SHP failed: $(cat out.txt)"
[ -s out.txt ] && fail "MAP2SHP printed: $(cat out.txt)"
for layer in osnowa slupy drogi rowy dzialki budynki; do
    for ext in shp shx dbf; do [ -s "shp/$layer.$ext" ] || fail "shp/$layer.$ext is missing"; done
done
"$tree/bin/pontra" SHP=shp/dzialki.shp CFG=zielonki.ini MAP=dzialki.map ACTION=SHP2MAP >out.txt 2>&1 ||
    fail "SHP2MAP failed: $(cat out.txt)"
[ "$(grep -c '^\*5101' dzialki.map)" = 3 ] || fail "dzialki.map does not hold the three parcels"
echo "install tree: ok"
