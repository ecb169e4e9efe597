#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, each on a corpus kept
# in fuzz-corpus/ (seeded from fuzz/seeds/ when it is new). Inputs go up to
# 1 MB and each has 1 s, so that a path slower than linear shows as a timeout.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  case "$name" in *_replay) continue ;; esac
  # Absolute paths: a target may change its current folder.
  corpus="$PWD/fuzz-corpus/$name"
  mkdir -p "$corpus"
  if [ -d "fuzz/seeds/$name" ]; then cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true; fi
  echo "== $name for $seconds s"
  # The target's own status decides: a crash must fail the run.
  log=$(mktemp)
  status=0
  "$target" "$corpus" -max_total_time="$seconds" -max_len=1048576 -timeout=1 -rss_limit_mb=2048 \
    -artifact_prefix="$PWD/" -print_final_stats=1 > "$log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY|Done' "$log" || true
  rm -f "$log"
  [ "$status" -eq 0 ] || { echo "$name found a fault"; exit 1; }
done
