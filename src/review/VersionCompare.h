#pragma once

#include "platform/RunControl.h"
#include "review/WordDiff.h"
#include "versiondb/Error.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace review {

// How the verse of one 성경구절 differs between version A and version B.
enum class VerseDifference : quint8
{
    Changed, // both have a text, and the texts differ
    NullInA, // A's text is Null, B's is not
    NullInB,
    OnlyInA, // B has no verse of this 성경구절
    OnlyInB,
};
inline constexpr int kDifferenceKinds = 5;

// A verse that differs, with both texts: nothing for Null and for the side that lacks the verse.
struct DifferingVerse
{
    qint64 number = 0; // 번호, the same in both versions when both have the verse
    QString reference; // 성경구절
    VerseDifference kind = VerseDifference::Changed;
    std::optional<QString> textA;
    std::optional<QString> textB;

    // From A's text to B's, word by word: a missing text gives every word of the other.
    [[nodiscard]] QList<WordRun> words() const
    {
        return diffWords(textA.value_or(QString()), textB.value_or(QString()));
    }
};

enum class CompareResult : quint8
{
    Same,
    Different,
    EngineFailed,       // a version could not be opened or read (file, failure)
    DuplicateReference, // a version has two records of one 성경구절 (file, reference)
    DifferentSkeletons, // see compareVersions (reference, numberA, numberB)
    Cancelled,          // the run was cancelled before both versions were read
};

struct CompareOutcome
{
    CompareResult result = CompareResult::Same;
    QList<DifferingVerse> verses;               // in the order of 번호 (empty when they went to a callback)
    std::array<int, kDifferenceKinds> counts{}; // by VerseDifference
    // Why the comparison stopped.
    int file = 0; // 0 for A, 1 for B
    versiondb::ErrorItem failure;
    QString reference; // empty when the versions have no 성경구절 in common
    qint64 numberA = 0;
    qint64 numberB = 0;
};

// Compares the verses of two versions, matched by 성경구절, and lists those whose texts differ
// (Null being no text, distinct from every text, "" included), that are Null in one version or
// that one version lacks. Both files are opened as a compaction opens its source, held against
// every writer and read as they are, so nothing is ever written to either; a version in use fails
// with the engine's error. The same file may be given twice.
//
// Two versions have the same skeleton when every 성경구절 both have carries the same 번호 in
// both: verses then line up by 번호 and the list follows it. A 성경구절 whose 번호 differs, or two
// versions without a 성경구절 in common (unless both are empty), are refused as different
// skeletons: their verses would not follow one order, and a comparison of, say, two different
// numberings would list nearly every verse. A version with two records of one 성경구절 is refused
// as well, since either record could be the one to compare.
//
// The records read out of all (each version is read twice) are reported to control, when given, which can stop
// the comparison between verses (Cancelled, nothing listed).
[[nodiscard]] CompareOutcome compareVersions(const QString& pathA, const QString& pathB,
                                             platform::RunControl* control = nullptr);

// The same, each differing verse given to differing as it is found, in the same order, rather than
// kept: memory stays within the verses of one 번호 and a set of references, whatever the number of
// differences. The skeletons are checked in a first pass, so a refusal comes before any verse; only
// an engine failure in the middle of the reading (a fault of the medium) can follow verses given.
[[nodiscard]] CompareOutcome compareVersions(const QString& pathA, const QString& pathB,
                                             const std::function<void(const DifferingVerse&)>& differing,
                                             platform::RunControl* control = nullptr);

} // namespace review
