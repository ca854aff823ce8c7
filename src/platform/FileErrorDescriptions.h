#pragma once

#include <QString>

namespace platform {

// Korean descriptions of file system errors, one sentence each.
namespace FileErrorDescriptions {
// The basic descriptions.
[[nodiscard]] QString fileNotFound();
[[nodiscard]] QString pathNotFound();
[[nodiscard]] QString permissionDenied();
[[nodiscard]] QString accessError();
[[nodiscard]] QString diskFull();
[[nodiscard]] QString notRegularFile();

// Why the file at path could not be opened, created, written or deleted, judged from the file
// system as it is now: a missing folder, a read-only folder and a full disk are told apart.
[[nodiscard]] QString openForReadingFailure(const QString& path);
[[nodiscard]] QString openForWritingFailure(const QString& path);
[[nodiscard]] QString readFailure();
[[nodiscard]] QString writeFailure(const QString& path);
[[nodiscard]] QString removeFailure(const QString& path);
// Why copying source to destination failed.
[[nodiscard]] QString copyFailure(const QString& source, const QString& destination);
} // namespace FileErrorDescriptions

} // namespace platform
