# Sourced by the tests that drive the real editor under a bare X server:
# a server of its own per run, waiting for windows, and runs retried when the
# server (not the editor) fails them. The sourcing script sets `work` (a
# folder of its own) and defines `attempt`, which returns 0 when the run went
# through, 3 when the X server failed it, and anything else for a fault of
# the editor; it keeps the editor's process id in `pid`.
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool is not installed"; exit 77; }
pid=""
xvfb=""
wm=""

# Starts Xvfb, which picks a free display number and tells it; true once the
# server answers.
start_server() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$work/display")"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

# Starts openbox on the server, as a user's desktop has a window manager
# between the editor and the keys; true once it runs.
start_window_manager() {
  rm -f "$work/wm-ready"
  openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 100); do [ -e "$work/wm-ready" ] && return 0; sleep 0.1; done
  return 1
}

# Ends the editor left running, if any, the window manager and the server.
stop_all() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  pid=""
  [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
  wm=""
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  xvfb=""
}
trap 'stop_all; rm -rf "$work"' EXIT

# The first visible window of exactly that name, waiting up to TRIES tenths
# of a second (50 unless told); empty when none came.
find_window() {
  local found=""
  for _ in $(seq "${2:-50}"); do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}

# Answers "Да", the default, to the save question PROMPT (a window id), then
# waits for the editor to end; 1, after saying why, when it does not end or
# ends with a failure.
answer_yes_and_wait() {
  for _ in $(seq 20); do
    xdotool key --window "$1" Return 2>/dev/null
    sleep 0.3
    [ -z "$(xdotool search --name '^Внимание!!!$' 2>/dev/null)" ] && break
  done
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo "the editor did not end"; return 1; fi
  wait "$pid" || { echo "the editor ended with a failure"; cat "$work/editor.log"; pid=""; return 1; }
  pid=""
}

# Runs `attempt` up to three times on fresh servers; says MESSAGE and ends
# the script with 0 when one went through, 1 on a fault of the editor, and
# skips (77) when the server failed every run.
run_attempts() {
  local status
  for run in 1 2 3; do
    attempt
    status=$?
    stop_all
    case $status in
      0) echo "$1"; exit 0 ;;
      3) echo "run $run: the X server failed the run; again" ;;
      *) exit 1 ;;
    esac
  done
  echo "the X server failed every run; skipped"
  exit 77
}
