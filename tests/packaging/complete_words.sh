#!/usr/bin/env bash
# Usage: complete_words.sh COMPLETION_FILE WORD... (the last word is the one
# being completed, "" for a new one). Prints what bash's completion of
# mirvane-cli offers for that command line, sorted, one per line.
completion=$1
shift
exec bash --norc --noprofile -s "$completion" "$@" <<'BASH'
source "$1" || exit 2
shift
registration=$(complete -p mirvane-cli) || exit 2
function=$(sed -n 's/.* -F \([^ ]*\) .*/\1/p' <<<"$registration")
COMP_WORDS=(mirvane-cli "$@")
COMP_CWORD=$#
COMP_LINE="${COMP_WORDS[*]}"
COMP_POINT=${#COMP_LINE}
COMPREPLY=()
"$function" mirvane-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort
BASH
