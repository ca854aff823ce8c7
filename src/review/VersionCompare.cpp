#include "review/VersionCompare.h"

#include "versiondb/Cancelled.h"
#include "versiondb/VerseCursor.h"
#include "versiondb/VersionStore.h"
#include "versiondb/VersionVerses.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <exception>
#include <memory>

namespace review {

namespace {

using versiondb::VerseCursor;
using versiondb::VersionStore;

struct StoredVerse
{
    qint64 number = 0;
    QString reference;
    std::optional<QString> text;
};

StoredVerse verseOf(const versiondb::VerseRecord& record)
{
    const QVariant& text = record[versiondb::kText];
    return {record[versiondb::kNumber].toLongLong(), record[versiondb::kReference].toString(),
            text.isNull() ? std::nullopt : std::optional(text.toString())};
}

bool isInteger(const QVariant& value)
{
    return value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong;
}

// The difference of a verse both versions have, or nothing when the texts are the same.
std::optional<VerseDifference> differenceOf(const std::optional<QString>& a, const std::optional<QString>& b)
{
    if (a == b) {
        return std::nullopt;
    }
    return !a ? VerseDifference::NullInA : !b ? VerseDifference::NullInB : VerseDifference::Changed;
}

// The records read so far out of all the comparison reads, for its control.
struct Progress
{
    platform::RunControl* control = nullptr;
    qint64 total = 0;
    qint64 done = 0;

    void step() { versiondb::reportVerses(control, done++, total); }
};

void stopped(CompareOutcome& outcome, CompareResult result, int file, const QString& reference = {})
{
    outcome.result = result;
    outcome.file = file;
    outcome.reference = reference;
}

// The first pass reads the references and 번호 of both versions and stops the comparison at a
// duplicate or at a shared reference whose 번호 differs, before any verse is listed: A first,
// then B against A, in the order of 번호. It holds a set of references, never a text. True when
// every 번호 of both is an integer. file names the version being read, for an engine failure.
bool checkSkeletons(VersionStore& a, VersionStore& b, int& file, CompareOutcome& outcome, Progress& progress)
{
    struct InA
    {
        qint64 number = 0;
        bool matched = false;
    };
    QHash<QString, InA> inA;
    bool integers = true;
    file = 0;
    VerseCursor cursorA(a, VerseCursor::Fields::Skeleton);
    while (const std::optional<versiondb::VerseRecord> record = cursorA.next()) {
        progress.step();
        const QString reference = (*record)[versiondb::kReference].toString();
        if (inA.contains(reference)) {
            stopped(outcome, CompareResult::DuplicateReference, 0, reference);
            return integers;
        }
        inA.insert(reference, {(*record)[versiondb::kNumber].toLongLong()});
        integers = integers && isInteger((*record)[versiondb::kNumber]);
    }
    file = 1;
    qsizetype inBoth = 0;
    QSet<QString> onlyInB;
    VerseCursor cursorB(b, VerseCursor::Fields::Skeleton);
    while (const std::optional<versiondb::VerseRecord> record = cursorB.next()) {
        progress.step();
        const QString reference = (*record)[versiondb::kReference].toString();
        const qint64 number = (*record)[versiondb::kNumber].toLongLong();
        integers = integers && isInteger((*record)[versiondb::kNumber]);
        const auto found = inA.find(reference);
        if (found == inA.end() ? onlyInB.contains(reference) : found->matched) {
            stopped(outcome, CompareResult::DuplicateReference, 1, reference);
            return integers;
        }
        if (found == inA.end()) {
            onlyInB.insert(reference);
        } else if (found->number != number) {
            stopped(outcome, CompareResult::DifferentSkeletons, 1, reference);
            outcome.numberA = found->number;
            outcome.numberB = number;
            return integers;
        } else {
            found->matched = true;
            ++inBoth;
        }
    }
    if (inBoth == 0 && (!inA.isEmpty() || !onlyInB.isEmpty())) {
        stopped(outcome, CompareResult::DifferentSkeletons, 1);
    }
    return integers;
}

// The verses of one version in the order of their 번호, one at a time. When every 번호 is an
// integer, the file's order is that order. Otherwise (a version that is not sound: SQLite sorts
// Null and text apart from the numbers) the version is read whole and sorted first.
class VerseSource
{
public:
    VerseSource(VersionStore& version, bool inFileOrder, Progress& progress)
        : m_cursor(version), m_inFileOrder(inFileOrder), m_progress(progress)
    {
        if (!m_inFileOrder) {
            while (const std::optional<versiondb::VerseRecord> record = m_cursor.next()) {
                m_progress.step();
                m_sorted.append(verseOf(*record));
            }
            std::ranges::stable_sort(m_sorted, {}, &StoredVerse::number);
        }
    }

