#!/usr/bin/env bash
# Installs everything the project needs to build, run and test on Debian 12.
# Idempotent: packages already present are left alone; the package index is
# refreshed once, and only when something is missing.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libzip-dev libcurl4-openssl-dev zlib1g-dev
  # fuzzing (libFuzzer ships with clang)
  clang libclang-rt-14-dev
  # running under a virtual display, fonts, screenshots
  xvfb xauth imagemagick fonts-dejavu-core
  # a window manager and a keyboard driver for the focus test under X
  openbox xdotool x11-utils
  # independent checkers used by the tests
  cpmtools fuse-emulator-utils zmakebas libdsk-utils
  # cards shared with a PC, on loop devices: a FAT partition beside the +3e's
  dosfstools e2fsprogs util-linux
  # the tests' own HTTP server for the update check
  python3
  # a private bus for the tests of the device service (udisks2)
  dbus-daemon
  # desktop integration: icons rendered from SVG, validators, package checks
  librsvg2-bin desktop-file-utils appstream lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
