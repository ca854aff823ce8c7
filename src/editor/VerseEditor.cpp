#include "editor/VerseEditor.h"

#include "editor/EditRules.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <exception>
#include <limits>

namespace editor {

namespace {

EngineFailure failureOf(const versiondb::Error& error)
{
    return {error.Number(), error.Description()};
}

EngineFailure failureOf(const std::exception&)
{
    return {versiondb::errorNumber::EngineFailure, versiondb::errorDescription(versiondb::errorNumber::EngineFailure)};
}

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

} // namespace

VerseEditor::VerseEditor() = default;

VerseEditor::~VerseEditor()
{
    close();
}

std::optional<EngineFailure> VerseEditor::open(const QString& path)
{
    close();
    try {
        m_version = versiondb::VersionStore::OpenDatabase(path);
        return std::nullopt;
    } catch (const versiondb::Error& error) {
        close();
        return failureOf(error);
    } catch (const std::exception& error) {
        close();
        return failureOf(error);
    }
}

void VerseEditor::close() noexcept
{
    m_version.reset();
    m_currentRow.reset();
    m_shownNumber.reset();
}

EngineFailure VerseEditor::closedFailure()
{
    return {versiondb::errorNumber::ObjectClosed, versiondb::errorDescription(versiondb::errorNumber::ObjectClosed)};
}

GoOutcome VerseEditor::go(const QString& reference)
{
    GoOutcome outcome;
    outcome.reference = trimSpaces(reference);
    if (outcome.reference.isEmpty()) {
        outcome.result = GoResult::EmptyReference;
        return outcome;
    }
    if (!isOpen()) {
        outcome.failure = closedFailure();
        return outcome;
    }
    try {
        m_currentRow = m_version->Seek(outcome.reference);
        if (!m_currentRow) {
            outcome.result = GoResult::NotFound;
            return outcome;
        }
        const versiondb::VerseRecord record = m_version->record(*m_currentRow);
        outcome.verse.reference = referenceOf(record);
        outcome.verse.text = versiondb::NullToSpaces(record[versiondb::kText]);
        m_shownNumber = record[versiondb::kNumber];
        outcome.result = GoResult::Found;
    } catch (const versiondb::Error& error) {
        m_currentRow.reset();
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        m_currentRow.reset();
        outcome.failure = failureOf(error);
    }
    return outcome;
}

std::optional<QVariant> VerseEditor::numberToStepFrom()
{
    if (m_currentRow) {
        return m_version->record(*m_currentRow)[versiondb::kNumber];
    }
    return m_shownNumber;
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
    StepOutcome outcome;
    if (!isOpen()) {
        outcome.failure = closedFailure();
        return outcome;
    }
    try {
        const std::optional<QVariant> from = numberToStepFrom();
        if (!from) {
            outcome.result = StepResult::NoVerseShown;
            return outcome;
        }
        const std::optional<qint32> number = asNumber(*from);
        if (!number) {
            outcome.result = StepResult::NumberingGap;
            return outcome;
        }
        if (neighbour == Neighbour::Previous && *number == 1) {
            outcome.result = StepResult::RunFirst;
            return outcome;
        }
        if (neighbour == Neighbour::Next && *number == m_version->RecordCount()) {
            outcome.result = StepResult::RunLast;
            return outcome;
        }
        // In 64 bits, so that the neighbours of the extreme numbers are simply not found.
        const qint64 wanted = qint64(*number) + (neighbour == Neighbour::Previous ? -1 : 1);
        m_currentRow = m_version->Seek(wanted);
        if (!m_currentRow) {
            outcome.result = StepResult::NumberingGap;
            return outcome;
        }
        outcome.reference = referenceOf(m_version->record(*m_currentRow));
        outcome.result = StepResult::Neighbour;
    } catch (const versiondb::Error& error) {
        m_currentRow.reset();
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        m_currentRow.reset();
        outcome.failure = failureOf(error);
    }
    return outcome;
}

StepOutcome VerseEditor::last()
{
    StepOutcome outcome;
    if (!isOpen()) {
        outcome.failure = closedFailure();
        return outcome;
    }
    try {
        m_currentRow = m_version->lastRow();
        if (!m_currentRow) {
            versiondb::raise(versiondb::errorNumber::NoCurrentRecord);
        }
        outcome.reference = referenceOf(m_version->record(*m_currentRow));
        outcome.result = StepResult::Neighbour;
    } catch (const versiondb::Error& error) {
        m_currentRow.reset();
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        m_currentRow.reset();
        outcome.failure = failureOf(error);
    }
    return outcome;
}

SaveOutcome VerseEditor::save(const QString& reference, const QString& text)
{
    // Without a verse on display to keep to, the save never stops to ask.
    return *saveInto(reference, text, std::nullopt, {});
}

std::optional<SaveOutcome> VerseEditor::save(const QString& reference, const QString& text,
                                             const QString& shownReference, const ConfirmOtherVerse& confirmOtherVerse)
{
    return saveInto(reference, text, shownReference, confirmOtherVerse);
}

std::optional<SaveOutcome> VerseEditor::saveInto(const QString& reference, const QString& text,
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
        outcome.failure = closedFailure();
        return outcome;
    }
    try {
        m_currentRow.reset();
        if (outcome.reference->isEmpty()) {
            // A lookup of the empty text finds nothing, and leaves no current record.
            outcome.result = SaveResult::ReferenceNotFound;
            return outcome;
        }
        m_currentRow = m_version->Seek(*outcome.reference);
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
        m_version->setText(*m_currentRow, *outcome.text);
        outcome.result = SaveResult::Stored;
    } catch (const versiondb::Error& error) {
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        outcome.failure = failureOf(error);
    }
    return outcome;
}

} // namespace editor
