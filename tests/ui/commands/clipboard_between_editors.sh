#!/usr/bin/env bash
# Two editors under a real X server: a question copied in one is pasted in
# the other, its text and scores intact. Skipped (77) without Xvfb.
set -euo pipefail
peer=$1
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
work=$(mktemp -d)
cleanup() {
  [ -n "${copier:-}" ] && kill "$copier" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and tells it.
exec 3> "$work/display"
Xvfb -displayfd 3 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb

printf 'Source\r\n)t 30\r\n)<\r\nNo\r\n)* 1\r\n):Part\r\n)?\r\nHow much is\r\n2+2?\r\n)! 1\r\nfour\r\n)! -3\r\nfive\r\n):\r\n' > "$work/source.q"
printf 'Target\r\n)t 30\r\n)<\r\nNo\r\n)* 1\r\n):Other\r\n)?\r\nfirst\r\n):\r\n' > "$work/target.q"

"$peer" copy "$work/source.q" q2 "$work/ready" &
copier=$!
for _ in $(seq 100); do [ -f "$work/ready" ] && break; sleep 0.1; done
[ -f "$work/ready" ] || { echo "the copying editor did not get ready"; exit 1; }

"$peer" paste "$work/target.q" q2 "$work/out.q"
printf ')?\r\nfirst\r\n)?\r\nHow much is\r\n2+2?\r\n)! 1\r\nfour\r\n)! -3\r\nfive\r\n):\r\n' > "$work/expected"
if ! tail -c "$(stat -c %s "$work/expected")" "$work/out.q" | cmp -s - "$work/expected"; then
  echo "the pasted test is not as expected:"
  cat -A "$work/out.q"
  exit 1
fi
echo "the question arrived intact in the other editor"
