#include "versiondb/DBEngine.h"

#include "versiondb/Database.h"
#include "versiondb/DatabaseFile.h"
#include "versiondb/Error.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/Password.h"
#include "versiondb/Repair.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Sqlite.h"
#include "versiondb/VersionFile.h"

#include <QFileInfo>

namespace versiondb {

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

std::unique_ptr<Database> DBEngine::OpenDatabaseUnchanged(const QString& name, const QString& connect)
{
    return std::make_unique<Database>(openFile(name, false, connect, true));
}

std::shared_ptr<DatabaseFile> DBEngine::openFile(const QString& name, bool readOnly, const QString& connect,
                                                 bool unchanged)
{
    VersionFile::checkPath(name, false);
    if (!VersionFile::hasSqliteHeader(name)) {
        raise(errorNumber::UnrecognizedFormat);
    }
    VersionFile::checkPath(name, !readOnly);
    const bool logExisted = QFileInfo::exists(logPaths(name).front());
    sqlite::Connection db = unchanged ? openHeldUnchanged(name) : openExclusive(name, readOnly);
    VersionFile::checkOpenable(db.get(), name, connect, logExisted);
    if (!readOnly) {
        // A file of the earlier release becomes a one-file version at its first writable open, held unchanged or not.
        convertToRollbackJournal(db.get(), name);
    }
    if (unchanged) {
        return std::make_shared<DatabaseFile>(std::move(db), name, true);
    }
    if (!readOnly) {
        // Every commit is on the disk before it returns.
        sqlite::exec(db.get(), "PRAGMA synchronous=FULL");
    }
    return std::make_shared<DatabaseFile>(std::move(db), name, readOnly);
}

void DBEngine::CompactDatabase(const QString& srcName, const QString& dstName, const QString& srcConnect)
{
    const std::unique_ptr<Database> source = OpenDatabase(srcName, true, false, srcConnect);
    CompactDatabase(*source, dstName, srcConnect);
    source->Close();
}

void DBEngine::CompactDatabase(Database& source, const QString& dstName, const QString& srcConnect)
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
    try {
        sqlite::Statement vacuum(source.handle(), QStringLiteral("VACUUM INTO ?1"));
        vacuum.bind(1, dstName);
        (void)vacuum.step();
    } catch (const Error&) {
        removeWithSideFiles(dstName);
        throw;
    }
    try {
        // The copy must open as the source did.
        OpenDatabase(dstName, true, false, srcConnect)->Close();
    } catch (const Error&) {
        removeWithSideFiles(dstName);
        throw;
    }
}

RepairReport DBEngine::RepairDatabase(const QString& name, const QString& skeletonSource)
{
    return Repair(name, skeletonSource).run();
}

} // namespace versiondb
