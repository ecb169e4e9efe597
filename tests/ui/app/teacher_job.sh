#!/usr/bin/env bash
# A teacher's whole first job in the real editor under openbox, by keys and
# clicks alone: the new test's title and time, two marks, two divisions of
# three questions with four answers each, the structure check, Save, the
# export for version 2.5, and the print window's PDF. The saved test is read
# back, the export and the PDF must exist, and the PDF's text must show the
# title. Prints how many user actions (keys and clicks, not the characters
# typed) the job took and how long the run was. Skipped (77) without Xvfb,
# xdotool or openbox.
set -uo pipefail
editor=$(realpath "$1")
cli=$(realpath "$2")
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
command -v openbox >/dev/null || { echo "openbox is not installed"; exit 77; }
started=$SECONDS
actions=0

# One user action per key named (a chord such as ctrl+s is one key).
press() {
  local key
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    actions=$((actions + 1))
    sleep 0.05
  done
}
# One click at a place of the editor's window (its inside, without the frame).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; actions=$((actions + 1)); sleep 0.1; }
# Typed characters are not counted.
text() { xdotool type --delay 15 "$1"; }

# Waits until the window named NAME is shown and has the keyboard; its id,
# empty when it did not come.
await() {
  local found
  found=$(find_window "$1" 150)
  [ -n "$found" ] || return 0
  for _ in $(seq 50); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$found" ] && break; sleep 0.1; done
  echo "$found"
}
# Waits until no window named NAME is shown; 1 when one still is.
gone() {
  for _ in $(seq 100); do
    [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
# Waits for FILE to exist and keep its size for a moment; 1 when it did not.
written() {
  local last=-1 size
  for _ in $(seq 100); do
    size=$(stat -c %s "$1" 2>/dev/null || echo -1)
    [ "$size" -gt 0 ] && [ "$size" = "$last" ] && return 0
    last=$size
    sleep 0.1
  done
  return 1
}

# A question with four answers, the first one right; the caret is in the
# new question's text, and Tab walks score, answer, score, answer...
question() {
  press ctrl+Return
  text "$1"
  local i
  for i in 1 2 3 4; do
    press Tab
    [ $i = 1 ] && text 1 || text 0
    press Tab
    text "$1 answer $i"
  done
}
# A division of three questions; the caret is in the new division's name.
division() {
  press ctrl+shift+Return
  text "$1"
  local q
  for q in 1 2 3; do question "$1 question $q"; done
}

attempt() {
  start_server || { echo "the X server did not start"; return 3; }
  start_window_manager || { echo "openbox did not start"; cat "$work/openbox.log"; return 3; }
  rm -rf "$work/home" "$work/job"
  mkdir -p "$work/home" "$work/job"
  actions=0
  started=$SECONDS
  # The editor starts on a new test; the dialogs offer names in its folder.
  (cd "$work/job" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" QT_QPA_PLATFORM=xcb \
    exec "$editor") >"$work/editor.log" 2>&1 &
  pid=$!
  window=$(await 'Экзамен - Mirvane')
  if [ -z "$window" ]; then
    grep -q "could not connect to display" "$work/editor.log" && return 3
    echo "the editor's window did not appear"; cat "$work/editor.log"; return 1
  fi

  # The title and the time, on the parameters panel the editor opens with.
  click 230 100
  press ctrl+a
  text History
  [ -n "$(find_window 'History - Mirvane' 100)" ] || { echo "the typing did not reach the title"; return 1; }
  press Tab
  text 20
  # Two marks: the one below every threshold, then one from 3 points on.
  click 57 94
  click 306 116
  press ctrl+a
  text Failed
  press Tab
  text 3
  press Tab
  text Passed

  division Ancient
  division Medieval

  press F9
  local check
  check=$(await 'Поиск ошибок в структуре теста')
  [ -n "$check" ] || { echo "F9 brought no structure check"; return 1; }
  press alt+F4
  gone 'Поиск ошибок в структуре теста' || { echo "the structure check did not close"; return 1; }

  press ctrl+s
  [ -n "$(await 'Сохранить')" ] || { echo "Ctrl+S brought no file dialog"; return 1; }
  press Return
  written "$work/job/History.q" || { echo "the test was not saved as the offered History.q"; ls "$work/job"; return 1; }

  # File, Export, the second entry (version 2.5), then the offered name.
  # A busy machine may open a menu after the next key has gone, so the keys
  # are sent again, though counted once, until the dialog comes.
  local tries
  for tries in 1 2 3 4; do
    xdotool key --clearmodifiers alt+Cyrillic_ef
    sleep 0.5
    xdotool key Cyrillic_e
    sleep 0.5
    xdotool key Down
    sleep 0.3
    xdotool key Return
    [ -n "$(find_window 'Сохранить в формате V2.5' 30)" ] && break
    xdotool key Escape Escape Escape
  done
  actions=$((actions + 4))
  [ -n "$(await 'Сохранить в формате V2.5')" ] || { echo "the menus brought no 2.5 export"; return 1; }
  press Return
  written "$work/job/History-2.5.q" || { echo "the export was not written as History-2.5.q"; ls "$work/job"; return 1; }

  press ctrl+p
  [ -n "$(await 'Печать')" ] || { echo "Ctrl+P brought no print window"; return 1; }
  press alt+d
  [ -n "$(await 'Сохранить как PDF')" ] || { echo "the print window's PDF button brought no dialog"; return 1; }
  press Return
  written "$work/job/History.pdf" || { echo "no History.pdf"; ls "$work/job"; return 1; }

  # The saved test read back, then the page and the sheet.
  local saved="$work/job/History.q" expect
  [ "$(head -n1 "$saved" | tr -d '\r')" = History ] || { echo "the saved title is not History:"; head -n2 "$saved"; return 1; }
  grep -q $'^)t 20\r$' "$saved" || { echo "the saved time is not 20"; return 1; }
  for expect in Failed Passed ':Ancient' ':Medieval'; do
    grep -q "$expect" "$saved" || { echo "$expect is not in the saved test"; return 1; }
  done
  [ "$(grep -c '^)?' "$saved")" = 6 ] || { echo "the saved test has not six questions:"; cat "$saved"; return 1; }
  [ "$(grep -c '^)!' "$saved")" = 24 ] || { echo "the saved test has not 24 answers:"; cat "$saved"; return 1; }
  grep -q $'^Medieval question 3 answer 4\r$' "$saved" || { echo "the last answer was not saved"; return 1; }
  "$cli" check "$saved" >"$work/check.log" 2>&1 || { echo "the saved test fails the check:"; cat "$work/check.log"; return 1; }
  local page="$work/job/History-2.5.q"
  grep -q '<TITLE>History</' "$page" && grep -q 'Medieval question 3 answer 4' "$page" ||
    { echo "the 2.5 page lacks the title or the last answer:"; head -n5 "$page"; return 1; }
  pdftotext "$work/job/History.pdf" - 2>/dev/null | grep -q History || { echo "the PDF does not show the title"; return 1; }

  echo "user actions: $actions"
  echo "run time: $((SECONDS - started)) s"
  return 0
}

run_attempts "the teacher's job went through"
