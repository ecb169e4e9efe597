# Sourced by run.sh: `mirvane-cli check --all` (every finding and warning,
# each line written) against `mirvane-cli check` (the first finding only) on
# the same files in the same run: the difference is what --all adds to
# reading the file.
for file in big many; do
  q="$work/$file.q"
  echo "== check --all on $file.q, $(stat -c %s "$q") bytes, median of $runs pairs"
  "$build"/mirvane-bench-compare "$runs" "$q" "check --all" "'$build/mirvane-cli' check --all '$q' > /dev/null || true" \
    "'$build/mirvane-cli' check '$q' > /dev/null || true"
done
