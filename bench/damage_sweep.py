#!/usr/bin/env python3
"""Random damage against byeorisol-data repair, checked verse by verse.

Builds the whole version once (the King James text of data/kjv-ko, and a text
for the two verses it lacks, so that every verse has one), exports it as the
original, then COUNT times copies it, damages the copy in one way drawn from a
generator seeded with SEED and the try's index, and repairs it:

  bytes  one to four bytes in a row, anywhere, overwritten with other values
  cut    the file cut short at a random length
  page   one page copied over another

Exit 2 must leave the file byte for byte as it was. Exit 0 or 1 must leave a
version that `report` counts at 31,102 records and that `export` writes out;
every verse must then have its original text, but for the verses repair
listed as lost (which must be Null) or as damaged. A verse that differs after
exit 0 is a false success, one that exit 1 does not list an unreported loss.
A false success on a file that repair left as it was ("sound") is a change the
soundness check cannot see: bytes of a text replaced by other well-formed text.

usage: bench/damage_sweep.py BUILD_DIR [COUNT] [SEED] [INDEX]
  INDEX replays that one try alone and keeps its scratch folder.
"""
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

from processes import data_command, install_tree

COUNT, SEED, PAGE = 200, 20261207, 4096
KINDS = ("bytes", "cut", "page")
RECORDS = 31102
# The two verses the King James text lacks in the Korean numbering.
FILLED = {"아 6:14": "(no text in the King James Version)", "요삼 1:15": "(no text in the King James Version)"}
RANGE = re.compile(r"^(\S+) (\d+):(\d+)(?:-(\d+))?$")


def damage(rng, kind, original):
    """Returns the damaged bytes and words that say what was done, enough to redo it."""
    data = bytearray(original)
    if kind == "bytes":
        length = rng.randint(1, 4)
        offset = rng.randrange(len(data) - length + 1)
        new = bytes((data[offset + i] + rng.randint(1, 255)) % 256 for i in range(length))
        said = f"offset {offset}: {data[offset:offset + length].hex(' ')} -> {new.hex(' ')}"
        data[offset:offset + length] = new
    elif kind == "cut":
        length = rng.randrange(len(data))
        said = f"cut to {length} bytes of {len(data)}"
        del data[length:]
    else:
        source, target = rng.sample(range(len(data) // PAGE), 2)
        said = f"page {source + 1} copied over page {target + 1} (offset {target * PAGE})"
        data[target * PAGE:(target + 1) * PAGE] = original[source * PAGE:(source + 1) * PAGE]
    return bytes(data), said


def listed(stdout):
    """The verses repair listed under each heading of its output, the ranges expanded."""
    lists, current = {"lost": set(), "damaged": set()}, None
    for line in stdout.splitlines():
        if line.startswith("본문을 잃은 구절 ("):
            current = "lost"
        elif line.startswith("글자가 손상된 본문 ("):
            current = "damaged"
        elif current and (m := RANGE.match(line)):
            book, chapter, first, last = m[1], m[2], int(m[3]), int(m[4] or m[3])
            lists[current].update(f"{book} {chapter}:{v}" for v in range(first, last + 1))
        else:
            current = None
    return lists


def exported(data, version, folder):
    """The texts of a version by reference, as export writes them (UTF-8: a damaged text may hold U+FFFD)."""
    shutil.rmtree(folder, ignore_errors=True)
    done = subprocess.run(data + ["export", version, folder, "--encoding", "utf-8"], capture_output=True)
    if done.returncode != 0:
        return None, " ".join(done.stdout.decode(errors="replace").split())
    texts = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), encoding="utf-8-sig", newline="") as book:
            for line in book.read().split("\r\n")[:-1]:
                book_name, place, text = line.split(" ", 2)
                texts[f"{book_name} {place}"] = text
    return texts, None


