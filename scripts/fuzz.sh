#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each on its seed corpus.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build="$root/build-fuzz"
CC=clang CXX=clang++ SETUP_SKIP_INSTALL=1 BUILD_TYPE=Debug \
    bash "$root/scripts/setup.sh" "$build" -DKESTREL_FUZZ=ON -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz: no targets yet"
    exit 0
fi
for t in "${targets[@]}"; do
    name=$(basename "$t")
    corpus="$root/fuzz/corpus/${name#fuzz_}"
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
    echo "fuzz: $name for ${seconds}s"
    (cd "$work" && "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work") 2>&1 | tail -n 12
    rm -rf "$work"
done
