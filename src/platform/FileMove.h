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

// Writes a folder's entries to the disk, so that a rename in it survives a crash.
void flushFolder(const QString& folder);

} // namespace platform
