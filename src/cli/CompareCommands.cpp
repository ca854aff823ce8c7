#include "cli/CompareCommands.h"

#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "exchange/CompareMessages.h"
#include "platform/FileNames.h"

#include <cstdio>

namespace cli {

namespace {

namespace CompareMessages = exchange::CompareMessages;
using exchange::WordRun;

// "창 1:2 땅이 [-혼돈하고-]{+혼돈하며+} 공허하며"; a verse that is not simply changed, or whose
// words are all the same, has the kind in parentheses after its reference.
QString lineOf(const exchange::DifferingVerse& verse)
{
    const QList<WordRun> words = verse.words();
    QString line = verse.reference;
    if (verse.kind != exchange::VerseDifference::Changed) {
        line += QStringLiteral(" (") + CompareMessages::kind(verse.kind) + u')';
    } else if (exchange::sameWords(words)) {
        line += QStringLiteral(" (") + CompareMessages::spacingOnly() + u')';
    }
    if (!words.isEmpty()) {
        line += u' ' + exchange::markedWords(words);
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
    const exchange::CompareOutcome outcome = exchange::compareVersions(
        a, b,
        [](const exchange::DifferingVerse& verse) { std::fprintf(stdout, "%s\n", lineOf(verse).toUtf8().constData()); },
        &control);
    switch (outcome.result) {
    case exchange::CompareResult::Same:
        printMessage(stdout, CompareMessages::same());
        return kSuccess;
    case exchange::CompareResult::Different:
        break;
    case exchange::CompareResult::Cancelled:
        printMessage(stdout, CompareMessages::cancelled());
        return kCancelled;
    default:
        printMessage(stdout, CompareMessages::failure(outcome, a, b));
        return kFailure;
    }
    printMessage(stdout, CompareMessages::counts(outcome));
    return kVersionsDiffer;
}

} // namespace cli
