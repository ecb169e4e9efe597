#!/usr/bin/env bash
# The real editor in a real X server: started with a test on its command
# line, a letter typed into the title, Ctrl+S, then closed as its frame's
# close button does, answering the save question. The saved bytes and the
# ended process are checked. Skipped (77) without Xvfb or xdotool.
set -uo pipefail
editor=$1
send_close=$2
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"

# One run; 0 when it went through, 3 when the X server refused the editor's
# connection, 1 for a fault of the editor.
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

  "$send_close" "$window" || { echo "the close request could not be sent"; return 1; }
  local prompt
  prompt=$(find_window 'Внимание!!!' 150)
  [ -n "$prompt" ] || { echo "the close request brought no save question"; return 1; }
  # "Да", the question's default: saves, then the window closes.
  answer_yes_and_wait "$prompt" || return 1
  head -c 8 "$work/smoke.q" | cmp -s - <(printf 'SmokeX\r\n') || { echo "the title was not saved:"; head -n2 "$work/smoke.q" | cat -A; return 1; }
  return 0
}

run_attempts "typed, saved and closed"
