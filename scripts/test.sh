#!/usr/bin/env bash
# Installs what is needed, builds and runs every test: a normal build, a Release build of the
# programs, the check of the Debian packages, then a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of every fuzz target (FUZZ_SECONDS each, default 30).
# Every build treats warnings as errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${SETUP_JOBS:-$(nproc)}

# Tests and benchmarks named explicitly: the main job may have configured build/ without them.
bash scripts/setup.sh build -DKESTREL_WERROR=ON -DKESTREL_TESTS=ON -DKESTREL_BENCH=ON
ctest --test-dir build --output-on-failure -j "$jobs"
# The programs as the main job builds them, without the window back end, but in Release: GCC finds
# more to warn about at -O3. The package check pairs their pontra package with the normal build's
# window package.
SETUP_SKIP_INSTALL=1 SETUP_TARGETS=programs BUILD_TYPE=Release bash scripts/setup.sh build-release \
    -DKESTREL_WERROR=ON -DKESTREL_QT=OFF -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF
bash tests/delivery/package.sh build build-release

# The sanitizer build runs the tests only: no benchmarks.
SETUP_SKIP_INSTALL=1 bash scripts/setup.sh build-asan -DKESTREL_WERROR=ON -DKESTREL_SANITIZE=ON \
    -DKESTREL_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
