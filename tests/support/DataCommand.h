#pragma once

#include "support/TestPaths.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsupport {

// What a run of the command-line companion left: its exit code (-1 when it did not end normally) and its output.
struct CommandResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built byeorisol-data with these arguments, with --program-folder first unless programFolder is empty; in
// workingFolder when one is given.
[[nodiscard]] inline CommandResult runDataCommand(const QString& programFolder, const QStringList& arguments,
                                                  const QString& workingFolder = {})
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.start(builtProgramFolder() + QStringLiteral("/byeorisol-data"),
                  programFolder.isEmpty() ? arguments
                                          : QStringList{QStringLiteral("--program-folder"), programFolder} + arguments);
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    // Windows' C runtime ends each printed line with CR LF.
    const auto text = [](const QByteArray& bytes) {
        return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            text(process.readAllStandardOutput()), text(process.readAllStandardError())};
}

} // namespace testsupport
