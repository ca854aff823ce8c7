#include "editor/VerseEditor.h"

#include "books/ReferenceParser.h"
#include "editor/EditRules.h"
#include "editor/VersionSearch.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionStore.h"

#include <exception>
#include <limits>

namespace editor {

namespace {

using versiondb::failureOf;

// 번호 read as a 32-bit signed integer; nothing for Null or any value that is not one.
std::optional<qint32> asNumber(const QVariant& value)
{
    if (value.isNull()) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return static_cast<qint32>(number);
}

// A reference read from a record: Null as the empty text.
QString referenceOf(const versiondb::VerseRecord& record)
{
    const QVariant& value = record[versiondb::kReference];
    return value.isNull() ? QString() : value.toString();
}

// Runs work on the open version; an engine error, or a closed version, becomes the outcome's failure. An engine
// error leaves no current record when currentRow is given.
template <typename Outcome, typename Work>
Outcome guarded(bool open, Work&& work, std::optional<qint64>* currentRow = nullptr)
{
    Outcome outcome;
    if (!open) {
        outcome.failure = versiondb::ErrorItem::of(versiondb::errorNumber::ObjectClosed);
        return outcome;
    }
    try {
        work(outcome);
    } catch (const std::exception& error) {
        if (currentRow != nullptr) {
            currentRow->reset();
        }
        outcome.failure = failureOf(error);
    }
    return outcome;
}

} // namespace

VerseEditor::VerseEditor(versiondb::ChangeSource source) : m_source(source) {}

VerseEditor::~VerseEditor()
{
    close();
}

std::optional<versiondb::ErrorItem> VerseEditor::open(const QString& path)
{
    close();
    try {
        m_version = versiondb::VersionStore::openDatabase(path);
        m_history = std::make_unique<versiondb::History>(*m_version);
        return std::nullopt;
    } catch (const std::exception& error) {
        close();
        return failureOf(error);
    }
}

void VerseEditor::close() noexcept
{
    m_history.reset();
    m_version.reset();
    m_currentRow.reset();
    m_shownNumber.reset();
}

GoOutcome VerseEditor::go(const QString& reference)
{
    const QString trimmed = trimSpaces(reference);
    GoOutcome outcome;
    if (trimmed.isEmpty()) {
        outcome.result = GoResult::EmptyReference;
    } else {
        outcome = guarded<GoOutcome>(
            isOpen(),
            [&](GoOutcome& out) {
                m_currentRow = seekTyped(trimmed);
                if (!m_currentRow) {
                    out.result = GoResult::NotFound;
                    return;
                }
                const versiondb::VerseRecord record = m_version->record(*m_currentRow);
                out.verse = {referenceOf(record), versiondb::nullToSpaces(record[versiondb::kText])};
                m_shownNumber = record[versiondb::kNumber];
                out.result = GoResult::Found;
            },
            &m_currentRow);
    }
    outcome.reference = trimmed;
    return outcome;
}

StepOutcome VerseEditor::previous()
{
    return step(Neighbour::Previous);
}

StepOutcome VerseEditor::next()
{
    return step(Neighbour::Next);
}

StepOutcome VerseEditor::step(Neighbour neighbour)
{
    return guarded<StepOutcome>(
        isOpen(),
        [&](StepOutcome& outcome) {
            // 번호 of the verse to step from: the current record's, or the one last shown.
            const std::optional<QVariant> from =
                m_currentRow ? std::optional(m_version->record(*m_currentRow)[versiondb::kNumber]) : m_shownNumber;
            const std::optional<qint32> number = from ? asNumber(*from) : std::nullopt;
            // In 64 bits, so that the neighbours of the extreme numbers are simply not found.
            const qint64 wanted = number ? qint64(*number) + (neighbour == Neighbour::Previous ? -1 : 1) : 0;
            if (!from) {
                outcome.result = StepResult::NoVerseShown;
            } else if (!number) {
                outcome.result = StepResult::NumberingGap;
            } else if (neighbour == Neighbour::Previous && *number == 1) {
                outcome.result = StepResult::RunFirst;
            } else if (neighbour == Neighbour::Next && *number == m_version->recordCount()) {
                outcome.result = StepResult::RunLast;
            } else if (!(m_currentRow = m_version->seek(wanted))) {
                outcome.result = StepResult::NumberingGap;
            } else {
                outcome.reference = referenceOf(m_version->record(*m_currentRow));
                outcome.result = StepResult::Neighbour;
            }
        },
        &m_currentRow);
}

StepOutcome VerseEditor::last()
{
    return guarded<StepOutcome>(
        isOpen(),
        [&](StepOutcome& outcome) {
            m_currentRow = m_version->lastRow();
            if (!m_currentRow) {
                versiondb::raise(versiondb::errorNumber::NoCurrentRecord);
            }
            outcome.reference = referenceOf(m_version->record(*m_currentRow));
            outcome.result = StepResult::Neighbour;
        },
        &m_currentRow);
}

SaveOutcome VerseEditor::save(const QString& reference, const QString& text)
{
    // Without a verse on display to keep to, the save never stops to ask.
    return *save(reference, text, std::nullopt, {});
}

std::optional<SaveOutcome> VerseEditor::save(const QString& reference, const QString& text,
                                             const std::optional<QString>& shownReference,
                                             const ConfirmOtherVerse& confirmOtherVerse)
{
    SaveOutcome outcome;
    if (reference.isEmpty()) {
        outcome.result = SaveResult::EmptyReference;
        return outcome;
    }
    outcome.text = trimSpaces(text);
    if (outcome.text->isEmpty()) {
        outcome.result = SaveResult::EmptyText;
        return outcome;
    }
    outcome.reference = trimSpaces(reference);
    if (!isOpen()) {
        outcome.failure = versiondb::ErrorItem::of(versiondb::errorNumber::ObjectClosed);
        return outcome;
    }
    try {
        m_currentRow.reset();
        if (outcome.reference->isEmpty()) {
            // A lookup of the empty text finds nothing, and leaves no current record.
            outcome.result = SaveResult::ReferenceNotFound;
            return outcome;
        }
        m_currentRow = seekTyped(*outcome.reference);
        if (!m_currentRow) {
            outcome.result = SaveResult::ReferenceNotFound;
            return outcome;
        }
        if (const auto caret = lineBreakCaret(*outcome.text)) {
            outcome.caret = *caret;
            outcome.result = SaveResult::LineBreak;
            return outcome;
        }
        if (shownReference) {
            const QString found = referenceOf(m_version->record(*m_currentRow));
            if (found != *shownReference && !(confirmOtherVerse && confirmOtherVerse(found))) {
                // Declined: the verse last shown is again the one to step from.
                m_currentRow.reset();
                return std::nullopt;
            }
        }
        // The text and its entry in the history: one transaction, durable when it returns.
        versiondb::Transaction transaction(*m_version);
        versiondb::PendingChange change(m_source);
        m_history->setText(*m_currentRow, *outcome.text, change);
        m_history->finish(change);
        transaction.commit();
        outcome.result = SaveResult::Stored;
    } catch (const std::exception& error) {
        outcome.failure = failureOf(error);
    }
    return outcome;
}

std::optional<qint64> VerseEditor::seekTyped(const QString& reference)
{
    // The reference as it stands first, so that a version's own references are found whatever they are.
    if (const std::optional<qint64> row = m_version->seek(reference)) {
        return row;
    }
    const books::TypedReference typed = books::ReferenceParser::parse(reference);
    if (typed.mistake != books::TypedReference::Mistake::None || typed.reference == reference) {
        return std::nullopt;
    }
    return m_version->seek(typed.reference);
}

std::optional<qint64> VerseEditor::numberOf(const QString& reference)
{
    const QString trimmed = trimSpaces(reference);
    const std::optional<qint64> row = trimmed.isEmpty() ? std::nullopt : seekTyped(trimmed);
    if (!row) {
        return std::nullopt;
    }
    return asNumber(m_version->record(*row)[versiondb::kNumber]);
}

HistoryOutcome VerseEditor::changes()
{
    return guarded<HistoryOutcome>(isOpen(), [&](HistoryOutcome& outcome) { outcome.changes = m_history->changes(); });
}

std::optional<HistoryOutcome> VerseEditor::verseChanges(const QString& reference)
{
    bool found = true;
    HistoryOutcome outcome = guarded<HistoryOutcome>(isOpen(), [&](HistoryOutcome& out) {
        const std::optional<qint64> number = numberOf(reference);
        found = number.has_value();
        if (found) {
            out.verseChanges = m_history->verseChanges(*number);
        }
    });
    return found ? std::optional(outcome) : std::nullopt;
}

std::optional<TakeBackOutcome> VerseEditor::undoOrRedo(const std::optional<QString>& reference, bool redo)
{
    bool found = true;
    TakeBackOutcome outcome = guarded<TakeBackOutcome>(isOpen(), [&](TakeBackOutcome& out) {
        const std::optional<qint64> number = reference ? numberOf(*reference) : std::nullopt;
        found = !reference || number.has_value();
        if (!found) {
            return;
        }
        const versiondb::UndoState state = m_history->undoState(number);
        const std::optional<versiondb::Change>& change = redo ? state.redo : state.undo;
        if (change) {
            out.restored = m_history->takeBack(change->id, number,
                                               redo ? versiondb::ChangeSource::Redo : versiondb::ChangeSource::Undo);
            out.redone = redo ? change->detail.toLongLong() : 0;
        }
    });
    return found ? std::optional(outcome) : std::nullopt;
}

TakeBackOutcome VerseEditor::undoLast()
{
    return *undoOrRedo(std::nullopt, false);
}

std::optional<TakeBackOutcome> VerseEditor::undoLast(const QString& reference)
{
    return undoOrRedo(reference, false);
}

TakeBackOutcome VerseEditor::redoLast()
{
    return *undoOrRedo(std::nullopt, true);
}

std::optional<TakeBackOutcome> VerseEditor::redoLast(const QString& reference)
{
    return undoOrRedo(reference, true);
}

bool VerseEditor::redoesTheVersion(const QString& reference)
{
    bool version = false;
    (void)guarded<TakeBackOutcome>(isOpen(), [&](TakeBackOutcome&) {
        const versiondb::UndoState whole = m_history->undoState(std::nullopt);
        const std::optional<qint64> number = numberOf(reference);
        const versiondb::UndoState verse = number ? m_history->undoState(number) : versiondb::UndoState{};
        version = whole.redo && (!verse.redo || whole.redo->id >= verse.redo->id);
    });
    return version;
}

std::optional<TakeBackOutcome> VerseEditor::restore(const QString& reference, qint64 change)
{
    bool found = true;
    TakeBackOutcome outcome = guarded<TakeBackOutcome>(isOpen(), [&](TakeBackOutcome& out) {
        const std::optional<qint64> number = numberOf(reference);
        found = number.has_value();
        if (found) {
            out.restored = m_history->takeBack(change, number, versiondb::ChangeSource::Restore);
        }
    });
    return found ? std::optional(outcome) : std::nullopt;
}

std::unique_ptr<VersionSearch> VerseEditor::search()
{
    return isOpen() ? std::make_unique<VersionSearch>(*m_version) : nullptr;
}

} // namespace editor
