#pragma once

#include <QString>

namespace platform {

// Korean descriptions of file system errors, one sentence each.
class FileErrorDescriptions
{
public:
    // The basic descriptions.
    [[nodiscard]] static QString fileNotFound();
    [[nodiscard]] static QString pathNotFound();
    [[nodiscard]] static QString permissionDenied();
    [[nodiscard]] static QString accessError();
    [[nodiscard]] static QString diskFull();
    [[nodiscard]] static QString notRegularFile();

    // Why the file at path could not be opened, created, written or deleted, judged from the file
    // system as it is now: a missing folder, a read-only folder and a full disk are told apart.
    [[nodiscard]] static QString openForReadingFailure(const QString& path);
    [[nodiscard]] static QString openForWritingFailure(const QString& path);
    [[nodiscard]] static QString readFailure();
    [[nodiscard]] static QString writeFailure(const QString& path);
    [[nodiscard]] static QString removeFailure(const QString& path);
    // Why copying source to destination failed.
    [[nodiscard]] static QString copyFailure(const QString& source, const QString& destination);
};

} // namespace platform
