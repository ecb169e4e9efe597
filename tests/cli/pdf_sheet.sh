#!/usr/bin/env bash
# The print sheet as PDF from mirvane-cli: a test of three divisions comes out
# on A4 pages whose text (pdftotext) holds the title, the time, the line for
# the student's name, the divisions in order, the questions numbered through
# the test and the lettered, marked answers, then the answer key on a page of
# its own; the PDF is titled after the test. The handout has no key.
set -euo pipefail
cli=$1
command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null || { echo "no poppler-utils"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  printf 'Контрольная по физике\r\n)t 45\r\n)<\r\nНеуд\r\n'
  for d in Механика Оптика Термодинамика; do
    printf ')* 2\r\n):%s\r\n' "$d"
    for q in $(seq 1 25); do
      printf ')?\r\nВопрос %s номер %s: сколько будет %s плюс %s?\r\n)! 1\r\nверно %s\r\n)! 0\r\nневерно\r\n' \
        "$d" "$q" "$q" "$q" "$q"
    done
  done
} | iconv -f UTF-8 -t CP866 > "$work/t.q"
QT_QPA_PLATFORM=offscreen "$cli" export --to pdf "$work/t.q" "$work/t.pdf" --content 3
pages=$(pdfinfo "$work/t.pdf" | awk '/^Pages:/ { print $2 }')
size=$(pdfinfo "$work/t.pdf" | awk '/^Page size:/ { print $3 "x" $5 }')
pdftotext -layout "$work/t.pdf" "$work/t.txt"
status=0
[ "$size" = "595x842" ] || { echo "page size $size, not A4"; status=1; }
[ "$pages" -ge 3 ] && [ "$pages" -le 12 ] || { echo "$pages pages for 75 questions"; status=1; }
for text in "Контрольная по физике" "Время тестирования: 45 мин." "75. Вопрос Термодинамика номер 25" \
            "а) верно 25 (верный ответ)" "б) неверно"; do
  grep -qF "$text" "$work/t.txt" || { echo "missing: $text"; status=1; }
done
order=$(grep -noE '^ *(Механика|Оптика|Термодинамика)$' "$work/t.txt" | sed 's/^[0-9]*: *//' | tr '\n' ' ')
[ "$order" = "Механика Оптика Термодинамика " ] || { echo "divisions: $order"; status=1; }
grep -qF "(верный ответ)" "$work/t.txt" && ! grep -qF "б) неверно (верный ответ)" "$work/t.txt" ||
  { echo "the wrong answer is marked"; status=1; }
title=$(pdfinfo "$work/t.pdf" | sed -n 's/^Title: *//p')
[ "$title" = "Контрольная по физике" ] || { echo "PDF title: $title"; status=1; }
grep -qE 'Фамилия, имя: _+ +Класс: _+ +Дата: _+' "$work/t.txt" || { echo "no line for the name"; status=1; }
# The key: on the last page, alone, each question's number and right letter.
pdftotext -layout -f "$pages" -l "$pages" "$work/t.pdf" "$work/key.txt"
grep -q '^ *Ответы *$' "$work/key.txt" || { echo "no key on the last page"; status=1; }
grep -qF "Вопрос" "$work/key.txt" && { echo "the key shares its page with questions"; status=1; }
grep -qE '(^| )75 — а( |$)' "$work/key.txt" || { echo "no right letter for question 75"; status=1; }
pdftotext -layout -f $((pages - 1)) -l $((pages - 1)) "$work/t.pdf" - | grep -qF "Ответы" &&
  { echo "the key begins before its page"; status=1; }
# Handout: answers to choose from, nothing marked, no key.
QT_QPA_PLATFORM=offscreen "$cli" export --to pdf "$work/t.q" "$work/h.pdf" --content 2
pdftotext -layout "$work/h.pdf" "$work/h.txt"
grep -qF "б) неверно" "$work/h.txt" || { echo "handout without lettered answers"; status=1; }
grep -qE "Ответы|верный ответ" "$work/h.txt" && { echo "the handout gives the answers away"; status=1; }
indent() { grep -m1 -E "$1" "$work/h.txt" | sed -E 's/[^ ].*//' | wc -c; }
[ "$(indent '^ *б\) неверно')" -gt "$(indent '^ *1\. Вопрос')" ] || { echo "answers not indented"; status=1; }
exit $status
