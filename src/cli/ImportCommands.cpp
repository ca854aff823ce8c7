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
    if (const auto refusal = importer::checkRunRefusal(files)) {
        observer.showMessage(platform::MessageIcon::Exclamation, *refusal);
        return kLineErrorsOrRefused;
    }
    importer::BuildPipeline pipeline(programFolder, observer);
    return exitCode(pipeline.runCheck(fullPaths(files)));
}

int buildCommand(const QString& programFolder, const QString& name, const QStringList& files)
{
    ConsoleObserver observer;
    QString versionName = name;
    if (const auto refusal = importer::buildRunRefusal(files, versionName)) {
        observer.showMessage(platform::MessageIcon::Exclamation, *refusal);
        return kLineErrorsOrRefused;
    }
    importer::BuildPipeline pipeline(programFolder, observer);
    return exitCode(pipeline.runBuild(versionName, fullPaths(files)));
}

} // namespace cli
