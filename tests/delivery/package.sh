#!/usr/bin/env bash
# The Debian packages are lintian-clean, install both ways, convert the shipped example and remove
# cleanly: builds them with cpack in the build folder (pontra, and pontra-window when the build has
# the window back end), fails on any lintian error, installs pontra without its recommends (no
# window, no Qt) and runs pontra from a scratch folder, then installs it with its recommends (the
# window package comes along) and shows its window under a virtual X server, every toolbar button
# with its picture; it purges pontra after each install, checking that none of its files is left.
# The install with recommends takes the pontra package of BATCH_BUILD_DIR when given, a build
# without the window back end as the main job makes it: of the same version, apt pairs it with
# the window package of BUILD_DIR. The window's pictures are saved in BUILD_DIR/package-shots.
# Needs root (scripts/test.sh runs it after the builds).
#   package.sh BUILD_DIR [BATCH_BUILD_DIR]
set -euo pipefail
build=$(cd "$1" && pwd)
batch=$(cd "${2:-$1}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
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
installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
installed pontra && fail "a pontra package is installed already; remove it first (apt-get purge pontra)"
command -v lintian >/dev/null || fail "lintian is missing (scripts/packages-test.txt)"

scratch=$(mktemp -d)
cleanup() {
    installed pontra && "${apt[@]}" purge pontra >/dev/null 2>&1
    rm -rf "$scratch"
}
trap cleanup EXIT

# Makes the packages of a build folder; the pontra package's name goes into $made.
make_packages() {
    local debs
    rm -f "$1"/pontra_*.deb "$1"/pontra-window_*.deb
    (cd "$1" && cpack -G DEB >"$scratch/cpack.log" 2>&1) || fail "cpack failed: $(cat "$scratch/cpack.log")"
    shopt -s nullglob
    debs=("$1"/pontra_*.deb)
    shopt -u nullglob
    [ ${#debs[@]} = 1 ] || fail "cpack made no package pontra in $1"
    made=${debs[0]}
}
make_packages "$build"
deb=$made
batch_deb=$deb
if [ "$batch" != "$build" ]; then
    [ -e "$batch/bin/libplatform-qt.so" ] && fail "$batch has the window back end: no batch build"
    make_packages "$batch"
    batch_deb=$made
fi
shopt -s nullglob
windows=("$build"/pontra-window_*.deb)
shopt -u nullglob
window=""
if [ -f "$build/bin/libplatform-qt.so" ]; then
    [ ${#windows[@]} = 1 ] || fail "the build has the window back end, but cpack made no pontra-window"
    window=${windows[0]}
fi

packages=("$deb" $window)
[ "$batch_deb" != "$deb" ] && packages+=("$batch_deb")
for package in "${packages[@]}"; do
    lintian --fail-on error "$package" >"$scratch/lintian.log" 2>&1 ||
        fail "lintian finds errors in $(basename "$package"): $(cat "$scratch/lintian.log")"
done

field() {
    dpkg-deb -f "$1" "$2"
}
for package in "$deb" "$batch_deb"; do
    depends=$(field "$package" Depends)
    for dependency in libc6 libstdc++6 libshp2 libmdb3 libcairo2; do
        grep -q "\b$dependency\b" <<<"$depends" || fail "pontra's Depends lacks $dependency: $depends"
    done
    grep -qi qt <<<"$depends" && fail "pontra depends on Qt: $depends"
    [ "$(field "$package" Recommends)" = pontra-window ] || fail "pontra does not recommend the window"
done
version=$(field "$deb" Version)
[ "$(field "$batch_deb" Version)" = "$version" ] || fail "the two builds' pontra differ in version"
if [ -n "$window" ]; then
    depends=$(field "$window" Depends)
    for dependency in "pontra (= $version)" libqt6widgets6; do
        grep -qF "$dependency" <<<"$depends" || fail "pontra-window's Depends lacks $dependency: $depends"
    done
fi

# Installs this pontra package with apt, the window package offered as a candidate the way a
# repository would offer it; the extra apt options follow. Records what dpkg added.
install_pontra() {
    local package=$1 sources=() before
    shift
    [ -n "$window" ] && sources=(--with-source "$window")
    before=$(dpkg-query -W -f='${Package}\n' | sort)
    "${apt[@]}" install "${sources[@]}" "$@" "$package" >"$scratch/apt.log" 2>&1 ||
        fail "apt-get install $* failed: $(cat "$scratch/apt.log")"
    comm -13 <(echo "$before") <(dpkg-query -W -f='${Package}\n' | sort) >"$scratch/added"
}

# Purges pontra (and the window package with it) and checks that nothing of theirs is left.
purge_pontra() {
    local files
    mapfile -t files < <(dpkg -L pontra; installed pontra-window && dpkg -L pontra-window)
    "${apt[@]}" purge pontra >"$scratch/apt.log" 2>&1 || fail "apt-get purge failed: $(cat "$scratch/apt.log")"
    installed pontra-window && fail "pontra-window stays installed after pontra is purged"
    for f in "${files[@]}"; do
        # Folders such as /usr/share/man stay with other packages; the package's own must go.
        if [ -L "$f" ] || [ -f "$f" ]; then fail "$f is left after the purge"; fi
    done
    for dir in /usr/lib/kestrel /usr/share/doc/pontra /usr/share/doc/pontra-window; do
        [ -e "$dir" ] && fail "$dir is left after the purge"
    done
    return 0
}

# A batch-only machine: no window package, no Qt, and the example converts.
install_pontra "$deb" --no-install-recommends
installed pontra-window && fail "--no-install-recommends installed pontra-window"
grep -i qt "$scratch/added" && fail "the batch-only install added Qt packages"
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
purge_pontra

# With recommends, as apt installs by default: the window package comes along, its library finds
# everything it needs and the window shows, with every picture on its toolbar also when pontra
# was built without Qt.
if [ -n "$window" ]; then
    install_pontra "$batch_deb"
    installed pontra-window || fail "the install with recommends left out pontra-window"
    ldd /usr/lib/kestrel/libplatform-qt.so | grep "not found" && fail "libplatform-qt.so misses a library"
    bash "$here/../qt/pontra-window.sh" /usr/bin/pontra "$build/package-shots" \
        >"$scratch/window.log" 2>&1 || fail "the window failed: $(cat "$scratch/window.log")"
    purge_pontra
fi
echo "package test: $(basename "$deb") ${window:+and $(basename "$window") }lintian-clean, installed" \
    "with and without recommends${window:+ (the window with every toolbar picture)}, converts the" \
    "example and purges cleanly"
