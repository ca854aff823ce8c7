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
namespace UsageErrors {
[[nodiscard]] QString programFolderMissing();
// The folder named by --program-folder is not there; the folder on the line after.
[[nodiscard]] QString programFolderNotFound(const QString& folder);
[[nodiscard]] QString noCommand();
[[nodiscard]] QString unknownCommand(const QString& command);
[[nodiscard]] QString buildNeedsName();
// --sword without a module; --sword with files beside it.
[[nodiscard]] QString swordNeedsModule();
[[nodiscard]] QString swordOrFiles();
[[nodiscard]] QString showNeedsArguments();
[[nodiscard]] QString saveNeedsArguments();
[[nodiscard]] QString needsOnePath(const QString& command);
// history and undo: a path and perhaps a reference.
[[nodiscard]] QString needsPathAndReference(const QString& command);
// export: its arguments.
[[nodiscard]] QString exportNeedsArguments();
[[nodiscard]] QString exportFormatValues();
[[nodiscard]] QString exportEncodingValues();
// --encoding cp949 with a format other than text.
[[nodiscard]] QString exportFileIsUtf8();
[[nodiscard]] QString compareNeedsArguments();
[[nodiscard]] QString findNeedsArguments();
[[nodiscard]] QString replaceNeedsArguments();
[[nodiscard]] QString unknownOption(const QString& option);
} // namespace UsageErrors

} // namespace cli
