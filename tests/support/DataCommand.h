#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// What a run of the command-line companion left: its exit code (-1 when it did not end
// normally) and its output.
struct CommandResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built byeorisol-data with these arguments, with --program-folder first unless
// programFolder is empty; in workingFolder when one is given.
[[nodiscard]] CommandResult runDataCommand(const QString& programFolder, const QStringList& arguments,
                                           const QString& workingFolder = {});

} // namespace testsupport
