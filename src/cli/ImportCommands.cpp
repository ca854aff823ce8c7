#include "cli/Commands.h"
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
        printMessage(message.text);
    }
    if (!outcome.errorLogPath.isEmpty()) {
        std::fprintf(stderr, "err.txt: %s\n", outcome.errorLogPath.toUtf8().constData());
        std::fflush(stderr);
    }
    return exitCode(outcome.result);
}

// Takes every "OPTION VALUE" out of the arguments: the last value, empty when the option is not given; nothing when
// a value is not valid (or missing).
std::optional<QString> takeOption(QStringList& arguments, const QString& option, bool (*valid)(const QString&))
{
    QString value;
    for (qsizetype i = arguments.indexOf(option); i >= 0; i = arguments.indexOf(option)) {
        value = arguments.value(i + 1);
        if (!valid(value)) {
            return std::nullopt;
        }
        arguments.remove(i, 2);
    }
    return value;
}

} // namespace

int checkOrBuildCommand(const QString& programFolder, bool build, QStringList arguments)
{
    // Whether err.txt is written in code page 949 (with CR LF): the platform's own choice unless --encoding says.
    const std::optional<QString> encoding =
        takeOption(arguments, QStringLiteral("--encoding"), [](const QString& value) {
            return value == QStringLiteral("cp949") || value == QStringLiteral("utf-8");
        });
    if (!encoding) {
        return usageError(UsageErrors::kExportEncodingValues);
    }
    // The installed SWORD module to read in the place of files.
    const std::optional<QString> module = takeOption(arguments, QStringLiteral("--sword"), [](const QString& value) {
        return !value.isEmpty() && !value.startsWith(QStringLiteral("--"));
    });
    if (!module) {
        return usageError(UsageErrors::kSwordNeedsModule);
    }
    if (build && arguments.isEmpty()) {
        return usageError(UsageErrors::kBuildNeedsName);
    }
    QString versionName = build ? arguments.takeFirst() : QString();
    if (!module->isEmpty() && !arguments.isEmpty()) {
        return usageError(UsageErrors::kSwordOrFiles);
    }
    const importer::RunInput input = runInput(arguments, *module);
    if (const auto refusal = build ? importer::buildRunRefusal(input, versionName, importer::Asker::CommandLine)
                                   : importer::checkRunRefusal(input, importer::Asker::CommandLine)) {
        printMessage(*refusal);
        return kLineErrorsOrRefused;
    }
    return runShown(build, [&](platform::RunControl& control) {
        importer::BuildPipeline pipeline(programFolder, control);
        pipeline.setLogInCodePage949(encoding->isEmpty() ? platform::systemCodePageIs949()
                                                         : *encoding == QStringLiteral("cp949"));
        return build ? pipeline.runBuild(versionName, input) : pipeline.runCheck(input);
    });
}

} // namespace cli
