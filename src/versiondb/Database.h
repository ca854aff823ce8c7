#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <sqlite3.h>

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
    // Appends to table the fields of every record of the same table in the database
    // file at sourcePath, in the order of orderField, in one transaction: all of them or,
    // on any failure, none. The source is read under the same exclusive lock as every open.
    void CopyRecords(const QString& table, const QStringList& fields, const QString& sourcePath,
                     const QString& orderField);

    // Calls row for every record of table, in the order of orderField (records of the same
    // value in the order in which they were added, as the index on that field orders them),
    // with the values of fields in their order; Null is a null QVariant. One statement for
    // the whole table, for work that reads all of it: a record set's moves cost a query each.
    void ReadRecords(const QString& table, const QStringList& fields, const QString& orderField,
                     const std::function<void(const QList<QVariant>& values)>& row);

    // What keeps the version from being sound (see Soundness.h), or nothing.
    [[nodiscard]] std::optional<QString> SoundnessFault() const;

    // Closes the record sets still open on it, then the file. Closing again does nothing.
    void Close();

    [[nodiscard]] QString Name() const;
    [[nodiscard]] bool isOpen() const;

private:
    friend class DBEngine;
    friend class Transaction;
    // The connection; a closed database raises "object closed".
    [[nodiscard]] sqlite3* handle() const;

    std::shared_ptr<DatabaseFile> m_file;
};

} // namespace versiondb
