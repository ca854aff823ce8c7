#pragma once

#include "platform/FileFailure.h"

#include <QString>
#include <cstdio>

namespace cli {

// The help of byeorisol-data, in Korean like every other text of the program: the form of a
// command line and one line per command.
[[nodiscard]] QString usageText();

// Prints the help on out.
void printUsage(std::FILE* out);

// A command line that makes no sense: why, on standard error, then the help. Answers the exit code.
int usageError(const QString& why);

// The installed program could not copy its shipped files into the user's install folder: the file and why.
[[nodiscard]] QString shippedFilesFailure(const platform::FileFailure& failure);

// Prints that on standard error. Answers the exit code.
int programFolderFailure(const platform::FileFailure& failure);

// Why a command line makes no sense.
class UsageErrors
{
public:
    [[nodiscard]] static QString programFolderMissing();
    // The folder named by --program-folder is not there; the folder on the line after.
    [[nodiscard]] static QString programFolderNotFound(const QString& folder);
    [[nodiscard]] static QString noCommand();
    [[nodiscard]] static QString unknownCommand(const QString& command);
    [[nodiscard]] static QString buildNeedsName();
    // --sword without a module; --sword with files beside it.
    [[nodiscard]] static QString swordNeedsModule();
    [[nodiscard]] static QString swordOrFiles();
    [[nodiscard]] static QString showNeedsArguments();
    [[nodiscard]] static QString saveNeedsArguments();
    [[nodiscard]] static QString needsOnePath(const QString& command);
    // history and undo: a path and perhaps a reference.
    [[nodiscard]] static QString needsPathAndReference(const QString& command);
    // export: its arguments.
    [[nodiscard]] static QString exportNeedsArguments();
    [[nodiscard]] static QString exportFormatValues();
    [[nodiscard]] static QString exportEncodingValues();
    // --encoding cp949 with a format other than text.
    [[nodiscard]] static QString exportFileIsUtf8();
    [[nodiscard]] static QString compareNeedsArguments();
    [[nodiscard]] static QString findNeedsArguments();
    [[nodiscard]] static QString replaceNeedsArguments();
    [[nodiscard]] static QString unknownOption(const QString& option);
};

} // namespace cli
