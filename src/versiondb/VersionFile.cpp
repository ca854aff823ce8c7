#include "versiondb/VersionFile.h"

#include "versiondb/Error.h"
#include "versiondb/History.h"
#include "versiondb/RawFile.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace versiondb {

QString VersionFile::tableName()
{
    return QStringLiteral("본문");
}

QStringList VersionFile::fieldNames()
{
    return {QStringLiteral("번호"), QStringLiteral("권"),       QStringLiteral("장"),
            QStringLiteral("절"),   QStringLiteral("성경구절"), QStringLiteral("본문")};
}

QString VersionFile::quotedFieldList()
{
    QStringList names;
    for (const QString& field : fieldNames()) {
        names << sqlite::quoted(field);
    }
    return names.join(QStringLiteral(", "));
}

QStringList VersionFile::indexNames()
{
    return {QStringLiteral("번호"), QStringLiteral("성경구절")};
}

namespace {

QString verifierTableName()
{
    return QStringLiteral("byeorisol_password");
}

// The statements that create the table and its indexes.
QStringList schemaStatements()
{
    return {
        QStringLiteral("CREATE TABLE \"본문\" (\"번호\" INTEGER, \"권\" INTEGER, \"장\" INTEGER, \"절\" INTEGER, "
                       "\"성경구절\" TEXT, \"본문\" TEXT)"),
        QStringLiteral("CREATE INDEX \"번호\" ON \"본문\" (\"번호\")"),
        QStringLiteral("CREATE INDEX \"성경구절\" ON \"본문\" (\"성경구절\")"),
    };
}

QString verifierTableStatement()
{
    return QStringLiteral("CREATE TABLE ") + sqlite::quoted(verifierTableName()) +
           QStringLiteral(" (format INTEGER NOT NULL, salt BLOB NOT NULL, iterations INTEGER NOT NULL, "
                          "verifier BLOB NOT NULL)");
}

// Writes the verifier into a database that has the verifier table.
void writeVerifier(sqlite3* db, const PasswordVerifier& verifier)
{
    sqlite::Statement clear(db, QStringLiteral("DELETE FROM ") + sqlite::quoted(verifierTableName()));
    (void)clear.step();
    sqlite::Statement insert(db, QStringLiteral("INSERT INTO ") + sqlite::quoted(verifierTableName()) +
                                     QStringLiteral(" (format, salt, iterations, verifier) VALUES (?1, ?2, ?3, ?4)"));
    insert.bindInt(1, VersionFile::kFormat);
    insert.bind(2, verifier.salt);
    insert.bindInt(3, verifier.iterations);
    insert.bind(4, verifier.key);
    (void)insert.step();
}

} // namespace

void VersionFile::create(const QString& path, const PasswordVerifier& verifier)
{
    if (QFileInfo::exists(path)) {
        raise(errorNumber::DatabaseExists);
    }
    // No file has this name: whatever lies beside it belonged to one that is gone.
    removeSideFiles(path);
    sqlite::Connection db = sqlite::open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE);
    sqlite::exec(db.get(), "PRAGMA journal_mode=DELETE");
    sqlite::exec(db.get(), "PRAGMA synchronous=FULL");
    Transaction transaction(db.get());
    sqlite::exec(db.get(), QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId).toUtf8().constData());
    sqlite::exec(db.get(), QStringLiteral("PRAGMA user_version=%1").arg(kFormat).toUtf8().constData());
    for (const QString& sql : schemaStatements()) {
        sqlite::exec(db.get(), sql.toUtf8().constData());
    }
    sqlite::exec(db.get(), History::schema());
    sqlite::exec(db.get(), verifierTableStatement().toUtf8().constData());
    writeVerifier(db.get(), verifier);
    transaction.commit();
}

