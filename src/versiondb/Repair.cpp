#include "versiondb/Repair.h"

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

// Fresh files that a repair of this file killed before its end left beside it.
QStringList freshLeftovers(const QString& path)
{
    const QFileInfo info(path);
    static const QRegularExpression kSuffix(QStringLiteral("^\\.repair-[0-9a-f]{1,8}$"));
    QStringList leftovers;
    for (const QString& name : info.dir().entryList({info.fileName() + kFreshMark + QLatin1Char('*')},
                                                    QDir::Files | QDir::Hidden | QDir::System)) {
        if (kSuffix.match(name.mid(info.fileName().size())).hasMatch()) {
            leftovers << info.dir().filePath(name);
        }
    }
    return leftovers;
}

bool tryExec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

void Repair::nothingToSalvage() const
{
    raise(Error({ErrorItem{errorNumber::UnrecognizedFormat, errorDescription(errorNumber::UnrecognizedFormat)},
                 ErrorItem{errorNumber::DatabaseDamaged, errorDescription(errorNumber::DatabaseDamaged)}},
                SQLITE_NOTADB, SQLITE_NOTADB));
}

bool Repair::integrityOk(sqlite3* db) const
{
    try {
        sqlite::Statement check(db, QStringLiteral("PRAGMA integrity_check(1)"));
        return check.step() && check.columnText(0) == QStringLiteral("ok");
    } catch (const Error&) {
        return false;
    }
}

bool Repair::rebuildIndexes(sqlite3* db) const
{
    try {
        Transaction transaction(db);
        sqlite::exec(db, "REINDEX");
        transaction.Commit();
    } catch (const Error&) {
        return false;
    }
    return integrityOk(db);
}

void Repair::readThroughTable(sqlite3* db)
{
    try {
        sqlite::Statement info(db, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        info.bind(1, VersionFile::tableName());
        QStringList columns;
        while (info.step()) {
            columns.push_back(info.columnText(0));
        }
        if (!columns.isEmpty()) {
            m_columns = columns;
        }
    } catch (const Error&) {
    }
    try {
        m_verifier = VersionFile::readVerifier(db);
    } catch (const Error&) {
    }
    try {
        QString list = QStringLiteral("rowid");
        for (const QString& c : m_columns) {
            list += QStringLiteral(", ") + sqlite::quoted(c);
        }
        sqlite::Statement all(db, QStringLiteral("SELECT ") + list + QStringLiteral(" FROM ") +
                                      sqlite::quoted(VersionFile::tableName()) + QStringLiteral(" ORDER BY rowid"));
        // Read until the first damaged page; the pages give the rest.
        while (all.step()) {
            Values values;
            for (int i = 0; i < m_columns.size(); ++i) {
                values.push_back(all.column(i + 1));
            }
            m_records.emplace(all.columnInt(0), std::move(values));
        }
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
    for (PageSalvage::Record& r : pages.records(static_cast<int>(m_columns.size()))) {
        const Values& v = r.values;
        const auto isIntOrNull = [](const QVariant& x) {
            return !x.isValid() || x.typeId() == QMetaType::Int || x.typeId() == QMetaType::LongLong;
        };
        const auto isTextOrNull = [](const QVariant& x) { return !x.isValid() || x.typeId() == QMetaType::QString; };
        // Only records of the shape of the version table: four numbers and two texts.
        if (v.size() != 6 || !isIntOrNull(v[0]) || !isIntOrNull(v[1]) || !isIntOrNull(v[2]) || !isIntOrNull(v[3]) ||
            !isTextOrNull(v[4]) || !isTextOrNull(v[5])) {
            continue;
        }
        m_records.emplace(r.rowid, std::move(r.values));
    }
    if (!m_verifier) {
        for (const PageSalvage::Record& r : pages.records(4)) {
            const Values& v = r.values;
            if (v[0].typeId() == QMetaType::Int && v[1].typeId() == QMetaType::QByteArray &&
                v[2].typeId() == QMetaType::Int && v[3].typeId() == QMetaType::QByteArray) {
                m_verifier = PasswordVerifier{v[1].toByteArray(), v[2].toInt(), v[3].toByteArray()};
                break;
            }
        }
    }
}

void Repair::writeFresh(sqlite3* held)
{
    const QString fresh =
        m_path + kFreshMark + QString::number(QRandomGenerator::global()->generate(), 16);
    try {
        VersionFile::create(fresh, m_verifier ? *m_verifier : PasswordVerifier::forDatabasePassword());
        sqlite::Connection db = sqlite::open(fresh, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE);
        sqlite::exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE");
        Transaction transaction(db.get(), Transaction::Lock::Exclusive);
        QStringList names{QStringLiteral("rowid")};
        QStringList params{QStringLiteral("?1")};
        for (int i = 0; i < m_columns.size(); ++i) {
            names.push_back(sqlite::quoted(m_columns.at(i)));
            params.push_back(QStringLiteral("?%1").arg(i + 2));
        }
        sqlite::Statement insert(db.get(),
                                 QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(sqlite::quoted(VersionFile::tableName()), names.join(QStringLiteral(", ")),
                                          params.join(QStringLiteral(", "))));
        for (const auto& [rowid, values] : m_records) {
            sqlite::ResetGuard guard(insert);
            insert.bindInt(1, rowid);
            for (int i = 0; i < m_columns.size() && i < static_cast<int>(values.size()); ++i) {
                insert.bind(i + 2, values[i]);
            }
            (void)insert.step();
        }
        transaction.Commit();
        if (!integrityOk(db.get())) {
            raise(errorNumber::DatabaseDamaged);
        }
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
}

void Repair::run()
{
    VersionFile::checkPath(m_path, true);
    m_columns = VersionFile::fieldNames();
    m_records.clear();
    m_verifier.reset();

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
            ours = VersionFile::hasMarks(db.get()) || (table.step() && table.columnInt(0) == 1);
        } catch (const Error&) {
            readable = false;
        }
        if (readable && !ours) {
            nothingToSalvage();
        }
        if (readable) {
            try {
                convertToRollbackJournal(db.get(), m_path);
            } catch (const Error&) {
                // The pages are read with the log written back into the file, while the lock is still held.
                tryExec(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
            }
        }
        if (readable && integrityOk(db.get())) {
            return;
        }
        if (readable && rebuildIndexes(db.get())) {
            return;
        }
        if (readable) {
            readThroughTable(db.get());
        }
    }
    readPages();
    if (m_records.empty() && !m_verifier) {
        nothingToSalvage();
    }
    writeFresh(db.get());
}

} // namespace versiondb
