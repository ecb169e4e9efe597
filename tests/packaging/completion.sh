#!/usr/bin/env bash
# bash's completion of mirvane-cli, in a bash of its own: commands, options
# and their values wherever they stand, and test files where a test is read.
set -u
here=$(cd "$(dirname "$0")" && pwd)
completion=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && touch a.q B.Q notes.txt quiz.gift -- -draft.q && mkdir sub

status=0
expect() {
  local want=$1
  shift
  local got
  got=$(bash "$here/complete_words.sh" "$completion" "$@" | paste -sd' ')
  if [ "$got" != "$want" ]; then
    echo "mirvane-cli $*<TAB>: offered '$got', expected '$want'"
    status=1
  fi
}

expect "check" ch
expect "export" --encoding auto ex
expect "--to" export --t
expect "--codepage --content" text a.q --co
expect "aiken gift moodle-xml pdf text" export --to ""
expect "aiken auto docx gift moodle-xml odt text" import --from ""
expect "auto cp1251 cp866 utf-8" check --encoding ""
expect "ansi oem utf-8" text a.q --codepage ""
expect "stats" st
expect "--all" check --a
expect "json text" stats a.q --format ""
expect "all best-in-place mark-never-given nothing-asked same-answers same-question" check --all --no-warn ""
# The value of --format is no file: stats still offers its one test, and
# nothing after it.
expect "-draft.q B.Q a.q sub" stats --format json ""
expect "" stats a.q ""
# A test is read: .q files and folders; an HTML page or what import reads
# may be any file.
expect "-draft.q B.Q a.q sub" check ""
expect "-draft.q B.Q a.q notes.txt quiz.gift sub" html --encoding auto a.q ""
expect "-draft.q B.Q a.q notes.txt quiz.gift sub" import --from gift ""
# After "--" a dash begins a file name, not an option.
expect "-draft.q" check -- -
[ $status -eq 0 ] && echo "completion offers the expected words"
exit $status
