#include "exchange/VersionCompare.h"

#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <exception>
#include <iterator>
#include <memory>
#include <vector>

namespace exchange {

namespace {

using versiondb::VersionStore;

struct StoredVerse
{
    qint64 number = 0;
    QString reference;
    std::optional<QString> text;
};

StoredVerse verseOf(const versiondb::VerseRecord& record)
{
    StoredVerse verse{record[versiondb::kNumber].toLongLong(), record[versiondb::kReference].toString(), {}};
    if (!record[versiondb::kText].isNull()) {
        verse.text = record[versiondb::kText].toString();
    }
    return verse;
}

// The difference of a verse both versions have, or nothing when the texts are the same.
std::optional<VerseDifference> differenceOf(const std::optional<QString>& a, const std::optional<QString>& b)
{
    if (a == b) {
        return std::nullopt;
    }
    return !a ? VerseDifference::NullInA : !b ? VerseDifference::NullInB : VerseDifference::Changed;
}

void stopped(CompareOutcome& outcome, CompareResult result, int file, const QString& reference = {})
{
    outcome.result = result;
    outcome.file = file;
    outcome.reference = reference;
}

} // namespace

CompareOutcome compareVersions(const QString& pathA, const QString& pathB)
{
    CompareOutcome outcome;
    int file = 0;
    try {
        // Both are held before either is read, and until both have been read.
        const std::unique_ptr<VersionStore> a = VersionStore::OpenDatabase(pathA, VersionStore::Hold::Read);
        file = 1;
        const std::unique_ptr<VersionStore> b = VersionStore::OpenDatabase(pathB, VersionStore::Hold::Read);

        // A whole, and where each of its references is.
        file = 0;
        QList<StoredVerse> versesA;
        QHash<QString, qsizetype> whereInA;
        a->readVerses([&](const versiondb::VerseRecord& record) {
            if (outcome.result != CompareResult::Same) {
                return;
            }
            StoredVerse verse = verseOf(record);
            if (whereInA.contains(verse.reference)) {
                stopped(outcome, CompareResult::DuplicateReference, 0, verse.reference);
                return;
            }
            whereInA.insert(verse.reference, versesA.size());
            versesA.append(std::move(verse));
        });
        if (outcome.result != CompareResult::Same) {
            return outcome;
        }

        // B verse by verse against A, both in the order of 번호.
        file = 1;
        std::vector<bool> matched(versesA.size());
        qsizetype inBoth = 0;
        QSet<QString> onlyInB;
        QList<DifferingVerse> fromB;
        b->readVerses([&](const versiondb::VerseRecord& record) {
            if (outcome.result != CompareResult::Same) {
                return;
            }
            StoredVerse verse = verseOf(record);
            const auto found = whereInA.constFind(verse.reference);
            if (found == whereInA.cend()) {
                if (onlyInB.contains(verse.reference)) {
                    stopped(outcome, CompareResult::DuplicateReference, 1, verse.reference);
                    return;
                }
                onlyInB.insert(verse.reference);
                fromB.append({verse.number, verse.reference, VerseDifference::OnlyInB, std::nullopt, verse.text});
                return;
            }
            const StoredVerse& inA = versesA[found.value()];
            if (matched[found.value()]) {
                stopped(outcome, CompareResult::DuplicateReference, 1, verse.reference);
                return;
            }
            if (inA.number != verse.number) {
                stopped(outcome, CompareResult::DifferentSkeletons, 1, verse.reference);
                outcome.numberA = inA.number;
                outcome.numberB = verse.number;
                return;
            }
            matched[found.value()] = true;
            ++inBoth;
            if (const auto kind = differenceOf(inA.text, verse.text)) {
                fromB.append({verse.number, verse.reference, *kind, inA.text, verse.text});
            }
        });
        if (outcome.result != CompareResult::Same) {
            return outcome;
        }
        if (inBoth == 0 && (!versesA.isEmpty() || !onlyInB.isEmpty())) {
            stopped(outcome, CompareResult::DifferentSkeletons, 1);
            return outcome;
        }

        // The verses only A has, then all of them in the order of 번호 (at one 번호, A's first).
        QList<DifferingVerse> fromA;
        for (qsizetype i = 0; i < versesA.size(); ++i) {
            if (!matched[i]) {
                fromA.append({versesA[i].number, versesA[i].reference, VerseDifference::OnlyInA, versesA[i].text, {}});
            }
        }
        if (fromA.isEmpty()) {
            outcome.verses = std::move(fromB);
        } else {
            outcome.verses.reserve(fromA.size() + fromB.size());
            std::merge(fromA.cbegin(), fromA.cend(), fromB.cbegin(), fromB.cend(), std::back_inserter(outcome.verses),
                       [](const DifferingVerse& x, const DifferingVerse& y) { return x.number < y.number; });
        }
    } catch (const versiondb::Error& error) {
        outcome = {};
        stopped(outcome, CompareResult::EngineFailed, file);
        outcome.engineFailure = {error.Number(), error.Description()};
        return outcome;
    } catch (const std::exception&) {
        outcome = {};
        stopped(outcome, CompareResult::EngineFailed, file);
        outcome.engineFailure = {versiondb::errorNumber::EngineFailure,
                                 versiondb::errorDescription(versiondb::errorNumber::EngineFailure)};
        return outcome;
    }
    for (const DifferingVerse& verse : outcome.verses) {
        ++outcome.counts[static_cast<int>(verse.kind)];
    }
    outcome.result = outcome.verses.isEmpty() ? CompareResult::Same : CompareResult::Different;
    return outcome;
}

} // namespace exchange
