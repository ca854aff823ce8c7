#include "versiondb/Sqlite.h"

#include "versiondb/Error.h"

#include <limits>

namespace versiondb::sqlite {

void Close::operator()(sqlite3* db) const noexcept
{
    sqlite3_close_v2(db);
}

namespace {

// The engine's error number for an SQLite result code.
int errorNumberFor(int extendedCode)
{
    switch (extendedCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return errorNumber::FileInUse;
    case SQLITE_FULL:
        return errorNumber::DiskFull;
    case SQLITE_READONLY:
        return errorNumber::ReadOnly;
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return errorNumber::NoPermission;
    case SQLITE_NOTADB:
        return errorNumber::UnrecognizedFormat;
    case SQLITE_CORRUPT:
        return errorNumber::DatabaseDamaged;
    case SQLITE_IOERR:
        return extendedCode == SQLITE_IOERR_NOMEM ? errorNumber::EngineFailure : errorNumber::DiskError;
    default:
        return errorNumber::EngineFailure;
    }
}

} // namespace

void fail(sqlite3* db, int code)
{
    const int extended = db != nullptr ? sqlite3_extended_errcode(db) : code;
    const int used = (extended & 0xff) == (code & 0xff) ? extended : code;
    raise(errorNumberFor(used));
}

namespace {

// Raises the engine's error for a result code other than SQLITE_OK.
void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK) {
        fail(db, rc);
    }
}

} // namespace

Connection open(const QString& path, int flags)
{
    sqlite3* raw = nullptr;
    // Every connection lives on the one thread that opened it: it needs no mutex of its own.
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection db(raw);
    check(db.get(), rc);
    sqlite3_extended_result_codes(db.get(), 1);
    // A freed page is written over with zeros: the repair reads every page of a file, and a record left
    // behind on a free page would come back as if it were current. (Debian's SQLite does this by default;
    // SQLite's own default, which the Windows build has, does not.)
    exec(db.get(), "PRAGMA secure_delete=ON");
    return db;
}

void exec(sqlite3* db, const char* sql)
{
    check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

Statement::Statement(sqlite3* db, const QString& sql) : m_db(db)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db, text.constData(), static_cast<int>(text.size()), SQLITE_PREPARE_PERSISTENT,
                                      &raw, nullptr);
    m_stmt.reset(raw);
    check(db, rc);
}

void Statement::bind(int index, const QVariant& value)
{
    sqlite3_stmt* s = m_stmt.get();
    int rc = SQLITE_OK;
    if (!value.isValid() || value.typeId() == QMetaType::Nullptr) {
        rc = sqlite3_bind_null(s, index);
    } else {
        // The kinds the engine reads back (column()) and the program writes: text, whole numbers,
        // reals and bytes. Anything else is refused rather than guessed at.
        switch (value.typeId()) {
        case QMetaType::QString: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text64(s, index, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(s, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(s, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(s, index, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default:
            raise(errorNumber::InvalidArgument);
        }
    }
    check(m_db, rc);
}

void Statement::bindInt(int index, qint64 value)
{
    check(m_db, sqlite3_bind_int64(m_stmt.get(), index, value));
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    sqlite3_reset(m_stmt.get());
    fail(m_db, rc);
}

void Statement::reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt.get());
        sqlite3_clear_bindings(m_stmt.get());
    }
}

int Statement::columnType(int index) const
{
    return sqlite3_column_type(m_stmt.get(), index);
}

qint64 Statement::columnInt(int index) const
{
    return sqlite3_column_int64(m_stmt.get(), index);
}

QString Statement::columnText(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt.get(), index));
    const int size = sqlite3_column_bytes(m_stmt.get(), index);
    if (text == nullptr) {
        return QString(QLatin1String(""));
    }
    return QString::fromUtf8(text, size);
}

QByteArray Statement::columnBlob(int index) const
{
    const void* data = sqlite3_column_blob(m_stmt.get(), index);
    const int size = sqlite3_column_bytes(m_stmt.get(), index);
    return QByteArray(static_cast<const char*>(data), size);
}

QVariant Statement::column(int index) const
{
    switch (columnType(index)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qint64 v = columnInt(index);
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max()) {
            return QVariant(static_cast<int>(v));
        }
        return QVariant(static_cast<qlonglong>(v));
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt.get(), index));
    case SQLITE_BLOB:
        return QVariant(columnBlob(index));
    default:
        return QVariant(columnText(index));
    }
}

QString quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace versiondb::sqlite
