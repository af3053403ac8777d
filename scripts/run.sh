#!/usr/bin/env bash
# Installs what is missing, builds, and starts 3e Harnwick.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -x "$root/scripts/make-demo.sh" ]; then
  # Beside the program, so the first F3 dialog (which opens in the program's
  # folder) shows it straight away.
  "$root/scripts/make-demo.sh" "$build/bin/3E.EXE" "$build/bin"
fi
# The browser finds the disk tool in its start folder by default.
cd "$build/bin"
exec ./3eharnwick
