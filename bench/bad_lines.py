#!/usr/bin/env python3
"""Peak memory of byeorisol-data check on a large file of bad lines.

Writes a code page 949 file of SIZE_MB megabytes (default 200) in which every
line breaks a rule of the import format, in turn each kind of fault the check
reports, and runs `byeorisol-data check` on it once. The error log is written as
the run goes, so the peak resident memory stays flat whatever the number of bad
lines; the goal is under 50 MB for 200 MB of bad lines. Reports the peak, the
wall time and the size of the err.txt written.

usage: bench/bad_lines.py BUILD_DIR [SIZE_MB]
"""
import os
import shutil
import sys
import tempfile

from processes import data_command, install_tree, run

# One line of each fault, in code page 949: no colon, a verse that is no number, a verse of four
# digits, no chapter, an unknown book, a reference the reference version does not have.
FAULTS = [
    "창 1 1 태초에 하나님이 천지를 창조하시니라",
    "창 1:가 땅이 혼돈하고 공허하며",
    "창 1:1000 하나님이 이르시되 빛이 있으라",
    "창 :3 빛이 하나님이 보시기에 좋았더라",
    "창세기 1:4 하나님이 빛과 어둠을 나누사",
    "창 99:5 하나님이 빛을 낮이라 부르시고",
]


def write_bad_lines(path, size_mb):
    block = "".join(line + "\r\n" for line in FAULTS).encode("cp949") * 2000
    target = size_mb * 1024 * 1024
    written = 0
    with open(path, "wb") as out:
        while written < target:
            out.write(block)
            written += len(block)
    return written


def main():
    build_dir = sys.argv[1]
    size_mb = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    work = tempfile.mkdtemp(prefix="byeorisol-bad-lines-")
    try:
        program = install_tree(build_dir, work)
        text = os.path.join(work, "bad.txt")
        size = write_bad_lines(text, size_mb)
        seconds, _, peak_kib, code = run(data_command(build_dir, program) + ["check", text])
        if code != 1:
            sys.exit(f"byeorisol-data check: exit code {code}, expected 1 (line errors)")
        log = os.path.getsize(os.path.join(program, "err.txt"))
        lines = size // len("".join(line + "\r\n" for line in FAULTS).encode("cp949")) * len(FAULTS)
        print(f"check of {size / 1024 / 1024:.0f} MB of bad lines ({lines:,} lines): {seconds:.1f} s, "
              f"peak {peak_kib / 1024:.1f} MB (goal: under 50 MB), err.txt {log / 1024 / 1024:.0f} MB")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
