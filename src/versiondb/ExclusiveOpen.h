#pragma once

#include "versiondb/Connection.h"

#include <QString>

namespace versiondb {

// Opens an existing database file and takes its exclusive lock at once, for the
// whole life of the connection: a file that anyone else holds fails at once
// with "in use", and so does a file that another holder renamed a replacement
// over while it was being opened. A rollback journal that a crashed holder left
// is rolled back by the lock; one that no transaction needs is removed, and so
// are the work files of a compaction or repair that was killed (when writable).
[[nodiscard]] sqlite::Connection openExclusive(const QString& path, bool readOnly);

// The same hold on a writable connection that writes nothing to take it: a shared lock kept for
// the life of the connection, which keeps every writer out. (A write transaction would already
// rewrite the header of a file whose recorded size disagrees with its length.) For a file that
// is to be read as it is, such as a damaged one before its repair.
[[nodiscard]] sqlite::Connection openHeldUnchanged(const QString& path);

// Removes what lies beside the file that its holder db does not use: a journal
// no transaction needs, and the log files of a file that keeps no log.
void removeStaleSideFiles(sqlite3* db, const QString& path);

// Turns a file of the release that kept a write-ahead log into a rollback-journal
// file: the log is written into the file and removed, with its index.
void convertToRollbackJournal(sqlite3* db, const QString& path);

// The exclusive hold on a database file without anything read from it, for
// work on the whole file such as its deletion: taken like every open, and kept
// until it leaves scope. A file that is no database, or too damaged to be
// locked, is held by nobody; there is nothing to take then.
class FileHold
{
public:
    // Raises "in use" when another holder has the file.
    explicit FileHold(const QString& path);
    // Called just before the file is deleted: where open files cannot go, the hold ends now; elsewhere it lasts until
    // the end of its life, so that nobody opens the file while it and its journal go.
    void endBeforeDeletion();

private:
    sqlite::Connection m_db;
};

} // namespace versiondb
