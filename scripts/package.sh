#!/usr/bin/env bash
# Builds the Debian package (CPack) from build/ (or $BUILD_DIR) into
# build/package/, and prints its path.
#
#   scripts/package.sh           build the .deb
#   scripts/package.sh --check   also install it with apt, run both programs
#                                and lintian (needs root; used by CI)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
# The package installs under /usr; the browser finds the tool relative to
# itself, so only the installed texts (manual pages) change with the prefix.
"$root/scripts/build.sh" -DCMAKE_INSTALL_PREFIX=/usr >&2
out="$build/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >&2)
deb="$(ls "$out"/*.deb)"
echo "$deb"

if [ "${1:-}" = "--check" ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --reinstall "$deb" >&2
  # Both programs from the PATH, as a user would start them; --version needs
  # no display.
  (cd / && env -u DISPLAY -u WAYLAND_DISPLAY 3eharnwick --version && 3e --version) >&2
  # lintian: errors fail the check; warnings are shown.
  lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >&2
fi
