#include "versiondb/Database.h"

#include "versiondb/DatabaseFile.h"
#include "versiondb/Error.h"
#include "versiondb/Recordset.h"
#include "versiondb/Soundness.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"

namespace versiondb {

Database::Database(std::shared_ptr<DatabaseFile> file) : m_file(std::move(file)) {}

Database::~Database()
{
    Close();
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& name, int type)
{
    if (!m_file || !m_file->isOpen()) {
        raise(errorNumber::ObjectClosed);
    }
    if (type != dbOpenTable) {
        raise(errorNumber::NotSupported);
    }
    return std::unique_ptr<Recordset>(new Recordset(m_file, name));
}

void Database::CopyRecords(const QString& table, const QStringList& fields, const QString& sourcePath,
                           const QString& orderField)
{
    sqlite3* db = handle();
    QStringList quotedFields;
    for (const QString& field : fields) {
        quotedFields << sqlite::quoted(field);
    }
    const QString list = quotedFields.join(QStringLiteral(", "));
    {
        sqlite::Statement attach(db, QStringLiteral("ATTACH ?1 AS source"));
        attach.bind(1, sourcePath);
        (void)attach.step();
    }
    try {
        // Deferred, so that the source is only read-locked: a transaction that write-locks two files
        // commits through a super-journal, which a kill at the wrong moment leaves behind.
        Transaction transaction(db, Transaction::Lock::Deferred);
        {
            sqlite::Statement copy(db, QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM source.%1 ORDER BY %3")
                                           .arg(sqlite::quoted(table), list, sqlite::quoted(orderField)));
            (void)copy.step();
        }
        transaction.Commit();
    } catch (const Error&) {
        sqlite3_exec(db, "DETACH source", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite::exec(db, "DETACH source");
}

void Database::ReadRecords(const QString& table, const QStringList& fields, const QString& orderField,
                           const std::function<void(const QList<QVariant>& values)>& row)
{
    sqlite3* db = handle();
    QStringList quotedFields;
    for (const QString& field : fields) {
        quotedFields << sqlite::quoted(field);
    }
    sqlite::Statement read(
        db, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3, rowid")
                .arg(quotedFields.join(QStringLiteral(", ")), sqlite::quoted(table), sqlite::quoted(orderField)));
    // The file is read through a memory map while the statement runs: a page costs no read
    // call. The exclusive lock keeps every other writer out, so the map stays true to the file.
    sqlite::exec(db, "PRAGMA mmap_size=268435456");
    try {
        sqlite::ResetGuard guard(read);
        QList<QVariant> values(fields.size());
        while (read.step()) {
            for (qsizetype i = 0; i < values.size(); ++i) {
                values[i] = read.column(static_cast<int>(i));
            }
            row(values);
        }
    } catch (...) {
        sqlite3_exec(db, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite::exec(db, "PRAGMA mmap_size=0");
}

std::optional<QString> Database::SoundnessFault() const
{
    return versionFault(handle());
}

void Database::Close()
{
    if (m_file) {
        m_file->close();
    }
}

sqlite3* Database::handle() const
{
    if (!m_file) {
        raise(errorNumber::ObjectClosed);
    }
    return m_file->handle();
}

QString Database::Name() const
{
    return m_file ? m_file->path() : QString();
}

bool Database::isOpen() const
{
    return m_file && m_file->isOpen();
}

} // namespace versiondb
