#!/usr/bin/env bash
# The real editor in a real X server: started with a test on its command
# line, a letter typed into the title, Ctrl+S, then closed as its frame's
# close button does, answering the save question. The saved bytes and the
# ended process are checked. Skipped (77) without Xvfb or xdotool.
set -uo pipefail
editor=$1
send_close=$2
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool is not installed"; exit 77; }
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  stop_server
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own for each run: Xvfb picks a free number and tells it.
start_server() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$work/display")"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
stop_server() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  xvfb=""
}
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"

# Waits up to five seconds for a visible window of that exact name.
find_window() {
  local found=""
  for _ in $(seq 50); do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}

# One run; 0 when it went through, 3 when the bare X server failed the run
# (it refused the editor's connection, or dropped the close request, as it
# does now and then under a loaded CPU with no window manager between), 1 for
# a fault of the editor.
attempt() {
  start_server || { echo "the X server did not start"; return 3; }
  printf 'Smoke\r\n)t 30\r\n)"\x20 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\nNo\r\n):\r\n' > "$work/smoke.q"
  "$editor" "$work/smoke.q" >"$work/editor.log" 2>&1 &
  pid=$!
  local window
  window=$(find_window 'Smoke - Mirvane')
  if [ -z "$window" ]; then
    grep -q "could not connect to display" "$work/editor.log" && return 3
    echo "the editor's window did not appear"; cat "$work/editor.log"; return 1
  fi
  sleep 1

  # The title box of the parameters panel, at its place in the first-run layout.
  xdotool mousemove --window "$window" 230 100 click 1
  xdotool key --window "$window" End
  xdotool type --window "$window" --delay 80 X
  [ -n "$(find_window 'SmokeX - Mirvane')" ] || { echo "the typing did not reach the title"; return 1; }
  xdotool key --window "$window" ctrl+s
  for _ in $(seq 50); do
    head -c 8 "$work/smoke.q" | cmp -s - <(printf 'SmokeX\r\n') && break
    sleep 0.1
  done
  head -c 8 "$work/smoke.q" | cmp -s - <(printf 'SmokeX\r\n') || { echo "Ctrl+S did not save the title"; return 1; }

  "$send_close" "$window"
  local prompt
  prompt=$(find_window 'Внимание!!!')
  if [ -z "$prompt" ]; then
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=""
    return 3
  fi
  # "Да", the question's default: saves, then the window closes.
  for _ in $(seq 20); do
    xdotool key --window "$prompt" Return 2>/dev/null
    sleep 0.3
    [ -z "$(xdotool search --name '^Внимание!!!$' 2>/dev/null)" ] && break
  done
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo "the editor did not end"; return 1; fi
  wait "$pid" || { echo "the editor ended with a failure"; cat "$work/editor.log"; pid=""; return 1; }
  pid=""
  head -c 8 "$work/smoke.q" | cmp -s - <(printf 'SmokeX\r\n') || { echo "the title was not saved:"; head -n2 "$work/smoke.q" | cat -A; return 1; }
  return 0
}

for run in 1 2 3; do
  attempt
  status=$?
  [ -n "$pid" ] && { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=""; }
  stop_server
  case $status in
    0) echo "typed, saved and closed"; exit 0 ;;
    3) echo "run $run: the X server failed the run; again" ;;
    *) exit 1 ;;
  esac
done
# Every run failed at the X server's end (a refused connection, or a close
# request never delivered after the typing and Ctrl+S had been checked): the
# closing sequence is left to the offscreen tests of the window.
echo "the X server failed every run; skipped"
exit 77
