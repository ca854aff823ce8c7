#pragma once

#include "versiondb/Error.h"
#include "versiondb/History.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace versiondb {
class VersionStore;
} // namespace versiondb

namespace editor {

class VersionSearch;

// One verse as the editor shows it: its reference, and its text with Null shown as two spaces.
struct ShownVerse
{
    QString reference;
    QString text;
};

enum class GoResult
{
    Found,
    EmptyReference, // nothing left once the end spaces are gone
    NotFound,       // the index holds no such reference
    Failed,         // the engine failed
};

struct GoOutcome
{
    GoResult result = GoResult::Failed;
    QString reference; // the reference without its end spaces, as the reference box then holds it
    ShownVerse verse;  // when Found
    versiondb::ErrorItem failure;
};

enum class StepResult
{
    Neighbour,    // go to reference
    RunFirst,     // previous on 번호 1: run first
    RunLast,      // next on the last 번호: run last
    NumberingGap, // the neighbour's 번호 is not there, or the verse's 번호 is not a number
    NoVerseShown, // no verse of this version has been shown yet
    Failed,       // the engine failed
};

struct StepOutcome
{
    StepResult result = StepResult::Failed;
    QString reference; // when Neighbour
    versiondb::ErrorItem failure;
};

enum class SaveResult
{
    Stored,
    EmptyReference,    // the reference as given is empty (spaces count)
    EmptyText,         // nothing left of the text once the end spaces are gone
    ReferenceNotFound, // the trimmed reference is empty or not in the index
    LineBreak,         // the text holds a line break
    Failed,            // the engine failed; nothing was stored
};

struct SaveOutcome
{
    SaveResult result = SaveResult::Failed;
    std::optional<QString> text;      // the text without its end spaces, once the rules got that far
    std::optional<QString> reference; // the reference without its end spaces, once the rules got that far
    qsizetype caret = 0;              // LineBreak: the offset just after the first line break of text
    versiondb::ErrorItem failure;
};

// One version open for editing, and the rules of finding, stepping and saving
// single verses in it. Holds the version exclusively from open to close.
// Nothing here throws: engine errors come back as versiondb::ErrorItem.
// The history of a version or of one verse, newest first.
struct HistoryOutcome
{
    std::vector<versiondb::Change> changes;           // of the whole version
    std::vector<versiondb::VerseChange> verseChanges; // of one verse
    std::optional<versiondb::ErrorItem> failure;
};

// What taking a change back stored: each verse with the text it had and the text it has again.
// Empty when there was nothing to take back.
struct TakeBackOutcome
{
    std::vector<versiondb::VerseChange> restored;
    qint64 redone = 0; // a redo: the change it brought back
    std::optional<versiondb::ErrorItem> failure;
};

class VerseEditor
{
public:
    // Saves are recorded in the version's history as made by source.
    explicit VerseEditor(versiondb::ChangeSource source = versiondb::ChangeSource::Editor);
    VerseEditor(const VerseEditor&) = delete;
    VerseEditor& operator=(const VerseEditor&) = delete;
    // Closes the version still open.
    ~VerseEditor();

    // Closes the version open so far, then opens path exclusively with the database
    // password. On failure nothing is left open.
    [[nodiscard]] std::optional<versiondb::ErrorItem> open(const QString& path);
    // Closes the version; never fails.
    void close() noexcept;
    [[nodiscard]] bool isOpen() const { return m_version != nullptr; }

    // Looks the reference up as it stands once its end spaces are gone, else as typed references read
    // ("창1:1", "창세기 1:1", "Gen 1:1", "창 1" for "창 1:1").
    [[nodiscard]] GoOutcome go(const QString& reference);

    // The neighbours by 번호 of the record last found, or of the verse last shown when a
    // lookup found nothing since.
    [[nodiscard]] StepOutcome previous();
    [[nodiscard]] StepOutcome next();
    // The verse of the greatest 번호.
    [[nodiscard]] StepOutcome last();

    // The save rules in their order: an empty reference, an empty text after trimming,
    // the trimmed reference looked up, a line break in the text; then 본문 of that
    // record is set to the trimmed text and nothing else changes.
    [[nodiscard]] SaveOutcome save(const QString& reference, const QString& text);

    // Asked, with the reference of the record found, before a save stores into a verse
    // other than the one on display; true lets the save go on.
    using ConfirmOtherVerse = std::function<bool(const QString& reference)>;

    // The same save, stored only into the verse on display (shownReference; without one, anywhere) unless
    // confirmOtherVerse agrees to the other verse the reference names. It is asked
    // after every other rule has passed; when it declines, nothing is stored, the
    // answer is nothing, and steps go on from the verse last shown.
    [[nodiscard]] std::optional<SaveOutcome> save(const QString& reference, const QString& text,
                                                  const std::optional<QString>& shownReference,
                                                  const ConfirmOtherVerse& confirmOtherVerse);

    // Every change of the version; the changes of the verse of a reference, looked up as go looks
    // it up (NotFound: nothing of the outcome is set).
    [[nodiscard]] HistoryOutcome changes();
    [[nodiscard]] std::optional<HistoryOutcome> verseChanges(const QString& reference);
    // Takes back the last change in effect of the whole version (a build run or a replacement whole); or of the
    // verse of a reference (nothing when the reference is not found). Each undo takes back one more change.
    [[nodiscard]] TakeBackOutcome undoLast();
    [[nodiscard]] std::optional<TakeBackOutcome> undoLast(const QString& reference);
    // Brings back the change the last undo not yet redone took back, of the whole version or of the verse of a
    // reference; a change after the undos ends what can be redone.
    [[nodiscard]] TakeBackOutcome redoLast();
    [[nodiscard]] std::optional<TakeBackOutcome> redoLast(const QString& reference);
    // Whether a redo asked for at the verse of a reference is the whole version's: the version's next redo takes back
    // an undo at least as recent as the verse's (the same one, for an undo of the whole version that touched the
    // verse). Engine errors answer no.
    [[nodiscard]] bool redoesTheVersion(const QString& reference);
    // Gives the verse of a reference the text it had before change, as a change of its own.
    [[nodiscard]] std::optional<TakeBackOutcome> restore(const QString& reference, qint64 change);

    // Find and replace over the open version, through this editor's hold on it; nothing without a version.
    // Valid until the version is closed.
    [[nodiscard]] std::unique_ptr<VersionSearch> search();

private:
    enum class Neighbour
    {
        Previous,
        Next,
    };
    [[nodiscard]] StepOutcome step(Neighbour neighbour);

    // The record of a trimmed, non-empty reference: as it stands, else as the reference parser reads it.
    [[nodiscard]] std::optional<qint64> seekTyped(const QString& reference);
    // The verse of a reference as go finds it, or nothing; raises the engine's errors.
    [[nodiscard]] std::optional<qint64> numberOf(const QString& reference);
    // Undo (or redo) of the version, or of the verse of a reference: nothing when the reference is not found.
    [[nodiscard]] std::optional<TakeBackOutcome> undoOrRedo(const std::optional<QString>& reference, bool redo);

    versiondb::ChangeSource m_source;
    std::unique_ptr<versiondb::VersionStore> m_version;
    std::unique_ptr<versiondb::History> m_history;
    std::optional<qint64> m_currentRow;    // the record that the last lookup or step found
    std::optional<QVariant> m_shownNumber; // 번호 of the verse that go last showed
};

} // namespace editor
