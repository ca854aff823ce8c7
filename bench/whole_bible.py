#!/usr/bin/env python3
"""Whole-Bible, whole-process benchmark of byeorisol-data check, build and export.

Runs each command several times on the 66 code page 949 book files of the King James text in data/kjv-ko
(31,102 lines), beside two peers on the same verses: SWORD's imp2vs building a raw-text module, and the sqlite3
shell importing the lines into one table with one index in one transaction (the floor for storing them). Reports
the median wall time, the ratio to imp2vs and the peak resident memory of each, and the peak memory of check and
build on an input ten times longer. The same verses are built from one USFM file (a book after another, a
paragraph a chapter, "LORD" in a character marker), one OSIS and one Zefania XML file, once and ten times over.
A save of one verse and a compaction of the built version are timed as whole processes. The export writes the
built version back out, as the 66 text files, as the IMP file that imp2vs reads, and as an OSIS, a Zefania XML
and a VPL file. A repair of the built version, with a text for the two verses the King James text lacks, is
timed damaged (16 pages of zeros in its middle, so that every record is salvaged) and sound (the soundness check
alone). A comparison of that version with a copy is timed with one text in fifty changed (a word added) and with
every text changed (all its letters in capitals, so that nearly every word of every verse differs). A find over
that version (a phrase, and a regular expression) and a replacement of every verse's text as one change are timed
too, and an inspection of the whole version, alone and against a copy of it. SWORD's modules installed here are
built from the OSIS mod2osis writes of them (beside osis2mod on it) and straight from the module (beside mod2imp -s).

usage: bench/whole_bible.py BUILD_DIR [RUNS]
"""
import os
import shutil
import sqlite3
import statistics
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

from processes import data_command, install_tree, run

OSIS_IDS = ("Gen Exod Lev Num Deut Josh Judg Ruth 1Sam 2Sam 1Kgs 2Kgs 1Chr 2Chr Ezra Neh Esth Job Ps Prov Eccl Song "
            "Isa Jer Lam Ezek Dan Hos Joel Amos Obad Jonah Mic Nah Hab Zeph Hag Zech Mal Matt Mark Luke John Acts Rom "
            "1Cor 2Cor Gal Eph Phil Col 1Thess 2Thess 1Tim 2Tim Titus Phlm Heb Jas 1Pet 2Pet 1John 2John 3John Jude "
            "Rev").split()


def measure(name, runs, prepare, argv, accept=(0,), **kwargs):
    times, cpus, peaks = [], [], []
    for _ in range(runs):
        prepare()
        seconds, cpu, peak, code = run(argv() if callable(argv) else argv, **kwargs)
        if code not in accept:
            sys.exit(f"{name}: exit code {code}")
        times.append(seconds)
        cpus.append(cpu)
        peaks.append(peak)
    return statistics.median(times), statistics.median(cpus), max(peaks)


