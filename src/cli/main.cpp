#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/Usage.h"
#include "platform/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    QString programFolder;
    if (!arguments.isEmpty() && arguments.first() == QStringLiteral("--program-folder")) {
        if (arguments.size() < 2) {
            return cli::usageError(cli::UsageErrors::kProgramFolderMissing);
        }
        programFolder = QDir::toNativeSeparators(arguments.at(1));
        while (programFolder.size() > 1 && programFolder.endsWith(platform::separator())) {
            programFolder.chop(1);
        }
        if (!QFileInfo(programFolder).isDir()) {
            return cli::usageError(cli::UsageErrors::programFolderNotFound(programFolder));
        }
        arguments = arguments.mid(2);
    }
    // Help is asked for first, or first after the program folder.
    if (!arguments.isEmpty() &&
        (arguments.first() == QStringLiteral("--help") || arguments.first() == QStringLiteral("-h"))) {
        cli::printUsage(stdout);
        return cli::kSuccess;
    }
    if (arguments.isEmpty()) {
        return cli::usageError(cli::UsageErrors::kNoCommand);
    }
    if (programFolder.isEmpty()) {
        const platform::ProgramFolder folder = platform::programFolder();
        if (folder.failure) {
            return cli::programFolderFailure(*folder.failure);
        }
        programFolder = folder.path;
    }

    const QString command = arguments.takeFirst();
    if (command == QStringLiteral("check") || command == QStringLiteral("build")) {
        return cli::checkOrBuildCommand(programFolder, command == QStringLiteral("build"), arguments);
    }
    if (command == QStringLiteral("show")) {
        if (arguments.size() != 2) {
            return cli::usageError(cli::UsageErrors::kShowNeedsArguments);
        }
        return cli::showCommand(arguments.at(0), arguments.at(1));
    }
    if (command == QStringLiteral("save")) {
        if (arguments.size() != 3) {
            return cli::usageError(cli::UsageErrors::kSaveNeedsArguments);
        }
        return cli::saveCommand(arguments.at(0), arguments.at(1), arguments.at(2));
    }
    if (command == QStringLiteral("history") || command == QStringLiteral("undo") ||
        command == QStringLiteral("redo")) {
        if (arguments.isEmpty() || arguments.size() > 2) {
            return cli::usageError(cli::UsageErrors::needsPathAndReference(command));
        }
        const std::optional<QString> reference = arguments.size() == 2 ? std::optional(arguments.at(1)) : std::nullopt;
        return command == QStringLiteral("history")
                   ? cli::historyCommand(arguments.at(0), reference)
                   : cli::undoCommand(arguments.at(0), reference, command == QStringLiteral("redo"));
    }
    if (command == QStringLiteral("compact") || command == QStringLiteral("repair") ||
        command == QStringLiteral("delete") || command == QStringLiteral("report")) {
        if (arguments.size() != 1) {
            return cli::usageError(cli::UsageErrors::needsOnePath(command));
        }
        const QString path = arguments.first();
        return command == QStringLiteral("compact")  ? cli::compactCommand(programFolder, path)
               : command == QStringLiteral("repair") ? cli::repairCommand(programFolder, path)
               : command == QStringLiteral("delete") ? cli::deleteCommand(programFolder, path)
                                                     : cli::reportCommand(path);
    }
    if (command == QStringLiteral("export")) {
        return cli::exportCommand(arguments);
    }
    if (command == QStringLiteral("compare")) {
        if (arguments.size() != 2) {
            return cli::usageError(cli::UsageErrors::kCompareNeedsArguments);
        }
        return cli::compareCommand(arguments.at(0), arguments.at(1));
    }
    if (command == QStringLiteral("find")) {
        return cli::findCommand(arguments);
    }
    if (command == QStringLiteral("replace")) {
        return cli::replaceCommand(arguments);
    }
    if (command == QStringLiteral("inspect")) {
        return cli::inspectCommand(arguments);
    }
    return cli::usageError(cli::UsageErrors::unknownCommand(command));
}
