#!/usr/bin/env bash
# The real editor under a real X server, killed with SIGKILL an edit after
# its last save: at the next start the work is offered, and accepted it is
# back. Skipped (77) without Xvfb or xdotool, or when the X server fails
# every run.
set -uo pipefail
editor=$1
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"

# 0: went through; 3: the X server failed the run (it refused a connection or
# lost what was typed); 1: a fault of the editor.
attempt() {
  rm -rf "$work/home"
  mkdir -p "$work/home"
  start_server || return 3
  export QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"

  "$editor" >"$work/first.log" 2>&1 &
  pid=$!
  local window
  window=$(find_window 'Экзамен - Mirvane' 100)
  if [ -z "$window" ]; then
    grep -q "could not connect to display" "$work/first.log" && return 3
    echo "the editor's window did not appear"; cat "$work/first.log"; return 1
  fi
  sleep 1
  xdotool mousemove --window "$window" 230 100 click 1
  xdotool key --window "$window" End
  xdotool type --window "$window" --delay 80 Z
  [ -n "$(find_window 'ЭкзаменZ - Mirvane')" ] || { echo "the typing did not reach the title"; return 3; }
  # Another node: the typed title is stored in the test.
  xdotool mousemove --window "$window" 80 94 click 1

  # The copy comes within the editor's 30 seconds.
  local copy=""
  for _ in $(seq 450); do
    copy=$(ls "$work"/home/data/*/*/recovery/work-"$pid".q.info 2>/dev/null | head -n1)
    [ -n "$copy" ] && break
    sleep 0.1
  done
  [ -n "$copy" ] || { echo "no copy of the work was written"; return 1; }
  kill -9 "$pid"
  wait "$pid" 2>/dev/null
  pid=""

  "$editor" >"$work/second.log" 2>&1 &
  pid=$!
  local offer
  offer=$(find_window 'Mirvane' 100)
  if [ -z "$offer" ]; then
    grep -q "could not connect to display" "$work/second.log" && return 3
    echo "the work was not offered"; cat "$work/second.log"; return 1
  fi
  xdotool key --window "$offer" Return   # "Да"
  [ -n "$(find_window 'ЭкзаменZ - Mirvane' 100)" ] || { echo "the work did not come back"; return 1; }
  return 0
}

run_attempts "killed, offered and restored"
