#pragma once

#include <QString>

namespace platform {

// The part of a path after its last separator (on Windows a slash or a backslash); a path without a separator,
// or one ending in it, gives the empty text.
[[nodiscard]] QString getFileName(const QString& path);

// True only for a normal file: folders, hidden files and paths in missing
// folders give false. A name with wildcards is true when a normal file matches.
[[nodiscard]] bool fileExists(const QString& path);

// The path as the windows and the command line name a file: absolute, with the system's separators.
[[nodiscard]] QString fullPath(const QString& path);

} // namespace platform
