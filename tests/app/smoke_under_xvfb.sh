#!/usr/bin/env bash
# The real editor in a real X server: started with a test on its command
# line, a letter typed into the title, Ctrl+S, then closed as its frame's
# close button does, answering the save question. The saved bytes and the
# ended process are checked. Skipped (77) without Xvfb or xdotool.
set -euo pipefail
editor=$1
send_close=$2
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool is not installed"; exit 77; }
work=$(mktemp -d)
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3> "$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"

printf 'Smoke\r\n)t 30\r\n)"\x20 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\nNo\r\n):\r\n' > "$work/smoke.q"
"$editor" "$work/smoke.q" >"$work/editor.log" 2>&1 &
pid=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Smoke - Mirvane$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the editor's window did not appear"; cat "$work/editor.log"; exit 1; }
xdotool search --sync --onlyvisible --name '^Smoke - Mirvane$' >/dev/null
sleep 1

# The title box of the parameters panel, at its place in the first-run layout.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" 230 100 click 1
xdotool key --window "$window" End
xdotool type --window "$window" --delay 80 X
# The caption follows the title as it is typed.
for _ in $(seq 30); do
  xdotool search --name '^SmokeX - Mirvane$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name '^SmokeX - Mirvane$' >/dev/null 2>&1 || { echo "the typing did not reach the title"; exit 1; }
xdotool key --window "$window" ctrl+s
sleep 0.5
"$send_close" "$window"
prompt=""
for _ in $(seq 100); do
  prompt=$(xdotool search --name '^Внимание!!!$' 2>/dev/null | head -n1 || true)
  [ -n "$prompt" ] && break
  sleep 0.1
done
[ -n "$prompt" ] || { echo "the save question did not appear"; exit 1; }
sleep 0.3
# "Да", the question's default: saves, then the window closes.
for _ in $(seq 20); do
  xdotool key --window "$prompt" Return 2>/dev/null || true
  sleep 0.3
  xdotool search --name '^Внимание!!!$' >/dev/null 2>&1 || break
done

for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "the editor did not end"; exit 1; fi
wait "$pid" || { echo "the editor ended with a failure"; cat "$work/editor.log"; exit 1; }
pid=""

head -c 8 "$work/smoke.q" | cmp -s - <(printf 'SmokeX\r\n') || { echo "the title was not saved:"; head -n2 "$work/smoke.q" | cat -A; exit 1; }
echo "typed, saved and closed"
