#pragma once

#include "platform/FileFailure.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {

// The path separator of this platform: "\" on Windows, "/" elsewhere.
[[nodiscard]] QString separator();

// How the executables find the program folder.
enum class FolderMode
{
    Portable,  // the program folder is the executable's own folder
    Installed, // the program folder is "manager" in the user's install folder, stocked from the package's data folder
};

// The mode of executables that lie in executableFolder; exists tells whether a path names a file or folder. Portable
// when the reference version 개역.DAT lies in the folder above, as in every tree that the build or `cmake --install`
// lays out; installed when the executable's folder is named "bin" (as /usr/bin is); portable otherwise.
[[nodiscard]] FolderMode folderMode(const QString& executableFolder, const std::function<bool(const QString&)>& exists);

// The package's read-only data folder of an installed executable: share/byeorisol beside its bin folder.
[[nodiscard]] QString dataFolder(const QString& executableFolder);

// The install folder of the installed mode: "byeorisol" in the user's data folder (on Windows %LOCALAPPDATA%, elsewhere
// $XDG_DATA_HOME) when that is an absolute path, otherwise in ~/.local/share (a relative or empty value is ignored, as
// the XDG base directories ask).
[[nodiscard]] QString userInstallFolder(const QString& dataHome, const QString& home);

// The files that come with the program, relative to the install folder; those of the program folder under "manager/".
[[nodiscard]] QStringList shippedFiles();

// Copies from the data folder every shipped file that the install folder lacks, making the folders as needed. A file
// that is there under its name in any letter case is never replaced. Each copy is written under a temporary name and
// renamed once whole, so a copy cut short never passes for a shipped file. Answers the file that could not be
// provided and why.
[[nodiscard]] std::optional<FileFailure> provideShippedFiles(const QString& dataFolder, const QString& installFolder);

// The program folder to run in, and what kept it from being ready.
struct ProgramFolder
{
    QString path; // native separators, no trailing separator
    std::optional<FileFailure> failure;
};

// The program folder of the running executable, by folderMode: in the portable mode its own folder; in the installed
// mode "manager" in the user's install folder, where the shipped files are provided first.
[[nodiscard]] ProgramFolder programFolder();

// The program folder followed by the separator and "..": a literal parent step, never normalised.
[[nodiscard]] QString installFolder(const QString& programFolder);

} // namespace platform
