#pragma once

#include "versiondb/Sqlite.h"
#include "versiondb/VersionStore.h"

#include <optional>

namespace versiondb {

// The prepared statements of an open version, kept by the version so that they are finalized
// when it closes (a connection with a statement left stays open, and keeps its lock).
struct VersionStore::Statements
{
    explicit Statements(sqlite3* db);

    // The statement that reads records: the row id, then the six fields (or the fields given, in
    // their order from the first); and the record it read, with that many fields (the rest Null).
    static QString selectRecords(const QString& rest, const QString& fields = VersionFile::quotedFieldList());
    static VerseRecord recordOf(const sqlite::Statement& stmt, int fields = kFieldCount);

    // The row id that a lookup found, if any.
    static std::optional<qint64> rowOf(sqlite::Statement& stmt)
    {
        sqlite::ResetGuard guard(stmt);
        return stmt.step() ? std::optional<qint64>(stmt.columnInt(0)) : std::nullopt;
    }

    sqlite::Statement byReference;
    sqlite::Statement byNumber;
    sqlite::Statement last;
    sqlite::Statement byRow;
    sqlite::Statement setText;
    sqlite::Statement insert;         // prepared at the first addition
    sqlite::Statement setChangedText; // the history's store of a text that differs, prepared at its first
    // The history's writes, prepared by the history (History::prepareStatements) once its tables are there.
    sqlite::Statement addChange;
    sqlite::Statement finishChange;
    sqlite::Statement findKeptRow;
    sqlite::Statement keepRow;
    sqlite::Statement read;         // every record in the order of 번호, prepared by the first VerseCursor
    sqlite::Statement readSkeleton; // the same without 본문
};

} // namespace versiondb
