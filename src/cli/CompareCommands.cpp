#include "cli/Commands.h"
#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "platform/FileNames.h"
#include "review/CompareMessages.h"

#include <cstdio>

namespace cli {

namespace {

namespace CompareMessages = review::CompareMessages;
using review::WordRun;

// "창 1:2 땅이 [-혼돈하고-]{+혼돈하며+} 공허하며"; a verse that is not simply changed, or whose
// words are all the same, has the kind in parentheses after its reference.
QString lineOf(const review::DifferingVerse& verse)
{
    const QList<WordRun> words = verse.words();
    QString line = verse.reference;
    if (verse.kind != review::VerseDifference::Changed) {
        line += QStringLiteral(" (") + CompareMessages::kind(verse.kind) + u')';
    } else if (review::sameWords(words)) {
        line += QStringLiteral(" (") + CompareMessages::kSpacingOnly + u')';
    }
    if (!words.isEmpty()) {
        line += u' ' + review::markedWords(words);
    }
    return line;
}

} // namespace

int compareCommand(const QString& pathA, const QString& pathB)
{
    const QString a = platform::fullPath(pathA);
    const QString b = platform::fullPath(pathB);
    platform::RunControl control;
    const InterruptScope interrupt(control);
    // Each verse is written as it is found, so that no list of them is held.
    const review::CompareOutcome outcome = review::compareVersions(
        a, b,
        [](const review::DifferingVerse& verse) { std::fprintf(stdout, "%s\n", lineOf(verse).toUtf8().constData()); },
        &control);
    switch (outcome.result) {
    case review::CompareResult::Same:
        printMessage(CompareMessages::kSame);
        return kSuccess;
    case review::CompareResult::Different:
        break;
    case review::CompareResult::Cancelled:
        printMessage(CompareMessages::kCancelled);
        return kCancelled;
    default:
        printMessage(CompareMessages::failure(outcome, a, b));
        return kFailure;
    }
    printMessage(CompareMessages::counts(outcome));
    return kVersionsDiffer;
}

} // namespace cli
