#include "cli/Commands.h"
#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
#include "platform/FileNames.h"
#include "versiondb/Names.h"

#include <cstdio>
#include <utility>

namespace cli {

namespace {

namespace MaintenanceMessages = maintenance::MaintenanceMessages;
using maintenance::Message;

// The full path, as the file dialog returns it, so that messages name the file.
// On standard output, as the import commands print their messages.
void print(const QList<Message>& messages)
{
    for (const Message& message : messages) {
        QString text = message.text;
        // A terminal would go back to the line's start on a lone carriage return.
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        printMessage(text);
    }
}

} // namespace

int compactCommand(const QString& programFolder, const QString& path)
{
    const QString full = platform::fullPath(path);
    maintenance::VersionMaintenance maintenance(programFolder);
    platform::RunControl control;
    const InterruptScope interrupt(control);
    const maintenance::CompactOutcome outcome = maintenance.compactVersion(full, &control);
    print(MaintenanceMessages::forOutcome(platform::getFileName(full), outcome));
    if (outcome.failedAt == maintenance::CompactStep::Cancelled) {
        return kCancelled;
    }
    if (outcome.failure) {
        std::fprintf(stderr, "byeorisol-data: %s\n", outcome.failure->description.toUtf8().constData());
    }
    if (outcome.failedAt == maintenance::CompactStep::Damaged ||
        outcome.failedAt == maintenance::CompactStep::ScratchInUse) {
        return kLineErrorsOrRefused;
    }
    return outcome.compacted() ? kSuccess : kFailure;
}

int repairCommand(const QString& programFolder, const QString& path)
{
    const QString full = platform::fullPath(path);
    maintenance::VersionMaintenance maintenance(programFolder);
    platform::RunControl control;
    const InterruptScope interrupt(control);
    const maintenance::RepairOutcome outcome = maintenance.repairVersion(full, &control);
    // The counts in the message, then every verse as a range on a line of its own.
    print(MaintenanceMessages::forOutcome(platform::getFileName(full), outcome, 0));
    if (outcome.cancelled) {
        return kCancelled;
    }
    if (!outcome.repaired) {
        return kFailure;
    }
    for (const auto& [heading, ranges] :
         {std::pair{MaintenanceMessages::lostVersesHeading(outcome.lostVerses), outcome.lostRanges},
          std::pair{MaintenanceMessages::damagedTextsHeading(outcome.damagedTexts), outcome.damagedRanges}}) {
        if (!ranges.isEmpty()) {
            printMessage(heading + u'\n' + ranges.join(u'\n'));
        }
    }
    return outcome.whole() && !outcome.historyLost ? kSuccess : kLineErrorsOrRefused;
}

int deleteCommand(const QString& programFolder, const QString& path)
{
    const QString full = platform::fullPath(path);
    const QString name = platform::getFileName(full);
    if (versiondb::isShippedName(full)) {
        print({MaintenanceMessages::shippedFileRefused(name)});
        return kLineErrorsOrRefused;
    }
    maintenance::VersionMaintenance maintenance(programFolder);
    const maintenance::DeleteOutcome outcome = maintenance.deleteVersion(full);
    print(MaintenanceMessages::forOutcome(name, outcome));
    return outcome.deleted() ? kSuccess : kFailure;
}

} // namespace cli
