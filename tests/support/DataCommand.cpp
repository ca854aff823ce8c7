#include "support/DataCommand.h"

#include "support/TestPaths.h"

#include <QProcess>

namespace testsupport {

CommandResult runDataCommand(const QString& programFolder, const QStringList& arguments, const QString& workingFolder)
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
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testsupport
