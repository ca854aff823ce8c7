#include "cli/ImportCommands.h"

#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/Usage.h"
#include "import/BuildPipeline.h"
#include "import/RunRequest.h"
#include "platform/FileNames.h"
#include "platform/RunControl.h"
#include "platform/SystemCodePage.h"

namespace cli {

namespace {

// The run reads the module, or the files as full paths, as the import window's list holds them.
importer::RunInput runInput(const QStringList& files, const QString& swordModule)
{
    if (!swordModule.isEmpty()) {
        return importer::RunInput::swordBible(swordModule);
    }
    QStringList paths;
    for (const QString& file : files) {
        paths << platform::fullPath(file);
    }
    return paths;
}

int exitCode(importer::RunResult result)
{
    switch (result) {
    case importer::RunResult::Clean:
        return kSuccess;
    case importer::RunResult::LineErrors:
    case importer::RunResult::Refused:
        return kLineErrorsOrRefused;
    case importer::RunResult::PartialRead:
        return kPartialRead;
    case importer::RunResult::Cancelled:
        return kCancelled;
    case importer::RunResult::Failed:
        break;
    }
    return kFailure;
}

// Runs the check or the build with its progress on the terminal; Ctrl+C cancels it. Prints its messages and, as a
// terminal has no window to open the log in, where the log is.
template <typename Run> int runShown(bool building, Run run)
{
    platform::RunControl control;
    importer::RunOutcome outcome;
    {
        const InterruptScope interrupt(control);
        const ConsoleObserver observer(control, building);
        outcome = run(control);
    }
    for (const importer::Message& message : outcome.messages) {
        printMessage(stdout, message.text);
    }
    if (!outcome.errorLogPath.isEmpty()) {
        std::fprintf(stderr, "err.txt: %s\n", outcome.errorLogPath.toUtf8().constData());
        std::fflush(stderr);
    }
    return exitCode(outcome.result);
}

} // namespace

std::optional<bool> takeLogEncoding(QStringList& arguments, QString& why)
{
    bool codePage949 = platform::systemCodePageIs949();
    for (qsizetype i = arguments.indexOf(QStringLiteral("--encoding")); i >= 0;
         i = arguments.indexOf(QStringLiteral("--encoding"))) {
        const QString value = arguments.value(i + 1);
        if (value != QStringLiteral("cp949") && value != QStringLiteral("utf-8")) {
            why = UsageErrors::kExportEncodingValues;
            return std::nullopt;
        }
        codePage949 = value == QStringLiteral("cp949");
        arguments.remove(i, 2);
    }
    return codePage949;
}

std::optional<QString> takeSwordModule(QStringList& arguments, QString& why)
{
    QString module;
    for (qsizetype i = arguments.indexOf(QStringLiteral("--sword")); i >= 0;
         i = arguments.indexOf(QStringLiteral("--sword"))) {
        module = arguments.value(i + 1);
        if (module.isEmpty() || module.startsWith(QStringLiteral("--"))) {
            why = UsageErrors::kSwordNeedsModule;
            return std::nullopt;
        }
        arguments.remove(i, 2);
    }
    return module;
}

int checkOrBuildCommand(const QString& programFolder, const std::optional<QString>& name, const QStringList& files,
                        const QString& swordModule, bool logInCodePage949)
{
    if (!swordModule.isEmpty() && !files.isEmpty()) {
        return usageError(UsageErrors::kSwordOrFiles);
    }
    QString versionName = name.value_or(QString());
    const importer::RunInput input = runInput(files, swordModule);
    if (const auto refusal = name ? importer::buildRunRefusal(input, versionName, importer::Asker::CommandLine)
                                  : importer::checkRunRefusal(input, importer::Asker::CommandLine)) {
        printMessage(stdout, *refusal);
        return kLineErrorsOrRefused;
    }
    return runShown(name.has_value(), [&](platform::RunControl& control) {
        importer::BuildPipeline pipeline(programFolder, control);
        pipeline.setLogInCodePage949(logInCodePage949);
        return name ? pipeline.runBuild(versionName, input) : pipeline.runCheck(input);
    });
}

} // namespace cli
