#pragma once

#include "versiondb/Password.h"

#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;

namespace versiondb {

// The positions of the fields of a version record in VersionFile::fieldNames(), and their number.
enum VersionField : int
{
    kNumber,
    kBook,
    kChapter,
    kVerse,
    kReference,
    kText,
    kFieldCount
};

// The file format of a version database: the table "본문" with its six fields
// and two indexes, and the marks that tell a version database of this system
// from any other SQLite file (the application id and the verifier table).
namespace VersionFile {
constexpr int kApplicationId = 0x42525953;
constexpr int kFormat = 1;

[[nodiscard]] QString tableName();      // "본문"
[[nodiscard]] QStringList fieldNames(); // 번호, 권, 장, 절, 성경구절, 본문
// The six field names quoted for SQL and joined by commas, in their order.
[[nodiscard]] QString quotedFieldList();
[[nodiscard]] QStringList indexNames(); // 번호, 성경구절

// Writes an empty version database to path, which must not exist yet:
// the table, both indexes, the history's tables and the verifier, with a rollback journal.
void create(const QString& path, const PasswordVerifier& verifier);

// True when the open database carries the marks of a version database.
[[nodiscard]] bool hasMarks(sqlite3* db);
// The checks of every open, on a connection that holds the file at path: it carries
// the marks ("unrecognized format"), is as long as its pages say ("damaged"; not
// while a write-ahead log holds some of them) and its verifier matches the password
// of connect ("invalid password").
void checkOpenable(sqlite3* db, const QString& path, const QString& connect, bool logHoldsPages);
// Raises "no such table", "no such field" or "no such index" unless the database has the
// table with its six fields and both indexes, each on the field of its name.
void checkTableAndIndexes(sqlite3* db);
// The verifier of an open version database, or nothing when it has none that can be read.
[[nodiscard]] std::optional<PasswordVerifier> readVerifier(sqlite3* db);

// Raises "file not found" for a missing path, "invalid path" for anything
// but a file and, when it is to be written, "read-only" for a file without
// write permission and "no permission" for a folder that cannot be written.
void checkPath(const QString& path, bool forWriting);
// True when checkPath passes for writing.
[[nodiscard]] bool canWrite(const QString& path);

// True when the first bytes of the file are those of an SQLite database and the file
// holds at least the first page they describe. SQLite would take a shorter one for a
// new database and write to it when it is locked.
[[nodiscard]] bool hasSqliteHeader(const QString& path);

// The file that work on the whole file acts on: the final target when path is a
// symbolic link (which stays as it is), otherwise path itself.
[[nodiscard]] QString resolvedPath(const QString& path);
} // namespace VersionFile

} // namespace versiondb
