#pragma once

#include "versiondb/Connection.h"
#include "versiondb/Password.h"
#include "versiondb/VersionFile.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace platform {
class RunControl;
}

namespace versiondb {

// One record of the verse table: its place in the table and its six fields, by VersionField.
// A value is a QVariant: Null is an invalid QVariant, distinct from "" and from "null".
struct VerseRecord
{
    qint64 row = 0;
    std::array<QVariant, kFieldCount> fields;

    [[nodiscard]] const QVariant& operator[](VersionField field) const { return fields[field]; }
};

// An open version file, held exclusively until Close: what the program does with a version.
// Lookups take the first record of their key in the order of the key's index (records of
// one key in the order in which they were added). Every failure raises versiondb::Error.
class VersionStore
{
public:
    enum class Hold
    {
        Write,     // read and stored into
        Unchanged, // read as it is, nothing stored, and nothing written to take the hold (see openHeldUnchanged)
        Read,      // the same, and a file that cannot be written is read too
    };

    // Opens a version for exclusive use. Checks, in this order, that the file exists and is a
    // file, that it can be written, that it is a version database of this system, and that the
    // connect string's password matches, and, to be written, that it has the verse table with its
    // six fields and both indexes ("no such table", "no such field", "no such index"). A file held
    // by anyone else fails at once with "file in use"; nothing waits.
    [[nodiscard]] static std::unique_ptr<VersionStore> openDatabase(const QString& name, Hold hold = Hold::Write,
                                                                    const QString& connect = passwordConnect());

    VersionStore(const VersionStore&) = delete;
    VersionStore& operator=(const VersionStore&) = delete;
    ~VersionStore();

    // The row of the verse with this 성경구절, or of this 번호; nothing when there is none.
    [[nodiscard]] std::optional<qint64> seek(const QString& reference);
    [[nodiscard]] std::optional<qint64> seek(qint64 number);
    // Every 성경구절 of the version with the row seek finds for it, read at once through the index: a run that
    // looks up every verse of a Bible asks a hash instead of the index each time, at a tenth of the cost.
    [[nodiscard]] QHash<QString, qint64> rowsByReference();
    // The row of the record last in the order of 번호; nothing in an empty table.
    [[nodiscard]] std::optional<qint64> lastRow();
    // The record at row; "no current record" when there is none.
    [[nodiscard]] VerseRecord record(qint64 row);
    // The exact number of records.
    [[nodiscard]] qint64 recordCount();
    // The number of records whose 본문 is neither Null nor empty.
    [[nodiscard]] qint64 textCount();

    // Sets 본문 of the record at row; nothing else in the record changes.
    void setText(qint64 row, const QString& text);
    // Appends a record with these values (Null where a value is invalid).
    void addRecord(const std::array<QVariant, kFieldCount>& fields);
    // Appends every record of the reference version at referencePath, in the order of its
    // 번호, with its 번호, 권, 장, 절 and 성경구절 (본문 stays Null): all of them in one
    // transaction, or on any failure none. The reference is read under the same exclusive lock
    // as every open.
    void copySkeleton(const QString& referencePath);

    // Calls verse for every record in the order of 번호, in one pass (a VerseCursor's).
    void readVerses(const std::function<void(const VerseRecord&)>& verse);

    // What keeps the version from being sound (see Soundness.h), or nothing.
    [[nodiscard]] std::optional<QString> soundnessFault();

    // Writes a complete, compacted copy to dstName, which must not exist yet; the copy is checked
    // to open as this version does. A run that control cancels stops within the copy, removes it and
    // raises Cancelled (Cancelled.h).
    void compactDatabase(const QString& dstName, const platform::RunControl* control = nullptr);

    // Lets the file go; a transaction still open rolls back. Closing again does nothing.
    void close() noexcept;
    [[nodiscard]] bool isOpen() const { return m_db != nullptr; }
    [[nodiscard]] const QString& name() const { return m_path; }

private:
    friend class History;
    friend class Transaction;
    friend class VerseCursor;
    struct Statements;

    VersionStore(sqlite::Connection db, QString path, Hold hold, QString connect);
    // The connection; a closed version raises "object closed".
    [[nodiscard]] sqlite3* handle() const;
    // The statements of lookups and stores, prepared at the first.
    Statements& statements();
    // Raises "read-only" unless the version is held for writing.
    void checkWritable() const;

    sqlite::Connection m_db;
    QString m_path;
    Hold m_hold;
    QString m_connect;
    std::unique_ptr<Statements> m_statements;
};

// A field value, or two spaces when it is Null or cannot be read as text.
[[nodiscard]] QString nullToSpaces(const QVariant& value);

} // namespace versiondb
