#pragma once

#include "versiondb/Sqlite.h"

#include <QString>
#include <vector>

namespace versiondb {

class Recordset;

// The open file behind a Database and its record sets: the connection that
// holds the exclusive lock, and the record sets still open on it.
class DatabaseFile
{
public:
    DatabaseFile(sqlite::Connection db, QString path, bool readOnly)
        : m_db(std::move(db)), m_path(std::move(path)), m_readOnly(readOnly)
    {}
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;
    ~DatabaseFile() { close(); }

    // The connection; a closed file raises "object closed".
    [[nodiscard]] sqlite3* handle() const;
    [[nodiscard]] bool isOpen() const { return m_db != nullptr; }
    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] bool readOnly() const { return m_readOnly; }

    void attach(Recordset* recordset) { m_recordsets.push_back(recordset); }
    void detach(Recordset* recordset);

    // Closes the record sets still open, then the connection, which removes its journal.
    void close() noexcept;

private:
    sqlite::Connection m_db;
    QString m_path;
    bool m_readOnly = false;
    std::vector<Recordset*> m_recordsets;
};

} // namespace versiondb
