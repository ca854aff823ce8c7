#pragma once

#include <QString>
#include <optional>

struct sqlite3;

namespace versiondb {

// A version is sound when its header is one SQLite writes, the storage's
// integrity check passes, the table has its six fields and both indexes, every
// record reads with all six fields through the table and through each index,
// every text and reference is well-formed UTF-8 (and no text holds a line
// break, which the program never stores), 번호 runs from 1 to the number of
// records without a gap, every 성경구절 is the canonical reference of its
// 권, 장 and 절, and every row of the history of texts reads whole.
//
// The first fault of the version held by db, in words for a log, or nothing
// when it is sound.
[[nodiscard]] std::optional<QString> versionFault(sqlite3* db);

// Only the storage's part: the integrity check, the table and its indexes,
// every record read through each of them, well-formed texts and the history.
[[nodiscard]] std::optional<QString> storageFault(sqlite3* db);

} // namespace versiondb
