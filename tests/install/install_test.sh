#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) and uses the installed
# programs as a user would: from another folder, with no tool beside the
# browser or in that folder, so the browser must find the installed tool.
#
#   install_test.sh <build folder> <project version>
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null
prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
root="$stage$prefix"
browser="$root/bin/3eharnwick"
[ -x "$browser" ] || fail "no browser at $browser"
[ -L "$root/bin/3e" ] || fail "no 3e link in bin/"
[ -x "$root/libexec/3e-harnwick/3E.EXE" ] || fail "no tool in libexec/3e-harnwick"
[ ! -e "$root/bin/3E.EXE" ] || fail "a tool beside the browser would hide the installed one"

# Both programs answer --version with the project's version and exit 0.
[ "$("$root/bin/3e" --version)" = "3E.EXE $version" ] || fail "3e --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$browser" --version)" = "3e Harnwick $version" ] \
  || fail "3eharnwick --version (it must not need a display)"

# The desktop files are where the desktop looks for them, and valid.
share="$root/share"
for f in applications/org.harnwick.Harnwick3e.desktop \
         metainfo/org.harnwick.Harnwick3e.metainfo.xml \
         mime/packages/org.harnwick.Harnwick3e.xml \
         icons/hicolor/scalable/apps/org.harnwick.Harnwick3e.svg \
         man/man1/3eharnwick.1.gz man/man1/3e.1.gz; do
  [ -s "$share/$f" ] || fail "missing $f"
done
if command -v rsvg-convert >/dev/null; then
  for size in 16 22 24 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/org.harnwick.Harnwick3e.png"
    [ -s "$png" ] || fail "missing ${size}x${size} icon"
  done
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$share/applications/org.harnwick.Harnwick3e.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$share/metainfo/org.harnwick.Harnwick3e.metainfo.xml" >/dev/null \
    || fail "appstreamcli validate"
fi

# A medium made by the installed tool.
mkdir -p "$work/media" "$work/home" "$work/settings" "$work/temp"
image="$work/media/disk.hdf"
"$root/bin/3e" "$image" create --size 8M >/dev/null
"$root/bin/3e" "$image" newpart GAMES 1M >/dev/null
"$root/bin/3e" "$image" newpart WORK 2M >/dev/null

# The browser, started in another folder with a relative image argument,
# lists the partitions through the installed tool. Nothing is written into
# the tool's folder (made read-only here, as under /usr) nor the start folder.
run_browser() {
  (cd "$work/home" && HARNWICK_SETTINGS_DIR="$work/settings" TEMP="$work/temp" \
     QT_QPA_PLATFORM=offscreen "$browser" "$@")
}
chmod a-w "$root/libexec/3e-harnwick"
listed="$(run_browser --list ../media/disk.hdf)" || fail "the browser could not list the image"
expected="$(printf 'PLUSIDEDOS\nGAMES\nWORK\n(free space)')"
[ "$listed" = "$expected" ] || fail "listed: [$listed], expected: [$expected]"
[ -z "$(ls -A "$work/home")" ] || fail "files left in the start folder: $(ls -A "$work/home")"
[ -z "$(ls -A "$work/temp")" ] || fail "the private folder was not removed"
chmod u+w "$root/libexec/3e-harnwick"

# Proof that it was the installed tool: without it the listing fails.
mv "$root/libexec/3e-harnwick/3E.EXE" "$work/3E.EXE.away"
if run_browser --list ../media/disk.hdf 2>"$work/err"; then fail "listed without a tool"; fi
grep -q "3e program not present" "$work/err" || fail "no missing-tool message: $(cat "$work/err")"
echo "install test passed: $listed" | tr '\n' ' '; echo
