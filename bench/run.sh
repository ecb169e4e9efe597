#!/usr/bin/env bash
# Runs the benchmarks: the Google Benchmark programs, then whole-command
# comparisons of mirvane-cli against a baseline measured in the same run.
set -euo pipefail
build=${1:-build}
runs=${BENCH_RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for b in "$build"/mirvane_*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions="${BENCH_REPETITIONS:-5}" --benchmark_report_aggregates_only=true
done

"$build"/mirvane-bench-gen "$work/big.q"
echo "== command comparisons on $(stat -c %s "$work/big.q") bytes, median of $runs runs"

# Median wall time in milliseconds of a shell command.
median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    bash -c "$1" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

compare() {
  local name=$1 ours=$2 baseline=$3
  local a b
  b=$(median_ms "$baseline")
  a=$(median_ms "$ours")
  awk -v n="$name" -v a="$a" -v b="$b" 'BEGIN { printf "%-28s %6d ms   baseline %6d ms   ratio %.2f\n", n, a, b, (b > 0 ? a / b : 0) }'
}

iconv_round="iconv -f CP866 -t UTF-8 '$work/big.q' | iconv -f UTF-8 -t CP866 > '$work/iconv.q'"
compare "resave vs iconv round trip" "'$build/mirvane-cli' resave '$work/big.q' '$work/out.q'" "$iconv_round"
for extra in bench/commands.d/*.sh; do
  [ -f "$extra" ] && source "$extra"
done
true
