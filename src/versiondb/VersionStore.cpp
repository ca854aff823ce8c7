#include "versiondb/VersionStore.h"

#include "versiondb/Cancelled.h"
#include "versiondb/Error.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Soundness.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"
#include "versiondb/VerseCursor.h"
#include "versiondb/VersionStoreStatements.h"

#include <QFileInfo>

namespace versiondb {

namespace {

QString quotedField(VersionField field)
{
    return sqlite::quoted(VersionFile::fieldNames()[field]);
}

} // namespace

QString VersionStore::Statements::selectRecords(const QString& rest, const QString& fields)
{
    return QStringLiteral("SELECT rowid, %1 FROM %2 %3").arg(fields, sqlite::quoted(VersionFile::tableName()), rest);
}

VerseRecord VersionStore::Statements::recordOf(const sqlite::Statement& stmt, int fields)
{
    VerseRecord record;
    record.row = stmt.columnInt(0);
    for (int i = 0; i < fields; ++i) {
        record.fields[i] = stmt.column(i + 1);
    }
    return record;
}

VersionStore::Statements::Statements(sqlite3* db)
{
    const QString table = sqlite::quoted(VersionFile::tableName());
    // A lookup reads the index alone: the first row id of the key, records of one key in the order added.
    const auto seekOn = [&](VersionField key) {
        return sqlite::Statement(db, QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2 WHERE %2 = ?1 "
                                                    "ORDER BY %2, rowid LIMIT 1")
                                         .arg(table, quotedField(key)));
    };
    byReference = seekOn(kReference);
    byNumber = seekOn(kNumber);
    last = sqlite::Statement(db, QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2 ORDER BY %2 DESC, rowid DESC "
                                                "LIMIT 1")
                                     .arg(table, quotedField(kNumber)));
    byRow = sqlite::Statement(db, selectRecords(QStringLiteral("WHERE rowid = ?1")));
    setText =
        sqlite::Statement(db, QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE rowid = ?2").arg(table, quotedField(kText)));
}

std::unique_ptr<VersionStore> VersionStore::openDatabase(const QString& name, Hold hold, const QString& connect)
{
    VersionFile::checkPath(name, false);
    if (!VersionFile::hasSqliteHeader(name)) {
        raise(errorNumber::UnrecognizedFormat);
    }
    // A file that cannot be written is read through a read-only connection, as it is.
    const bool readOnly = hold == Hold::Read && !VersionFile::canWrite(name);
    if (hold == Hold::Read) {
        hold = Hold::Unchanged;
    }
    VersionFile::checkPath(name, !readOnly);
    const bool logExisted = QFileInfo::exists(logPaths(name).front());
    sqlite::Connection db = readOnly                  ? openExclusive(name, true)
                            : hold == Hold::Unchanged ? openHeldUnchanged(name)
                                                      : openExclusive(name, false);
    VersionFile::checkOpenable(db.get(), name, connect, logExisted);
    if (!readOnly) {
        // A file of the earlier release becomes a one-file version at its first open, held unchanged or not.
        convertToRollbackJournal(db.get(), name);
    }
    if (hold == Hold::Write) {
        VersionFile::checkTableAndIndexes(db.get());
        // Every commit is on the disk before it returns.
        sqlite::exec(db.get(), "PRAGMA synchronous=FULL");
    }
    return std::unique_ptr<VersionStore>(new VersionStore(std::move(db), name, hold, connect));
}

VersionStore::VersionStore(sqlite::Connection db, QString path, Hold hold, QString connect)
    : m_db(std::move(db)), m_path(std::move(path)), m_hold(hold), m_connect(std::move(connect))
{}

VersionStore::~VersionStore()
{
    close();
}

void VersionStore::close() noexcept
{
    // The statements first: the connection closes only when none is left. The journal goes with it.
    m_statements.reset();
    m_db.reset();
}

sqlite3* VersionStore::handle() const
{
    if (!m_db) {
        raise(errorNumber::ObjectClosed);
    }
    return m_db.get();
}

void VersionStore::checkWritable() const
{
    if (m_hold != Hold::Write) {
        raise(errorNumber::ReadOnly);
    }
}

VersionStore::Statements& VersionStore::statements()
{
    if (!m_statements) {
        m_statements = std::make_unique<Statements>(handle());
    }
    return *m_statements;
}

std::optional<qint64> VersionStore::seek(const QString& reference)
{
    Statements& s = statements();
    s.byReference.bind(1, reference);
    return Statements::rowOf(s.byReference);
}

std::optional<qint64> VersionStore::seek(qint64 number)
{
    Statements& s = statements();
    s.byNumber.bindInt(1, number);
    return Statements::rowOf(s.byNumber);
}

QHash<QString, qint64> VersionStore::rowsByReference()
{
    const QString reference = quotedField(kReference);
    sqlite::Statement all(handle(), QStringLiteral("SELECT %1, rowid FROM %2 INDEXED BY %1 WHERE %1 IS NOT NULL "
                                                   "ORDER BY %1, rowid")
                                        .arg(reference, sqlite::quoted(VersionFile::tableName())));
    QHash<QString, qint64> rows;
    rows.reserve(static_cast<qsizetype>(recordCount()));
    QString previous;
    while (all.step()) {
        // Records of one reference come together, the first added first: it is the one seek finds.
        QString key = all.columnText(0);
        if (rows.isEmpty() || key != previous) {
            rows.insert(key, all.columnInt(1));
            previous = std::move(key);
        }
    }
    return rows;
}

