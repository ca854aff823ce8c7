#pragma once

#include <QFile>
#include <QString>
#include <optional>

namespace platform {

// Whether path names something that is there but is no regular file (a folder, a device, a pipe,
// a socket), following symbolic links. A path that is not there is not "other": opening it fails.
[[nodiscard]] bool isOtherThanRegularFile(const QString& path);

// Opens a regular file (or a link to one) for reading into file, whose name is set to path. Anything else is refused
// without ever blocking: a pipe with no writer is never waited for. Nothing when the file is open, else why not.
[[nodiscard]] std::optional<QString> openRegularFileOrSayWhy(QFile& file, const QString& path);

} // namespace platform
