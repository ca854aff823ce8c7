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

// The work files of a compaction and of a repair: the copy or the fresh file
// that replaces the version once checked. Named beside it, they never end in .dat.
enum class WorkKind
{
    Compaction, // NAME.compact-hex
    Repair,     // NAME.repair-hex
};
// A name for a new work file of path that no file has.
[[nodiscard]] QString newWorkFilePath(const QString& path, WorkKind kind);
// Removes the work files that compactions and repairs of path killed before their end left beside it, with their
// side files; only while path is held, or when it is being deleted.
void removeWorkFileLeftovers(const QString& path);

// Whether a file of this name would be taken for a side or work file of another, which its holder removes.
[[nodiscard]] bool isSideOrWorkFileName(const QString& name);

// Removes the side files of path; those that are not there are no failure.
void removeSideFiles(const QString& path);

// Removes the file and its side files.
void removeWithSideFiles(const QString& path);

} // namespace versiondb