    std::optional<StoredVerse> next()
    {
        if (m_inFileOrder) {
            m_progress.step();
            const std::optional<versiondb::VerseRecord> record = m_cursor.next();
            return record ? std::optional(verseOf(*record)) : std::nullopt;
        }
        return m_at < m_sorted.size() ? std::optional(std::move(m_sorted[m_at++])) : std::nullopt;
    }

private:
    VerseCursor m_cursor;
    bool m_inFileOrder;
    Progress& m_progress;
    QList<StoredVerse> m_sorted;
    qsizetype m_at = 0;
};

const StoredVerse* find(const QList<StoredVerse>& verses, const QString& reference)
{
    const auto found = std::ranges::find(verses, reference, &StoredVerse::reference);
    return found != verses.cend() ? &*found : nullptr;
}

// The second pass walks both versions side by side, a 번호 at a time: the skeletons being the
// same, the two records of a shared reference meet at one 번호. It holds the verses of one 번호,
// and gives each differing verse to differing as it goes (at one 번호, A's own verses first).
void compareTexts(VersionStore& a, VersionStore& b, bool inFileOrder, int& file,
                  const std::function<void(const DifferingVerse&)>& differing, Progress& progress)
{
    file = 0;
    VerseSource sourceA(a, inFileOrder, progress);
    file = 1;
    VerseSource sourceB(b, inFileOrder, progress);
    const auto read = [&file](VerseSource& source, int side) {
        file = side;
        return source.next();
    };
    std::optional<StoredVerse> nextA = read(sourceA, 0);
    std::optional<StoredVerse> nextB = read(sourceB, 1);
    QList<StoredVerse> groupA;
    QList<StoredVerse> groupB;
    while (nextA || nextB) {
        const qint64 number = !nextB || (nextA && nextA->number < nextB->number) ? nextA->number : nextB->number;
        groupA.clear();
        groupB.clear();
        for (; nextA && nextA->number == number; nextA = read(sourceA, 0)) {
            groupA.append(std::move(*nextA));
        }
        for (; nextB && nextB->number == number; nextB = read(sourceB, 1)) {
            groupB.append(std::move(*nextB));
        }
        for (const StoredVerse& verse : groupA) {
            if (find(groupB, verse.reference) == nullptr) {
                differing({number, verse.reference, VerseDifference::OnlyInA, verse.text, {}});
            }
        }
        for (const StoredVerse& verse : groupB) {
            const StoredVerse* inA = find(groupA, verse.reference);
            if (inA == nullptr) {
                differing({number, verse.reference, VerseDifference::OnlyInB, std::nullopt, verse.text});
            } else if (const auto kind = differenceOf(inA->text, verse.text)) {
                differing({number, verse.reference, *kind, inA->text, verse.text});
            }
        }
    }
}

} // namespace

CompareOutcome compareVersions(const QString& pathA, const QString& pathB,
                               const std::function<void(const DifferingVerse&)>& differing,
                               platform::RunControl* control)
{
    CompareOutcome outcome;
    int file = 0;
    try {
        // Both are held before either is read, and until both have been read.
        const std::unique_ptr<VersionStore> a = VersionStore::openDatabase(pathA, VersionStore::Hold::Read);
        file = 1;
        const std::unique_ptr<VersionStore> b = VersionStore::openDatabase(pathB, VersionStore::Hold::Read);
        Progress progress{control};
        if (control != nullptr) {
            progress.total = 2 * (a->recordCount() + b->recordCount());
        }
        const bool inFileOrder = checkSkeletons(*a, *b, file, outcome, progress);
        if (outcome.result != CompareResult::Same) {
            return outcome;
        }
        compareTexts(
            *a, *b, inFileOrder, file,
            [&](const DifferingVerse& verse) {
                ++outcome.counts[static_cast<int>(verse.kind)];
                differing(verse);
            },
            progress);
        versiondb::stopIfCancelled(control);
    } catch (const versiondb::Cancelled&) {
        outcome = {};
        outcome.result = CompareResult::Cancelled;
        return outcome;
    } catch (const std::exception& error) {
        outcome = {};
        stopped(outcome, CompareResult::EngineFailed, file);
        outcome.failure = versiondb::failureOf(error);
        return outcome;
    }
    const bool same = std::ranges::all_of(outcome.counts, [](int count) { return count == 0; });
    outcome.result = same ? CompareResult::Same : CompareResult::Different;
    return outcome;
}

CompareOutcome compareVersions(const QString& pathA, const QString& pathB, platform::RunControl* control)
{
    QList<DifferingVerse> verses;
    CompareOutcome outcome = compareVersions(
        pathA, pathB, [&verses](const DifferingVerse& verse) { verses.append(verse); }, control);
    if (outcome.result == CompareResult::Different) {
        outcome.verses = std::move(verses);
    }
    return outcome;
}

} // namespace review
