#!/usr/bin/env bash
# Installs what is missing, builds, and starts 3e Harnwick.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -x "$root/scripts/make-demo.sh" ]; then
  "$root/scripts/make-demo.sh" "$build/bin/3E.EXE" "$root/demo"
fi
# The browser finds the disk tool in its start folder by default.
cd "$build/bin"
exec ./3eharnwick
