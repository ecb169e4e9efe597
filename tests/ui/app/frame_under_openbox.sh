#!/usr/bin/env bash
# The main window under a window manager (openbox) comes back as it was: at
# every start its outer frame is where and as large as it was when it
# closed, and a maximized window comes back maximized. Skipped (77) without
# Xvfb, xdotool, openbox or the X utilities.
set -uo pipefail
editor=$1
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
command -v openbox >/dev/null && command -v xwininfo >/dev/null && command -v xprop >/dev/null ||
  { echo "openbox or xwininfo/xprop is not installed"; exit 77; }
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"

# "x,y wxh" of the window with its frame: the client's place and size widened
# by the frame extents the window manager sets; empty until it has framed it.
outer() {
  local l r t b
  IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p')
  [ -n "$b" ] || return 0
  xwininfo -id "$1" 2>/dev/null | awk -v l="$l" -v r="$r" -v t="$t" -v b="$b" '
    /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} /^ *Width/ {w = $NF} /^ *Height/ {h = $NF}
    END {print x - l "," y - t " " w + l + r "x" h + t + b}'
}

maximized() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q "_NET_WM_STATE_MAXIMIZED_HORZ"; }

# Starts the editor on the test and waits until its window is framed and
# still; sets `window` and `frame`. 3 when the X server failed the run.
start_editor() {
  "$editor" "$work/t.q" >>"$work/editor.log" 2>&1 &
  pid=$!
  window=$(find_window 'Рамка - Mirvane')
  [ -n "$window" ] || { grep -q "could not connect to display" "$work/editor.log" && return 3; echo "no window"; return 1; }
  frame=""
  local last=""
  # Up to 30 s: a loaded machine may take that long to map, frame and
  # settle a window.
  for _ in $(seq 150); do
    sleep 0.2
    frame=$(outer "$window")
    [ -n "$frame" ] && [ "$frame" = "$last" ] && return 0
    last=$frame
  done
  echo "the window manager did not frame the window"; return 1
}

# Closes the editor with openbox's Alt+F4; "Да" to the save question (the
# test has a file, so no dialog follows).
close_editor() {
  xdotool windowactivate --sync "$window" 2>/dev/null
  xdotool key --clearmodifiers alt+F4
  local prompt
  prompt=$(find_window 'Внимание!!!')
  [ -n "$prompt" ] || { echo "no save question"; return 1; }
  answer_yes_and_wait "$prompt"
}

attempt() {
  rm -rf "$work/config"
  start_server || { echo "the X server did not start"; return 3; }
  openbox >"$work/openbox.log" 2>&1 &
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  printf 'Рамка\r\n)t 30\r\n)"\x20 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\nNo\r\n):\r\n' | iconv -t cp866 >"$work/t.q"

  local first status
  start_editor; status=$?; [ $status -eq 0 ] || return $status
  first=$frame
  close_editor || return 1
  for run in 2 3; do
    start_editor; status=$?; [ $status -eq 0 ] || return $status
    [ "$frame" = "$first" ] || { echo "start $run: the frame is $frame, it was $first"; return 1; }
    [ $run = 3 ] || { close_editor || return 1; }
  done

  # Maximized by a double click on the title bar, closed, started again.
  local x y
  IFS=', ' read -r x y _ <<<"$frame"
  xdotool mousemove $((x + 60)) $((y + 8)) click --repeat 2 --delay 80 1
  for _ in $(seq 30); do maximized "$window" && break; sleep 0.1; done
  maximized "$window" || { echo "openbox did not maximize the window"; return 1; }
  close_editor || return 1
  start_editor; status=$?; [ $status -eq 0 ] || return $status
  for _ in $(seq 30); do maximized "$window" && break; sleep 0.1; done
  maximized "$window" || { echo "the maximized window came back as $frame, not maximized"; return 1; }
  close_editor || return 1
  return 0
}

run_attempts "the frame came back three times, and maximized"
