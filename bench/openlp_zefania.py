#!/usr/bin/python3
"""Run by hand: OpenLP's own Zefania importer on a Zefania export, in a scratch OpenLP data folder.

    /usr/bin/python3 bench/openlp_zefania.py FILE.xml

Needs Debian's openlp (too heavy for the tests; run it with the system's python3, which has PyQt5). OpenLP asks
the user which book each unknown book name is; this script answers as a user would, by the name's bnumber, and
counts what OpenLP stored. It imports the file twice: the second time OpenLP knows the Korean names it was told.
"""
import os
import re
import shutil
import sqlite3
import sys
import tempfile
from pathlib import Path
from unittest.mock import MagicMock, patch

scratch = tempfile.mkdtemp(prefix="openlp-")
os.environ.update(QT_QPA_PLATFORM="offscreen", HOME=scratch, XDG_DATA_HOME=f"{scratch}/data",
                  XDG_CONFIG_HOME=f"{scratch}/config")
from PyQt5 import QtWidgets  # noqa: E402

app = QtWidgets.QApplication([])
from openlp.core.common.registry import Registry  # noqa: E402
from openlp.core.common.settings import Settings  # noqa: E402

Registry.create()
Settings.setDefaultFormat(Settings.IniFormat)
Registry().register("settings", Settings())
Registry().register("application", MagicMock())
Registry().register("main_window", MagicMock())
from openlp.plugins.bibles.lib.importers.zefania import ZefaniaBible  # noqa: E402

xml = Path(sys.argv[1])
number_of = {name: int(n) for n, name in re.findall(r'<BIBLEBOOK bnumber="(\d+)" bname="([^"]+)"',
                                                     xml.read_text(encoding="utf-8"))}
asked = []


class UserPicksTheBook:
    """OpenLP's dialog that asks which book an unknown name is, answered as the user would."""

    def __init__(self, parent):
        self.book_id = None

    def exec(self, name, books, maxbooks):
        asked.append(name)
        self.book_id = number_of[name]
        return True


for run in ("first", "second"):
    asked.clear()
    name = f"import-{run}"
    with patch("openlp.plugins.bibles.forms.BookNameForm", UserPicksTheBook):
        importer = ZefaniaBible(MagicMock(), path=Path(scratch), name=name, file_path=xml)
        importer.wizard = MagicMock()
        ok = importer.do_import(name)
    db = sqlite3.connect(f"{scratch}/data/openlp/bibles/{name}.sqlite")
    books, verses = (db.execute(f"SELECT count(*) FROM {t}").fetchone()[0] for t in ("book", "verse"))
    john = db.execute("SELECT v.text FROM verse v JOIN book b ON b.id = v.book_id "
                      "WHERE b.book_reference_id = 43 AND v.chapter = 3 AND v.verse = 16").fetchone()
    print(f"{run} import: returned {ok}, asked for {len(asked)} book names, stored {books} books and "
          f"{verses} verses; John 3:16: {john[0] if john else None}")
shutil.rmtree(scratch)
