#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

// byeorisol-data show PATH REFERENCE: prints the verse's reference and text, one
// line each, as the verse editor's display box and text box show them.
int showCommand(const QString& path, const QString& reference);

// byeorisol-data save PATH REFERENCE TEXT: stores TEXT as the verse's text by the
// verse editor's save rules.
int saveCommand(const QString& path, const QString& reference, const QString& text);

// byeorisol-data history PATH [REFERENCE]: the version's changes, or the verse's with its texts
// before and after each, newest first.
int historyCommand(const QString& path, const std::optional<QString>& reference);

// byeorisol-data undo PATH [REFERENCE]: takes back the version's last change in effect, or the verse's (each undo
// one more), and prints every verse with the text it has again. With redo (byeorisol-data redo PATH [REFERENCE]),
// brings back the change the last undo not yet redone took back.
int undoCommand(const QString& path, const std::optional<QString>& reference, bool redo = false);

// byeorisol-data find PATH PATTERN [--regex] [--ignore-case]: every verse whose text matches, one line each
// ("참조 본문") in the order of 번호. Exit status 0 with matches, 1 without, 2 when the request cannot be carried out;
// a command line that makes no sense is a usage error.
int findCommand(const QStringList& arguments);

// byeorisol-data replace PATH PATTERN REPLACEMENT [--regex] [--ignore-case] [--dry-run]: every verse the
// replacement changes with its text before and after, then those it leaves unchanged, then the count; stored as
// one change of the history unless --dry-run. Exit status 0 when a verse changes (or would), 1 when none, 2 when
// the request cannot be carried out, 130 when Ctrl+C cancelled it (nothing stored).
int replaceCommand(const QStringList& arguments);

} // namespace cli
