#!/usr/bin/env bash
# The real editor under a real X server, killed with SIGKILL an edit after
# its last save: at the next start the work is offered, and accepted it is
# back. Skipped (77) without Xvfb or xdotool.
set -uo pipefail
editor=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool is not installed"; exit 77; }
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

find_window() {
  local found=""
  for _ in $(seq "${2:-50}"); do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}

"$editor" >"$work/first.log" 2>&1 &
pid=$!
window=$(find_window 'Экзамен - Mirvane')
[ -n "$window" ] || { echo "the editor's window did not appear"; cat "$work/first.log"; exit 1; }
sleep 1
xdotool mousemove --window "$window" 230 100 click 1
xdotool key --window "$window" End
xdotool type --window "$window" --delay 80 Z
[ -n "$(find_window 'ЭкзаменZ - Mirvane')" ] || { echo "the typing did not reach the title"; exit 1; }
# Another node: the typed title is stored in the test.
xdotool mousemove --window "$window" 80 94 click 1

# The copy comes within the editor's 30 seconds.
copy=""
for _ in $(seq 450); do
  copy=$(ls "$work"/data/*/*/recovery/work-"$pid".q.info 2>/dev/null | head -n1)
  [ -n "$copy" ] && break
  sleep 0.1
done
[ -n "$copy" ] || { echo "no copy of the work was written"; exit 1; }
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""

"$editor" >"$work/second.log" 2>&1 &
pid=$!
offer=$(find_window 'Mirvane' 100)
[ -n "$offer" ] || { echo "the work was not offered"; cat "$work/second.log"; exit 1; }
xdotool key --window "$offer" Return   # "Да"
[ -n "$(find_window 'ЭкзаменZ - Mirvane' 100)" ] || { echo "the work did not come back"; exit 1; }
echo "killed, offered and restored"
