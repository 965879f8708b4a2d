#!/usr/bin/env bash
# Installs what is needed, builds and runs every test: a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of every fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/setup.sh build -DKESTREL_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"

SETUP_SKIP_INSTALL=1 bash scripts/setup.sh build-asan -DKESTREL_WERROR=ON -DKESTREL_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