def write_xml_bible(path, lines, books, dialect, times=1):
    """The lines ("창 1:1 text", book by book) as one UTF-8 OSIS file (each chapter a paragraph of verses between
    milestones) or Zefania file, the whole Bible times times over."""
    numbers = {os.path.basename(book)[3:-4]: int(os.path.basename(book)[:2]) for book in books}
    osis = dialect == "osis"
    with open(path, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        out.write('<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace"><osisText osisIDWork="KJV">\n'
                  if osis else '<XMLBIBLE biblename="KJV">\n')
        for _ in range(times):
            book = chapter = None
            for line in lines:
                abbreviation, chapter_verse, text = line.split(" ", 2)
                number = numbers[abbreviation]
                verse_chapter, verse = chapter_verse.split(":")
                if (number, verse_chapter) != (book, chapter):
                    if chapter is not None:
                        out.write("</p></chapter>\n" if osis else "</CHAPTER>\n")
                    if number != book and book is not None:
                        out.write("</div>\n" if osis else "</BIBLEBOOK>\n")
                    if number != book:
                        out.write(f'<div type="book" osisID="{OSIS_IDS[number - 1]}">\n' if osis
                                  else f'<BIBLEBOOK bnumber="{number}" bname="{abbreviation}">\n')
                    book, chapter = number, verse_chapter
                    out.write(f'<chapter osisID="{OSIS_IDS[number - 1]}.{chapter}"><p>\n' if osis
                              else f'<CHAPTER cnumber="{chapter}">\n')
                if osis:
                    osis_id = f"{OSIS_IDS[number - 1]}.{chapter}.{verse}"
                    out.write(f'<verse sID="{osis_id}" osisID="{osis_id}"/>{escape(text)}<verse eID="{osis_id}"/>\n')
                else:
                    out.write(f'<VERS vnumber="{verse}">{escape(text)}</VERS>\n')
            out.write("</p></chapter></div>\n" if osis else "</CHAPTER></BIBLEBOOK>\n")
        out.write("</osisText></osis>\n" if osis else "</XMLBIBLE>\n")


def main():
    build_dir = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    books_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "kjv-ko")
    books = sorted(os.path.join(books_dir, f) for f in os.listdir(books_dir) if f.endswith(".txt"))
    lines = []
    for book in books:
        with open(book, encoding="cp949") as text:
            lines += text.read().splitlines()
    assert len(books) == 66 and len(lines) == 31102

    work = tempfile.mkdtemp(prefix="byeorisol-bench-")
    try:
        program = install_tree(build_dir, work)
        data = data_command(build_dir, program)
        target = os.path.join(work, "viewer", "bench.DAT")

        def fresh_target():
            if os.path.exists(target):
                os.remove(target)

        exported = os.path.join(work, "exported")
        exported_imp = os.path.join(work, "exported.imp")
        exported_files = {name: os.path.join(work, f"exported.{name.lower()}") for name in ("OSIS", "Zefania", "VPL")}

        def fresh_export():
            shutil.rmtree(exported, ignore_errors=True)
            for path in [exported_imp, *exported_files.values()]:
                if os.path.exists(path):
                    os.remove(path)

        # SWORD's import form: "$$$<reference>" then the text.
        imp = os.path.join(work, "kjv.imp")
        with open(imp, "w", encoding="utf-8") as out:
            for line in lines:
                book, chapter_verse, text = line.split(" ", 2)
                out.write(f"$$${book} {chapter_verse}\n{text}\n")
        module = os.path.join(work, "module")

        # The same verses in USFM, one file of 66 books.
        usfm_codes = ("GEN EXO LEV NUM DEU JOS JDG RUT 1SA 2SA 1KI 2KI 1CH 2CH EZR NEH EST JOB PSA PRO ECC SNG ISA "
                      "JER LAM EZK DAN HOS JOL AMO OBA JON MIC NAM HAB ZEP HAG ZEC MAL MAT MRK LUK JHN ACT ROM 1CO "
                      "2CO GAL EPH PHP COL 1TH 2TH 1TI 2TI TIT PHM HEB JAS 1PE 2PE 1JN 2JN 3JN JUD REV").split()
        usfm = os.path.join(work, "kjv.usfm")
        with open(usfm, "w", encoding="utf-8") as out:
            abbreviations = []
            for line in lines:
                book, chapter_verse, text = line.split(" ", 2)
                chapter, verse = chapter_verse.split(":")
                if book not in abbreviations:
                    abbreviations.append(book)
                    code = usfm_codes[len(abbreviations) - 1]
                    out.write(f"\\id {code}\n\\h {book}\n\\mt1 {book}\n")
                if verse == "1":
                    out.write(f"\\c {chapter}\n\\p\n")
                marked = text.replace("LORD", "\\nd LORD\\nd*")
                out.write(f"\\v {verse} {marked}\n")

        def fresh_module():
            shutil.rmtree(module, ignore_errors=True)
            os.makedirs(module)

        # The sqlite3 shell: the same lines into one table with one index, in one transaction.
        tsv = os.path.join(work, "kjv.tsv")
        with open(tsv, "w", encoding="utf-8") as out:
            for line in lines:
                book, chapter_verse, text = line.split(" ", 2)
                out.write(f"{book} {chapter_verse}\x1f{text}\x1e")
        floor_db = os.path.join(work, "floor.db")
        script = os.path.join(work, "floor.sql")
        with open(script, "w", encoding="utf-8") as out:
            out.write("BEGIN;\nCREATE TABLE verses(reference TEXT, text TEXT);\n"
                      "CREATE INDEX by_reference ON verses(reference);\n"
                      f".mode ascii\n.import '{tsv}' verses\nCOMMIT;\n")

        def fresh_floor():
            if os.path.exists(floor_db):
                os.remove(floor_db)

        results = {}
        results["imp2vs (raw-text module)"] = measure(
            "imp2vs", runs, fresh_module, ["imp2vs", imp, "-o", module, "-l", "ko"])
        results["sqlite3 shell, one transaction"] = measure(
            "sqlite3", runs, fresh_floor, ["sqlite3", floor_db, f".read {script}"])
        results["byeorisol-data check"] = measure(
            "check", runs, lambda: None, data + ["check"] + books, accept=(0, 1))
        results["byeorisol-data build"] = measure(
            "build", runs, fresh_target, data + ["build", "bench.DAT"] + books, accept=(0, 1))
        # The same verses as one OSIS file and as one Zefania file; and each ten times over in one file.
        xml_bibles = {}
        for dialect, times in (("osis", 1), ("zefania", 1), ("osis", 10), ("zefania", 10)):
            xml_bibles[dialect, times] = os.path.join(work, f"kjv-{dialect}-{times}.xml")
            write_xml_bible(xml_bibles[dialect, times], lines, books, dialect, times)
        for dialect, name in (("osis", "OSIS"), ("zefania", "Zefania")):
            results[f"byeorisol-data build, {name}"] = measure(
                f"build {name}", runs, fresh_target, data + ["build", "bench.DAT", xml_bibles[dialect, 1]],
                accept=(0, 1))
        results["byeorisol-data export, text files"] = measure(
            "export", runs, fresh_export, data + ["export", target, exported])
        results["byeorisol-data export, IMP file"] = measure(
            "export imp", runs, fresh_export, data + ["export", target, exported_imp, "--format", "imp"])
        for name, path in exported_files.items():
            results[f"byeorisol-data export, {name}"] = measure(
                f"export {name}", runs, fresh_export, data + ["export", target, path, "--format", name.lower()])
        # Each save stores a text other than the last, so that each is a change in the history.
        saves = iter(range(runs))
        results["byeorisol-data save, one verse"] = measure(
            "save", runs, lambda: None,
            lambda: data + ["save", target, "창 1:1", f"In the beginning ({next(saves)})."])
        results["byeorisol-data compact"] = measure(
            "compact", runs, lambda: None, data + ["compact", target])
        # A build into the built version that gives every verse another text (each line ends in " +"), from a
        # copy of the built version each time: one change of 31,102 verses. Then the undo of that change.
        changed_books = []
        os.makedirs(os.path.join(work, "changed"))
        for book in books:
            changed = os.path.join(work, "changed", os.path.basename(book))
            with open(book, encoding="cp949") as text, open(changed, "w", encoding="cp949", newline="") as out:
                out.writelines(line + " +\r\n" for line in text.read().splitlines())
            changed_books.append(changed)
        built = os.path.join(work, "built.DAT")
        shutil.copy(target, built)
        results["byeorisol-data build, into the built"] = measure(
            "build into existing", runs, lambda: shutil.copy(built, target),
            data + ["build", "bench.DAT"] + changed_books, accept=(0, 1))
        rebuilt = os.path.join(work, "rebuilt.DAT")
        shutil.copy(target, rebuilt)
        growth = os.path.getsize(rebuilt) - os.path.getsize(built)
        # (A build before the history and the comparison knows neither: its figures go without their rows.)
        help_text = subprocess.run(data + ["--help"], capture_output=True).stdout
        if b"undo" in help_text:
            results["byeorisol-data undo, that build"] = measure(
                "undo", runs, lambda: shutil.copy(rebuilt, target), data + ["undo", target])
        shutil.copy(built, target)  # the rows below work on the version as built
        # The whole version with every verse's text; damaged: 16 whole pages in the middle are zeros.
        whole = os.path.join(work, "viewer", "whole.DAT")
        shutil.copy(target, whole)
        for reference in ("아 6:14", "요삼 1:15"):
            if run(data + ["save", whole, reference, "(not in the King James Version)"])[3] != 0:
                sys.exit(f"save {reference}: failed")
        with open(whole, "rb") as version:
            sound = version.read()
        middle = len(sound) // 2 // 4096 * 4096
        damaged = sound[:middle] + bytes(16 * 4096) + sound[middle + 16 * 4096:]

        def write_whole(content):
            def write():
                # What a repair keeps of a damaged file goes, so that runs do not pile it up.
                for name in os.listdir(os.path.dirname(whole)):
                    if name.startswith("whole.DAT."):
                        os.remove(os.path.join(os.path.dirname(whole), name))
                with open(whole, "wb") as out:
                    out.write(content)
            return write

        # Copies of the whole version with texts changed, through SQLite itself.
        changed = {}
        for name, update in (("1/50", "본문 = 본문 || ' (changed)' WHERE 번호 % 50 = 0"),
                             ("all", "본문 = upper(본문)")):
            changed[name] = os.path.join(work, f"changed-{len(changed)}.DAT")
            shutil.copy(whole, changed[name])
            with sqlite3.connect(changed[name]) as db:
                db.execute(f"UPDATE 본문 SET {update}")
            db.close()
        for name, copy in changed.items() if b"compare" in help_text else ():
            results[f"byeorisol-data compare, {name} changed"] = measure(
                f"compare {name}", runs, lambda: None, data + ["compare", whole, copy], accept=(1,))
        # Find over the whole version, a plain phrase and a regular expression; a replacement of every verse (its first
        # letter doubled) as one change, into a fresh copy each run.
        if b"replace" in help_text:
            results["byeorisol-data find, plain"] = measure(
                "find plain", runs, lambda: None, data + ["find", whole, "LORD God"])
            results["byeorisol-data find, regex"] = measure(
                "find regex", runs, lambda: None,
                data + ["find", whole, r"\b(\w+),? and \1\b", "--regex", "--ignore-case"])
            replaced = os.path.join(work, "viewer", "replaced.DAT")
            results["byeorisol-data replace, every verse"] = measure(
                "replace all", runs, lambda: shutil.copy(whole, replaced),
                data + ["replace", replaced, "^(.)", r"\1\1", "--regex"])
        # The inspection of the whole version, alone and against a copy of itself (every verse's length compared).
        inspect_copy = os.path.join(work, "inspect-copy.DAT")
        shutil.copy(whole, inspect_copy)
        if b"inspect" in help_text:
            results["byeorisol-data inspect"] = measure(
                "inspect", runs, lambda: None, data + ["inspect", whole], accept=(0, 1))
            results["byeorisol-data inspect --against"] = measure(
                "inspect against", runs, lambda: None, data + ["inspect", whole, "--against", inspect_copy],
                accept=(0, 1))
        results["byeorisol-data repair, damaged"] = measure(
            "repair damaged", runs, write_whole(damaged), data + ["repair", whole], accept=(1,))
        results["byeorisol-data repair, sound"] = measure(
            "repair sound", runs, write_whole(sound), data + ["repair", whole])
        results["byeorisol-data check, input x10"] = measure(
            "check x10", 1, lambda: None, data + ["check"] + books * 10, accept=(0, 1))
        results["byeorisol-data build, input x10"] = measure(
            "build x10", 1, fresh_target, data + ["build", "bench.DAT"] + books * 10, accept=(0, 1))
        results["byeorisol-data build, USFM"] = measure(
            "build usfm", runs, fresh_target, data + ["build", "bench.DAT", usfm], accept=(0, 1))
        results["byeorisol-data build, USFM x10"] = measure(
            "build usfm x10", 1, fresh_target, data + ["build", "bench.DAT"] + [usfm] * 10, accept=(0, 1))
        for dialect, name in (("osis", "OSIS"), ("zefania", "Zefania")):
            results[f"byeorisol-data build, {name} x10"] = measure(
                f"build {name} x10", 1, fresh_target, data + ["build", "bench.DAT", xml_bibles[dialect, 10]],
                accept=(0, 1))

        # SWORD's own OSIS of each module installed (mod2osis writes it malformed in places): osis2mod and a build.
        real_osis = []
        for name in ("engKJV2006eb", "engWEB2015eb", "spaRV1909eb"):
            real_file = os.path.join(work, name + ".xml")
            with open(real_file, "wb") as out:
                written = shutil.which("mod2osis") and subprocess.run(
                    ["mod2osis", name], stdout=out, stderr=subprocess.DEVNULL).returncode == 0 and out.tell() > 0
            if written:
                real_osis.append((name, measure(f"osis2mod {name}", runs, fresh_module,
                                                ["osis2mod", module, real_file, "-z"]),
                                  measure(f"build {name}", runs, fresh_target,
                                          data + ["build", "bench.DAT", real_file], accept=(0, 1, 3))))
        # Each installed module straight through SWORD's library, beside mod2imp -s writing it out.
        modules = []
        for name in (name for name, _, _ in real_osis):
            modules.append((name, measure(f"mod2imp -s {name}", runs, lambda: None, ["mod2imp", name, "-s"]),
                            measure(f"build --sword {name}", runs, fresh_target,
                                    data + ["build", "bench.DAT", "--sword", name], accept=(0, 1))))

        base = results["imp2vs (raw-text module)"][0]
        print(f"Whole Bible: 66 files, 31,102 lines; median of {runs} runs (x10 rows: one run)")
        base_cpu = results["imp2vs (raw-text module)"][1]
        # Processor time is the steadier measure on a machine that does other work meanwhile.
        print(f"{'what':36} {'median s':>9} {'x imp2vs':>9} {'cpu s':>7} {'x imp2vs':>9} {'peak MB':>8}")
        for name, (seconds, cpu, peak) in results.items():
            print(f"{name:36} {seconds:9.3f} {seconds / base:9.2f} {cpu:7.3f} {cpu / base_cpu:9.2f} {peak / 1024:8.1f}")
        repairs = [results[f"byeorisol-data repair, {state}"] for state in ("damaged", "sound")]
        print(f"The build into the built version grew it by {growth / 1024 / 1024:.1f} MB")
        print(f"Goals: a repair of a whole version within 0.5 s (damaged {repairs[0][0]:.3f} s, sound "
              f"{repairs[1][0]:.3f} s) and under 60 MB (peak {max(r[2] for r in repairs) / 1024:.1f} MB); "
              f"a compaction within 0.15 s ({results['byeorisol-data compact'][0]:.3f} s)")
        writes = [results[f"byeorisol-data export, {name}"] for name in exported_files]
        print(f"Goal: an export as OSIS, Zefania or VPL at most 0.1x imp2vs and under 40 MB ("
              + ", ".join(f"{name} {w[0] / base:.2f}x, {w[2] / 1024:.1f} MB" for name, w in zip(exported_files, writes))
              + ")")
        compares = [results.get(f"byeorisol-data compare, {name} changed", (0, 0, 0)) for name in changed]
        print(f"Goal: a comparison of two whole versions within 0.3 s and 40 MB (1/50 changed "
              f"{compares[0][0]:.3f} s, {compares[0][2] / 1024:.1f} MB; all changed {compares[1][0]:.3f} s, "
              f"{compares[1][2] / 1024:.1f} MB)")
        if "byeorisol-data replace, every verse" in results:
            finds = [results[f"byeorisol-data find, {kind}"] for kind in ("plain", "regex")]
            replace = results["byeorisol-data replace, every verse"]
            print(f"Goals: a find over the whole version within 0.1 s (plain {finds[0][0]:.3f} s, regex "
                  f"{finds[1][0]:.3f} s); a replacement of every verse within 0.5 s ({replace[0]:.3f} s); "
                  f"under 40 MB (peak {max(r[2] for r in finds + [replace]) / 1024:.1f} MB)")
        usfm_builds = [results[f"byeorisol-data build, USFM{times}"] for times in ("", " x10")]
        print(f"Goal: a build from a whole Bible in USFM within 0.3x imp2vs ({usfm_builds[0][0] / base:.2f}x, processor "
              f"{usfm_builds[0][1] / base_cpu:.2f}x) and under 40 MB (peak {usfm_builds[0][2] / 1024:.1f} MB, "
              f"x10 {usfm_builds[1][2] / 1024:.1f} MB)")
        inspects = [results.get(f"byeorisol-data inspect{name}", (0, 0, 0)) for name in ("", " --against")]
        print(f"Goal: an inspection of a whole version within 0.3 s and 40 MB (alone {inspects[0][0]:.3f} s, "
              f"{inspects[0][2] / 1024:.1f} MB; against a copy {inspects[1][0]:.3f} s, {inspects[1][2] / 1024:.1f} MB)")
        xml_rows = [results[f"byeorisol-data build, {name}{times}"]
                    for name in ("OSIS", "Zefania") for times in ("", " x10")]
        print(f"Goal: a build from an OSIS or a Zefania file at most 0.3x imp2vs (OSIS {xml_rows[0][0] / base:.2f}x, "
              f"Zefania {xml_rows[2][0] / base:.2f}x), under 40 MB and flat for a file ten times as long "
              f"(peaks {', '.join(f'{row[2] / 1024:.1f}' for row in xml_rows)} MB)")
        for name, peer, ours in real_osis:
            print(f"Goal: a build from {name}'s mod2osis file within 0.3x osis2mod and under 40 MB "
                  f"({ours[0]:.3f} s against {peer[0]:.3f} s: {ours[0] / peer[0]:.2f}x; {ours[2] / 1024:.1f} MB "
                  f"against {peer[2] / 1024:.1f} MB)")
        for name, peer, ours in modules:
            print(f"Goal: a build straight from the SWORD module {name} within 0.5 s ({ours[0]:.3f} s, "
                  f"{ours[2] / 1024:.1f} MB; mod2imp -s alone {peer[0]:.3f} s)")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
