#!/usr/bin/env bash
# Builds and runs the benchmarks (every build/bin/bench_* program), or only
# those whose names are given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$build/bin"
if [ $# -gt 0 ]; then list=("$@"); else list=(bench_*); fi
for b in "${list[@]}"; do
  [ -x "$b" ] || continue
  echo "== $b"
  "./$b"
done
