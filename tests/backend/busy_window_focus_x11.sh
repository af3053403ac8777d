#!/usr/bin/env bash
# Under a real X server with a window manager, with the keyboard only:
# "Get selected file(s)" six times in a row (Ctrl+G, the folder, Return),
# each followed at once by F3. The open dialog must appear every time: keys
# typed while a get runs reach the main window once it has ended, and a busy
# window that went gives the focus back.
#
#   busy_window_focus_x11.sh <3eharnwick> <3E.EXE> <source folder>
#
# Exits 77 (skipped) when xvfb-run, openbox or xdotool is missing, or the
# demo image cannot be made.
set -u
app="$1"
tool="$2"
src="$3"
rounds="${ROUNDS:-6}"

skip() {
  echo "skipped: $*"
  exit 77
}
for need in xvfb-run openbox xdotool; do
  command -v "$need" >/dev/null || skip "$need is not installed"
done
[ -x "$app" ] && [ -x "$tool" ] || skip "the programs are not built"

if [ -z "${HARNWICK_UNDER_X:-}" ]; then
  export HARNWICK_UNDER_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cp "$tool" "$work/3E.EXE"
"$src/scripts/make-demo.sh" "$work/3E.EXE" "$work" >/dev/null 2>&1
[ -f "$work/demo.hdf" ] || skip "no demo image (zmakebas or python3 missing)"

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
pids+=($!)
# The window manager is up once it has claimed the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done
(cd "$work" && exec "$app") >"$work/app.log" 2>&1 &
pids+=($!)

fail() {
  echo "FAILED: $*"
  cat "$work/app.log"
  exit 1
}
active() { xdotool getactivewindow getwindowname 2>/dev/null; }
# wait_active <glob> [tenths of a second]
wait_active() {
  for _ in $(seq "${2:-100}"); do
    # shellcheck disable=SC2053
    [[ "$(active)" == $1 ]] && return 0
    sleep 0.05
  done
  return 1
}
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
main_title="3e Harnwick - a Zx Spectrum +3e File Browser"

wait_active "$main_title*" 300 || fail "the main window did not come up"
xdotool key F3
wait_active "Open hard disk image" || fail "no open dialog for the demo image"
xdotool type --delay 10 "$work/demo.hdf"
xdotool key Return
wait_active "$main_title - $work/demo.hdf" || fail "the demo image did not open"
# The tree has the focus on the medium; the second node below it is the
# first +3DOS partition. Then select all its files.
xdotool key Down Down
sleep 0.5
xdotool key ctrl+a
sleep 0.2

missed=0
for round in $(seq "$rounds"); do
  out="$work/out$round"
  mkdir -p "$out"
  xdotool key ctrl+g
  wait_active "Select Destination Directory" || fail "round $round: no destination dialog"
  xdotool key ctrl+a
  xdotool type --delay 5 "$out"
  xdotool key Return
  # At once: as soon as the main window is active again.
  wait_active "$main_title*" || fail "round $round: the main window did not come back"
  xdotool key F3
  dialog=no
  for _ in $(seq 60); do
    if visible "^Open hard disk image$"; then
      dialog=yes
      break
    fi
    sleep 0.05
  done
  files=$(ls "$out" | wc -l)
  echo "round $round: open dialog $dialog, $files files got"
  [ "$files" -gt 0 ] || fail "round $round: nothing was got"
  if [ "$dialog" = yes ]; then
    xdotool key Escape
    wait_active "$main_title*" || fail "round $round: the open dialog did not close"
  else
    missed=$((missed + 1))
    # A key that arrives late opens the dialog late; close it for the next
    # round.
    sleep 1
    visible "^Open hard disk image$" && xdotool key Escape
    wait_active "$main_title*" || fail "round $round: the main window did not come back"
  fi
done
[ "$missed" -eq 0 ] || fail "F3 was lost in $missed of $rounds rounds"
echo "all $rounds rounds opened the dialog"
