#pragma once

#include <QString>

namespace platform {

enum class RenameOutcome
{
    Renamed,
    TargetExists, // a file of the new name appeared first; nothing was changed
    Failed,
};

// Gives a file a new name in the same folder in one step, never over a file that has that name already.
[[nodiscard]] RenameOutcome renameToNewName(const QString& from, const QString& to);

// Gives the file at path the permissions of model and, where this user may (root, on Linux), its owner and group: a
// copy that takes a version's place keeps who may read and write it. False when the permissions could not be set.
[[nodiscard]] bool takeAccessOf(const QString& path, const QString& model);

// Writes a folder's entries to the disk, so that a rename in it survives a crash.
void flushFolder(const QString& folder);

// Whether a file that is open can be renamed over or deleted. Windows does neither, so there the hold on a version ends
// a moment before the rename or deletion that replaces or removes it, not just after it.
#ifdef Q_OS_WIN
inline constexpr bool kOpenFilesCanGo = false;
#else
inline constexpr bool kOpenFilesCanGo = true;
#endif

} // namespace platform
