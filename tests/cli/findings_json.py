#!/usr/bin/env python3
"""check --all and stats in JSON, read back by Python's own JSON parser:
quotes, backslashes and control characters in the test's texts must come
through as the texts themselves."""
import json
import os
import subprocess
import sys
import tempfile

cli = sys.argv[1]
odd = 'Сдан "на" \\ отлично\tс табуляцией'
lines = ["Кавычки", ")<", "Не сдан", ")> 9", odd,
         ")* 1", '): Раздел "первый" \\', ")?", "Сколько?", ")! 1", "да", ")! 0", "Да ",
         ")?", "сколько?", ")! 1", "да", ")! 0", "нет", "):"]
failures = []


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: {got!r} != {wanted!r}")


with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, 'тест "1".q')
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode("cp866") + b"\r\n")

    run = subprocess.run([cli, "check", "--all", "--format", "json", path], capture_output=True)
    expect("check status", run.returncode, 0)
    findings = json.loads(run.stdout.decode("utf-8"))
    expect("findings", [(f["file"], f["line"], f["node"], f["severity"]) for f in findings],
           [(path, 4, "marks", "warning"), (path, 8, "division 1, question 1", "warning"),
            (path, 14, "division 1, question 2", "warning")])
    expect("mark message", findings[0]["message"],
           f"оценку «{odd}» получить нельзя: порог 9 больше наибольшей суммы баллов 1")
    expect("repeat message", findings[2]["message"], "тот же вопрос, что в строке 8")

    run = subprocess.run([cli, "check", "--all", "--format", "json", "--no-warn", "all", path], capture_output=True)
    expect("nothing found", json.loads(run.stdout.decode("utf-8")), [])

    run = subprocess.run([cli, "stats", "--format", "json", path], capture_output=True)
    expect("stats status", run.returncode, 0)
    stats = json.loads(run.stdout.decode("utf-8"))
    expect("divisions", stats["divisions"], [{"name": ' Раздел "первый" \\', "questions": 2, "asked": 1}])
    expect("totals", (stats["asked"], stats["largest_total"], stats["smallest_total"]), (1, 1, 0))
    expect("marks", stats["marks"], [{"description": "Не сдан", "threshold": None, "reachable": True},
                                     {"description": odd, "threshold": 9, "reachable": False}])
    expect("best positions", (stats["time_limit"], stats["best_positions"]), (30, [2]))

    # A file name need not be UTF-8: the output stays JSON all the same, the
    # bytes that are no character standing as U+FFFD.
    odd_name = os.path.join(os.fsencode(folder), b"bad\xff\xfe\nname.q")
    with open(odd_name, "wb") as f:
        f.write("\r\n".join(lines).encode("cp866") + b"\r\n")
    for command in (["check", "--all", "--format", "json"], ["stats", "--format", "json"]):
        run = subprocess.run([cli] + command + [odd_name], capture_output=True)
        try:
            read = json.loads(run.stdout.decode("utf-8"))
            named = read[0]["file"] if isinstance(read, list) else read["file"]
            expect(command[0] + " odd name", named, folder + "/bad\ufffd\ufffd\nname.q")
        except ValueError as error:
            failures.append(f"{command[0]} with an odd file name: {error}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
