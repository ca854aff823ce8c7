#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace versiondb {

class VersionStore;
class KeptEncoder;

// What made a change of texts.
enum class ChangeSource
{
    Editor,  // a save in the verse editor
    Save,    // a save from the command line
    Build,   // a build run into an existing version
    Undo,    // a change taken back
    Restore, // an earlier text of a verse brought back
    Replace, // a replacement over the texts of a version
    Compose, // decomposed Hangul composed (NFC) over the texts of a version
    Redo,    // a change taken back brought back again
};

// One change of texts in a version's history: one save, one build run, one undo.
struct Change
{
    qint64 id = 0; // increasing with every change
    QDateTime time;
    ChangeSource source = ChangeSource::Editor;
    QString detail;    // a build's files; the number of the change an undo or restore took back, or of the undo a
                       // redo took back in turn
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

// A change being made, and the text each verse had before the change first stored into it. History writes the
// kept texts as it goes, a group of 64 번호 at a time, so that a change of a whole Bible holds one group in
// memory; the change is whole once finish has run in the same transaction.
class PendingChange
{
public:
    explicit PendingChange(ChangeSource madeBy = ChangeSource::Editor, QString what = {})
        : source(madeBy), detail(std::move(what))
    {}

    ChangeSource source;
    QString detail;

private:
    friend class History;
    qint64 m_id = 0;                                    // its number in "변경", from its first kept text on
    qint64 m_group = -1;                                // the group of 번호 whose kept texts m_kept holds
    std::map<qint64, std::optional<QByteArray>> m_kept; // in UTF-8, as the version stores them; nothing for Null
    qint64 m_verses = 0;                                // how many verses it kept a text of
};

// Where undo and redo stand in the history of a version, or of one verse: the change the next undo takes back, and
// the undo whose texts before the next redo brings back. Nothing when there is none.
struct UndoState
{
    std::optional<Change> undo;
    std::optional<Change> redo;
};

// What a store of a text expected to be in a record did.
enum class ExpectedStore
{
    Stored,
    Same,  // the record already holds the text: nothing stored or kept
    Stale, // the record holds another text than the one expected (or none): left alone
};

// The history of a version's texts, kept in the version file itself (the tables "변경" and
// "이전본문", made at the first change of a version that lacks them), so that a copy of the file
// takes it along. For every change it keeps the text each verse had before; the text after is the
// one the next change of the verse found, or the text now stored. A version without the tables has
// an empty history. Changes are stored in the caller's transaction: run setText and finish in one.
class History
{
public:
    explicit History(VersionStore& version);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Stores text into 본문 of the record at row as a part of change, which keeps the text it
    // replaces (the first time the change touches the record). A text equal to the stored one is
    // not stored and not kept: false then.
    bool setText(qint64 row, const QString& text, PendingChange& change);
    // The same for a caller that read the record's text before (expected) and stores it only while it is still
    // there. The change keeps expected itself, sharing the caller's string: a change of every verse of a version
    // holds one copy of the texts before it, not two.
    ExpectedStore setText(qint64 row, const QString& expected, const QString& text, PendingChange& change);
    // Writes the change into the history (nothing when it kept no text) and empties it; its number, or 0.
    qint64 finish(PendingChange& change);

    // Every change, newest first.
    [[nodiscard]] std::vector<Change> changes();
    // The changes of the verse of this 번호, newest first.
    [[nodiscard]] std::vector<VerseChange> verseChanges(qint64 number);

    // Gives every verse of change (or the one verse of number) the text it had before that change,
    // as a new change of source, in one transaction; what it stored, in 번호 order. Taking back the
    // last change of the version, or of a verse, undoes it.
    std::vector<VerseChange> takeBack(qint64 change, std::optional<qint64> number, ChangeSource source);

    // Where undo and redo stand for the whole version (or the verse of number), read from the changes in their
    // order: an undo that took back the change on top of those in effect takes it off, into what can be redone; a
    // redo that took back the undo on top of those takes that off and is in effect itself; any other change, an
    // undo or redo that does not match included, is in effect and ends what could be redone. For the whole version
    // an undo or redo matches only when it changed as many verses as what it took back (an undo of one verse of a
    // build is a change of its own there). Histories written before redo existed read the same way.
    // An undo takes back state.undo (source Undo), a redo state.redo (source Redo), with takeBack.
    [[nodiscard]] UndoState undoState(std::optional<qint64> number);

    // The name of a source as the history stores it.
    [[nodiscard]] static QString sourceName(ChangeSource source);

    // The kept texts of one row of "이전본문" as 번호 and text, or nothing when the row does not read
    // whole or holds a text that is not one the program stores (bytes that are not text, a line break).
    using KeptTexts = std::vector<std::pair<qint64, QVariant>>;
    [[nodiscard]] static std::optional<KeptTexts> decodeKept(const QByteArray& row);

    // The history's SQL, kept here alone: the schema of its two tables; how many of them a version has; every
    // change and every row of kept texts, each with all its columns in order (a change's source third, a row's
    // kept texts second); and the statements that put such rows back as they were read.
    [[nodiscard]] static const char* schema();
    [[nodiscard]] static QString countTables();
    [[nodiscard]] static QString allChanges();
    [[nodiscard]] static QString allKeptRows();
    [[nodiscard]] static QString putBackChange();
    [[nodiscard]] static QString putBackKeptRow();

private:
    // Prepares the statements of a store of the history, which the version keeps (finalized when it closes).
    void prepareStatements();
    [[nodiscard]] bool hasTables();
    // The places of 번호 and 본문 among the table's fields, as SQLite's pre-update hook counts them.
    void findColumns();
    // Keeps before as the text number had before change, unless change kept one for it already.
    void keep(qint64 number, std::optional<QByteArray> before, PendingChange& change);
    // Writes the kept texts change holds as a row of "이전본문" and lets them go.
    void writeGroup(PendingChange& change);
    // Stores text into 본문 of the record at row whose 번호 is number, keeping before (its text) the first
    // time change touches it.
    void store(qint64 row, qint64 number, std::optional<QByteArray> before, const QString& text, PendingChange& change);
    // The kept texts of change whose 번호 is in group (all of them for none), read from their rows.
    [[nodiscard]] KeptTexts kept(qint64 change, std::optional<qint64> group);

    VersionStore& m_version;
    std::unique_ptr<KeptEncoder> m_encoder; // made at the first row written
    int m_numberColumn = -1;
    int m_textColumn = -1;
};

} // namespace versiondb
