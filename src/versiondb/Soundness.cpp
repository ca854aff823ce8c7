#include "versiondb/Soundness.h"

#include "books/Versification.h"
#include "platform/Utf8.h"
#include "versiondb/Error.h"
#include "versiondb/History.h"
#include "versiondb/RawFile.h"
#include "versiondb/Sqlite.h"
#include "versiondb/VersionFile.h"

#include <algorithm>
#include <vector>

namespace versiondb {

namespace {

QString select(const QString& columns, const QString& access = {})
{
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + sqlite::quoted(VersionFile::tableName()) +
           access;
}

QByteArrayView bytesOf(sqlite3_stmt* row, int column)
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(row, column));
    return {data, sqlite3_column_bytes(row, column)};
}

// Reads every row of the query; each goes to check, which names a fault.
template <typename Check>
std::optional<QString> readEvery(sqlite3* db, const QString& query, qint64& records, Check check)
{
    records = 0;
    try {
        sqlite::Statement all(db, query);
        sqlite::ResetGuard guard(all);
        while (all.step()) {
            ++records;
            if (std::optional<QString> fault = check(all.handle())) {
                return fault;
            }
        }
    } catch (const Error& error) {
        return QStringLiteral("a record does not read (%1): %2").arg(query, error.description());
    }
    return std::nullopt;
}

std::optional<QString> rowFault(sqlite3_stmt* row, bool content)
{
    for (const int field : {kNumber, kBook, kChapter, kVerse}) {
        if (sqlite3_column_type(row, field) != SQLITE_INTEGER) {
            return QStringLiteral("a record's %1 is no number").arg(VersionFile::fieldNames()[field]);
        }
    }
    if (sqlite3_column_type(row, kReference) != SQLITE_TEXT) {
        return QStringLiteral("a record has no reference");
    }
    const int textType = sqlite3_column_type(row, kText);
    // No text the program stores holds a line break: the build reads lines, and a save refuses one.
    const QByteArrayView text = textType == SQLITE_TEXT ? bytesOf(row, kText) : QByteArrayView();
    if (textType != SQLITE_NULL &&
        (textType != SQLITE_TEXT || !platform::isWellFormedUtf8(text) || text.contains('\n') || text.contains('\r'))) {
        return QStringLiteral("the text of record %1 is damaged").arg(sqlite3_column_int64(row, kNumber));
    }
    const QByteArrayView reference = bytesOf(row, kReference);
    if (!platform::isWellFormedUtf8(reference)) {
        return QStringLiteral("the reference of record %1 is damaged").arg(sqlite3_column_int64(row, kNumber));
    }
    if (content &&
        reference != books::canonicalReferenceUtf8(sqlite3_column_int(row, kBook), sqlite3_column_int(row, kChapter),
                                                   sqlite3_column_int(row, kVerse))) {
        return QStringLiteral("record %1 holds %2, not the reference of its book, chapter and verse")
            .arg(sqlite3_column_int64(row, kNumber))
            .arg(QString::fromUtf8(reference));
    }
    return std::nullopt;
}

// Every row of the history reads: its changes name a known source, its kept texts decode whole.
std::optional<QString> historyFault(sqlite3* db)
{
    sqlite::Statement tables(db, History::countTables());
    if (!tables.step() || tables.columnInt(0) == 0) {
        return std::nullopt;
    }
    qint64 rows = 0;
    const auto sources = [](sqlite3_stmt* row) -> std::optional<QString> {
        const QString source = QString::fromUtf8(bytesOf(row, 2));
        for (int i = 0; i <= static_cast<int>(ChangeSource::Redo); ++i) {
            if (History::sourceName(static_cast<ChangeSource>(i)) == source) {
                return std::nullopt;
            }
        }
        return QStringLiteral("a change of the history has no known source");
    };
    if (std::optional<QString> fault = readEvery(db, History::allChanges(), rows, sources)) {
        return fault;
    }
    return readEvery(db, History::allKeptRows(), rows, [](sqlite3_stmt* row) -> std::optional<QString> {
        if (History::decodeKept(bytesOf(row, 1).toByteArray())) {
            return std::nullopt;
        }
        return QStringLiteral("a row of the history's kept texts is damaged");
    });
}

std::optional<QString> fault(sqlite3* db, bool content)
{
    try {
        VersionFile::checkTableAndIndexes(db);
        // The header's write and read versions: 1 for a rollback journal, 2 for a log. Any other makes
        // SQLite read the file as read-only, or not at all.
        const QByteArray versions = RawFile(db).read(18, 2);
        if (versions.size() != 2 || versions[0] < 1 || versions[0] > 2 || versions[1] < 1 || versions[1] > 2) {
            return QStringLiteral("the file's header is damaged");
        }
        sqlite::Statement check(db, QStringLiteral("PRAGMA integrity_check(1)"));
        if (!check.step() || check.columnText(0) != QStringLiteral("ok")) {
            return QStringLiteral("the integrity check fails");
        }
    } catch (const Error& error) {
        return error.description();
    }
    qint64 records = 0;
    std::vector<qint64> numbers;
    if (std::optional<QString> fault =
            readEvery(db, select(VersionFile::quotedFieldList()), records, [&](sqlite3_stmt* row) {
                numbers.push_back(sqlite3_column_int64(row, kNumber));
                return rowFault(row, content);
            })) {
        return fault;
    }
    // The integrity check has matched every index entry with its record; what is left is that every entry reads.
    for (const QString& index : VersionFile::indexNames()) {
        const QString key = sqlite::quoted(index);
        const QString query =
            select(key + QStringLiteral(", rowid"), QStringLiteral(" INDEXED BY %1 ORDER BY %1").arg(key));
        qint64 throughIndex = 0;
        if (std::optional<QString> fault =
                readEvery(db, query, throughIndex, [](sqlite3_stmt*) { return std::optional<QString>(); })) {
            return fault;
        }
        if (throughIndex != records) {
            return QStringLiteral("%1 records through the index %2, %3 through the table")
                .arg(throughIndex)
                .arg(index)
                .arg(records);
        }
    }
    if (std::optional<QString> fault = historyFault(db)) {
        return fault;
    }
    if (content) {
        std::sort(numbers.begin(), numbers.end());
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (numbers[i] != static_cast<qint64>(i) + 1) {
                return QStringLiteral("번호 does not run from 1 to %1 without a gap").arg(numbers.size());
            }
        }
    }
    return std::nullopt;
}

// Every page is read by the integrity check and again by the scans: room for a whole version's pages
// saves reading them from the file twice. The room is given back afterwards.
std::optional<QString> checkWithRoom(sqlite3* db, bool content)
{
    try {
        sqlite::exec(db, "PRAGMA cache_size=-32768");
    } catch (const Error&) {
    }
    std::optional<QString> found = fault(db, content);
    sqlite3_exec(db, "PRAGMA cache_size=-2000; PRAGMA shrink_memory", nullptr, nullptr, nullptr);
    return found;
}

} // namespace

std::optional<QString> versionFault(sqlite3* db)
{
    return checkWithRoom(db, true);
}

std::optional<QString> storageFault(sqlite3* db)
{
    return checkWithRoom(db, false);
}

} // namespace versiondb
