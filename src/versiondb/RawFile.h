#pragma once

#include "versiondb/Connection.h"

#include <QByteArray>
#include <QString>

struct sqlite3_file;

namespace versiondb {

// The bytes of a database file, read through SQLite's own file layer and never
// through a descriptor of the program's own. On POSIX, closing any descriptor
// of a file drops every lock the process holds on it, the exclusive hold of a
// version included; SQLite's layer keeps its descriptors of a file open for as
// long as any of its connections holds a lock on it.
class RawFile
{
public:
    // The file of an open connection, which stays the caller's.
    explicit RawFile(sqlite3* db);
    // The file at path, through a connection of its own that takes no lock and
    // writes nothing. Raises the engine error when it cannot be opened.
    explicit RawFile(const QString& path);

    // The size in bytes.
    [[nodiscard]] qint64 size() const;
    // Up to length bytes from offset: fewer at the end of the file, none when
    // the file cannot be read there.
    [[nodiscard]] QByteArray read(qint64 offset, qint64 length) const;
    [[nodiscard]] QByteArray readAll() const { return read(0, size()); }

private:
    void attach(sqlite3* db);

    sqlite::Connection m_own;
    sqlite3_file* m_file = nullptr;
};

} // namespace versiondb
