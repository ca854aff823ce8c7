#include "versiondb/RawFile.h"

#include "versiondb/Error.h"
#include "versiondb/Sqlite.h"

#include <algorithm>

namespace versiondb {

RawFile::RawFile(sqlite3* db)
{
    attach(db);
}

RawFile::RawFile(const QString& path)
    : m_own(sqlite::open(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_PRIVATECACHE))
{
    attach(m_own.get());
}

void RawFile::attach(sqlite3* db)
{
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &m_file) != SQLITE_OK || m_file == nullptr ||
        m_file->pMethods == nullptr) {
        raise(errorNumber::DiskError);
    }
}

qint64 RawFile::size() const
{
    sqlite3_int64 size = 0;
    return m_file->pMethods->xFileSize(m_file, &size) == SQLITE_OK ? size : 0;
}

QByteArray RawFile::read(qint64 offset, qint64 length) const
{
    constexpr qint64 kChunk = 1 << 20;
    const qint64 available = std::clamp<qint64>(size() - offset, 0, length);
    QByteArray bytes(available, Qt::Uninitialized);
    for (qint64 at = 0; at < available; at += kChunk) {
        const int chunk = static_cast<int>(std::min(kChunk, available - at));
        if (m_file->pMethods->xRead(m_file, bytes.data() + at, chunk, offset + at) != SQLITE_OK) {
            return {};
        }
    }
    return bytes;
}

} // namespace versiondb
