#!/usr/bin/env bash
# Builds a libFuzzer target with clang in build-fuzz/ and runs it for the
# given number of seconds on a small seed corpus made afresh.
#   run_fuzz.sh [fuzz_medium|fuzz_write|fuzz_floppy] [seconds, default 300]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-fuzz"
target="${1:-fuzz_medium}"
seconds="${2:-300}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHARNWICK_BUILD_FUZZ=ON -DHARNWICK_BUILD_TESTS=OFF -DHARNWICK_BUILD_BENCH=OFF
fi
cmake --build "$build" --target "$target"
seeds="$build/seeds-$target"
rm -rf "$seeds"
mkdir -p "$seeds" "$build/corpus-$target"
if [ "$target" = fuzz_floppy ]; then
  # +3 floppies made by libdsk and filled by cpmtools, standard and extended.
  work="$(mktemp -d)"
  (cd "$work" && dskform -type dsk -format pcw180 a.dsk >/dev/null &&
    head -c 20000 /dev/urandom > big && printf 'hello' > small &&
    cpmcp -T dsk -f pcw a.dsk big 0:BIG.BIN && cpmcp -T dsk -f pcw a.dsk small 3:SMALL.TXT &&
    dsktrans -otype edsk a.dsk b.dsk >/dev/null 2>&1)
  cp "$work/a.dsk" "$work/b.dsk" "$seeds/"
  rm -rf "$work"
  maxlen=200000
else
  python3 "$root/tool/fuzz/make_seeds.py" "$seeds"
  maxlen=140000
fi
cd "$build"
"./bin/$target" -max_total_time="$seconds" -max_len="$maxlen" -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 "$build/corpus-$target" "$seeds"