bool VersionFile::hasMarks(sqlite3* db)
{
    sqlite::Statement appId(db, QStringLiteral("PRAGMA application_id"));
    if (!appId.step() || appId.columnInt(0) != kApplicationId) {
        return false;
    }
    sqlite::Statement table(db,
                            QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1"));
    table.bind(1, verifierTableName());
    return table.step() && table.columnInt(0) == 1;
}

void VersionFile::checkOpenable(sqlite3* db, const QString& path, const QString& connect, bool logHoldsPages)
{
    if (!hasMarks(db)) {
        raise(errorNumber::UnrecognizedFormat);
    }
    if (!logHoldsPages) {
        // A file shorter than its header says has lost pages.
        sqlite::Statement pages(db, QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), "
                                                   "pragma_page_size()"));
        if (pages.step() && pages.columnInt(0) > QFileInfo(path).size()) {
            raise(errorNumber::DatabaseDamaged);
        }
    }
    const std::optional<PasswordVerifier> verifier = readVerifier(db);
    if (!verifier) {
        raise(errorNumber::UnrecognizedFormat);
    }
    if (!verifier->matches(passwordOf(connect))) {
        raise(errorNumber::InvalidPassword);
    }
}

void VersionFile::checkTableAndIndexes(sqlite3* db)
{
    sqlite::Statement table(db,
                            QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1"));
    table.bind(1, tableName());
    if (!table.step() || table.columnInt(0) != 1) {
        raise(errorNumber::NoSuchTable);
    }
    sqlite::Statement fields(db, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    fields.bind(1, tableName());
    QStringList names;
    while (fields.step()) {
        names << fields.columnText(0);
    }
    if (!std::ranges::all_of(fieldNames(), [&names](const QString& field) { return names.contains(field); })) {
        raise(errorNumber::NoSuchField);
    }
    for (const QString& index : indexNames()) {
        sqlite::Statement keys(db, QStringLiteral("SELECT i.name FROM sqlite_schema s, pragma_index_info(s.name) i "
                                                  "WHERE s.type = 'index' AND s.name = ?1 AND s.tbl_name = ?2"));
        keys.bind(1, index);
        keys.bind(2, tableName());
        QStringList columns;
        while (keys.step()) {
            columns << keys.columnText(0);
        }
        if (columns != QStringList{index}) {
            raise(errorNumber::NoSuchIndex);
        }
    }
}

std::optional<PasswordVerifier> VersionFile::readVerifier(sqlite3* db)
{
    sqlite::Statement read(db, QStringLiteral("SELECT format, salt, iterations, verifier FROM ") +
                                   sqlite::quoted(verifierTableName()) + QStringLiteral(" LIMIT 1"));
    if (!read.step() || read.columnType(1) != SQLITE_BLOB || read.columnType(2) != SQLITE_INTEGER ||
        read.columnType(3) != SQLITE_BLOB) {
        return std::nullopt;
    }
    PasswordVerifier v;
    v.salt = read.columnBlob(1);
    const qint64 iterations = read.columnInt(2);
    v.iterations = iterations > 0 && iterations < (1 << 30) ? static_cast<int>(iterations) : 0;
    v.key = read.columnBlob(3);
    return v;
}

void VersionFile::checkPath(const QString& path, bool forWriting)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        raise(errorNumber::FileNotFound);
    }
    if (!info.isFile()) {
        raise(errorNumber::InvalidPath);
    }
    if (forWriting) {
        // A file without any write permission is read-only even for a user who could write it anyway.
        const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!info.isWritable() || (info.permissions() & writeBits) == 0) {
            raise(errorNumber::ReadOnly);
        }
        // The journal lies beside the file.
        if (!QFileInfo(info.absolutePath()).isWritable()) {
            raise(errorNumber::NoPermission);
        }
    }
}

bool VersionFile::canWrite(const QString& path)
{
    try {
        checkPath(path, true);
        return true;
    } catch (const Error&) {
        return false;
    }
}

QString VersionFile::resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) {
        return path;
    }
    // A link that leads nowhere is left to the checks of the path, which find no file.
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? path : target;
}

bool VersionFile::hasSqliteHeader(const QString& path)
{
    // Read through SQLite's file layer: the file may be held by this process.
    try {
        const RawFile file(path);
        static const QByteArray kMagic("SQLite format 3\0", 16);
        const QByteArray header = file.read(0, 18);
        if (header.size() < 18 || !header.startsWith(kMagic)) {
            return false;
        }
        const int pageSize = (static_cast<unsigned char>(header[16]) << 8) | static_cast<unsigned char>(header[17]);
        return file.size() >= (pageSize == 1 ? 65536 : pageSize);
    } catch (const Error&) {
        return false;
    }
}

} // namespace versiondb
