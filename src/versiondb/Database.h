#pragma once

#include <QString>
#include <memory>

namespace versiondb {

class DatabaseFile;
class Recordset;

constexpr int dbOpenTable = 1;

// An open version database, held exclusively until Close.
class Database
{
public:
    explicit Database(std::shared_ptr<DatabaseFile> file);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    // Closes the database if it is still open.
    ~Database();

    // A table-type record set over the whole table, positioned on its first record.
    // Only dbOpenTable is supported; a missing table raises "no such table".
    [[nodiscard]] std::unique_ptr<Recordset> OpenRecordset(const QString& name, int type = dbOpenTable);
    // Closes the record sets still open on it, then the file. Closing again does nothing.
    void Close();

    [[nodiscard]] QString Name() const;
    [[nodiscard]] bool isOpen() const;

private:
    std::shared_ptr<DatabaseFile> m_file;
};

} // namespace versiondb
