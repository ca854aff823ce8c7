#pragma once

#include <QString>

namespace platform {

// Korean descriptions of file system errors, one sentence each.
class FileErrorDescriptions
{
public:
    // Why the file at path could not be opened, judged from the file system as it is now.
    // The four basic descriptions.
    [[nodiscard]] static QString fileNotFound();
    [[nodiscard]] static QString pathNotFound();
    [[nodiscard]] static QString permissionDenied();
    [[nodiscard]] static QString accessError();

    [[nodiscard]] static QString openForReadingFailure(const QString& path);
    [[nodiscard]] static QString openForWritingFailure(const QString& path);
    [[nodiscard]] static QString readFailure();
    [[nodiscard]] static QString writeFailure();
    [[nodiscard]] static QString removeFailure();
    // Why copying source to destination failed.
    [[nodiscard]] static QString copyFailure(const QString& source, const QString& destination);
};

} // namespace platform
