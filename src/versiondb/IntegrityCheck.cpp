#include "versiondb/IntegrityCheck.h"

#include "versiondb/Error.h"
#include "versiondb/Sqlite.h"

namespace versiondb {

bool passesIntegrityCheck(const QString& path)
{
    try {
        sqlite::Connection db = sqlite::open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE);
        sqlite::Statement check(db.get(), QStringLiteral("PRAGMA integrity_check"));
        bool ok = true;
        int rows = 0;
        while (check.step()) {
            ++rows;
            ok = ok && check.columnText(0) == QStringLiteral("ok");
        }
        return ok && rows == 1;
    } catch (const Error&) {
        return false;
    }
}

} // namespace versiondb
