#!/usr/bin/env bash
# Runs the benchmarks: the Google Benchmark programs, then whole-command
# comparisons of mirvane-cli against a baseline measured in the same run.
set -euo pipefail
build=${1:-build}
runs=${BENCH_RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for b in "$build"/mirvane_*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions="${BENCH_REPETITIONS:-5}" --benchmark_report_aggregates_only=true
done

# Whole commands against the iconv round trip of the same file, in one run:
# the medians, their ratio, and the peak memory of each beside the file's
# size. Two shapes of a large test: 100,000 long questions, and 180,000
# short ones in 1,800 divisions.
"$build"/mirvane-bench-gen "$work/big.q" 100000
"$build"/mirvane-bench-gen "$work/many.q" 180000 short
for file in big many; do
  q="$work/$file.q"
  echo "== command comparisons on $file.q, $(stat -c %s "$q") bytes, median of $runs pairs"
  iconv_round="iconv -f CP866 -t UTF-8 '$q' | iconv -f UTF-8 -t CP866 > '$work/iconv.q'"
  compare() { "$build"/mirvane-bench-compare "$runs" "$q" "$1" "$2" "$iconv_round"; }
  compare resave "'$build/mirvane-cli' resave '$q' '$work/out.q'"
  compare check "'$build/mirvane-cli' check '$q' > /dev/null"
  compare html "'$build/mirvane-cli' html '$q' '$work/out.htm'"
  compare text "'$build/mirvane-cli' text '$q' '$work/out.txt'"
  if [ -x "$build/mirvane-bench-open" ]; then
    "$build/mirvane-bench-open" "$q" 2>/dev/null
  fi
done
for extra in bench/commands.d/*.sh; do
  [ -f "$extra" ] && source "$extra"
done
true
