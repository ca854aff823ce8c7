#include "editor/VerseEditor.h"

#include "editor/EditRules.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Field.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <exception>
#include <limits>

namespace editor {

namespace {

const QString kTable = QStringLiteral("본문");
const QString kNumber = QStringLiteral("번호");
const QString kReference = QStringLiteral("성경구절");
const QString kText = QStringLiteral("본문");
const QString kEquals = QStringLiteral("=");

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
QString referenceOf(versiondb::Recordset& recordset)
{
    const QVariant value = recordset.Fields(kReference).Value();
    return value.isNull() ? QString() : value.toString();
}

// Sets the index "번호" for a step and puts "성경구절" back however the step ends.
class NumberOrder
{
public:
    explicit NumberOrder(versiondb::Recordset& recordset) : m_recordset(recordset) { m_recordset.setIndex(kNumber); }
    NumberOrder(const NumberOrder&) = delete;
    NumberOrder& operator=(const NumberOrder&) = delete;
    ~NumberOrder()
    {
        try {
            m_recordset.setIndex(kReference);
        } catch (const std::exception&) {
            // The index was set when the version opened, so it is there; nothing to report.
        }
    }

private:
    versiondb::Recordset& m_recordset;
};

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
        m_database = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        auto recordset = m_database->OpenRecordset(kTable, versiondb::dbOpenTable);
        recordset->setIndex(kReference);
        m_recordset = std::move(recordset);
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
    if (m_recordset) {
        m_recordset->Close();
        m_recordset.reset();
    }
    if (m_database) {
        try {
            m_database->Close();
        } catch (const std::exception&) {
            // Closing ignores every error.
        }
        m_database.reset();
    }
    m_onRecord = false;
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
        m_onRecord = false;
        m_recordset->Seek(kEquals, outcome.reference);
        if (m_recordset->NoMatch()) {
            outcome.result = GoResult::NotFound;
            return outcome;
        }
        m_onRecord = true;
        outcome.verse.reference = referenceOf(*m_recordset);
        outcome.verse.text = versiondb::NullToSpaces(m_recordset->Fields(kText).Value());
        m_shownNumber = m_recordset->Fields(kNumber).Value();
        outcome.result = GoResult::Found;
    } catch (const versiondb::Error& error) {
        m_onRecord = false;
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        m_onRecord = false;
        outcome.failure = failureOf(error);
    }
    return outcome;
}

std::optional<QVariant> VerseEditor::numberToStepFrom()
{
    if (m_onRecord) {
        return m_recordset->Fields(kNumber).Value();
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
        if (neighbour == Neighbour::Next && *number == m_recordset->RecordCount()) {
            outcome.result = StepResult::RunLast;
            return outcome;
        }
        // In 64 bits, so that the neighbours of the extreme numbers are simply not found.
        const qint64 wanted = qint64(*number) + (neighbour == Neighbour::Previous ? -1 : 1);
        NumberOrder order(*m_recordset);
        m_onRecord = false;
        m_recordset->Seek(kEquals, wanted);
        if (m_recordset->NoMatch()) {
            outcome.result = StepResult::NumberingGap;
            return outcome;
        }
        m_onRecord = true;
        outcome.reference = referenceOf(*m_recordset);
        outcome.result = StepResult::Neighbour;
    } catch (const versiondb::Error& error) {
        m_onRecord = false;
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        m_onRecord = false;
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
        NumberOrder order(*m_recordset);
        m_onRecord = false;
        m_recordset->MoveLast();
        m_onRecord = true;
        outcome.reference = referenceOf(*m_recordset);
        outcome.result = StepResult::Neighbour;
    } catch (const versiondb::Error& error) {
        m_onRecord = false;
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        m_onRecord = false;
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
        m_onRecord = false;
        if (outcome.reference->isEmpty()) {
            // A lookup of the empty text finds nothing, and leaves no current record.
            outcome.result = SaveResult::ReferenceNotFound;
            return outcome;
        }
        m_recordset->Seek(kEquals, *outcome.reference);
        if (m_recordset->NoMatch()) {
            outcome.result = SaveResult::ReferenceNotFound;
            return outcome;
        }
        m_onRecord = true;
        if (const auto caret = lineBreakCaret(*outcome.text)) {
            outcome.caret = *caret;
            outcome.result = SaveResult::LineBreak;
            return outcome;
        }
        if (shownReference) {
            const QString found = referenceOf(*m_recordset);
            if (found != *shownReference && !(confirmOtherVerse && confirmOtherVerse(found))) {
                // Declined: the verse last shown is again the one to step from.
                m_onRecord = false;
                return std::nullopt;
            }
        }
        m_recordset->Edit();
        m_recordset->Fields(kText).setValue(*outcome.text);
        m_recordset->Update(versiondb::dbUpdateRegular, false);
        outcome.result = SaveResult::Stored;
    } catch (const versiondb::Error& error) {
        outcome.failure = failureOf(error);
    } catch (const std::exception& error) {
        outcome.failure = failureOf(error);
    }
    return outcome;
}

} // namespace editor
