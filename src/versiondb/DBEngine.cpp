#include "versiondb/DBEngine.h"

#include "versiondb/Database.h"
#include "versiondb/DatabaseFile.h"
#include "versiondb/Error.h"
#include "versiondb/LogWriteVfs.h"
#include "versiondb/Password.h"
#include "versiondb/Repair.h"
#include "versiondb/Sqlite.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace versiondb {

namespace {

void removeDatabaseFiles(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

DBEngine& DBEngine::instance()
{
    static DBEngine engine;
    return engine;
}

void DBEngine::recordError(const Error& error)
{
    m_errors.replace(error.items());
}

std::unique_ptr<Database> DBEngine::OpenDatabase(const QString& name, bool exclusive, bool readOnly,
                                                 const QString& connect)
{
    (void)exclusive; // every open is exclusive
    return std::make_unique<Database>(openFile(name, readOnly, connect));
}

std::shared_ptr<DatabaseFile> DBEngine::openFile(const QString& name, bool readOnly, const QString& connect)
{
    VersionFile::checkPath(name, false);
    if (!VersionFile::hasSqliteHeader(name)) {
        raise(errorNumber::UnrecognizedFormat);
    }
    VersionFile::checkPath(name, !readOnly);
    const bool logExisted = QFileInfo::exists(name + QStringLiteral("-wal"));
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_PRIVATECACHE;
    sqlite::Connection db = sqlite::open(name, flags, LogWriteVfs::name());
    sqlite::exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE");
    // The lock is taken at once, for the whole life of the connection.
    sqlite::exec(db.get(), readOnly ? "BEGIN" : "BEGIN IMMEDIATE");
    if (readOnly) {
        sqlite::exec(db.get(), "SELECT count(*) FROM sqlite_schema");
    }
    if (!VersionFile::hasMarks(db.get())) {
        raise(errorNumber::UnrecognizedFormat);
    }
    {
        // A file shorter than its header says has lost pages.
        sqlite::Statement pages(db.get(), QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), "
                                                         "pragma_page_size()"));
        if (!logExisted && pages.step() && pages.columnInt(0) > QFileInfo(name).size()) {
            raise(errorNumber::DatabaseDamaged, SQLITE_CORRUPT, SQLITE_CORRUPT);
        }
    }
    const std::optional<PasswordVerifier> verifier = VersionFile::readVerifier(db.get());
    if (!verifier) {
        raise(errorNumber::UnrecognizedFormat);
    }
    if (!verifier->matches(passwordOf(connect))) {
        raise(errorNumber::InvalidPassword);
    }
    sqlite::exec(db.get(), "COMMIT");
    if (!readOnly) {
        sqlite::Statement mode(db.get(), QStringLiteral("PRAGMA journal_mode"));
        const bool wal = mode.step() && mode.columnText(0).compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0;
        mode.reset();
        if (!wal) {
            sqlite::exec(db.get(), "PRAGMA journal_mode=WAL");
            sqlite::exec(db.get(), "BEGIN IMMEDIATE; COMMIT");
        }
        // Each Update is a transaction of its own, written to the log without a flush; the log is
        // written back into the file (with a flush) every 16,384 pages and at Close.
        sqlite::exec(db.get(), "PRAGMA synchronous=NORMAL");
        sqlite::exec(db.get(), "PRAGMA wal_autocheckpoint=16384");
    }
    return std::make_shared<DatabaseFile>(std::move(db), name, readOnly);
}

void DBEngine::CompactDatabase(const QString& srcName, const QString& dstName, const QString& srcConnect)
{
    const QFileInfo dst(dstName);
    if (dstName.isEmpty()) {
        raise(errorNumber::InvalidPath);
    }
    if (dst.exists() || dst.isSymLink()) {
        raise(errorNumber::DatabaseExists);
    }
    if (!QFileInfo(dst.absolutePath()).isDir()) {
        raise(errorNumber::InvalidPath);
    }
    {
        const std::shared_ptr<DatabaseFile> source = openFile(srcName, false, srcConnect);
        try {
            {
                sqlite::Statement vacuum(source->handle(), QStringLiteral("VACUUM INTO ?1"));
                vacuum.bind(1, dstName);
                (void)vacuum.step();
            }
            source->close();
            // The copy keeps its log beside it while it is open, like every version file.
            sqlite::Connection copy = sqlite::open(dstName, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE);
            sqlite::exec(copy.get(), "PRAGMA journal_mode=WAL");
        } catch (const Error&) {
            source->close();
            removeDatabaseFiles(dstName);
            throw;
        }
    }
    try {
        // The copy must open as the source did.
        std::unique_ptr<Database> copy = OpenDatabase(dstName, true, false, srcConnect);
        copy->Close();
    } catch (const Error&) {
        removeDatabaseFiles(dstName);
        throw;
    }
}

void DBEngine::RepairDatabase(const QString& name)
{
    Repair(name).run();
}

} // namespace versiondb
