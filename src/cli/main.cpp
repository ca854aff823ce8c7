#include "cli/EditorCommands.h"
#include "cli/ExitCode.h"
#include "cli/ExportCommands.h"
#include "cli/ImportCommands.h"
#include "cli/MaintenanceCommands.h"
#include "platform/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

namespace {

void printUsage(std::FILE* out)
{
    std::fputs("usage: byeorisol-data [--program-folder DIR] COMMAND ...\n"
               "commands:\n"
               "  check FILE...              check text files, writing err.txt when lines are faulty\n"
               "  build NAME FILE...         check text files and build the version NAME from them\n"
               "  show PATH REFERENCE        print the reference and text of a verse of the version PATH\n"
               "  save PATH REFERENCE TEXT   store TEXT as the text of a verse of the version PATH\n"
               "  compact PATH               compact the version file PATH\n"
               "  repair PATH                repair the damaged version file PATH\n"
               "  delete PATH                delete the version file PATH (never a shipped one)\n"
               "  export PATH DEST [--format text|imp] [--encoding cp949|utf-8]\n"
               "                             write the version PATH as text files into the folder DEST,\n"
               "                             or as the IMP file DEST for SWORD's imp2vs\n"
               "  report PATH                count the texts of the version PATH and list its verses without text\n",
               out);
}

int usageError(const QString& why)
{
    std::fprintf(stderr, "byeorisol-data: %s\n", why.toUtf8().constData());
    printUsage(stderr);
    return cli::kFailure;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (!arguments.isEmpty() &&
        (arguments.first() == QStringLiteral("--help") || arguments.first() == QStringLiteral("-h"))) {
        printUsage(stdout);
        return cli::kSuccess;
    }

    QString programFolder = platform::programFolder();
    if (!arguments.isEmpty() && arguments.first() == QStringLiteral("--program-folder")) {
        if (arguments.size() < 2) {
            return usageError(QStringLiteral("--program-folder needs a folder"));
        }
        programFolder = QDir::toNativeSeparators(arguments.at(1));
        while (programFolder.size() > 1 && programFolder.endsWith(platform::separator())) {
            programFolder.chop(1);
        }
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty()) {
        return usageError(QStringLiteral("no command given"));
    }

    const QString command = arguments.takeFirst();
    if (command == QStringLiteral("check")) {
        return cli::checkCommand(programFolder, arguments);
    }
    if (command == QStringLiteral("build")) {
        if (arguments.isEmpty()) {
            return usageError(QStringLiteral("build needs a version name"));
        }
        const QString name = arguments.takeFirst();
        return cli::buildCommand(programFolder, name, arguments);
    }
    if (command == QStringLiteral("show")) {
        if (arguments.size() != 2) {
            return usageError(QStringLiteral("show needs a version file and a verse reference"));
        }
        return cli::showCommand(arguments.at(0), arguments.at(1));
    }
    if (command == QStringLiteral("save")) {
        if (arguments.size() != 3) {
            return usageError(QStringLiteral("save needs a version file, a verse reference and a text"));
        }
        return cli::saveCommand(arguments.at(0), arguments.at(1), arguments.at(2));
    }
    if (command == QStringLiteral("compact") || command == QStringLiteral("repair") ||
        command == QStringLiteral("delete")) {
        if (arguments.size() != 1) {
            return usageError(command + QStringLiteral(" needs exactly one path"));
        }
        const QString path = arguments.first();
        return command == QStringLiteral("compact")  ? cli::compactCommand(programFolder, path)
               : command == QStringLiteral("repair") ? cli::repairCommand(programFolder, path)
                                                     : cli::deleteCommand(programFolder, path);
    }
    if (command == QStringLiteral("export")) {
        QString why;
        const auto parsed = cli::parseExportArguments(arguments, why);
        if (!parsed) {
            return usageError(why);
        }
        return cli::exportCommand(*parsed);
    }
    if (command == QStringLiteral("report")) {
        if (arguments.size() != 1) {
            return usageError(QStringLiteral("report needs exactly one path"));
        }
        return cli::reportCommand(arguments.first());
    }
    return usageError(QStringLiteral("unknown command: ") + command);
}
