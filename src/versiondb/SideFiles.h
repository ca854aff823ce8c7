#pragma once

#include <QString>
#include <QStringList>

namespace versiondb {

// The files that may lie beside a database file: its rollback journal, and the
// log and shared-memory index of a file from the release that kept a write-ahead log.
// They belong to the file of their name and are removed only with it, or while
// its holder has it exclusively, or when no file of that name exists.
[[nodiscard]] QString journalPath(const QString& path);
// The write-ahead log and its index.
[[nodiscard]] QStringList logPaths(const QString& path);
// The journal, the log and its index.
[[nodiscard]] QStringList sideFilePaths(const QString& path);

// Removes the side files of path; those that are not there are no failure.
void removeSideFiles(const QString& path);

// Removes the file and its side files.
void removeWithSideFiles(const QString& path);

} // namespace versiondb
