#include "versiondb/Repair.h"

#include "platform/FileMove.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/PageSalvage.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <filesystem>

namespace versiondb {

namespace {

const QString kFreshMark = QStringLiteral(".repair-");

// Fresh files that a repair of this file killed before its end left beside it, with their side files.
QStringList freshLeftovers(const QString& path)
{
    const QFileInfo info(path);
    static const QRegularExpression kSuffix(QStringLiteral("^(\\.repair-[0-9a-f]{1,8})(-journal|-wal|-shm)?$"));
    QStringList leftovers;
    for (const QString& name : info.dir().entryList({info.fileName() + kFreshMark + QLatin1Char('*')},
                                                    QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = kSuffix.match(name.mid(info.fileName().size()));
        if (match.hasMatch()) {
            const QString fresh = info.dir().filePath(info.fileName() + match.captured(1));
            if (!leftovers.contains(fresh)) {
                leftovers << fresh;
            }
        }
    }
    return leftovers;
}

bool tryExec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool integrityOk(sqlite3* db)
{
    sqlite::Statement check(db, QStringLiteral("PRAGMA integrity_check(1)"));
    return check.step() && check.columnText(0) == QStringLiteral("ok");
}

QString fieldList()
{
    QStringList names;
    for (const QString& field : VersionFile::fieldNames()) {
        names << sqlite::quoted(field);
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

void Repair::nothingToSalvage() const
{
    QList<ErrorItem> items{ErrorItem{m_lack, errorDescription(m_lack)}};
    if (m_lack != errorNumber::DatabaseDamaged) {
        items << ErrorItem{errorNumber::DatabaseDamaged, errorDescription(errorNumber::DatabaseDamaged)};
    }
    raise(Error(items, SQLITE_NOTADB, SQLITE_NOTADB));
}

bool Repair::sound(sqlite3* db) const
{
    try {
        VersionFile::checkOpenable(db, m_path, passwordConnect(), false);
        if (!integrityOk(db)) {
            return false;
        }
        VersionFile::checkTableAndIndexes(db);
        return true;
    } catch (const Error&) {
        return false;
    }
}

bool Repair::lostPages(sqlite3* db) const
{
    try {
        sqlite::Statement pages(db, QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), "
                                                   "pragma_page_size()"));
        return pages.step() && pages.columnInt(0) > QFileInfo(m_path).size();
    } catch (const Error&) {
        return true;
    }
}

void Repair::keepVerifier(const std::optional<PasswordVerifier>& verifier)
{
    // Every version carries the same password: a verifier of another one is damaged.
    if (!m_verifier && verifier && verifier->matches(passwordOf(passwordConnect()))) {
        m_verifier = verifier;
    }
}

void Repair::readThroughTable(sqlite3* db)
{
    try {
        keepVerifier(VersionFile::readVerifier(db));
    } catch (const Error&) {
    }
    try {
        sqlite::Statement all(db, QStringLiteral("SELECT rowid, ") + fieldList() + QStringLiteral(" FROM ") +
                                      sqlite::quoted(VersionFile::tableName()) + QStringLiteral(" ORDER BY rowid"));
        const int columns = static_cast<int>(VersionFile::fieldNames().size());
        // Read until the first damaged page; the pages give the rest.
        while (all.step()) {
            Values values;
            for (int i = 0; i < columns; ++i) {
                values.push_back(all.column(i + 1));
            }
            m_records.emplace(all.columnInt(0), std::move(values));
        }
        m_tableReadThrough = true;
    } catch (const Error&) {
    }
}

void Repair::readPages()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        raise(errorNumber::DiskError);
    }
    const PageSalvage pages(file.readAll());
    for (PageSalvage::Record& r : pages.records(static_cast<int>(VersionFile::fieldNames().size()))) {
        const Values& v = r.values;
        const auto isIntOrNull = [](const QVariant& x) {
            return !x.isValid() || x.typeId() == QMetaType::Int || x.typeId() == QMetaType::LongLong;
        };
        const auto isTextOrNull = [](const QVariant& x) { return !x.isValid() || x.typeId() == QMetaType::QString; };
        // Only records of the shape of the version table: four numbers and two texts.
        if (!isIntOrNull(v[0]) || !isIntOrNull(v[1]) || !isIntOrNull(v[2]) || !isIntOrNull(v[3]) ||
            !isTextOrNull(v[4]) || !isTextOrNull(v[5])) {
            continue;
        }
        m_records.emplace(r.rowid, std::move(r.values));
    }
    // The first record of the verifier's shape is the verifier; it is kept when it matches.
    for (const PageSalvage::Record& r : pages.records(4)) {
        const Values& v = r.values;
        if (v[0].typeId() == QMetaType::Int && v[1].typeId() == QMetaType::QByteArray &&
            v[2].typeId() == QMetaType::Int && v[3].typeId() == QMetaType::QByteArray) {
            keepVerifier(PasswordVerifier{v[1].toByteArray(), v[2].toInt(), v[3].toByteArray()});
            break;
        }
    }
}

void Repair::fill(const QString& fresh) const
{
    VersionFile::create(fresh, m_verifier ? *m_verifier : PasswordVerifier::forDatabasePassword());
    sqlite::Connection db = sqlite::open(fresh, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE);
    sqlite::exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE");
    sqlite::exec(db.get(), "PRAGMA synchronous=FULL");
    Transaction transaction(db.get(), Transaction::Lock::Exclusive);
    const int columns = static_cast<int>(VersionFile::fieldNames().size());
    QStringList params{QStringLiteral("?1")};
    for (int i = 0; i < columns; ++i) {
        params.push_back(QStringLiteral("?%1").arg(i + 2));
    }
    sqlite::Statement insert(
        db.get(), QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (%3)")
                      .arg(sqlite::quoted(VersionFile::tableName()), fieldList(), params.join(QStringLiteral(", "))));
    for (const auto& [rowid, values] : m_records) {
        sqlite::ResetGuard guard(insert);
        insert.bindInt(1, rowid);
        for (int i = 0; i < columns && i < static_cast<int>(values.size()); ++i) {
            insert.bind(i + 2, values[i]);
        }
        (void)insert.step();
    }
    transaction.Commit();
}

void Repair::checkFresh(const QString& fresh)
{
    {
        sqlite::Connection db = openExclusive(fresh, false);
        if (!integrityOk(db.get())) {
            raise(errorNumber::DatabaseDamaged);
        }
        VersionFile::checkTableAndIndexes(db.get());
    }
    // It opens as every user opens it, with the program's connect string.
    DBEngine::instance().OpenDatabase(fresh, true, false, passwordConnect())->Close();
}

void Repair::writeFresh(sqlite3* held)
{
    const QString fresh = m_path + kFreshMark + QString::number(QRandomGenerator::global()->generate(), 16);
    try {
        fill(fresh);
        checkFresh(fresh);
    } catch (const Error&) {
        removeWithSideFiles(fresh);
        throw;
    }
    // Nothing of the damaged file may be replayed onto the fresh one.
    if (held != nullptr) {
        removeStaleSideFiles(held, m_path);
    } else {
        removeSideFiles(m_path);
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(fresh.toStdU16String()),
                            std::filesystem::path(m_path.toStdU16String()), ec);
    if (ec) {
        QFile::remove(fresh);
        raise(errorNumber::DiskError);
    }
    platform::flushFolder(QFileInfo(m_path).absolutePath());
}

void Repair::run()
{
    // Work on a link is work on the file it points to; the link stays.
    m_path = VersionFile::resolvedPath(m_path);
    VersionFile::checkPath(m_path, true);
    m_records.clear();
    m_tableReadThrough = false;
    m_verifier.reset();
    m_lack = errorNumber::UnrecognizedFormat;

    // The hold on the damaged file lasts until the fresh file has taken its place.
    sqlite::Connection db;
    if (VersionFile::hasSqliteHeader(m_path)) {
        try {
            db = openExclusive(m_path, false);
        } catch (const Error& error) {
            // A file too damaged to be locked can be opened by nobody else either.
            if (error.Number() == errorNumber::FileInUse) {
                throw;
            }
        }
    }
    for (const QString& leftover : freshLeftovers(m_path)) {
        removeWithSideFiles(leftover);
    }

    if (db) {
        bool ours = false;
        bool readable = true;
        try {
            sqlite::Statement table(db.get(), QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE "
                                                             "type = 'table' AND name = ?1"));
            table.bind(1, VersionFile::tableName());
            const bool hasTable = table.step() && table.columnInt(0) == 1;
            ours = hasTable || VersionFile::hasMarks(db.get());
            m_lack = hasTable ? errorNumber::DatabaseDamaged : errorNumber::NoSuchTable;
        } catch (const Error&) {
            readable = false;
        }
        if (readable && !ours) {
            m_lack = errorNumber::UnrecognizedFormat;
            nothingToSalvage();
        }
        if (readable) {
            try {
                convertToRollbackJournal(db.get(), m_path);
            } catch (const Error&) {
                // The pages are read with the log written back into the file, while the lock is still held.
                tryExec(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
            }
            if (sound(db.get())) {
                return;
            }
            // SQLite reads the missing part of an incomplete last page as zeros, not as the records
            // that stood there: those are taken from the pages alone, and only the whole ones.
            if (!lostPages(db.get())) {
                readThroughTable(db.get());
            }
        }
    }
    readPages();
    if (m_records.empty() && !m_tableReadThrough) {
        nothingToSalvage();
    }
    writeFresh(db.get());
}

} // namespace versiondb
