# Sourced by run.sh: `mirvane-cli spell` on a test of 10,000 questions (the
# dictionaries read, every word checked, each distinct one asked once),
# against the iconv round trip of the same file in the same run.
"$build"/mirvane-bench-gen "$work/spell.q" 10000
q="$work/spell.q"
echo "== spell on spell.q, $(stat -c %s "$q") bytes, median of $runs pairs"
"$build"/mirvane-bench-compare "$runs" "$q" spell "'$build/mirvane-cli' spell '$q' > /dev/null || true" \
  "iconv -f CP866 -t UTF-8 '$q' | iconv -f UTF-8 -t CP866 > '$work/iconv.q'"