std::optional<qint64> VersionStore::lastRow()
{
    return Statements::rowOf(statements().last);
}

VerseRecord VersionStore::record(qint64 row)
{
    sqlite::Statement& byRow = statements().byRow;
    sqlite::ResetGuard guard(byRow);
    byRow.bindInt(1, row);
    if (!byRow.step()) {
        raise(errorNumber::NoCurrentRecord);
    }
    return Statements::recordOf(byRow);
}

qint64 VersionStore::recordCount()
{
    sqlite::Statement count(handle(),
                            QStringLiteral("SELECT count(*) FROM ") + sqlite::quoted(VersionFile::tableName()));
    return count.step() ? count.columnInt(0) : 0;
}

qint64 VersionStore::textCount()
{
    sqlite::Statement count(
        handle(), QStringLiteral("SELECT count(*) FROM %1 WHERE %2 <> ''")
                      .arg(sqlite::quoted(VersionFile::tableName()), sqlite::quoted(VersionFile::fieldNames()[kText])));
    return count.step() ? count.columnInt(0) : 0;
}

void VersionStore::setText(qint64 row, const QString& text)
{
    checkWritable();
    sqlite::Statement& setText = statements().setText;
    sqlite::ResetGuard guard(setText);
    setText.bind(1, text);
    setText.bindInt(2, row);
    (void)setText.step();
    if (sqlite3_changes(handle()) == 0) {
        raise(errorNumber::NoCurrentRecord);
    }
}

void VersionStore::addRecord(const std::array<QVariant, kFieldCount>& fields)
{
    checkWritable();
    sqlite::Statement& insert = statements().insert;
    if (!insert.isPrepared()) {
        insert = sqlite::Statement(handle(),
                                   QStringLiteral("INSERT INTO %1 (%2) VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
                                       .arg(sqlite::quoted(VersionFile::tableName()), VersionFile::quotedFieldList()));
    }
    sqlite::ResetGuard guard(insert);
    for (int i = 0; i < kFieldCount; ++i) {
        insert.bind(i + 1, fields[i]);
    }
    (void)insert.step();
}

void VersionStore::copySkeleton(const QString& referencePath)
{
    checkWritable();
    sqlite3* db = handle();
    QStringList skeleton = VersionFile::fieldNames().first(kText);
    for (QString& field : skeleton) {
        field = sqlite::quoted(field);
    }
    {
        sqlite::Statement attach(db, QStringLiteral("ATTACH ?1 AS source"));
        attach.bind(1, referencePath);
        (void)attach.step();
    }
    try {
        // Deferred, so that the source is only read-locked: a transaction that write-locks two files
        // commits through a super-journal, which a kill at the wrong moment leaves behind.
        Transaction transaction(db, Transaction::Lock::Deferred);
        {
            sqlite::Statement copy(db, QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM source.%1 ORDER BY %3")
                                           .arg(sqlite::quoted(VersionFile::tableName()),
                                                skeleton.join(QStringLiteral(", ")), quotedField(kNumber)));
            (void)copy.step();
        }
        transaction.commit();
    } catch (const Error&) {
        sqlite3_exec(db, "DETACH source", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite::exec(db, "DETACH source");
}

void VersionStore::readVerses(const std::function<void(const VerseRecord&)>& verse)
{
    sqlite3* db = handle();
    // The file is read through a memory map while the records are read: a page costs no read
    // call. The exclusive lock keeps every other writer out, so the map stays true to the file.
    // (The map counts in the process's resident memory, up to the size of the file.)
    sqlite::exec(db, "PRAGMA mmap_size=268435456");
    try {
        VerseCursor cursor(*this);
        while (const std::optional<VerseRecord> record = cursor.next()) {
            verse(*record);
        }
    } catch (...) {
        sqlite3_exec(db, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite::exec(db, "PRAGMA mmap_size=0");
}

std::optional<QString> VersionStore::soundnessFault()
{
    return versionFault(handle());
}

void VersionStore::compactDatabase(const QString& dstName, const platform::RunControl* control)
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
        sqlite::Statement vacuum(handle(), QStringLiteral("VACUUM INTO ?1"));
        vacuum.bind(1, dstName);
        {
            // SQLite asks now and then, within the copy, whether to go on: a cancelled run interrupts it.
            const sqlite::CancelWatch watch(handle(), control);
            (void)vacuum.step();
        }
        stopIfCancelled(control);
        // The copy must open as the source did.
        openDatabase(dstName, Hold::Write, m_connect)->close();
    } catch (const Error&) {
        removeWithSideFiles(dstName);
        stopIfCancelled(control);
        throw;
    } catch (const Cancelled&) {
        removeWithSideFiles(dstName);
        throw;
    }
}

QString nullToSpaces(const QVariant& value)
{
    static const QString kTwoSpaces = QStringLiteral("  ");
    if (value.isNull() || !value.canConvert<QString>()) {
        return kTwoSpaces;
    }
    return value.toString();
}

} // namespace versiondb
