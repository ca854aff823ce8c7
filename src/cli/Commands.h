#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The commands of byeorisol-data, as main() dispatches to them, each in src/cli/<Group>Commands.cpp. Each answers
// its exit status (cli/ExitCode.h).
namespace cli {

// byeorisol-data check [--encoding cp949|utf-8] FILE... | --sword MODULE, without a name;
// byeorisol-data build [--encoding cp949|utf-8] NAME FILE... | --sword MODULE, with one.
int checkOrBuildCommand(const QString& programFolder, bool build, QStringList arguments);

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

// byeorisol-data compact PATH, repair PATH and delete PATH.
int compactCommand(const QString& programFolder, const QString& path);
int repairCommand(const QString& programFolder, const QString& path);
int deleteCommand(const QString& programFolder, const QString& path);

// byeorisol-data export PATH DEST [--format text|imp|osis|zefania|vpl] [--encoding cp949|utf-8] [--force]: writes
// the version as text files into the folder DEST, or as the IMP, OSIS, Zefania or VPL file DEST, and says how many
// verses went where. Files of the names to write refuse it (exit 1) unless forced; Ctrl+C cancels it (exit 130),
// nothing written.
int exportCommand(const QStringList& arguments);

// byeorisol-data report PATH: the counts of the version's records and texts, then
// its verses without text as ranges, one to a line.
int reportCommand(const QString& path);

// byeorisol-data compare A B: the verses whose texts differ, one line each in the order of 번호,
// the changed words marked as git's word diff marks them, then their counts. Exit status 0 when
// the versions hold the same texts, 1 when they differ, 2 when they cannot be compared.
int compareCommand(const QString& pathA, const QString& pathB);

// byeorisol-data inspect PATH [--against OTHER] [--skip KIND,...]: the verses that look wrong, by kind, each with
// its reference and an excerpt, then their counts. Exit status 0 when nothing was found, 1 when something was,
// 2 when the command line makes no sense or a version cannot be read (the file named).
int inspectCommand(const QStringList& arguments);

} // namespace cli
