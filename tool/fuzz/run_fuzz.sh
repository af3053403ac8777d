#!/usr/bin/env bash
# Builds fuzz_medium with clang in build-fuzz/ and runs it for the given
# number of seconds (default 300) on a fresh seed corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-300}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHARNWICK_BUILD_FUZZ=ON -DHARNWICK_BUILD_TESTS=OFF -DHARNWICK_BUILD_BENCH=OFF
fi
cmake --build "$build" --target fuzz_medium
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
python3 "$root/tool/fuzz/make_seeds.py" "$build/fuzz-seeds"
cd "$build"
./bin/fuzz_medium -max_total_time="$seconds" -max_len=70000 -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 "$corpus" "$build/fuzz-seeds"
