#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then configures and builds.
#   scripts/setup.sh [BUILD_DIR] [CMAKE_ARGS...]
# BUILD_DIR defaults to build. Settings from the environment:
#   SETUP_LISTS="build window test"
#                              which package lists to install: scripts/packages-<name>.txt
#                              (build: building and running the programs; window: the converter's
#                              Qt window; test: what the tests, benchmarks, fuzz targets and the
#                              package check add)
#   SETUP_SKIP_INSTALL=1       skips the package step
#   SETUP_TARGETS="..."        builds only these targets (default: everything configured)
#   SETUP_JOBS=N               parallel build jobs (default: the number of processors)
#   BUILD_TYPE                 CMake build type (default RelWithDebInfo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
shift || true

wanted_packages() {
    local list file
    for list in ${SETUP_LISTS:-build window test}; do
        file="$root/scripts/packages-$list.txt"
        if [ ! -f "$file" ]; then
            echo "setup: no package list $file" >&2
            return 1
        fi
        grep -vE '^\s*(#|$)' "$file"
    done
}

install_packages() {
    local wanted missing=()
    wanted=$(wanted_packages)
    for p in $wanted; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    if [ -z "$(ls -A /var/lib/apt/lists 2>/dev/null | grep -v -e lock -e partial)" ]; then
        $sudo apt-get update -q
    fi
    echo "Installing: ${missing[*]}"
    if ! $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; then
        $sudo apt-get update -q
        $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

[ "${SETUP_SKIP_INSTALL:-0}" = 1 ] || install_packages

case "$build" in /*) ;; *) build="$root/$build" ;; esac
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@"
targets=()
for t in ${SETUP_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j "${SETUP_JOBS:-$(nproc)}" "${targets[@]}"
