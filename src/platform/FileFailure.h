#pragma once

#include <QString>

namespace platform {

// A file that could not be opened, read, written or deleted, with a Korean description of the
// file system's error as the run's failure message shows it.
struct FileFailure
{
    QString path;
    QString description;

    friend bool operator==(const FileFailure&, const FileFailure&) = default;
};

} // namespace platform
