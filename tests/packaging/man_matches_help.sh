#!/usr/bin/env bash
# The manual pages of mirvane-cli and its bash completion name the same
# commands and options as `mirvane-cli --help`: a command or option added,
# renamed or dropped in one and not the other fails here.
# Usage: man_matches_help.sh MIRVANE_CLI COMPLETION_FILE MANPAGE...
set -u
here=$(cd "$(dirname "$0")" && pwd)
cli=$1
completion=$2
shift 2

# Options: a dash or two and a letter, after a blank, a bracket, a bar or the
# start of a line (so "utf-8" or "moodle-xml" are no options).
options() { grep -oE -- '(^|[][ |(,])--?[a-z][a-z0-9-]*' | sed 's/^[][ |(,]//' | LC_ALL=C sort -u | paste -sd' '; }

help=$("$cli" --help) || { echo "mirvane-cli --help failed"; exit 1; }
help_commands=$(sed -nE 's/^ +mirvane-cli ([a-z][a-z-]*).*/\1/p' <<<"$help" | LC_ALL=C sort -u | paste -sd' ')
help_options=$(options <<<"$help")
[ -n "$help_commands" ] && [ -n "$help_options" ] || { echo "no commands or options found in --help"; exit 1; }

status=0
differs() {
  echo "$1: $2 '$3', --help: '$4'"
  status=1
}

for page in "$@"; do
  # The page as text: roff's escaped dashes plain, font changes and the
  # examples dropped (a file there may begin with a dash).
  text=$(sed -e '/^\.EX/,/^\.EE/d' -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")
  commands=$(sed -nE 's/^\.B mirvane-cli ([a-z][a-z-]*).*/\1/p' <<<"$text" | LC_ALL=C sort -u | paste -sd' ')
  [ "$commands" = "$help_commands" ] || differs "$page" commands "$commands" "$help_commands"
  page_options=$(options <<<"$text")
  [ "$page_options" = "$help_options" ] || differs "$page" options "$page_options" "$help_options"
  grep -q '^\.B \\-\\-$' "$page" || { echo "$page: '--' (the end of the options) is not described"; status=1; }
done

# The completion: the commands it offers first, and every option it offers
# before or after any command ("--" aside).
complete() { bash "$here/complete_words.sh" "$completion" "$@"; }
offered_commands=$(complete "" | paste -sd' ')
offered_options=$( { complete -; for c in $help_commands; do complete "$c" -; done; } | grep -vx -- -- | options)
[ "$offered_commands" = "$help_commands" ] || differs completion commands "$offered_commands" "$help_commands"
[ "$offered_options" = "$help_options" ] || differs completion options "$offered_options" "$help_options"

[ $status -eq 0 ] && echo "manual pages and completion agree with --help: $help_commands; $help_options"
exit $status