def one_try(data, viewer, original, texts, seed, index, scratch):
    """Damages, repairs and checks one copy; returns (kind, exit code, failure or None, said)."""
    rng = random.Random(seed * 1_000_003 + index)
    kind = KINDS[index % len(KINDS)]
    damaged, said = damage(rng, kind, original)
    for name in os.listdir(viewer):
        if name != "개역.DAT" and name != "manager":
            os.remove(os.path.join(viewer, name))
    version = os.path.join(viewer, "whole.DAT")
    with open(version, "wb") as out:
        out.write(damaged)
    done = subprocess.run(data + ["repair", version], capture_output=True, text=True)
    with open(version, "rb") as back:
        after = back.read()
    if done.returncode == 2:
        return kind, 2, None if after == damaged else "refusal changed the file", said
    if done.returncode not in (0, 1):
        return kind, done.returncode, f"exit {done.returncode}: {done.stderr.strip()}", said
    sound = after == damaged
    report = subprocess.run(data + ["report", version], capture_output=True, text=True)
    if report.returncode != 0 or not report.stdout.startswith(f"레코드: {RECORDS}\n"):
        return kind, done.returncode, f"report: exit {report.returncode}, {report.stdout.splitlines()[:1]}", said
    now, refused = exported(data, version, os.path.join(scratch, "export"))
    if now is None:
        return kind, done.returncode, f"export refused: {refused}", said
    lists = listed(done.stdout)
    differing = {r for r in texts.keys() | now.keys() if texts.get(r) != now.get(r)}
    unlisted = sorted(differing - lists["lost"] - lists["damaged"])
    if unlisted:
        what = "false success" + (" (sound)" if sound else "") if done.returncode == 0 else "unreported loss"
        return kind, done.returncode, f"{what}: {len(unlisted)} verses, first {unlisted[:3]}", said
    if done.returncode == 1 and not lists["lost"] | lists["damaged"]:
        return kind, 1, "exit 1 lists no verse", said
    if lists["lost"] & now.keys():
        return kind, done.returncode, f"listed as lost but has a text: {sorted(lists['lost'] & now.keys())[:3]}", said
    return kind, done.returncode, None, said


def main():
    build_dir = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else COUNT
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else SEED
    only = int(sys.argv[4]) if len(sys.argv) > 4 else None
    books_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "kjv-ko")
    books = sorted(os.path.join(books_dir, f) for f in os.listdir(books_dir) if f.endswith(".txt"))
    work = tempfile.mkdtemp(prefix="byeorisol-sweep-", dir="/dev/shm" if os.access("/dev/shm", os.W_OK) else None)
    try:
        program = install_tree(build_dir, work)
        data = data_command(build_dir, program)
        viewer = os.path.dirname(program)
        version = os.path.join(viewer, "whole.DAT")
        if subprocess.run(data + ["build", "whole.DAT"] + books, capture_output=True).returncode not in (0, 1):
            sys.exit("build failed")
        for reference, text in FILLED.items():
            if subprocess.run(data + ["save", version, reference, text], capture_output=True).returncode != 0:
                sys.exit(f"save {reference} failed")
        texts, refused = exported(data, version, os.path.join(work, "export"))
        if refused or len(texts) != RECORDS:
            sys.exit(f"the whole version does not export {RECORDS} texts: {refused}")
        with open(version, "rb") as whole:
            original = whole.read()

        columns = ("tries", "exit 0", "exit 1", "exit 2", "false success", "unreported loss",
                   "refusal changed the file", "other")
        counts = {kind: dict.fromkeys(columns, 0) for kind in KINDS}
        failures = []
        for index in [only] if only is not None else range(count):
            kind, code, failure, said = one_try(data, viewer, original, texts, seed, index, work)
            row = counts[kind]
            row["tries"] += 1
            row[f"exit {code}"] = row.get(f"exit {code}", 0) + 1
            if failure:
                row[next((c for c in columns[4:7] if failure.startswith(c)), "other")] += 1
                failures.append(f"seed {seed} index {index} ({kind}, {said}): exit {code}, {failure}")

        print(f"Repair of random damage to the whole version ({len(original):,} bytes, {RECORDS:,} records), "
              f"seed {seed}")
        print(f"{'damage':8}" + "".join(f" {c:>{max(len(c), 6)}}" for c in columns))
        for kind, row in counts.items():
            print(f"{kind:8}" + "".join(f" {row[c]:>{max(len(c), 6)}}" for c in columns))
        for failure in failures:
            print(failure)
        if only is not None:
            print(f"kept: {work}")
    finally:
        if only is None:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
