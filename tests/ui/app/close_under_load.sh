#!/usr/bin/env bash
# Closing the real editor twenty times under openbox while two busy loops
# keep both cores busy: each time a fresh editor, a few edits (the title, a
# division's name, an answer's score), the focus left in the title, the
# division's name, the score's box or the tree in turn, then Alt+F4 or the
# WM_DELETE_WINDOW a session manager sends. Every close must bring the save
# question; "Да" must save the edits. Skipped (77) without Xvfb, xdotool or
# openbox.
set -uo pipefail
editor=$1
send_close=$2
runs=${CLOSE_RUNS:-20}
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
command -v openbox >/dev/null || { echo "openbox is not installed"; exit 77; }

busy=()
stop_busy() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null
  busy=()
}
trap 'stop_busy; stop_all; rm -rf "$work"' EXIT

write_test() {
  printf 'Close\r\n)t 30\r\n)"\x20 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\nNo\r\n)* 1\r\n):Part\r\n)?\r\nQuestion\r\n)! 1\r\nYes\r\n)! 0\r\nNo\r\n):\r\n' \
    > "$work/close.q"
}

# Clicks at a place of the editor's window (its inside, without the frame).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# The places below are those of the first-run layout: the title box and the
# tree's rows (the parameters, the division, its question once expanded),
# the division's name box and the first answer's score box.
focus_title() { click 57 76; click 230 100; }
focus_division_name() { click 57 113; click 230 100; }

# One fresh editor: edits, the focus moved to box number KIND, closed by
# HOW (key or message). 0 when the question came and the edits were saved.
close_once() {
  local kind=$1 how=$2
  write_test
  rm -rf "$work/home"
  mkdir -p "$work/home"
  HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
    "$editor" "$work/close.q" >"$work/editor.log" 2>&1 &
  pid=$!
  window=$(find_window 'Close - Mirvane' 150)
  [ -n "$window" ] || { echo "the editor's window did not appear"; cat "$work/editor.log"; return 1; }

  # The title: the caption follows it.
  click 230 100
  xdotool key End
  xdotool type --delay 30 T
  [ -n "$(find_window 'CloseT - Mirvane' 100)" ] || { echo "the typing did not reach the title"; return 1; }
  # The division's name.
  focus_division_name
  xdotool key End
  xdotool type --delay 30 D
  # The question, then its first answer's score: 1 becomes 4, one more by
  # the spin control's up arrow.
  click 57 113
  xdotool key Right Down
  click 154 181
  xdotool key End BackSpace 4
  click 172 176
  local title=CloseT name=PartD
  case $kind in
    0) focus_title; xdotool key End; xdotool type --delay 30 F; title=CloseTF ;;
    1) focus_division_name; xdotool key End; xdotool type --delay 30 F; name=PartDF ;;
    2) ;; # the score's box keeps the focus
    3) click 57 131 ;; # the question's row in the tree
  esac

  case $how in
    key)
      # openbox closes the window it keeps active, which the clicks made this one.
      for _ in $(seq 50); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break; sleep 0.1; done
      xdotool key alt+F4 ;;
    message) "$send_close" "$window" || return 1 ;;
  esac
  local prompt
  prompt=$(find_window 'Внимание!!!' 150)
  [ -n "$prompt" ] || { echo "no save question"; return 1; }
  # "Да", the question's default: saves, then the editor ends.
  answer_yes_and_wait "$prompt" || return 1
  cmp -s "$work/close.q" <(printf '%s\r\n' "$title" ')t 30' ')" 0' ')@ 0' ')f LOG.TXT' ')< ' 'No' ')* 1' "):$name" ')?' \
    'Question' ')! 5' 'Yes' ')! 0' 'No' '):') || { echo "the edits were not saved:"; cat -A "$work/close.q"; return 1; }
  return 0
}

# 0: every close brought the question; 3: the X server or the window manager
# did not start; 1: a close went wrong.
attempt() {
  start_server || { echo "the X server did not start"; return 3; }
  start_window_manager || { echo "openbox did not start"; cat "$work/openbox.log"; return 3; }
  export QT_QPA_PLATFORM=xcb
  for _ in 1 2; do
    ( while :; do :; done ) &
    busy+=($!)
  done
  local focus=(title "division name" "score box" tree) run kind how
  for ((run = 0; run < runs; run++)); do
    kind=$((run % 4))
    how=key
    ((run / 4 % 2)) && how=message
    close_once "$kind" "$how" || { echo "run $((run + 1)): closed by $how, the focus in the ${focus[kind]}"; stop_busy; return 1; }
  done
  stop_busy
  return 0
}

run_attempts "$runs closes under load, each with the save question"
