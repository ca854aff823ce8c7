#include "versiondb/ExclusiveOpen.h"

#include "platform/FileMove.h"
#include "versiondb/Error.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"

#include <QFile>
#include <optional>
#include <utility>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace versiondb {

namespace {

// How often an open is tried again when the file was replaced under it.
constexpr int kOpenAttempts = 3;

// The file a path names at this moment, or nothing when there is none.
using FileIdentity = std::optional<std::pair<quint64, quint64>>;

FileIdentity identityOf(const QString& path)
{
#ifndef Q_OS_WIN
    struct stat info
    {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return std::pair<quint64, quint64>{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
#else
    // Windows does not rename over an open file; what was opened is what the path names.
    (void)path;
    return std::pair<quint64, quint64>{0, 0};
#endif
}

bool journalOpen(sqlite3* db)
{
    sqlite3_file* journal = nullptr;
    return sqlite3_file_control(db, "main", SQLITE_FCNTL_JOURNAL_POINTER, &journal) == SQLITE_OK &&
           journal != nullptr && journal->pMethods != nullptr;
}

bool inWalMode(sqlite3* db)
{
    sqlite::Statement mode(db, QStringLiteral("PRAGMA journal_mode"));
    return mode.step() && mode.columnText(0).compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0;
}

void removeLogFiles(const QString& path)
{
    for (const QString& log : logPaths(path)) {
        QFile::remove(log);
    }
}

enum class Hold
{
    ReadOnly,  // a read-only connection with the shared lock
    Unchanged, // a writable connection with the shared lock, taken without writing
    Write,     // a writable connection with the exclusive lock
};

sqlite::Connection open(const QString& path, Hold hold)
{
    const int flags = (hold == Hold::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_EXRESCODE |
                      SQLITE_OPEN_PRIVATECACHE;
    const bool readOnly = hold == Hold::ReadOnly;
    for (int attempt = 1;; ++attempt) {
        const FileIdentity before = identityOf(path);
        sqlite::Connection db = sqlite::open(path, flags);
        // SQLite opens a file it may not write read-only. The path was found writable: on Windows a file that
        // another holder is replacing at this moment refuses writers, which is the file in use, not read-only.
        if (!readOnly && sqlite3_db_readonly(db.get(), "main") == 1) {
            if (attempt == kOpenAttempts) {
                raise(errorNumber::FileInUse);
            }
            continue;
        }
        sqlite::exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE");
        if (hold == Hold::ReadOnly) {
            // A read takes the shared lock, which the exclusive locking mode keeps for the life of the connection.
            sqlite::exec(db.get(), "SELECT count(*) FROM sqlite_schema");
        } else if (hold == Hold::Unchanged) {
            // A read of the header alone: the schema may be what is damaged.
            sqlite::exec(db.get(), "PRAGMA user_version");
        } else {
            Transaction lock(db.get(), Transaction::Lock::Exclusive);
            lock.commit();
        }
        // A holder that renamed a replacement over the path while this open was under way
        // has let go of the file this connection locked: that file is no longer the version.
        if (before && identityOf(path) == before) {
            if (!readOnly) {
                // The lock has rolled back any journal a crashed holder needed; a compaction or repair
                // that was killed left its work file, which no one holds now.
                removeStaleSideFiles(db.get(), path);
                removeWorkFileLeftovers(path);
            }
            return db;
        }
        if (attempt == kOpenAttempts) {
            raise(errorNumber::FileInUse);
        }
    }
}

} // namespace

sqlite::Connection openExclusive(const QString& path, bool readOnly)
{
    return open(path, readOnly ? Hold::ReadOnly : Hold::Write);
}

sqlite::Connection openHeldUnchanged(const QString& path)
{
    return open(path, Hold::Unchanged);
}

void removeStaleSideFiles(sqlite3* db, const QString& path)
{
    if (!journalOpen(db)) {
        QFile::remove(journalPath(path));
    }
    if (!inWalMode(db)) {
        removeLogFiles(path);
    }
}

void convertToRollbackJournal(sqlite3* db, const QString& path)
{
    if (!inWalMode(db)) {
        return;
    }
    sqlite::exec(db, "PRAGMA journal_mode=DELETE");
    // The log's index was kept in memory under the exclusive lock; a file of it is left from earlier holders.
    removeLogFiles(path);
}

FileHold::FileHold(const QString& path)
{
    if (!VersionFile::hasSqliteHeader(path)) {
        return;
    }
    try {
        m_db = openExclusive(path, false);
    } catch (const Error& error) {
        if (error.number() == errorNumber::FileInUse) {
            throw;
        }
    }
}

void FileHold::endBeforeDeletion()
{
    if (!platform::kOpenFilesCanGo) {
        m_db.reset();
    }
}

} // namespace versiondb
