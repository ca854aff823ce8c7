#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace versiondb {

class VersionStore;

// What made a change of texts.
enum class ChangeSource
{
    Editor,  // a save in the verse editor
    Save,    // a save from the command line
    Build,   // a build run into an existing version
    Undo,    // a change taken back
    Restore, // an earlier text of a verse brought back
};

// One change of texts in a version's history: one save, one build run, one undo.
struct Change
{
    qint64 id = 0; // increasing with every change
    QDateTime time;
    ChangeSource source = ChangeSource::Editor;
    QString detail;    // a build's files; the number of the change an undo or restore took back
    qint64 verses = 0; // how many verses it changed
};

// One verse's text before one change and after it.
struct VerseChange
{
    Change change;
    qint64 number = 0; // 번호
    QString reference;
    QVariant before; // Null is an invalid QVariant
    QVariant after;
};

// A change being made: its entry is written with its first text that differs from the stored one.
struct PendingChange
{
    ChangeSource source = ChangeSource::Editor;
    QString detail;
    qint64 id = 0; // 0 until the entry is written
};

// The history of a version's texts, kept in the version file itself (the tables "변경" and
// "이전본문", made at the first change of a version that lacks them), so that a copy of the file
// takes it along. For every change it keeps the text each verse had before; the text after is the
// one the next change of the verse found, or the text now stored. The table 본문 is not touched but
// to store texts. A version without the tables has an empty history.
class History
{
public:
    explicit History(VersionStore& version);
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Stores text into 본문 of the record at row as a part of change, keeping the text it replaces
    // (the first time the change touches the record). A text equal to the stored one is not stored
    // and not kept: false then. Runs in the caller's transaction, if any.
    bool setText(qint64 row, const QString& text, PendingChange& change);

    // Every change, newest first.
    [[nodiscard]] std::vector<Change> changes();
    // The changes of the verse of this 번호, newest first.
    [[nodiscard]] std::vector<VerseChange> verseChanges(qint64 number);

    // Gives every verse of change (or the one verse of number) the text it had before that change,
    // as a new change of source, in one transaction; what it stored, in 번호 order. Taking back the
    // last change of the version, or of a verse, undoes it.
    std::vector<VerseChange> takeBack(qint64 change, std::optional<qint64> number, ChangeSource source);

    // The name of a source as the history stores it.
    [[nodiscard]] static QString sourceName(ChangeSource source);

private:
    // Raises "read-only" unless the version is held for writing.
    void checkWritable() const;
    [[nodiscard]] bool hasTables();
    void makeTables();
    [[nodiscard]] Change changeOf(qint64 id);

    VersionStore& m_version;
};

} // namespace versiondb
