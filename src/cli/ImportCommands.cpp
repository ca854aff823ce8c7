#include "cli/ImportCommands.h"

#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "import/BuildPipeline.h"
#include "import/RunRequest.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

// The file list holds full paths, as the import window's list does.
QStringList fullPaths(const QStringList& files)
{
    QStringList paths;
    for (const QString& file : files) {
        paths << QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    }
    return paths;
}

int exitCode(importer::RunOutcome outcome)
{
    switch (outcome) {
    case importer::RunOutcome::Clean:
        return kSuccess;
    case importer::RunOutcome::LineErrors:
    case importer::RunOutcome::Refused:
        return kLineErrorsOrRefused;
    case importer::RunOutcome::Failed:
        break;
    }
    return kFailure;
}

} // namespace

int checkCommand(const QString& programFolder, const QStringList& files)
{
    ConsoleObserver observer;
    const QStringList paths = fullPaths(files);
    if (const auto refusal = importer::checkRunRefusal(paths, importer::Asker::CommandLine)) {
        observer.showMessage(platform::MessageIcon::Exclamation, *refusal);
        return kLineErrorsOrRefused;
    }
    importer::BuildPipeline pipeline(programFolder, observer);
    return exitCode(pipeline.runCheck(paths));
}

int buildCommand(const QString& programFolder, const QString& name, const QStringList& files)
{
    ConsoleObserver observer;
    QString versionName = name;
    const QStringList paths = fullPaths(files);
    if (const auto refusal = importer::buildRunRefusal(paths, versionName, importer::Asker::CommandLine)) {
        observer.showMessage(platform::MessageIcon::Exclamation, *refusal);
        return kLineErrorsOrRefused;
    }
    importer::BuildPipeline pipeline(programFolder, observer);
    return exitCode(pipeline.runBuild(versionName, paths));
}

} // namespace cli
