#!/usr/bin/env bash
# The Debian package installs, converts the shipped example and removes cleanly: builds it with
# cpack in the build folder, installs it with apt, runs pontra from a scratch folder, purges it and
# checks that none of its files is left. Needs root (scripts/test.sh runs it after the build).
#   package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
if [ "$(id -u)" -ne 0 ]; then
    echo "package test: skipped, it installs a package and needs root"
    exit 0
fi
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=600)
fail() {
    echo "package test: $*" >&2
    exit 1
}
if dpkg-query -W -f='${Status}' pontra 2>/dev/null | grep -q 'install ok installed'; then
    fail "a pontra package is installed already; remove it first (apt-get purge pontra)"
fi

scratch=$(mktemp -d)
installed=0
cleanup() {
    [ $installed = 1 ] && "${apt[@]}" purge pontra >/dev/null 2>&1
    rm -rf "$scratch"
}
trap cleanup EXIT

rm -f "$build"/pontra_*.deb
(cd "$build" && cpack -G DEB >"$scratch/cpack.log" 2>&1) || fail "cpack failed: $(cat "$scratch/cpack.log")"
debs=("$build"/pontra_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "cpack made no package"
info=$(dpkg-deb -I "$deb")
for dependency in libc6 libstdc++6 libshp2 libmdb3 libcairo2; do
    grep -q "^ Depends:.*\b$dependency\b" <<<"$info" || fail "Depends lacks $dependency: $info"
done

"${apt[@]}" install "$deb" >"$scratch/apt.log" 2>&1 || fail "apt-get install failed: $(cat "$scratch/apt.log")"
installed=1
mapfile -t files < <(dpkg -L pontra)

# From a scratch folder, as a user would, with the example the package ships.
mkdir -p "$scratch/work/shp"
cd "$scratch/work"
cp /usr/share/doc/pontra/examples/* .
export KESTREL_REGISTRY_FILE="$scratch/work/zielonki.reg"
[ "$(command -v pontra)" = /usr/bin/pontra ] || fail "pontra is not /usr/bin/pontra"
pontra MAP=zielonki.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP >out.txt 2>&1 ||
    fail "pontra failed: $(cat out.txt)"
[ -s out.txt ] && fail "pontra printed: $(cat out.txt)"
[ -s shp/dzialki.shp ] && [ -s shp/dzialki.dbf ] || fail "no shapefile was written"
cd /

"${apt[@]}" purge pontra >"$scratch/apt.log" 2>&1 || fail "apt-get purge failed: $(cat "$scratch/apt.log")"
installed=0
for f in "${files[@]}"; do
    # Folders such as /usr/share/man stay with other packages; the package's own must go.
    if [ -L "$f" ] || [ -f "$f" ]; then fail "$f is left after the purge"; fi
done
[ -e /usr/lib/kestrel ] && fail "/usr/lib/kestrel is left after the purge"
[ -e /usr/share/doc/pontra ] && fail "/usr/share/doc/pontra is left after the purge"
echo "package test: $(basename "$deb") installs, converts the example and purges cleanly"
