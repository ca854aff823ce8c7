#pragma once

#include <QString>

namespace versiondb {

// True when the database file passes the storage's own full integrity check.
// A file that cannot be opened, or is no database, does not.
[[nodiscard]] bool passesIntegrityCheck(const QString& path);

} // namespace versiondb
